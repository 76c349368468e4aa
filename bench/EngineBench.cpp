// Throughput of the engine's transforms next to OpenSSL's Blowfish in ECB
// mode over the same amount of data in the same run, printed as ratios; then
// the peak memory and the heap allocations of file transforms. Figures for
// one core run with the thread held to one processor and use CPU time, which
// other work on a shared machine disturbs least; figures for two cores, where
// the engine plans ahead on a second thread, use the time on the clock.
// Every block planner this processor can run is measured on its own: the
// plan alone (with its cost per byte) and both layers on one and two cores.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <malloc.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "AllocationCounter.h"
#include "FileTransform.h"
#include "OpenSslBlowfish.h"
#include "RunBench.h"
#include "Scramble.h"
#include "ScramblePlan.h"
#include "tarvex.h"

namespace {

namespace fs = std::filesystem;

constexpr size_t kMiB = 1024 * 1024;
constexpr size_t kBufferBytes = 64 * kMiB;
constexpr size_t kFileBytes = 256 * kMiB;
const char* const kKey = "a benchmark key of moderate length";
const std::string kBaseline = "openssl_blowfish_ecb";
const std::string kDurable = "file_in_place_durable";
const std::string kNotDurable = "file_in_place_not_durable";
const std::string kPlanOnly = "plan_only_one_core_";

std::vector<uint8_t> randomBytes(size_t length)
{
    std::vector<uint8_t> bytes(length);
    std::mt19937_64 random(42);
    for (size_t i = 0; i + 8 <= length; i += 8) {
        const uint64_t word = random();
        std::memcpy(bytes.data() + i, &word, 8);
    }
    return bytes;
}

fs::path scratchFolder()
{
    static const fs::path folder = [] {
        std::string pattern = (fs::temp_directory_path() / "tarvex-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        return fs::path(pattern);
    }();
    return folder;
}

// On the disk before it returns: otherwise the first sync of a timed run
// waits for the whole new file to be written out.
void writeFileOf(const fs::path& path, size_t length)
{
    const auto bytes = randomBytes(std::min(length, 16 * kMiB));
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        for (size_t written = 0; written < length; written += bytes.size())
            out.write(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<std::streamsize>(std::min(bytes.size(), length - written)));
    }
    const int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0 || fsync(descriptor) != 0) throw std::runtime_error("cannot sync " + path.string());
    close(descriptor);
}

// Holds the calling thread, and the threads it starts, to one processor.
class OneProcessor {
public:
    OneProcessor()
    {
        sched_getaffinity(0, sizeof before_, &before_);
        cpu_set_t one;
        CPU_ZERO(&one);
        for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu) {
            if (CPU_ISSET(cpu, &before_)) {
                CPU_SET(cpu, &one);
                break;
            }
        }
        sched_setaffinity(0, sizeof one, &one);
    }
    ~OneProcessor() { sched_setaffinity(0, sizeof before_, &before_); }
    OneProcessor(const OneProcessor&) = delete;
    OneProcessor& operator=(const OneProcessor&) = delete;

private:
    cpu_set_t before_;
};

void openSslBlowfish(benchmark::State& state)
{
    const OneProcessor oneProcessor;
    auto data = randomBytes(kBufferBytes);
    OpenSslBlowfish blowfish;
    for (auto _ : state) {
        if (!blowfish.encrypt(data.data(), data.size())) state.SkipWithError("OpenSSL failed");
        benchmark::DoNotOptimize(data.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * data.size()));
}

// Layer choice, then 1 for one core or 2 for two.
void bufferTransform(benchmark::State& state)
{
    const int layerChoice = static_cast<int>(state.range(0));
    std::optional<OneProcessor> oneProcessor;
    if (state.range(1) == 1) oneProcessor.emplace();
    auto data = randomBytes(kBufferBytes);
    const size_t before = allocations::count();
    for (auto _ : state) {
        tarvexTransformBuffer(kKey, data.data(), static_cast<int32_t>(data.size()), data.data(), 1, layerChoice, 1);
        benchmark::DoNotOptimize(data.data());
    }
    state.counters["allocations"] = static_cast<double>(allocations::count() - before);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * data.size()));
}

// Runs the transforms of one benchmark with a given planner, then goes back
// to the one the library chose.
class WithPlanner {
public:
    explicit WithPlanner(tarvex::Planner planner) : before_(tarvex::activePlanner())
    {
        tarvex::setActivePlanner(planner);
    }
    ~WithPlanner() { tarvex::setActivePlanner(before_); }
    WithPlanner(const WithPlanner&) = delete;
    WithPlanner& operator=(const WithPlanner&) = delete;

private:
    tarvex::Planner before_;
};

void bufferTransformWith(benchmark::State& state, tarvex::Planner planner)
{
    const WithPlanner withPlanner(planner);
    bufferTransform(state);
}

// The scrambling plans of 64 MiB of full chunks, from a prepared key, on one
// core: what bounds both layers when a second core applies and enciphers.
void planOnly(benchmark::State& state, tarvex::Planner planner)
{
    const OneProcessor oneProcessor;
    uint8_t keyBlock[tarvex::kKeyBlockSize];
    tarvex::prepareKey(kKey, 0, keyBlock);
    static tarvex::ScramblePlan plan;
    constexpr int kChunks = static_cast<int>(kBufferBytes / tarvex::kMaxPlannedChunk);
    uint32_t generator = 12345;
    for (auto _ : state) {
        for (int chunk = 0; chunk < kChunks; ++chunk)
            tarvex::planScramble(keyBlock, tarvex::kMaxPlannedChunk, 1, generator, plan, planner);
        benchmark::DoNotOptimize(plan.positions);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBufferBytes));
}

void fileTransform(benchmark::State& state, bool inPlace)
{
    const fs::path source = scratchFolder() / "source";
    const fs::path target = inPlace ? source : scratchFolder() / "target";
    writeFileOf(source, kFileBytes);
    fs::current_path(scratchFolder());
    for (auto _ : state) {
        if (tarvexTransformFile(kKey, source.c_str(), target.c_str(), 1, 0) != TARVEX_OK)
            state.SkipWithError("file transform failed");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kFileBytes));
    fs::remove(source);
    fs::remove(target);
}

// The in-place run through the engine's own transform, which can leave out
// the window records and every sync: what surviving a power cut costs.
void inPlaceDurability(benchmark::State& state, tarvex::Durability durability)
{
    const fs::path file = scratchFolder() / "in-place";
    writeFileOf(file, kFileBytes / 4);
    fs::current_path(scratchFolder());
    for (auto _ : state) {
        if (tarvex::transformFile(kKey, file.c_str(), file.c_str(), 1, 0, durability) != TARVEX_OK)
            state.SkipWithError("in-place transform failed");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kFileBytes / 4));
    fs::remove(file);
}

// The same file into another file, as a window program's run does it.
void fileRun(benchmark::State& state)
{
    const fs::path source = scratchFolder() / "source";
    const fs::path target = scratchFolder() / "target";
    writeFileOf(source, kFileBytes);
    long long updates = 0;
    for (auto _ : state) updates = runThroughProcessFiles(kKey, source.string(), target.string());
    state.counters["window_updates"] = static_cast<double>(updates);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kFileBytes));
    fs::remove(source);
    fs::remove(target);
}

// Collects every benchmark's throughput and prints the median of its
// repetitions as a ratio to OpenSSL's.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const auto& run : runs) {
            const auto rate = run.counters.find("bytes_per_second");
            if (run.run_type == Run::RT_Iteration && rate != run.counters.end())
                bytesPerSecond_[run.run_name.function_name].push_back(rate->second.value);
        }
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        const auto baseline = bytesPerSecond_.find(kBaseline);
        if (baseline == bytesPerSecond_.end()) return;
        const double baselineRate = median(baseline->second);
        std::printf("\n%-40s %10s %12s   (medians of the repetitions)\n", "throughput", "MB/s", "x OpenSSL BF");
        for (const auto& [name, rates] : bytesPerSecond_)
            std::printf("%-40s %10.1f %12.2f\n", name.c_str(), median(rates) / 1e6, median(rates) / baselineRate);

        // The plan bounds both layers on two cores; its cost per byte (CPU
        // time on one core) next to OpenSSL's.
        std::printf("\n%-40s %10s\n", "cost per byte", "ns/byte");
        for (const auto& [name, rates] : bytesPerSecond_)
            if (name == kBaseline || name.starts_with(kPlanOnly))
                std::printf("%-40s %10.2f\n", name.c_str(), 1e9 / median(rates));

        const auto with = bytesPerSecond_.find(kDurable);
        const auto without = bytesPerSecond_.find(kNotDurable);
        if (with != bytesPerSecond_.end() && without != bytesPerSecond_.end())
            std::printf("\nin place, durable (records and syncs per window): %.3f x the rate without (goal: 0.9 or "
                        "more)\n",
                        median(with->second) / median(without->second));
    }

private:
    static double median(std::vector<double> values)
    {
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    }

    std::map<std::string, std::vector<double>> bytesPerSecond_;
};

struct ChildFigures {
    long peakKiB;
    size_t allocations;
};

// Transforms a file of `length` bytes in a child process, whose peak resident
// memory the parent reads afterwards.
ChildFigures transformInChild(size_t length)
{
    const fs::path source = scratchFolder() / "memory-source";
    const fs::path target = scratchFolder() / "memory-target";
    writeFileOf(source, length);
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return {-1, 0};
    // The child starts with what the parent holds resident; freed heap the
    // parent has not given back yet would count as the transform's.
    malloc_trim(0);
    const pid_t child = fork();
    if (child == 0) {
        const size_t before = allocations::count();
        const int result = tarvexTransformFile(kKey, source.c_str(), target.c_str(), 1, 0);
        const size_t made = allocations::count() - before;
        const bool sent = write(pipeEnds[1], &made, sizeof made) == sizeof made;
        _exit(result == TARVEX_OK && sent ? 0 : 1);
    }
    close(pipeEnds[1]);
    size_t made = 0;
    const bool received = read(pipeEnds[0], &made, sizeof made) == sizeof made;
    close(pipeEnds[0]);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    fs::remove(source);
    fs::remove(target);
    if (!received || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return {-1, 0};
    return {usage.ru_maxrss, made};
}

void reportMemory()
{
    const ChildFigures small = transformInChild(kMiB);
    const ChildFigures large = transformInChild(1024 * kMiB);
    std::printf("\nfile transform of 1 MiB (both layers): peak resident memory %ld KiB, %zu heap allocations\n",
                small.peakKiB, small.allocations);
    std::printf("file transform of 1 GiB (both layers): peak resident memory %ld KiB, %zu heap allocations\n",
                large.peakKiB, large.allocations);
}

}  // namespace

int main(int argc, char** argv)
{
    // A shared machine's speed wanders: every buffer figure is a median of five.
    constexpr int kRepetitions = 5;
    benchmark::RegisterBenchmark(kBaseline.c_str(), openSslBlowfish)
        ->Repetitions(kRepetitions)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("buffer_both_layers_one_core", bufferTransform)
        ->Args({0, 1})
        ->Repetitions(kRepetitions)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("buffer_block_cipher_only_one_core", bufferTransform)
        ->Args({1, 1})
        ->Repetitions(kRepetitions)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("buffer_scrambling_only_one_core", bufferTransform)
        ->Args({2, 1})
        ->Repetitions(kRepetitions)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("buffer_both_layers_two_cores", bufferTransform)
        ->Args({0, 2})
        ->Repetitions(kRepetitions)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("buffer_scrambling_only_two_cores", bufferTransform)
        ->Args({2, 2})
        ->Repetitions(kRepetitions)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
    for (const tarvex::Planner planner : tarvex::kPlanners) {
        if (!tarvex::plannerRuns(planner)) continue;
        const std::string name = tarvex::plannerName(planner);
        benchmark::RegisterBenchmark((kPlanOnly + name).c_str(), planOnly, planner)
            ->Repetitions(kRepetitions)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("buffer_both_layers_one_core_" + name).c_str(), bufferTransformWith, planner)
            ->Args({0, 1})
            ->Repetitions(kRepetitions)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("buffer_both_layers_two_cores_" + name).c_str(), bufferTransformWith, planner)
            ->Args({0, 2})
            ->Repetitions(kRepetitions)
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark("file_to_another_file_two_cores", fileTransform, false)
        ->Iterations(2)
        ->Repetitions(3)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("file_in_place_two_cores", fileTransform, true)
        ->Iterations(2)
        ->Repetitions(3)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
    // The pair in turns, so that a machine slowing down or speeding up meets
    // both alike; the ratio of their medians is printed at the end.
    for (int round = 0; round < kRepetitions; ++round) {
        benchmark::RegisterBenchmark(kDurable.c_str(), inPlaceDurability, tarvex::Durability::Synced)
            ->Iterations(2)
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(kNotDurable.c_str(), inPlaceDurability, tarvex::Durability::Unsynced)
            ->Iterations(2)
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark("file_run_through_processFiles_two_cores", fileRun)
        ->Iterations(2)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    reportMemory();
    fs::remove_all(scratchFolder());
    return 0;
}

// The tarvex command against the engine in the same run, printed as ratios
// of throughput: 1,000 small files with one and two workers against the
// engine's file transform in a loop, and one 256 MiB file against the file
// transform alone. Every run writes into another folder, so the figures hold
// the command's own cost (processes, the walk, the pipe, the records), not
// the journal's.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "tarvex.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kSmallFiles = 1000;
constexpr std::size_t kSmallFileBytes = 64 * 1024;
constexpr std::size_t kLargeFileBytes = 256 * 1024 * 1024;
const char* const kKey = "a benchmark key of moderate length";

const fs::path& scratch()
{
    static const fs::path folder = [] {
        std::string pattern = (fs::temp_directory_path() / "tarvex-command-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        return fs::path(pattern);
    }();
    return folder;
}

void writeRandomFile(const fs::path& path, std::size_t length, unsigned seed)
{
    std::mt19937 random(seed);
    std::vector<char> bytes(std::min<std::size_t>(length, 1 << 20));
    for (char& byte : bytes) byte = static_cast<char>(random());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (std::size_t written = 0; written < length; written += bytes.size())
        out.write(bytes.data(), static_cast<std::streamsize>(std::min(bytes.size(), length - written)));
}

struct Inputs {
    fs::path smallFolder = scratch() / "small";
    fs::path largeFile = scratch() / "large.bin";
    fs::path keyFile = scratch() / "key";
    Inputs()
    {
        fs::create_directories(smallFolder);
        for (std::size_t i = 0; i < kSmallFiles; ++i)
            writeRandomFile(smallFolder / std::to_string(i), kSmallFileBytes, static_cast<unsigned>(i));
        writeRandomFile(largeFile, kLargeFileBytes, 4242);
        std::ofstream(keyFile) << kKey << '\n';
    }
};

const Inputs& inputs()
{
    static const Inputs made;
    return made;
}

fs::path freshOutput()
{
    const fs::path output = scratch() / "out";
    fs::remove_all(output);
    fs::create_directories(output);
    return output;
}

void runTarvex(const std::vector<std::string>& arguments, benchmark::State& state)
{
    std::vector<char*> argv{const_cast<char*>(TARVEX_PATH)};
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t child = 0;
    int status = 0;
    if (posix_spawn(&child, TARVEX_PATH, nullptr, nullptr, argv.data(), environ) != 0 ||
        waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        state.SkipWithError("tarvex failed");
}

void engineLoop(benchmark::State& state)
{
    const Inputs& in = inputs();
    for (auto _ : state) {
        state.PauseTiming();
        const fs::path output = freshOutput();
        state.ResumeTiming();
        for (const auto& entry : fs::directory_iterator(in.smallFolder)) {
            const std::string target = (output / entry.path().filename()).string();
            if (tarvexTransformFile(kKey, entry.path().c_str(), target.c_str(), 1, 0) != TARVEX_OK)
                state.SkipWithError("the engine failed");
        }
    }
}

void commandOnSmallFiles(benchmark::State& state)
{
    const Inputs& in = inputs();
    for (auto _ : state) {
        state.PauseTiming();
        const fs::path output = freshOutput();
        state.ResumeTiming();
        runTarvex({"encrypt", "-q", "-r", "-j", std::to_string(state.range(0)), "--key-file", in.keyFile.string(), "-o",
                   output.string(), in.smallFolder.string()},
                  state);
    }
}

void engineOnLargeFile(benchmark::State& state)
{
    const Inputs& in = inputs();
    for (auto _ : state) {
        state.PauseTiming();
        const std::string target = (freshOutput() / "large.bin").string();
        state.ResumeTiming();
        if (tarvexTransformFile(kKey, in.largeFile.c_str(), target.c_str(), 1, 0) != TARVEX_OK)
            state.SkipWithError("the engine failed");
    }
}

void commandOnLargeFile(benchmark::State& state)
{
    const Inputs& in = inputs();
    for (auto _ : state) {
        state.PauseTiming();
        const fs::path output = freshOutput();
        state.ResumeTiming();
        runTarvex({"encrypt", "-q", "--key-file", in.keyFile.string(), "-o", (output / "large.bin").string(),
                   in.largeFile.string()},
                  state);
    }
}

// Prints each command figure as the engine's median time over the
// command's: 1.0 is as fast as the engine, more is faster.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                medians_[nameOf(run)] = run.GetAdjustedRealTime();
        }
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::printf("\nThroughput as a ratio to the engine (median of the repetitions):\n");
        ratio("1,000 files, -j 1", "command_1000_files/1", "engine_loop_1000_files");
        ratio("1,000 files, -j 2", "command_1000_files/2", "engine_loop_1000_files");
        ratio("256 MiB file", "command_256MiB_file", "engine_256MiB_file");
    }

private:
    // The benchmark's name with its argument: "command_1000_files/2".
    static std::string nameOf(const Run& run)
    {
        std::string name = run.run_name.function_name;
        if (!run.run_name.args.empty()) name.append(1, '/').append(run.run_name.args);
        return name;
    }
    void ratio(const char* label, const char* command, const char* engine)
    {
        const auto commandTime = medians_.find(command);
        const auto engineTime = medians_.find(engine);
        if (commandTime == medians_.end() || engineTime == medians_.end() || commandTime->second <= 0) return;
        std::printf("  %-20s %.3f\n", label, engineTime->second / commandTime->second);
    }
    std::map<std::string, double> medians_;
};

}  // namespace

int main(int argc, char** argv)
{
    constexpr int kRepetitions = 3;
    benchmark::RegisterBenchmark("engine_loop_1000_files", engineLoop)
        ->Iterations(1)
        ->Repetitions(kRepetitions)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("command_1000_files", commandOnSmallFiles)
        ->Arg(1)
        ->Arg(2)
        ->Iterations(1)
        ->Repetitions(kRepetitions)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("engine_256MiB_file", engineOnLargeFile)
        ->Iterations(1)
        ->Repetitions(kRepetitions)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("command_256MiB_file", commandOnLargeFile)
        ->Iterations(1)
        ->Repetitions(kRepetitions)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::error_code ignored;
    fs::remove_all(scratch(), ignored);
    return 0;
}

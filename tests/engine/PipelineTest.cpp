// Transforms with the scrambling planned on a second thread against the same
// transforms held to one processor, which plan chunk by chunk on the caller's
// thread: the bytes, the progress reports and the generator's end state must
// be the same.
#include <gtest/gtest.h>
#include <sched.h>

#include <cstdio>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "ChunkPipeline.h"
#include "Progress.h"
#include "Scramble.h"
#include "ScratchFolder.h"
#include "tarvex.h"

namespace tarvex {
namespace {

std::vector<int32_t> reports;
int recordReport(int32_t value)
{
    reports.push_back(value);
    return 0;
}

int reportsBeforeThrow = 0;
int throwAfterSomeReports(int32_t)
{
    if (--reportsBeforeThrow == 0) throw std::runtime_error("the caller gave up");
    return 0;
}

// Holds the calling thread to one processor while it lives.
class OneProcessor {
public:
    OneProcessor()
    {
        sched_getaffinity(0, sizeof before_, &before_);
        cpu_set_t one;
        CPU_ZERO(&one);
        int cpu = 0;
        while (!CPU_ISSET(cpu, &before_)) ++cpu;
        CPU_SET(cpu, &one);
        sched_setaffinity(0, sizeof one, &one);
    }
    ~OneProcessor() { sched_setaffinity(0, sizeof before_, &before_); }
    OneProcessor(const OneProcessor&) = delete;
    OneProcessor& operator=(const OneProcessor&) = delete;

private:
    cpu_set_t before_;
};

struct Outcome {
    std::vector<uint8_t> bytes;
    std::vector<int32_t> reports;
    int32_t generatorAfter;
};

template <typename Transform>
Outcome run(bool oneProcessor, Transform transform)
{
    std::optional<OneProcessor> held;
    if (oneProcessor) held.emplace();
    EXPECT_EQ(ChunkPipeline::plansAhead(), !oneProcessor);
    reports.clear();
    // Buffer transforms carry the total on from the call before.
    progressTotal = 0.0f;
    tarvexSetProgressCallback(recordReport);
    Outcome outcome;
    outcome.bytes = transform();
    tarvexSetProgressCallback(nullptr);
    outcome.reports = reports;
    outcome.generatorAfter = scrambleGenerator.saved();
    return outcome;
}

std::vector<uint8_t> randomBytes(size_t length, uint32_t seed)
{
    std::mt19937 random(seed);
    std::vector<uint8_t> bytes(length);
    for (auto& byte : bytes) byte = static_cast<uint8_t>(random());
    return bytes;
}

class Pipeline : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!ChunkPipeline::plansAhead()) GTEST_SKIP() << "this machine lets the tests use one processor only";
    }
};

TEST_F(Pipeline, BufferTransformsGiveTheSameBytesReportsAndGeneratorOnOneProcessorOrTwo)
{
    for (size_t length : {65536u, 65537u, 3u * 65536u + 999u, 10u * 65536u}) {
        for (int layerChoice : {0, 1, 2}) {
            for (int direction : {1, 0}) {
                const auto data = randomBytes(length, static_cast<uint32_t>(length));
                const auto transform = [&] {
                    std::vector<uint8_t> bytes = data;
                    tarvexTransformBuffer("pipelined key text", bytes.data(), static_cast<int32_t>(bytes.size()),
                                          bytes.data(), direction, layerChoice, 1);
                    return bytes;
                };
                const Outcome serial = run(true, transform);
                const Outcome pipelined = run(false, transform);
                const std::string label = std::to_string(length) + " bytes, layer choice " +
                                          std::to_string(layerChoice) + ", direction " + std::to_string(direction);
                ASSERT_EQ(pipelined.bytes, serial.bytes) << label;
                ASSERT_EQ(pipelined.reports, serial.reports) << label;
                ASSERT_EQ(pipelined.generatorAfter, serial.generatorAfter) << label;
                ASSERT_NE(serial.bytes, data) << label;
            }
        }
    }
}

TEST_F(Pipeline, FileTransformsGiveTheSameFilesAndReportsOnOneProcessorOrTwo)
{
    const enginetest::ScratchFolder folder;
    const std::string source = (folder.path() / "source").string();
    const std::string target = (folder.path() / "target").string();
    const auto data = randomBytes(5 * 65536 + 17, 8);
    for (bool inPlace : {false, true}) {
        const auto transform = [&] {
            std::FILE* out = std::fopen(source.c_str(), "wb");
            std::fwrite(data.data(), 1, data.size(), out);
            std::fclose(out);
            const std::string& written = inPlace ? source : target;
            EXPECT_EQ(tarvexTransformFile("file key text", source.c_str(), written.c_str(), 1, 0), TARVEX_OK);
            std::vector<uint8_t> bytes(data.size() + 1);
            std::FILE* in = std::fopen(written.c_str(), "rb");
            bytes.resize(std::fread(bytes.data(), 1, bytes.size(), in));
            std::fclose(in);
            return bytes;
        };
        const Outcome serial = run(true, transform);
        const Outcome pipelined = run(false, transform);
        EXPECT_EQ(pipelined.bytes, serial.bytes) << (inPlace ? "in place" : "to another file");
        EXPECT_EQ(pipelined.reports, serial.reports) << (inPlace ? "in place" : "to another file");
        EXPECT_EQ(serial.bytes.size(), data.size());
    }
}

// The callback throwing while the next chunk is being planned ends the call;
// the planning thread is stopped and the next call works as ever.
TEST_F(Pipeline, ThrowingCallbackStopsThePlannerAndTheNextCallIsUnharmed)
{
    const auto data = randomBytes(8 * 65536, 4);
    std::vector<uint8_t> expected = data;
    tarvexTransformBuffer("key text", expected.data(), static_cast<int32_t>(expected.size()), expected.data(), 1, 0, 1);
    for (int reportsFirst : {1, 400, 20000}) {
        std::vector<uint8_t> stopped = data;
        reportsBeforeThrow = reportsFirst;
        tarvexSetProgressCallback(throwAfterSomeReports);
        tarvexTransformBuffer("key text", stopped.data(), static_cast<int32_t>(stopped.size()), stopped.data(), 1, 0,
                              1);
        tarvexSetProgressCallback(nullptr);
        EXPECT_NE(stopped, expected) << "stopped after " << reportsFirst << " reports";

        std::vector<uint8_t> again = data;
        tarvexTransformBuffer("key text", again.data(), static_cast<int32_t>(again.size()), again.data(), 1, 0, 1);
        EXPECT_EQ(again, expected) << "after a call stopped after " << reportsFirst << " reports";
    }
}

}  // namespace
}  // namespace tarvex

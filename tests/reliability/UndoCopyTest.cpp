// What an in-place run keeps for its repair: the journal's lines and the undo
// copy of the chunk it rewrites, each on its way to the disk before the chunk
// is touched, and neither left once the run completes.
#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <string>

#include "InterruptedRun.h"
#include "RepairSupport.h"
#include "tarvex.h"

namespace reliability {
namespace {

using namespace mendkit_test;
namespace fs = std::filesystem;

constexpr size_t kChunk = 65536;
constexpr size_t kTrailerSize = 40;
constexpr const char* kKey = "the undo copy";

std::string textOf(const fs::path& file)
{
    const Bytes bytes = readFile(file);
    return std::string(bytes.begin(), bytes.end());
}

class UndoCopy : public ::testing::Test {
protected:
    const TempFolder folder;
    const Bytes original = randomBytes(3 * kChunk + 999, 61);
    const Bytes encrypted = transformThroughFile(kKey, original, TARVEX_ENCRYPT, TARVEX_BOTH_LAYERS);
};

TEST_F(UndoCopy, TheJournalLinesAndTheChunksCopyAreWrittenBeforeTheChunkIsTouched)
{
    for (const int direction : {TARVEX_ENCRYPT, TARVEX_DECRYPT}) {
        const Bytes& start = direction == TARVEX_ENCRYPT ? original : encrypted;
        const Bytes& completed = direction == TARVEX_ENCRYPT ? encrypted : original;
        // The first chunk, one inside, and the short last one, whose copy is
        // shorter than the one before it.
        for (const size_t chunk : {0u, 1u, 3u}) {
            SCOPED_TRACE("direction " + std::to_string(direction) + ", chunk " + std::to_string(chunk));
            const fs::path runFolder = folder.path() / ("run" + std::to_string(direction) + std::to_string(chunk));
            fs::create_directory(runFolder);
            writeFile(runFolder / "data.bin", start);
            ASSERT_TRUE(stopInsideChunk(runFolder, "data.bin", kKey, direction, TARVEX_BOTH_LAYERS, chunk));

            const auto journals = filesEndingWith(runFolder, ".adt");
            ASSERT_EQ(journals.size(), 1u);
            std::string lines;
            for (size_t count = 0; count <= chunk; ++count) lines += journalLine("data.bin", count, count * kChunk);
            EXPECT_EQ(textOf(journals.front()), lines);

            const fs::path undoCopy = fs::path(journals.front()).replace_extension(".undo");
            const Bytes copy = readFile(undoCopy);
            const size_t length = std::min(kChunk, start.size() - chunk * kChunk);
            ASSERT_EQ(copy.size(), length + kTrailerSize);
            const auto chunkStart = start.begin() + static_cast<std::ptrdiff_t>(chunk * kChunk);
            EXPECT_TRUE(std::equal(copy.begin(), copy.begin() + static_cast<std::ptrdiff_t>(length), chunkStart));

            // The chunks before are rewritten, this one and the rest are not.
            Bytes expectedFile = splice(completed, start, chunk * kChunk);
            EXPECT_EQ(readFile(runFolder / "data.bin"), expectedFile);
        }
    }
}

TEST_F(UndoCopy, ACompletedRunLeavesNeitherJournalNorUndoCopy)
{
    writeFile(folder.file("data.bin"), original);
    const Ending ending = waitForChild(startChild(
        [] { return -tarvexTransformFile(kKey, "data.bin", "data.bin", TARVEX_ENCRYPT, TARVEX_BOTH_LAYERS); },
        {folder.path(), {}}));
    ASSERT_TRUE(ending.exited);
    EXPECT_EQ(ending.status, TARVEX_OK);
    EXPECT_EQ(readFile(folder.file("data.bin")), encrypted);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), {}), 1);
}

TEST_F(UndoCopy, FilesOfOtherRunsUnderTheCopysNameAreLeftAlone)
{
    const long long now = static_cast<long long>(std::time(nullptr));
    std::vector<fs::path> taken;
    for (long long n = now; n < now + 4; ++n) {
        taken.push_back(folder.path() / ("TXE" + std::to_string(n) + ".undo"));
        appendText(taken.back(), "another run's copy\n");
    }
    writeFile(folder.file("data.bin"), original);
    ASSERT_TRUE(stopInsideChunk(folder.path(), "data.bin", kKey, TARVEX_ENCRYPT, TARVEX_BOTH_LAYERS, 1));

    // The run took the first number whose journal and copy were both free.
    const auto journals = filesEndingWith(folder.path(), ".adt");
    ASSERT_EQ(journals.size(), 1u);
    const std::string name = journals.front().filename().string();
    EXPECT_GE(std::stoll(name.substr(3)), now + 4) << name;
    EXPECT_EQ(readFile(fs::path(journals.front()).replace_extension(".undo")).size(), kChunk + kTrailerSize);
    for (const auto& file : taken) EXPECT_EQ(textOf(file), "another run's copy\n") << file;
}

}  // namespace
}  // namespace reliability

// What an in-place run keeps for its repair: the journal's lines, only for
// windows already on the disk, and the record of the window being rewritten,
// which holds nothing but enciphered bytes; neither is left once the run
// completes, and neither is ever made over another run's file or a link.
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
constexpr size_t kWindow = kWindowChunks * kChunk;
constexpr size_t kRecordWindowAt = 4096;
constexpr size_t kTrailerSize = 40;
constexpr const char* kKey = "the window record";

std::string textOf(const fs::path& file)
{
    const Bytes bytes = readFile(file);
    return std::string(bytes.begin(), bytes.end());
}

class WindowRecord : public ::testing::Test {
protected:
    const TempFolder folder;
    const Bytes original = randomBytes(kWindow + 3 * kChunk + 999, 61);
    const Bytes encrypted = transformThroughFile(kKey, original, TARVEX_ENCRYPT, TARVEX_BOTH_LAYERS);
};

// Stopped before a window is touched, the record holds the window before,
// enciphered: an encryption's new bytes, a decryption's old ones. Never the
// plaintext.
TEST_F(WindowRecord, TheRecordHoldsTheWindowsCiphertextAndTheJournalOnlyWhatIsWritten)
{
    for (const int direction : {TARVEX_ENCRYPT, TARVEX_DECRYPT}) {
        const Bytes& start = direction == TARVEX_ENCRYPT ? original : encrypted;
        const Bytes& completed = direction == TARVEX_ENCRYPT ? encrypted : original;
        for (const int64_t window : {int64_t{0}, int64_t{1}}) {
            SCOPED_TRACE("direction " + std::to_string(direction) + ", window " + std::to_string(window));
            const fs::path runFolder = folder.path() / ("run" + std::to_string(direction) + std::to_string(window));
            fs::create_directory(runFolder);
            writeFile(runFolder / "data.bin", start);
            ASSERT_TRUE(
                stopInsideWindow(runFolder, "data.bin", kKey, direction, TARVEX_BOTH_LAYERS, window * kWindowChunks));

            const auto journals = filesEndingWith(runFolder, ".adt");
            ASSERT_EQ(journals.size(), 1u);
            std::string lines;
            for (int64_t count = 0; count <= window * kWindowChunks; ++count)
                lines += journalLine("data.bin", count, count * static_cast<int64_t>(kChunk));
            EXPECT_EQ(textOf(journals.front()), lines);
            // The windows before are rewritten, this one and the rest are not.
            EXPECT_EQ(readFile(runFolder / "data.bin"), splice(completed, start, window * kWindow));

            const Bytes record = readFile(fs::path(journals.front()).replace_extension(".undo"));
            const int64_t recorded = window - 1;
            if (recorded < 0) {
                EXPECT_LT(record.size(), kRecordWindowAt);  // the header alone
                continue;
            }
            const size_t from = static_cast<size_t>(recorded) * kWindow;
            const size_t length = std::min(kWindow, original.size() - from);
            ASSERT_EQ(record.size(), kRecordWindowAt + length + kTrailerSize);
            EXPECT_TRUE(std::equal(encrypted.begin() + static_cast<std::ptrdiff_t>(from),
                                   encrypted.begin() + static_cast<std::ptrdiff_t>(from + length),
                                   record.begin() + kRecordWindowAt));
        }
    }
}

TEST_F(WindowRecord, ACompletedRunLeavesNeitherJournalNorRecord)
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

// Files and links of other runs (or planted) under the record's name are
// neither written nor followed: the run takes the next free number.
TEST_F(WindowRecord, FilesAndLinksUnderTheRecordsNameAreLeftAlone)
{
    const long long now = static_cast<long long>(std::time(nullptr));
    std::vector<fs::path> taken;
    writeFile(folder.file("victim"), Bytes{'v'});
    for (long long n = now; n < now + 4; ++n) {
        taken.push_back(folder.path() / ("TXD" + std::to_string(n) + ".undo"));
        if (n % 2) {
            appendText(taken.back(), "another run's record\n");
        } else {
            fs::create_symlink("victim", taken.back());
        }
    }
    writeFile(folder.file("data.bin"), encrypted);
    ASSERT_TRUE(stopInsideWindow(folder.path(), "data.bin", kKey, TARVEX_DECRYPT, TARVEX_BOTH_LAYERS, kWindowChunks));

    const auto journals = filesEndingWith(folder.path(), ".adt");
    ASSERT_EQ(journals.size(), 1u);
    const std::string name = journals.front().filename().string();
    EXPECT_GE(std::stoll(name.substr(3)), now + 4) << name;
    EXPECT_EQ(readFile(fs::path(journals.front()).replace_extension(".undo")).size(),
              kRecordWindowAt + kWindow + kTrailerSize);
    for (const auto& file : taken) {
        if (fs::is_symlink(file)) continue;
        EXPECT_EQ(textOf(file), "another run's record\n") << file;
    }
    EXPECT_EQ(textOf(folder.file("victim")), "v");
}

}  // namespace
}  // namespace reliability

// A transform whose writes fail (the disk fills up) says so, spares the
// source of a run into another file, and leaves an in-place run repairable.
// Here the window's record is the first write that fails: the run stops with
// its file untouched. (A journal that cannot take its lines is in
// JournalFullTest.cpp.)
#include <gtest/gtest.h>

#include <string>

#include "Journal.h"
#include "RepairSupport.h"
#include "repair/JournalRepair.h"
#include "tarvex.h"

namespace reliability {
namespace {

using namespace mendkit_test;

constexpr long kChunk = 65536;
constexpr const char* kKey = "the disk filled up";

// Runs the transform in a child that may write no file beyond `limit` bytes;
// the child's exit status carries the engine's result, negated.
int transformWithLimit(const TempFolder& folder, const char* source, const char* target, int direction, long limit)
{
    const Ending ending = waitForChild(
        startChild([&] { return -tarvexTransformFile(kKey, source, target, direction, TARVEX_BOTH_LAYERS); },
                   {folder.path(), limit}));
    EXPECT_TRUE(ending.exited);
    return -ending.status;
}

TEST(DiskFull, RunIntoAnotherFileFailsAndSparesTheSource)
{
    const TempFolder folder;
    const Bytes source = randomBytes(300000, 21);
    writeFile(folder.file("source.bin"), source);
    for (const int direction : {TARVEX_ENCRYPT, TARVEX_DECRYPT}) {
        EXPECT_EQ(transformWithLimit(folder, "source.bin", "target.bin", direction, 100000), TARVEX_ERR_IO);
        EXPECT_EQ(readFile(folder.file("source.bin")), source);
    }
}

TEST(DiskFull, InPlaceRunKeepsItsJournalAndMendkitRepairsTheFile)
{
    const Bytes original = randomBytes(300000, 22);
    const Bytes encrypted = transformThroughFile(kKey, original, TARVEX_ENCRYPT, TARVEX_BOTH_LAYERS);

    for (const int direction : {TARVEX_ENCRYPT, TARVEX_DECRYPT}) {
        // The limit falls on a chunk's start, or inside it.
        for (const long limit : {3 * kChunk, 3 * kChunk + 1000}) {
            const TempFolder folder;
            const Bytes start = direction == TARVEX_ENCRYPT ? original : encrypted;
            writeFile(folder.file("data.bin"), start);
            EXPECT_EQ(transformWithLimit(folder, "data.bin", "data.bin", direction, limit), TARVEX_ERR_IO);

            const auto journal = findJournal(folder.path());
            ASSERT_TRUE(journal.has_value());
            const JournalLine line = lastJournalLine(*journal);
            EXPECT_EQ(line.text, "data.bin       0            0");
            EXPECT_EQ(readFile(folder.file("data.bin")), start);

            const std::string letter = direction == TARVEX_ENCRYPT ? "E" : "D";
            for (const std::string amount : {"0", ".0"}) {
                const ProgramRun run = runMendkit({letter, amount, "data.bin", "fixed.bin", kKey}, {folder.path(), {}});
                EXPECT_EQ(run.ending.status, 0);
                EXPECT_EQ(readFile(folder.file("fixed.bin")), original) << letter << amount << " limit " << limit;
            }
        }
    }
}

// The repair needs no guess, whichever way it is to leave the file.
TEST(DiskFull, InPlaceRunIsRepairedExactlyFromItsJournalAndRecord)
{
    const Bytes original = randomBytes(300000, 23);
    const Bytes encrypted = transformThroughFile(kKey, original, TARVEX_ENCRYPT, TARVEX_BOTH_LAYERS);

    for (const int direction : {TARVEX_ENCRYPT, TARVEX_DECRYPT}) {
        const Bytes& start = direction == TARVEX_ENCRYPT ? original : encrypted;
        const Bytes& completed = direction == TARVEX_ENCRYPT ? encrypted : original;
        for (const long limit : {2 * kChunk, 2 * kChunk + 1000}) {
            for (const repair::Goal goal : {repair::Goal::Plaintext, repair::Goal::Transformed}) {
                const bool finish = goal == repair::Goal::Transformed;
                SCOPED_TRACE("direction " + std::to_string(direction) + " limit " + std::to_string(limit) +
                             (finish ? " finished" : " plaintext"));
                const TempFolder folder;
                writeFile(folder.file("data.bin"), start);
                EXPECT_EQ(transformWithLimit(folder, "data.bin", "data.bin", direction, limit), TARVEX_ERR_IO);

                const auto journalPath = findJournal(folder.path());
                ASSERT_TRUE(journalPath.has_value());
                const auto journal = repair::readJournal(journalPath->string());
                ASSERT_TRUE(journal.has_value());
                EXPECT_EQ(journal->chunkCount, 0);
                const repair::Result result = repair::repairFromJournal(*journal, kKey, TARVEX_BOTH_LAYERS, goal);
                EXPECT_EQ(result.status, repair::Status::Repaired);
                EXPECT_EQ(result.decision, repair::Decision::JournalCount);
                EXPECT_EQ(readFile(folder.file("data.bin")), finish ? completed : original);
                EXPECT_FALSE(findJournal(folder.path()).has_value());
            }
        }
    }
}

}  // namespace
}  // namespace reliability

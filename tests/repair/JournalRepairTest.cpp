// The in-place repair from a journal and its undo copy. Each interrupted state
// is made by a real run stopped inside a chunk, then changed by hand where a
// test needs a chunk written in part; every expected file is the plaintext
// kept aside, or its transform into another file.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/time.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "InterruptedRun.h"
#include "RepairSupport.h"
#include "repair/JournalRepair.h"
#include "tarvex.h"

namespace {

using namespace mendkit_test;
namespace fs = std::filesystem;
using repair::Decision;
using repair::Goal;
using repair::Status;

constexpr size_t kChunk = 65536;
constexpr size_t kChunks = 5;  // the last one short
constexpr const char* kKey = "repair from the journal";

class JournalRepair : public ::testing::Test {
protected:
    const Bytes& start(int direction) const { return direction == TARVEX_ENCRYPT ? original : encrypted; }
    const Bytes& expected(int direction, Goal goal) const
    {
        if (goal == Goal::Plaintext || direction == TARVEX_DECRYPT) return original;
        return encrypted;
    }

    // A fresh folder holding `name` as a run in `direction` left it, stopped
    // inside chunk `chunk`; returns its journal.
    repair::Journal interrupt(const std::string& runName, int direction, int64_t chunk,
                              const std::string& name = "data.bin")
    {
        const fs::path runFolder = folder.path() / runName;
        fs::create_directory(runFolder);
        writeFile(runFolder / name, start(direction));
        EXPECT_TRUE(stopInsideChunk(runFolder, name, kKey, direction, TARVEX_BOTH_LAYERS, chunk));
        const auto journals = filesEndingWith(runFolder, ".adt");
        if (journals.size() != 1) throw std::runtime_error("the stopped run left no journal");
        return *repair::readJournal(journals.front().string());
    }

    // Repairs a copy of the journal's folder, so that one interrupted state
    // serves several repairs; returns the repaired file.
    Bytes repairCopy(const repair::Journal& journal, Goal goal, repair::Result& result, const char* key = kKey,
                     int layerChoice = TARVEX_BOTH_LAYERS)
    {
        const fs::path source = fs::path(journal.journalPath).parent_path();
        const fs::path copy = folder.path() / ("copy" + std::to_string(++copies_));
        fs::copy(source, copy, fs::copy_options::recursive);
        const auto copied = repair::readJournal((copy / fs::path(journal.journalPath).filename()).string());
        if (!copied) throw std::runtime_error("the copied journal cannot be read");
        result = repair::repairFromJournal(*copied, key, layerChoice, goal);
        lastCopy = copy;
        return readFile(copied->filePath);
    }

    // What the last repaired copy's folder holds besides the file.
    std::vector<std::string> leftBeside(const std::string& fileName) const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(lastCopy))
            if (entry.path().filename() != fileName) names.push_back(entry.path().filename().string());
        return names;
    }

    const TempFolder folder;
    const Bytes original = randomBytes((kChunks - 1) * kChunk + 1234, 41);
    const Bytes encrypted = transformThroughFile(kKey, original, TARVEX_ENCRYPT, TARVEX_BOTH_LAYERS);
    fs::path lastCopy;

private:
    int copies_ = 0;
};

const char* goalName(Goal goal) { return goal == Goal::Plaintext ? "plaintext" : "transformed"; }

TEST_F(JournalRepair, TellsAnUntouchedAHalfWrittenAndAWholeChunkAtTheCountApart)
{
    struct Case {
        size_t written;  // bytes of the chunk at the count written by hand
        Decision decision;
    };
    for (const int direction : {TARVEX_ENCRYPT, TARVEX_DECRYPT}) {
        for (const int64_t chunk : {int64_t(0), int64_t(2), int64_t(kChunks - 1)}) {
            const size_t chunkLength = std::min(kChunk, original.size() - chunk * kChunk);
            for (const Case& c : {Case{0, Decision::JournalCount}, Case{chunkLength / 2, Decision::RestoredHalfWritten},
                                  Case{1, Decision::RestoredHalfWritten}, Case{chunkLength, Decision::OneMoreChunk}}) {
                SCOPED_TRACE("direction " + std::to_string(direction) + ", chunk " + std::to_string(chunk) +
                             ", written " + std::to_string(c.written));
                const std::string runName =
                    "run" + std::to_string(direction) + "-" + std::to_string(chunk) + "-" + std::to_string(c.written);
                const repair::Journal journal = interrupt(runName, direction, chunk);
                ASSERT_EQ(journal.chunkCount, chunk);
                // What the run writes there is what a complete run makes of the chunk.
                const Bytes& completed = direction == TARVEX_ENCRYPT ? encrypted : original;
                writeInto(journal.filePath, completed, static_cast<size_t>(chunk) * kChunk, c.written);

                for (const Goal goal : {Goal::Plaintext, Goal::Transformed}) {
                    repair::Result result;
                    EXPECT_EQ(repairCopy(journal, goal, result), expected(direction, goal)) << goalName(goal);
                    EXPECT_EQ(result.status, Status::Repaired);
                    EXPECT_EQ(result.decision, c.decision) << goalName(goal);
                    EXPECT_TRUE(leftBeside("data.bin").empty()) << goalName(goal);
                }
            }
        }
    }
}

TEST_F(JournalRepair, TornOrStaleUndoCopiesAreIgnoredAndTheCountIsExact)
{
    for (const int direction : {TARVEX_ENCRYPT, TARVEX_DECRYPT}) {
        SCOPED_TRACE("direction " + std::to_string(direction));
        const repair::Journal journal = interrupt("torn" + std::to_string(direction), direction, 2);
        const Bytes copy = readFile(journal.undoPath);
        ASSERT_EQ(copy.size(), kChunk + 40);

        Bytes flipped = copy;
        flipped[1000] ^= 0x20;
        Bytes newTrailerOverOldBytes = copy;  // the bytes of the chunk before, the trailer of this one
        std::fill(newTrailerOverOldBytes.begin(), newTrailerOverOldBytes.begin() + kChunk / 2, 0x55);
        const std::vector<Bytes> torn = {
            Bytes(copy.begin(), copy.begin() + kChunk / 2),  // cut short in its bytes
            Bytes(copy.begin(), copy.end() - 20),            // cut short in its trailer
            flipped,
            newTrailerOverOldBytes,
            Bytes{},
        };
        for (size_t variant = 0; variant < torn.size(); ++variant) {
            writeFile(journal.undoPath, torn[variant]);
            for (const Goal goal : {Goal::Plaintext, Goal::Transformed}) {
                repair::Result result;
                EXPECT_EQ(repairCopy(journal, goal, result), expected(direction, goal)) << "variant " << variant;
                EXPECT_EQ(result.status, Status::Repaired);
                EXPECT_EQ(result.decision, Decision::JournalCount) << "variant " << variant;
            }
        }

        // Stale: the run finished chunk 1 and wrote its line, but had not yet
        // replaced chunk 1's copy when it stopped.
        const repair::Journal earlier = interrupt("stale" + std::to_string(direction), direction, 1);
        const Bytes& completed = direction == TARVEX_ENCRYPT ? encrypted : original;
        writeInto(earlier.filePath, completed, kChunk, kChunk);
        appendText(earlier.journalPath, journalLine("data.bin", 2, 2 * kChunk));
        const auto stale = repair::readJournal(earlier.journalPath);
        ASSERT_TRUE(stale.has_value());
        ASSERT_EQ(stale->chunkCount, 2);
        for (const Goal goal : {Goal::Plaintext, Goal::Transformed}) {
            repair::Result result;
            EXPECT_EQ(repairCopy(*stale, goal, result), expected(direction, goal)) << goalName(goal);
            EXPECT_EQ(result.decision, Decision::JournalCount);
        }
    }
}

TEST_F(JournalRepair, WithoutAnUndoCopyTheCountIsUsedAndSaidToBeUncertain)
{
    const repair::Journal journal = interrupt("no-copy", TARVEX_ENCRYPT, 3);
    fs::remove(journal.undoPath);
    repair::Result result;
    EXPECT_EQ(repairCopy(journal, Goal::Plaintext, result), original);
    EXPECT_EQ(result.decision, Decision::UncertainWithoutCopy);
    EXPECT_EQ(repairCopy(journal, Goal::Transformed, result), encrypted);
    EXPECT_EQ(result.decision, Decision::UncertainWithoutCopy);

    // A journal that counts every chunk leaves nothing uncertain.
    std::string text;
    for (size_t count = 0; count < kChunks; ++count) text += journalLine("data.bin", count, count * kChunk);
    text += journalLine("data.bin", kChunks, original.size());
    const fs::path whole = folder.path() / "whole";
    fs::create_directory(whole);
    writeFile(whole / "data.bin", encrypted);
    writeFile(whole / "TXE1.adt", Bytes(text.begin(), text.end()));
    EXPECT_EQ(repairCopy(*repair::readJournal((whole / "TXE1.adt").string()), Goal::Plaintext, result), original);
    EXPECT_EQ(result.decision, Decision::JournalCount);
}

TEST_F(JournalRepair, AnotherKeyOrLayerChoiceIsRefusedOnceTheChunkWasTouched)
{
    const repair::Journal journal = interrupt("wrong-key", TARVEX_ENCRYPT, 2);
    writeInto(journal.filePath, encrypted, 2 * kChunk, 1000);
    const Bytes damaged = readFile(journal.filePath);
    const Bytes journalText = readFile(journal.journalPath);
    const Bytes copy = readFile(journal.undoPath);

    struct Attempt {
        const char* key;
        int layerChoice;
    };
    for (const Attempt attempt : {Attempt{"repair from the journaL", 0}, Attempt{kKey, TARVEX_BLOCK_CIPHER_ONLY}}) {
        repair::Result result;
        EXPECT_EQ(repairCopy(journal, Goal::Plaintext, result, attempt.key, attempt.layerChoice), damaged);
        EXPECT_EQ(result.status, Status::KeyDoesNotFit) << attempt.key << " " << attempt.layerChoice;
        EXPECT_EQ(readFile(lastCopy / fs::path(journal.journalPath).filename()), journalText);
        EXPECT_EQ(readFile(lastCopy / fs::path(journal.undoPath).filename()), copy);
        EXPECT_EQ(leftBeside("data.bin").size(), 2u);
    }
}

TEST_F(JournalRepair, AFullDiskLeavesTheDamagedFileAndItsJournalAsTheyWere)
{
    const repair::Journal journal = interrupt("disk-full", TARVEX_DECRYPT, 2);
    writeInto(journal.filePath, original, 2 * kChunk, 5000);
    const Bytes damaged = readFile(journal.filePath);
    const Bytes journalText = readFile(journal.journalPath);
    const Bytes copy = readFile(journal.undoPath);

    for (const Goal goal : {Goal::Plaintext, Goal::Transformed}) {
        for (const long limit : {0L, 100000L, static_cast<long>(original.size()) - 1}) {
            SCOPED_TRACE(std::string(goalName(goal)) + ", limit " + std::to_string(limit));
            const Ending ending = waitForChild(startChild(
                [&] {
                    const auto result = repair::repairFromJournal(journal, kKey, TARVEX_BOTH_LAYERS, goal);
                    return static_cast<int>(result.status);
                },
                {{}, limit}));
            ASSERT_TRUE(ending.exited);
            EXPECT_EQ(ending.status, static_cast<int>(Status::CannotWrite));
            EXPECT_EQ(readFile(journal.filePath), damaged);
            EXPECT_EQ(readFile(journal.journalPath), journalText);
            EXPECT_EQ(readFile(journal.undoPath), copy);
            // Nothing else: the temporary file is gone.
            EXPECT_EQ(std::distance(fs::directory_iterator(fs::path(journal.filePath).parent_path()), {}), 3);
        }
    }
    // And it can still be repaired.
    const auto result = repair::repairFromJournal(journal, kKey, TARVEX_BOTH_LAYERS, Goal::Plaintext);
    EXPECT_EQ(result.status, Status::Repaired);
    EXPECT_EQ(result.decision, Decision::RestoredHalfWritten);
    EXPECT_EQ(readFile(journal.filePath), original);
}

// What a repair leaves when it is stopped after the repaired file took the
// damaged one's place, before the journal went: the journal, its undo copy
// and the record naming the repaired file.
TEST_F(JournalRepair, ARepairStoppedAfterTheReplacementIsNotDoneTwice)
{
    const repair::Journal journal = interrupt("twice", TARVEX_ENCRYPT, 2);
    writeInto(journal.filePath, encrypted, 2 * kChunk, 3000);
    const Bytes journalText = readFile(journal.journalPath);
    const Bytes copy = readFile(journal.undoPath);
    const fs::path recordPath = fs::path(journal.journalPath).replace_extension(".repaired");

    ASSERT_EQ(repair::repairFromJournal(journal, kKey, TARVEX_BOTH_LAYERS, Goal::Plaintext).status, Status::Repaired);
    ASSERT_EQ(readFile(journal.filePath), original);
    EXPECT_FALSE(fs::exists(recordPath));

    const auto stoppedAfterReplacement = [&] {
        writeFile(journal.journalPath, journalText);
        writeFile(journal.undoPath, copy);
        struct stat status;
        ASSERT_EQ(stat(journal.filePath.c_str(), &status), 0);
        // The file holds no chunk of the encryption any more: 0 of them.
        std::ofstream(recordPath) << "tarvex repair record\n"
                                  << status.st_dev << ' ' << status.st_ino << " 0 "
                                  << static_cast<int>(Decision::RestoredHalfWritten) << "\n.twice.repair-XXXXXX\n";
    };
    stoppedAfterReplacement();
    auto result = repair::repairFromJournal(journal, kKey, TARVEX_BOTH_LAYERS, Goal::Plaintext);
    EXPECT_EQ(result.status, Status::Repaired);
    EXPECT_EQ(result.decision, Decision::RestoredHalfWritten);
    EXPECT_EQ(readFile(journal.filePath), original);
    EXPECT_FALSE(fs::exists(journal.journalPath));
    EXPECT_FALSE(fs::exists(journal.undoPath));
    EXPECT_FALSE(fs::exists(recordPath));

    // Finishing the run instead starts from the repaired state too.
    stoppedAfterReplacement();
    result = repair::repairFromJournal(journal, kKey, TARVEX_BOTH_LAYERS, Goal::Transformed);
    EXPECT_EQ(result.status, Status::Repaired);
    EXPECT_EQ(readFile(journal.filePath), encrypted);
}

TEST_F(JournalRepair, ARecordOfARepairStoppedBeforeTheReplacementOnlyLeavesItsTemporaryFileToRemove)
{
    const repair::Journal journal = interrupt("before", TARVEX_DECRYPT, 1);
    const fs::path runFolder = fs::path(journal.filePath).parent_path();
    const fs::path temporary = runFolder / ".before.repair-AbCdEf";
    writeFile(temporary, randomBytes(1000, 5));
    struct stat status;
    ASSERT_EQ(stat(temporary.c_str(), &status), 0);
    std::ofstream(fs::path(journal.journalPath).replace_extension(".repaired"))
        << "tarvex repair record\n"
        << status.st_dev << ' ' << status.st_ino << " 5 0\n"
        << temporary.filename().string() << '\n';

    const auto result = repair::repairFromJournal(journal, kKey, TARVEX_BOTH_LAYERS, Goal::Plaintext);
    EXPECT_EQ(result.status, Status::Repaired);
    EXPECT_EQ(result.decision, Decision::JournalCount);
    EXPECT_EQ(readFile(journal.filePath), original);
    EXPECT_EQ(std::distance(fs::directory_iterator(runFolder), {}), 1);
}

TEST_F(JournalRepair, TheFileKeepsItsModeAndTimesAndALinkIsRepairedWhereItLeads)
{
    const fs::path runFolder = folder.path() / "linked";
    fs::create_directory(runFolder);
    writeFile(runFolder / "data.bin", original);
    fs::create_symlink("data.bin", runFolder / "link.bin");
    ASSERT_TRUE(stopInsideChunk(runFolder, "link.bin", kKey, TARVEX_ENCRYPT, TARVEX_BOTH_LAYERS, 3));
    const auto journal = repair::readJournal(filesEndingWith(runFolder, ".adt").front().string());
    ASSERT_TRUE(journal.has_value());
    ASSERT_EQ(journal->fileName, "link.bin");

    ASSERT_EQ(chmod((runFolder / "data.bin").c_str(), 0640), 0);
    const timeval times[2] = {{1000000000, 250000}, {1100000000, 750000}};
    ASSERT_EQ(utimes((runFolder / "data.bin").c_str(), times), 0);
    struct stat before;
    ASSERT_EQ(stat((runFolder / "data.bin").c_str(), &before), 0);

    const auto result = repair::repairFromJournal(*journal, kKey, TARVEX_BOTH_LAYERS, Goal::Transformed);
    ASSERT_EQ(result.status, Status::Repaired);
    // Before reading it, which moves the access time on.
    struct stat after;
    ASSERT_EQ(stat((runFolder / "data.bin").c_str(), &after), 0);
    EXPECT_TRUE(fs::is_symlink(runFolder / "link.bin"));
    EXPECT_EQ(readFile(runFolder / "data.bin"), encrypted);
    EXPECT_EQ(after.st_mode & 07777, 0640u);
    EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
    EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
    EXPECT_EQ(after.st_atim.tv_sec, before.st_atim.tv_sec);
    EXPECT_EQ(after.st_uid, before.st_uid);
}

int engineReports = 0;
int countEngineReport(int32_t)
{
    ++engineReports;
    return 0;
}

TEST_F(JournalRepair, ProgressGoesToTheSinkAndNotToTheEnginesCallback)
{
    const repair::Journal journal = interrupt("progress", TARVEX_ENCRYPT, 2);
    int32_t engineVariable = -1;
    tarvexSetProgressCallback(countEngineReport);
    tarvexSetProgressVariable(&engineVariable);
    std::vector<int> percents;
    const auto result = repair::repairFromJournal(journal, kKey, TARVEX_BOTH_LAYERS, Goal::Plaintext,
                                                  [&](int percent) { percents.push_back(percent); });
    tarvexSetProgressCallback(nullptr);
    tarvexSetProgressVariable(nullptr);
    EXPECT_EQ(result.status, Status::Repaired);
    EXPECT_EQ(engineReports, 0);
    EXPECT_EQ(engineVariable, -1);
    EXPECT_EQ(percents, (std::vector<int>{20, 40, 60, 80, 100}));
}

TEST_F(JournalRepair, AJournalThatDoesNotFitItsFileOrAMissingFileChangesNothing)
{
    const repair::Journal journal = interrupt("changed", TARVEX_ENCRYPT, 3);
    fs::resize_file(journal.filePath, 2 * kChunk);
    EXPECT_EQ(repair::repairFromJournal(journal, kKey, 0, Goal::Plaintext).status, Status::JournalDoesNotFit);
    EXPECT_EQ(readFile(journal.filePath).size(), 2 * kChunk);
    EXPECT_TRUE(fs::exists(journal.journalPath));

    fs::remove(journal.filePath);
    EXPECT_EQ(repair::repairFromJournal(journal, kKey, 0, Goal::Plaintext).status, Status::CannotOpenFile);
    fs::create_directory(journal.filePath);
    EXPECT_EQ(repair::repairFromJournal(journal, kKey, 0, Goal::Plaintext).status, Status::CannotOpenFile);
    EXPECT_TRUE(fs::exists(journal.journalPath));
    EXPECT_TRUE(fs::exists(journal.undoPath));
}

}  // namespace

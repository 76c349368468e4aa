// The in-place repair from a journal and its window record. Each interrupted
// state is made by a real run stopped inside a window, then changed by hand
// where a test needs a window written in part; every expected file is the
// plaintext kept aside, or its transform into another file.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <optional>
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
constexpr size_t kWindow = kWindowChunks * kChunk;
constexpr size_t kChunks = kWindowChunks + 5;  // two windows, the last chunk short
constexpr const char* kKey = "repair from the journal";

class JournalRepair : public ::testing::Test {
protected:
    const Bytes& start(int direction) const { return direction == TARVEX_ENCRYPT ? original : encrypted; }
    const Bytes& expected(int direction, Goal goal) const
    {
        if (goal == Goal::Plaintext || direction == TARVEX_DECRYPT) return original;
        return encrypted;
    }

    // A fresh folder holding data.bin as a run in `direction` left it,
    // stopped inside the transform of the window from `firstChunk`; returns
    // its journal.
    repair::Journal interrupt(const std::string& runName, int direction, int64_t firstChunk = 0)
    {
        const fs::path runFolder = folder.path() / runName;
        fs::create_directory(runFolder);
        writeFile(runFolder / "data.bin", start(direction));
        EXPECT_TRUE(stopInsideWindow(runFolder, "data.bin", kKey, direction, TARVEX_BOTH_LAYERS, firstChunk));
        return journalIn(runFolder);
    }

    // The same, stopped while writing its first window, `written` bytes of
    // it rewritten.
    repair::Journal interruptWriting(const std::string& runName, int direction, size_t written)
    {
        const fs::path runFolder = folder.path() / runName;
        fs::create_directory(runFolder);
        stopWritingFirstWindow(runFolder, "data.bin", kKey, direction, TARVEX_BOTH_LAYERS, start(direction),
                               completed(direction), written);
        return journalIn(runFolder);
    }

    static repair::Journal journalIn(const fs::path& runFolder)
    {
        const auto journals = filesEndingWith(runFolder, ".adt");
        if (journals.size() != 1) throw std::runtime_error("the stopped run left no journal");
        return *repair::readJournal(journals.front().string());
    }

    const Bytes& completed(int direction) const { return direction == TARVEX_ENCRYPT ? encrypted : original; }

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

// However much of the window reached the file, in whatever pieces, the
// record puts it right: an encryption's window is finished, a decryption's
// put back.
TEST_F(JournalRepair, AWindowIsFinishedOrPutBackFromItsRecordHoweverMuchOfItWasWritten)
{
    for (const int direction : {TARVEX_ENCRYPT, TARVEX_DECRYPT}) {
        const Decision decision = direction == TARVEX_ENCRYPT ? Decision::RolledForward : Decision::RolledBack;
        for (const size_t written : {size_t{0}, size_t{1}, kWindow / 2 + 77, kWindow}) {
            SCOPED_TRACE("direction " + std::to_string(direction) + ", written " + std::to_string(written));
            const std::string runName = "run" + std::to_string(direction) + "-" + std::to_string(written);
            const repair::Journal journal = interruptWriting(runName, direction, written);
            ASSERT_EQ(journal.chunkCount, 0);
            for (const Goal goal : {Goal::Plaintext, Goal::Transformed}) {
                repair::Result result;
                EXPECT_EQ(repairCopy(journal, goal, result), expected(direction, goal)) << goalName(goal);
                EXPECT_EQ(result.status, Status::Repaired);
                EXPECT_EQ(result.decision, decision) << goalName(goal);
                EXPECT_TRUE(leftBeside("data.bin").empty()) << goalName(goal);
            }
        }
    }
}

// A record torn while it was being written means its window was not yet
// touched; one whose window the journal has passed is stale. Either way the
// journal's count is exact.
TEST_F(JournalRepair, TornOrStaleRecordsLeaveTheCountExact)
{
    for (const int direction : {TARVEX_ENCRYPT, TARVEX_DECRYPT}) {
        SCOPED_TRACE("direction " + std::to_string(direction));
        const repair::Journal journal = interruptWriting("torn" + std::to_string(direction), direction, 0);
        const Bytes record = readFile(journal.undoPath);
        constexpr size_t kWindowAt = 4096;
        ASSERT_EQ(record.size(), kWindowAt + kWindow + 40);

        Bytes flipped = record;
        flipped[kWindowAt + 1000] ^= 0x20;
        Bytes oldTrailer = record;  // the new bytes reached the disk, the trailer not
        oldTrailer[record.size() - 30] ^= 0x01;
        const std::vector<Bytes> torn = {
            Bytes(record.begin(), record.begin() + kWindowAt + kWindow / 2),  // cut short in its bytes
            Bytes(record.begin(), record.end() - 20),                         // cut short in its trailer
            flipped,
            oldTrailer,
            Bytes(record.begin(), record.begin() + kWindowAt),  // no window yet
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

        // Stale: the window is on the disk and counted, the next one's record
        // not yet begun.
        writeFile(journal.undoPath, record);
        writeInto(journal.filePath, completed(direction), 0, kWindow);
        for (int64_t count = 1; count <= kWindowChunks; ++count)
            appendText(journal.journalPath, journalLine("data.bin", count, count * kChunk));
        const auto stale = repair::readJournal(journal.journalPath);
        ASSERT_TRUE(stale.has_value());
        for (const Goal goal : {Goal::Plaintext, Goal::Transformed}) {
            repair::Result result;
            EXPECT_EQ(repairCopy(*stale, goal, result), expected(direction, goal)) << goalName(goal);
            EXPECT_NE(result.decision, Decision::UncertainWithoutCopy);
        }
    }
}

// A journal that stops short of its record's window is no state a run
// leaves: the repair cannot know how far the run got, and changes nothing.
TEST_F(JournalRepair, AJournalBehindItsRecordIsRefusedUnchanged)
{
    const fs::path runFolder = folder.path() / "behind";
    fs::create_directory(runFolder);
    const Bytes plain = randomBytes(2 * kWindow + 5 * kChunk, 42);
    writeFile(runFolder / "data.bin", plain);
    // Stopped before the third window: the record holds the second.
    ASSERT_TRUE(stopInsideWindow(runFolder, "data.bin", kKey, TARVEX_ENCRYPT, TARVEX_BOTH_LAYERS, 2 * kWindowChunks));
    const repair::Journal counted = journalIn(runFolder);
    ASSERT_EQ(counted.chunkCount, 2 * kWindowChunks);
    fs::resize_file(counted.journalPath, journalLine("data.bin", 0, 0).size());
    const repair::Journal journal = journalIn(runFolder);

    const Bytes damaged = readFile(journal.filePath);
    const Bytes journalText = readFile(journal.journalPath);
    const Bytes record = readFile(journal.undoPath);
    const auto result = repair::repairFromJournal(journal, kKey, TARVEX_BOTH_LAYERS, Goal::Plaintext);
    EXPECT_EQ(result.status, Status::CannotRepairExactly);
    EXPECT_EQ(readFile(journal.filePath), damaged);
    EXPECT_EQ(readFile(journal.journalPath), journalText);
    EXPECT_EQ(readFile(journal.undoPath), record);
    EXPECT_EQ(std::distance(fs::directory_iterator(runFolder), {}), 3);
}

// A journal without a record is of an older kind of run, which wrote a line
// per chunk straight after the chunk.
TEST_F(JournalRepair, WithoutARecordTheCountIsUsedAndSaidToBeUncertain)
{
    const repair::Journal journal = interrupt("no-record", TARVEX_ENCRYPT);
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

// The record's key check refuses another key or layer choice before anything
// is written: before the window is touched, while it is half written, and
// with a torn record.
TEST_F(JournalRepair, AnotherKeyOrLayerChoiceIsRefusedInEveryState)
{
    struct Attempt {
        const char* key;
        int layerChoice;
    };
    for (const int direction : {TARVEX_ENCRYPT, TARVEX_DECRYPT}) {
        for (const size_t written : {size_t{0}, kWindow / 3}) {
            for (const bool tornRecord : {false, true}) {
                SCOPED_TRACE("direction " + std::to_string(direction) + ", written " + std::to_string(written) +
                             (tornRecord ? ", torn record" : ""));
                const std::string runName = "wrong-key" + std::to_string(direction) + "-" + std::to_string(written) +
                                            (tornRecord ? "-torn" : "");
                const repair::Journal journal = interruptWriting(runName, direction, written);
                if (tornRecord) fs::resize_file(journal.undoPath, 4096 + kWindow / 2);
                const Bytes damaged = readFile(journal.filePath);
                const Bytes journalText = readFile(journal.journalPath);
                const Bytes record = readFile(journal.undoPath);
                for (const Attempt attempt :
                     {Attempt{"repair from the journaL", 0}, Attempt{kKey, TARVEX_BLOCK_CIPHER_ONLY}}) {
                    repair::Result result;
                    EXPECT_EQ(repairCopy(journal, Goal::Plaintext, result, attempt.key, attempt.layerChoice), damaged);
                    EXPECT_EQ(result.status, Status::KeyDoesNotFit) << attempt.key << " " << attempt.layerChoice;
                    EXPECT_EQ(readFile(lastCopy / fs::path(journal.journalPath).filename()), journalText);
                    EXPECT_EQ(readFile(lastCopy / fs::path(journal.undoPath).filename()), record);
                    EXPECT_EQ(leftBeside("data.bin").size(), 2u);
                }
            }
        }
    }
}

TEST_F(JournalRepair, AFullDiskLeavesTheDamagedFileAndItsJournalAsTheyWere)
{
    const repair::Journal journal = interruptWriting("disk-full", TARVEX_DECRYPT, 5000);
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
    EXPECT_EQ(result.decision, Decision::RolledBack);
    EXPECT_EQ(readFile(journal.filePath), original);
}

// What a repair leaves when it is stopped after the repaired file took the
// damaged one's place, before the journal went: the journal, its window record
// and the record naming the repaired file.
TEST_F(JournalRepair, ARepairStoppedAfterTheReplacementIsNotDoneTwice)
{
    const repair::Journal journal = interruptWriting("twice", TARVEX_ENCRYPT, 3000);
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
                                  << static_cast<int>(Decision::RolledForward) << "\n.twice.repair-XXXXXX\n";
    };
    stoppedAfterReplacement();
    auto result = repair::repairFromJournal(journal, kKey, TARVEX_BOTH_LAYERS, Goal::Plaintext);
    EXPECT_EQ(result.status, Status::Repaired);
    EXPECT_EQ(result.decision, Decision::RolledForward);
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
    const repair::Journal journal = interrupt("before", TARVEX_DECRYPT);
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

// A repair killed while it writes the repaired file leaves part of the
// plaintext in its temporary file: the next repair removes it.
TEST_F(JournalRepair, TheTemporaryFileOfAKilledRepairIsRemovedByTheNext)
{
    const repair::Journal journal = interruptWriting("killed-repair", TARVEX_DECRYPT, 1000);
    const fs::path runFolder = fs::path(journal.filePath).parent_path();
    const Ending killed = waitForChild(startChild([&] {
        repair::repairFromJournal(journal, kKey, TARVEX_BOTH_LAYERS, Goal::Plaintext, [](int percent) {
            if (percent >= 50) _exit(7);
        });
        return 0;
    }));
    ASSERT_TRUE(killed.exited);
    ASSERT_EQ(killed.status, 7);
    size_t temporaries = 0;
    for (const auto& entry : fs::directory_iterator(runFolder))
        temporaries += entry.path().filename().string().find(".repair-") != std::string::npos;
    ASSERT_EQ(temporaries, 1u);

    const auto result = repair::repairFromJournal(journal, kKey, TARVEX_BOTH_LAYERS, Goal::Plaintext);
    EXPECT_EQ(result.status, Status::Repaired);
    EXPECT_EQ(readFile(journal.filePath), original);
    EXPECT_EQ(std::distance(fs::directory_iterator(runFolder), {}), 1);
}

TEST_F(JournalRepair, TheFileKeepsItsModeAndTimesAndALinkIsRepairedWhereItLeads)
{
    const fs::path runFolder = folder.path() / "linked";
    fs::create_directory(runFolder);
    writeFile(runFolder / "data.bin", original);
    fs::create_symlink("data.bin", runFolder / "link.bin");
    ASSERT_TRUE(stopInsideWindow(runFolder, "link.bin", kKey, TARVEX_ENCRYPT, TARVEX_BOTH_LAYERS, kWindowChunks));
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

[[noreturn]] int waitForever(int32_t)
{
    for (;;) pause();
}

// A run still going holds its journal: the repair and the list of a folder's
// journals leave it alone, and take it up once the run is gone.
TEST_F(JournalRepair, ARunStillGoingIsLeftAlone)
{
    const fs::path runFolder = folder.path() / "live";
    fs::create_directory(runFolder);
    writeFile(runFolder / "data.bin", original);
    const pid_t run = startChild(
        [] {
            tarvexSetProgressCallback(waitForever);
            return tarvexTransformFile(kKey, "data.bin", "data.bin", TARVEX_ENCRYPT, TARVEX_BOTH_LAYERS);
        },
        {runFolder, {}});
    // Its first line is written once the journal is locked.
    std::optional<repair::Journal> journal;
    for (int wait = 0; wait < 1000 && !journal; ++wait) {
        for (const auto& path : filesEndingWith(runFolder, ".adt")) journal = repair::readJournal(path.string());
        if (!journal) usleep(10000);
    }
    ASSERT_TRUE(journal.has_value());
    EXPECT_TRUE(repair::isJournalInUse(journal->journalPath));
    EXPECT_TRUE(repair::findJournals(runFolder.string(), true).empty());
    EXPECT_EQ(repair::repairFromJournal(*journal, kKey, TARVEX_BOTH_LAYERS, Goal::Plaintext).status,
              Status::RunStillGoing);
    EXPECT_EQ(readFile(runFolder / "data.bin"), original);
    EXPECT_TRUE(fs::exists(journal->journalPath));

    kill(run, SIGKILL);
    waitForChild(run);
    EXPECT_FALSE(repair::isJournalInUse(journal->journalPath));
    EXPECT_EQ(repair::findJournals(runFolder.string(), true).size(), 1u);
    const auto result = repair::repairFromJournal(*journal, kKey, TARVEX_BOTH_LAYERS, Goal::Plaintext);
    EXPECT_EQ(result.status, Status::Repaired);
    EXPECT_EQ(readFile(runFolder / "data.bin"), original);
}

int engineReports = 0;
int countEngineReport(int32_t)
{
    ++engineReports;
    return 0;
}

TEST_F(JournalRepair, ProgressGoesToTheSinkAndNotToTheEnginesCallback)
{
    const repair::Journal journal = interrupt("progress", TARVEX_DECRYPT);
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
    ASSERT_EQ(percents.size(), kChunks);
    EXPECT_EQ(percents.front(), 1);
    EXPECT_EQ(percents.back(), 100);
    EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
}

TEST_F(JournalRepair, AJournalThatDoesNotFitItsFileAHardLinkedOrAMissingFileChangesNothing)
{
    const repair::Journal journal = interrupt("changed", TARVEX_ENCRYPT, kWindowChunks);
    fs::resize_file(journal.filePath, 2 * kChunk);
    EXPECT_EQ(repair::repairFromJournal(journal, kKey, 0, Goal::Plaintext).status, Status::JournalDoesNotFit);
    EXPECT_EQ(readFile(journal.filePath).size(), 2 * kChunk);
    EXPECT_TRUE(fs::exists(journal.journalPath));

    fs::resize_file(journal.filePath, original.size());
    fs::create_hard_link(journal.filePath, journal.filePath + ".other");
    EXPECT_EQ(repair::repairFromJournal(journal, kKey, 0, Goal::Plaintext).status, Status::FileHasOtherNames);
    fs::remove(journal.filePath + ".other");
    EXPECT_EQ(readFile(journal.filePath).size(), original.size());

    fs::remove(journal.filePath);
    EXPECT_EQ(repair::repairFromJournal(journal, kKey, 0, Goal::Plaintext).status, Status::CannotOpenFile);
    fs::create_directory(journal.filePath);
    EXPECT_EQ(repair::repairFromJournal(journal, kKey, 0, Goal::Plaintext).status, Status::CannotOpenFile);
    EXPECT_TRUE(fs::exists(journal.journalPath));
    EXPECT_TRUE(fs::exists(journal.undoPath));
}

// In a shared folder another user can plant a journal, a record or a file:
// the repair reads and changes only what the repairing user owns.
TEST_F(JournalRepair, WhatAnotherUserOwnsIsNeitherReadNorRepaired)
{
    if (geteuid() != 0) GTEST_SKIP() << "making files of another user needs root";
    const repair::Journal journal = interrupt("shared", TARVEX_ENCRYPT, kWindowChunks);
    const Bytes damaged = readFile(journal.filePath);
    constexpr uid_t other = 65534;
    const auto unchanged = [&] {
        EXPECT_EQ(readFile(journal.filePath), damaged);
        EXPECT_TRUE(fs::exists(journal.journalPath));
    };

    // The file or the record of another user: refused, however the journal reads.
    for (const std::string& planted : {journal.filePath, journal.undoPath}) {
        ASSERT_EQ(chown(planted.c_str(), other, other), 0);
        EXPECT_EQ(repair::repairFromJournal(journal, kKey, 0, Goal::Plaintext).status, Status::OwnersDiffer);
        unchanged();
        ASSERT_EQ(chown(planted.c_str(), 0, 0), 0);
    }

    // A journal of another user, or a link to one, is not read: nor found.
    const std::string link = fs::path(journal.journalPath).replace_filename("TXE1.adt").string();
    fs::create_symlink(journal.journalPath, link);
    repair::JournalProblem problem{};
    EXPECT_FALSE(repair::readJournal(link, problem));
    EXPECT_EQ(problem, repair::JournalProblem::NotYours);
    ASSERT_EQ(chown(journal.journalPath.c_str(), other, other), 0);
    EXPECT_FALSE(repair::readJournal(journal.journalPath, problem));
    EXPECT_EQ(problem, repair::JournalProblem::NotYours);
    EXPECT_TRUE(repair::findJournals(fs::path(journal.journalPath).parent_path().string(), true).empty());
    EXPECT_EQ(repair::repairFromJournal(journal, kKey, 0, Goal::Plaintext).status, Status::OwnersDiffer);
    unchanged();
}

}  // namespace

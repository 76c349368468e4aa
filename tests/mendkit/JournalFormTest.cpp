// mendkit --journal: the file a journal names, repaired in place from the
// journal and its window record. The states are those of real runs stopped
// inside a window; every expected file is the plaintext kept aside or its
// transform into another file.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "InterruptedRun.h"
#include "RepairSupport.h"
#include "tarvex.h"

namespace mendkit_test {
namespace {

namespace fs = std::filesystem;

constexpr size_t kChunk = 65536;
constexpr const char* kKey = "mended from the journal";
constexpr int kRefused = 255;
const std::string kJournalUsage = "Usage: mendkit --journal Journal key [/b] [--finish]\n\n";

std::string overwritable(const std::string& line) { return line + std::string(line.size(), '\b'); }

class MendkitJournalForm : public ::testing::Test {
protected:
    // The folder "run" holding data.bin as a run stopped while writing its
    // first window left it, `written` bytes of the window rewritten; returns
    // the journal's name.
    std::string interrupt(int direction, size_t written, int layerChoice = TARVEX_BOTH_LAYERS)
    {
        fs::remove_all(runFolder);
        fs::create_directory(runFolder);
        const Bytes encryptedHere = transformThroughFile(kKey, original, TARVEX_ENCRYPT, layerChoice);
        const bool encrypting = direction == TARVEX_ENCRYPT;
        stopWritingFirstWindow(runFolder, "data.bin", kKey, direction, layerChoice,
                               encrypting ? original : encryptedHere, encrypting ? encryptedHere : original, written);
        return filesEndingWith(runFolder, ".adt").front().filename().string();
    }

    // Runs mendkit in the test's folder, above the run's.
    ProgramRun mend(const std::vector<std::string>& arguments, std::optional<long> limit = {})
    {
        return runMendkit(arguments, {folder.path(), limit});
    }

    const TempFolder folder;
    const fs::path runFolder = folder.path() / "run";
    const Bytes original = randomBytes(kWindowChunks * kChunk + 4 * kChunk + 700, 51);
    const Bytes encrypted = transformThroughFile(kKey, original, TARVEX_ENCRYPT, TARVEX_BOTH_LAYERS);
};

TEST_F(MendkitJournalForm, RepairsInPlaceToThePlaintextOrOnToTheFinishedRunAndSaysWhatItDecided)
{
    struct Case {
        int direction;
        bool finish;
        const Bytes* expected;
        std::string state;
    };
    for (const Case& c :
         {Case{TARVEX_ENCRYPT, false, &original, "plaintext"}, Case{TARVEX_ENCRYPT, true, &encrypted, "encrypted"},
          Case{TARVEX_DECRYPT, false, &original, "plaintext"}, Case{TARVEX_DECRYPT, true, &original, "decrypted"}}) {
        SCOPED_TRACE(c.state + (c.finish ? " with --finish" : ""));
        const std::string journal = "run/" + interrupt(c.direction, 20000);
        std::vector<std::string> arguments = {"--journal", journal, kKey};
        if (c.finish) arguments.push_back("--finish");

        const ProgramRun run = mend(arguments);
        EXPECT_TRUE(run.ending.exited);
        EXPECT_EQ(run.ending.status, 0) << run.output;
        const std::string decision = c.direction == TARVEX_ENCRYPT
                                         ? "finished the window the run was writing, from its record"
                                         : "put back the window the run was rewriting, from its record";
        // The last progress line, after one per chunk before it.
        const std::string last = overwritable("Repairing run/data.bin - 100% complete");
        const std::string tail = last + "\nDecided: " + decision + "\nrun/data.bin is now wholly " + c.state + "\n";
        ASSERT_GE(run.output.size(), tail.size());
        EXPECT_EQ(run.output.substr(run.output.size() - tail.size()), tail);
        EXPECT_EQ(run.output.find(last), run.output.size() - tail.size());
        EXPECT_EQ(readFile(runFolder / "data.bin"), *c.expected);
        // Only the repaired file is left.
        EXPECT_EQ(std::distance(fs::directory_iterator(runFolder), {}), 1);
    }
}

TEST_F(MendkitJournalForm, RelativeNamesComeFromTheJournalsFolderAndTheTimeStampStays)
{
    const std::string journal = interrupt(TARVEX_ENCRYPT, kChunk);
    const timeval times[2] = {{1200000000, 0}, {1300000000, 123456}};
    ASSERT_EQ(utimes((runFolder / "data.bin").c_str(), times), 0);
    struct stat before;
    ASSERT_EQ(stat((runFolder / "data.bin").c_str(), &before), 0);

    // From a folder that holds a data.bin of its own, which must stay.
    const fs::path elsewhere = folder.path() / "elsewhere";
    fs::create_directory(elsewhere);
    writeFile(elsewhere / "data.bin", original);
    const ProgramRun run = runMendkit({"--journal", (runFolder / journal).string(), kKey, "--finish"}, {elsewhere, {}});
    EXPECT_EQ(run.ending.status, 0) << run.output;
    EXPECT_NE(run.output.find("Decided: finished the window"), std::string::npos) << run.output;
    EXPECT_EQ(readFile(runFolder / "data.bin"), encrypted);
    EXPECT_EQ(readFile(elsewhere / "data.bin"), original);

    struct stat after;
    ASSERT_EQ(stat((runFolder / "data.bin").c_str(), &after), 0);
    EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
    EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
}

TEST_F(MendkitJournalForm, BlockCipherOnlyWithTheWordsInEitherOrder)
{
    const Bytes blockOnly = transformThroughFile(kKey, original, TARVEX_ENCRYPT, TARVEX_BLOCK_CIPHER_ONLY);
    std::string journal = "run/" + interrupt(TARVEX_ENCRYPT, 0, TARVEX_BLOCK_CIPHER_ONLY);
    EXPECT_EQ(mend({"--journal", journal, kKey, "--finish", "/b"}).ending.status, 0);
    EXPECT_EQ(readFile(runFolder / "data.bin"), blockOnly);

    journal = "run/" + interrupt(TARVEX_ENCRYPT, 0, TARVEX_BLOCK_CIPHER_ONLY);
    EXPECT_EQ(mend({"--journal", journal, kKey, "/b"}).ending.status, 0);
    EXPECT_EQ(readFile(runFolder / "data.bin"), original);
}

TEST_F(MendkitJournalForm, WithoutARecordItSaysThatOneChunkIsUncertainAndNotWholly)
{
    const std::string journal = "run/" + interrupt(TARVEX_DECRYPT, 0);
    fs::remove(runFolder / (journal.substr(4, journal.size() - 8) + ".undo"));
    const ProgramRun run = mend({"--journal", journal, kKey});
    EXPECT_EQ(run.ending.status, 0);
    const std::string tail = "\nDecided: journal count, without an undo copy\n"
                             "The result is uncertain for one chunk: without an undo copy, chunk 0 (from byte 0) "
                             "may already have been rewritten when the run stopped\n"
                             "run/data.bin is now plaintext, but for that chunk\n";
    ASSERT_GE(run.output.size(), tail.size());
    EXPECT_EQ(run.output.substr(run.output.size() - tail.size()), tail);
    EXPECT_EQ(readFile(runFolder / "data.bin"), original);
}

TEST_F(MendkitJournalForm, RefusalsSayWhyExitWithFailureAndChangeNothing)
{
    const std::string journal = "run/" + interrupt(TARVEX_ENCRYPT, 100);
    const Bytes damaged = readFile(runFolder / "data.bin");

    for (const auto& arguments : std::vector<std::vector<std::string>>{{"--journal"},
                                                                       {"--journal", journal},
                                                                       {"--journal", journal, kKey, "/b", "/b"},
                                                                       {"--journal", journal, kKey, "/B"},
                                                                       {"--journal", journal, kKey, "x", "y", "z"}}) {
        const ProgramRun run = mend(arguments);
        EXPECT_EQ(run.output, kJournalUsage) << arguments.size() << " arguments";
        EXPECT_EQ(run.ending.status, kRefused);
    }

    writeFile(folder.file("notes.adt"), Bytes{'x'});
    writeFile(folder.file("TXE77.adt"), Bytes{});
    const std::vector<std::pair<std::string, std::string>> refusals = {
        {"notes.adt", "notes.adt is not a journal: journals are named TXE<n>.adt or TXD<n>.adt\n\n"},
        {"TXE5.adt", "Cannot open TXE5.adt\n\n"},
        {"TXE77.adt", "TXE77.adt holds no whole line: it names no file to repair\n\n"},
    };
    for (const auto& [name, message] : refusals) {
        const ProgramRun run = mend({"--journal", name, kKey});
        EXPECT_EQ(run.output, message);
        EXPECT_EQ(run.ending.status, kRefused);
    }

    ProgramRun run = mend({"--journal", journal, "not the key of the run"});
    EXPECT_EQ(run.ending.status, kRefused);
    EXPECT_EQ(run.output, "The key does not fit run/data.bin: this key, with /b as given, is not that of the run "
                          "that wrote " +
                              journal + " (check the key and /b); nothing was changed\n\n");
    run = mend({"--journal", journal, kKey, "/b"});
    EXPECT_EQ(run.ending.status, kRefused);
    EXPECT_NE(run.output.find("The key does not fit"), std::string::npos) << run.output;

    {
        // A run still going holds its journal locked.
        const int held = open((folder.path() / journal).c_str(), O_RDONLY | O_CLOEXEC);
        ASSERT_GE(held, 0);
        ASSERT_EQ(flock(held, LOCK_EX), 0);
        run = mend({"--journal", journal, kKey});
        close(held);
        EXPECT_EQ(run.ending.status, kRefused);
        EXPECT_EQ(run.output, "The run that writes " + journal +
                                  " is still going (or has just ended); leave run/data.bin to it; nothing was "
                                  "changed\n\n");
    }

    fs::resize_file(folder.file("TXE77.adt"), uintmax_t{1} << 34);
    run = mend({"--journal", "TXE77.adt", kKey});
    EXPECT_EQ(run.ending.status, kRefused);
    EXPECT_EQ(run.output, "TXE77.adt is larger than any run's journal: it was not read\n\n");

    run = mend({"--journal", journal, kKey, "--finish"}, 100000);
    EXPECT_EQ(run.ending.status, kRefused);
    const std::string diskFull =
        "\nCannot write the repaired run/data.bin (is the disk full?); it and " + journal + " are as they were\n\n";
    ASSERT_GE(run.output.size(), diskFull.size());
    EXPECT_EQ(run.output.substr(run.output.size() - diskFull.size()), diskFull);

    EXPECT_EQ(readFile(runFolder / "data.bin"), damaged);
    EXPECT_TRUE(fs::exists(folder.path() / journal));
    EXPECT_EQ(std::distance(fs::directory_iterator(runFolder), {}), 3);
}

}  // namespace
}  // namespace mendkit_test

// mendkit --journal: the file a journal names, repaired in place from the
// journal and its undo copy. The states are those of real runs stopped inside
// a chunk; every expected file is the plaintext kept aside or its transform
// into another file.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/time.h>

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
    // The folder "run" holding data.bin as a run stopped inside chunk 2 left
    // it, with `written` bytes of that chunk already rewritten; returns the
    // journal's name.
    std::string interrupt(int direction, size_t written, int layerChoice = TARVEX_BOTH_LAYERS)
    {
        fs::remove_all(runFolder);
        fs::create_directory(runFolder);
        const Bytes encryptedHere = transformThroughFile(kKey, original, TARVEX_ENCRYPT, layerChoice);
        writeFile(runFolder / "data.bin", direction == TARVEX_ENCRYPT ? original : encryptedHere);
        EXPECT_TRUE(stopInsideChunk(runFolder, "data.bin", kKey, direction, layerChoice, 2));
        writeInto(runFolder / "data.bin", direction == TARVEX_ENCRYPT ? encryptedHere : original, 2 * kChunk, written);
        return filesEndingWith(runFolder, ".adt").front().filename().string();
    }

    // Runs mendkit in the test's folder, above the run's.
    ProgramRun mend(const std::vector<std::string>& arguments, std::optional<long> limit = {})
    {
        return runMendkit(arguments, {folder.path(), limit});
    }

    const TempFolder folder;
    const fs::path runFolder = folder.path() / "run";
    const Bytes original = randomBytes(4 * kChunk + 700, 51);
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
        std::string expectedOutput;
        for (const char* percent : {" 20", " 40", " 60", " 80", "100"})
            expectedOutput += overwritable("Repairing run/data.bin - " + std::string(percent) + "% complete");
        expectedOutput += "\nDecided: restored a half-written chunk\nrun/data.bin is now wholly " + c.state + "\n";
        EXPECT_EQ(run.output, expectedOutput);
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
    EXPECT_NE(run.output.find("Decided: one more chunk\n"), std::string::npos) << run.output;
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

TEST_F(MendkitJournalForm, WithoutAnUndoCopyItSaysThatOneChunkIsUncertain)
{
    const std::string journal = "run/" + interrupt(TARVEX_DECRYPT, 0);
    fs::remove(runFolder / (journal.substr(4, journal.size() - 8) + ".undo"));
    const ProgramRun run = mend({"--journal", journal, kKey});
    EXPECT_EQ(run.ending.status, 0);
    const std::string tail = "\nDecided: journal count, without an undo copy\n"
                             "The result is uncertain for one chunk: without an undo copy, chunk 2 (from byte 131072) "
                             "may already have been rewritten when the run stopped\n"
                             "run/data.bin is now wholly plaintext\n";
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
    const std::string wrongKey = "\nThe key does not fit run/data.bin: the chunk the run was rewriting is neither its "
                                 "undo copy nor that copy transformed with this key (check the key and /b); nothing "
                                 "was changed\n\n";
    ASSERT_GE(run.output.size(), wrongKey.size());
    EXPECT_EQ(run.output.substr(run.output.size() - wrongKey.size()), wrongKey);

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

// What mendkit refuses: each refusal prints its text, exits with -1 and
// writes nothing.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "RepairSupport.h"

namespace mendkit_test {
namespace {

const std::string kUsage = "Usage: mendkit {E|D} {NumBlocks|.NumBytes} BrokenFile FixedFile key [/b]\n\n";
const std::string kFilesMustDiffer =
    "Usage: mendkit {E|D} {NumBlocks|.NumBytes} BrokenFile FixedFile key\nFiles must be different\n\n";
constexpr int kRefused = 255;

class MendkitRefuses : public ::testing::Test {
protected:
    void SetUp() override { writeFile(broken, original); }

    const TempFolder folder;
    const std::string broken = folder.file("broken.bin");
    const std::string fixed = folder.file("fixed.bin");
    const Bytes original = randomBytes(70000, 11);
};

TEST_F(MendkitRefuses, WrongArgumentCountOrDirectionWithTheUsageLine)
{
    const std::vector<std::vector<std::string>> commandLines = {
        {},
        {"E", "1", broken, fixed},
        {"E", "1", broken, fixed, "key12345", "/b", "extra"},
        {"X", "1", broken, fixed, "key12345"},
        {"", "1", broken, fixed, "key12345"},
        {"1", "E", broken, fixed, "key12345"},
    };
    for (const auto& arguments : commandLines) {
        const ProgramRun run = runMendkit(arguments);
        EXPECT_EQ(run.output, kUsage) << arguments.size() << " arguments";
        EXPECT_TRUE(run.ending.exited);
        EXPECT_EQ(run.ending.status, kRefused);
        EXPECT_FALSE(std::filesystem::exists(fixed));
    }
}

TEST_F(MendkitRefuses, EveryNameOfTheBrokenFileAsFixedFile)
{
    std::filesystem::create_symlink(broken, folder.file("symbolic.bin"));
    std::filesystem::create_hard_link(broken, folder.file("hard.bin"));
    std::filesystem::create_directory(folder.file("sub"));

    // Relative names are taken from the folder, where mendkit runs.
    const std::vector<std::string> otherNames = {
        broken, "broken.bin", "./broken.bin", "sub/../broken.bin", "symbolic.bin", "hard.bin",
    };
    for (const std::string& name : otherNames) {
        const ProgramRun run = runMendkit({"D", "1", broken, name, "key12345"}, {folder.path(), {}});
        EXPECT_EQ(run.output, kFilesMustDiffer) << name;
        EXPECT_EQ(run.ending.status, kRefused) << name;
        EXPECT_EQ(readFile(broken), original) << name;
    }
    // One name twice is refused even when no such file exists.
    const ProgramRun run = runMendkit({"E", "1", "missing", "missing", "key12345"}, {folder.path(), {}});
    EXPECT_EQ(run.output, kFilesMustDiffer);
    EXPECT_EQ(run.ending.status, kRefused);
}

TEST_F(MendkitRefuses, FilesThatCannotBeOpened)
{
    const std::string missing = folder.file("missing.bin");
    const std::string inMissingFolder = folder.file("no/such/folder/fixed.bin");

    ProgramRun run = runMendkit({"E", "1", missing, fixed, "key12345"});
    EXPECT_EQ(run.output, "Cannot open " + missing + "\n\n");
    EXPECT_EQ(run.ending.status, kRefused);
    EXPECT_FALSE(std::filesystem::exists(fixed));

    // A folder opens for reading on this system, but it is no file.
    run = runMendkit({"E", "1", folder.path().string(), fixed, "key12345"});
    EXPECT_EQ(run.output, "Cannot open " + folder.path().string() + "\n\n");
    EXPECT_EQ(run.ending.status, kRefused);
    EXPECT_FALSE(std::filesystem::exists(fixed));

    run = runMendkit({"E", "1", broken, inMissingFolder, "key12345"});
    EXPECT_EQ(run.output, "Cannot open " + inMissingFolder + "\n\n");
    EXPECT_EQ(run.ending.status, kRefused);
    EXPECT_EQ(readFile(broken), original);
}

TEST_F(MendkitRefuses, NamedPipesAndDevicesAtOnce)
{
    const std::string pipe = folder.file("pipe");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);

    // Opened the ordinary way, a pipe waits for a writer as BrokenFile and
    // for a reader as FixedFile; neither comes.
    ProgramRun run = runMendkitWithinTimeLimit({"E", "1", pipe, fixed, "key12345"});
    EXPECT_EQ(run.output, "Cannot open " + pipe + "\n\n");
    EXPECT_TRUE(run.ending.exited) << "ended by signal " << run.ending.signal;
    EXPECT_EQ(run.ending.status, kRefused);
    EXPECT_FALSE(std::filesystem::exists(fixed));

    run = runMendkitWithinTimeLimit({"D", "1", broken, pipe, "key12345"});
    EXPECT_EQ(run.output, "Cannot open " + pipe + "\n\n");
    EXPECT_TRUE(run.ending.exited) << "ended by signal " << run.ending.signal;
    EXPECT_EQ(run.ending.status, kRefused);
    EXPECT_EQ(readFile(broken), original);

    // A device is no file to repair either.
    run = runMendkitWithinTimeLimit({"E", "1", "/dev/null", fixed, "key12345"});
    EXPECT_EQ(run.output, "Cannot open /dev/null\n\n");
    EXPECT_EQ(run.ending.status, kRefused);
    EXPECT_FALSE(std::filesystem::exists(fixed));
}

}  // namespace
}  // namespace mendkit_test

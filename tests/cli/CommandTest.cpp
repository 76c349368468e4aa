// tarvex through its real binary, without a terminal: every result is held
// against the engine's own file transform of a copy, or against a round trip.
#include "CommandRun.h"
#include "TestFiles.h"

#include "tarvex.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

namespace {

using cli_test::run;
using testsupport::Bytes;
using testsupport::readFile;
using testsupport::writeFile;
namespace fs = std::filesystem;

const std::string tarvex = TARVEX_PATH;
const std::string key = "a key of several words";

// The engine's transform of `source` written to a file apart: what tarvex
// must leave, in place or elsewhere.
Bytes engineResult(const std::string& source, int direction, int layerChoice, const std::string& keyBytes = key)
{
    const std::string copy = fs::absolute("reference.out").string();
    fs::remove(copy);
    EXPECT_EQ(tarvexTransformFile(keyBytes.c_str(), source.c_str(), copy.c_str(), direction, layerChoice), TARVEX_OK);
    Bytes bytes = readFile(copy);
    fs::remove(copy);
    return bytes;
}

void writeText(const std::string& name, const std::string& text) { std::ofstream(name, std::ios::binary) << text; }

class Command : public testing::Test {
protected:
    // A few files of different sizes, one a chunk and a half long.
    void makeTree()
    {
        fs::create_directories("tree/sub/deeper");
        writeFile("tree/one.bin", testsupport::randomBytes(100000, 1));
        writeFile("tree/two.txt", testsupport::randomBytes(7, 2));
        writeFile("tree/sub/three.bin", testsupport::randomBytes(98304, 3));
        writeFile("tree/sub/deeper/four.bin", testsupport::randomBytes(1, 4));
        // A name that is no UTF-8: file names are bytes.
        writeFile("tree/sub/caf\xE9.bin", testsupport::randomBytes(3000, 5));
    }
    cli_test::Outcome withKey(std::vector<std::string> arguments, const std::string& standardInput = {})
    {
        arguments.insert(arguments.begin() + 1, "--key-fd");
        arguments.insert(arguments.begin() + 2, "3");
        return run(tarvex, arguments, {standardInput, key + "\n", {}});
    }
};

TEST_F(Command, InPlaceBothWaysWithAndWithoutBlowFishOnly)
{
    writeFile("a.bin", testsupport::randomBytes(150000, 7));
    const Bytes plain = readFile("a.bin");
    for (const int layerChoice : {0, 1}) {
        const Bytes expected = engineResult("a.bin", 1, layerChoice);
        std::vector<std::string> arguments{"encrypt", "a.bin"};
        if (layerChoice == 1) arguments.push_back("-b");
        const auto encrypted = withKey(arguments);
        EXPECT_EQ(encrypted.status, 0) << encrypted.errors;
        EXPECT_EQ(encrypted.errors, "");
        EXPECT_EQ(readFile("a.bin"), expected);
        arguments[0] = "decrypt";
        EXPECT_EQ(withKey(arguments).status, 0);
        EXPECT_EQ(readFile("a.bin"), plain);
    }
    // The journal went with the run.
    for (const auto& entry : fs::directory_iterator(".")) EXPECT_NE(entry.path().extension(), ".adt");
}

TEST_F(Command, AWalkedTreeIntoAFolderIsTheSameWhateverTheNumberOfWorkers)
{
    makeTree();
    for (const std::string jobs : {"1", "2", "3"}) {
        const auto result = withKey({"encrypt", "-r", "-j", jobs, "-o", "out" + jobs, "tree"});
        ASSERT_EQ(result.status, 0) << result.errors;
        for (const std::string file :
             {"tree/one.bin", "tree/two.txt", "tree/sub/three.bin", "tree/sub/deeper/four.bin", "tree/sub/caf\xE9.bin"})
            EXPECT_EQ(readFile("out" + jobs + "/" + fs::path(file).filename().string()), engineResult(file, 1, 0))
                << file << " with -j " << jobs;
    }
    // And back, into a single file.
    EXPECT_EQ(withKey({"decrypt", "-o", "back.bin", "out2/one.bin"}).status, 0);
    EXPECT_EQ(readFile("back.bin"), readFile("tree/one.bin"));
}

TEST_F(Command, ListsFromAFileAndFromStandardInputNameEachFileOnce)
{
    makeTree();
    writeText("list.txt", "# the letters\r\ntree/one.bin\r\n\r\ntree/two.txt\r\n");
    const Bytes one = engineResult("tree/one.bin", 1, 0), two = engineResult("tree/two.txt", 1, 0);
    const Bytes three = engineResult("tree/sub/three.bin", 1, 0);
    // tree/one.bin comes three times under two names: transformed once.
    const auto result = withKey({"encrypt", "-l", "list.txt", "-l", "-", "tree/./one.bin"}, "tree/sub/three.bin\n");
    ASSERT_EQ(result.status, 0) << result.errors;
    EXPECT_EQ(readFile("tree/one.bin"), one);
    EXPECT_EQ(readFile("tree/two.txt"), two);
    EXPECT_EQ(readFile("tree/sub/three.bin"), three);
}

TEST_F(Command, AKeyIsEncodedAsTheWindowsEncodeATypedOne)
{
    writeFile("a.bin", testsupport::randomBytes(5000, 9));
    // Typed as UTF-8; held in the Western European code page, as the windows hold it.
    const Bytes expected = engineResult("a.bin", 1, 0, "cl\xE9 secr\xE8te \x80");
    writeText("key.txt", "cl\u00e9 secr\u00e8te \u20ac\r\nsecond line\n");
    const auto result = run(tarvex, {"encrypt", "--key-file", "key.txt", "a.bin"});
    EXPECT_EQ(result.status, 0) << result.errors;
    EXPECT_EQ(readFile("a.bin"), expected);
}

TEST_F(Command, RefusalsTouchNothingAndExitWith2)
{
    makeTree();
    writeFile("a.bin", testsupport::randomBytes(3000, 5));
    const Bytes before = readFile("a.bin");
    writeText("short.txt", "seven!!\n");
    writeText("latin1.txt", "caf\xE9 latte key\n");
    writeText("key.txt", key + "\n");
    fs::create_directories("out");
    writeFile("out/a.bin", {1, 2, 3});
    fs::create_directories("other");
    writeFile("other/one.bin", {4});
    struct Case {
        std::vector<std::string> arguments;
        std::string error;
    };
    const std::vector<Case> cases = {
        {{"encrypt", "--key-file", "short.txt", "a.bin"},
         "You must enter a key that is at least 8 characters in length but no more than 88 characters"},
        {{"encrypt", "--key-file", "latin1.txt", "a.bin"}, "the key is not UTF-8 text"},
        {{"encrypt", "--key-file", "./key.txt", "a.bin", "key.txt"}, "./key.txt holds the key"},
        {{"encrypt", "--key=a key of several words", "a.bin"}, "a key is never taken as an argument"},
        {{"encrypt", "-k", "a key of several words", "a.bin"}, "a key is never taken as an argument"},
        {{"encrypt", "a.bin"}, "no key: there is no terminal to type it at"},
        {{"encrypt", "--key-fd", "3", "-r", "/usr/share"},
         "/usr/share: This is the Windows folder. Permission to encrypt it is denied."},
        {{"decrypt", "--key-fd", "3", "-r", "/"},
         "/: This is the root on the system disk. Permission to decrypt it is denied"},
        {{"encrypt", "--key-fd", "3", "tree"}, "tree is a folder: -r walks it"},
        {{"encrypt", "--key-fd", "3", "-o", "out", "a.bin"}, "out/a.bin already exists: -y overwrites it"},
        {{"encrypt", "--key-fd", "3", "a.bin", "missing\xFF"}, "missing\\xFF: no such file"},
        {{"encrypt", "--key-fd", "3", "-o", "out", "-r", "tree", "other/one.bin"},
         "out/one.bin would be written by two files"},
        {{"encrypt", "--key-fd", "0", "-l", "-"}, "the key and a list cannot both come from standard input"},
        {{"shred", "a.bin"}, "unknown command 'shred'"},
    };
    for (const Case& refused : cases) {
        const auto result = run(tarvex, refused.arguments, {"", key + "\n", {}});
        EXPECT_TRUE(result.exited);
        EXPECT_EQ(result.status, 2) << refused.arguments[1];
        EXPECT_NE(result.errors.find(refused.error), std::string::npos) << result.errors;
        EXPECT_EQ(readFile("a.bin"), before) << refused.arguments[1];
        EXPECT_EQ(readFile("out/a.bin"), Bytes({1, 2, 3}));
    }
    EXPECT_EQ(readFile("tree/one.bin"), testsupport::randomBytes(100000, 1));
}

TEST_F(Command, APartialFailureNamesTheFileAndWhyAndExitsWith1)
{
    makeTree();
    // A folder stands where one result is to go.
    fs::create_directories("out/two.txt");
    const auto result = withKey({"encrypt", "-y", "-j", "2", "-o", "out", "tree/one.bin", "tree/two.txt"});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.errors.find("These files could not be encrypted:\n  tree/two.txt: out/two.txt cannot be written"),
              std::string::npos)
        << result.errors;
    EXPECT_EQ(result.errors.find("one.bin"), std::string::npos) << result.errors;
    EXPECT_EQ(readFile("out/one.bin"), engineResult("tree/one.bin", 1, 0));
}

TEST_F(Command, ARunCutShortNamesItsFileAndTheRepairPutsItBack)
{
    writeFile("big.bin", testsupport::randomBytes(96 << 20, 12));
    const Bytes plain = readFile("big.bin");
    bool stopped = false;
    cli_test::Input input{"", key + "\n", [&](pid_t program, const std::string& errors) {
                              // Stopped once the line shows some of the file done.
                              if (stopped || errors.find_first_of("123456789") == std::string::npos) return;
                              stopped = true;
                              kill(program, SIGTERM);
                          }};
    const auto cut = run(tarvex, {"encrypt", "--progress", "--key-fd", "3", "big.bin"}, input);
    if (cut.status == 0) GTEST_SKIP() << "the run ended before it could be cut short";
    EXPECT_EQ(cut.status, 1);
    EXPECT_NE(cut.errors.find("big.bin: the worker process was ended by signal 15 while it ran"), std::string::npos)
        << cut.errors;
    EXPECT_NE(cut.errors.find("tarvex repair"), std::string::npos);

    const auto repaired = withKey({"repair"});
    EXPECT_EQ(repaired.status, 0) << repaired.output;
    EXPECT_NE(repaired.output.find("big.bin is now wholly plaintext"), std::string::npos) << repaired.output;
    EXPECT_EQ(readFile("big.bin"), plain);
}

TEST_F(Command, RepairSpeaksAsMendkitDoes)
{
    // Nothing to repair: said, and done.
    const auto nothing = withKey({"repair"});
    EXPECT_EQ(nothing.status, 0);
    EXPECT_NE(nothing.output.find("nothing to repair"), std::string::npos);
    // A journal that names no file: the same words as mendkit's, and a failure.
    writeText("TXE1733000000.adt", "");
    const auto repaired = withKey({"repair", "TXE1733000000.adt"});
    const auto mendkit = run(MENDKIT_PATH, {"--journal", "TXE1733000000.adt", key});
    EXPECT_EQ(repaired.status, 1);
    EXPECT_FALSE(mendkit.output.empty());
    EXPECT_EQ(repaired.output, mendkit.output);
}

}  // namespace

// Repairs through the real binary. Every expected result is the plaintext
// kept aside before the interrupted state was built from it.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "RepairSupport.h"
#include "tarvex.h"

namespace mendkit_test {
namespace {

constexpr size_t kChunk = 65536;
constexpr const char* kKey = "Tarvex repair key 1";

std::string overwritable(const std::string& line) { return line + std::string(line.size(), '\b'); }

class MendkitRepairs : public ::testing::Test {
protected:
    // Runs mendkit in the test folder and returns what it wrote to FixedFile.
    Bytes mend(const Bytes& brokenBytes, std::vector<std::string> arguments)
    {
        writeFile(folder.file("broken.bin"), brokenBytes);
        std::filesystem::remove(folder.file("fixed.bin"));
        const ProgramRun run = runMendkit(arguments, {folder.path(), {}});
        lastOutput = run.output;
        EXPECT_TRUE(run.ending.exited);
        EXPECT_EQ(run.ending.status, 0) << run.output;
        return readFile(folder.file("fixed.bin"));
    }
    Bytes mend(const Bytes& brokenBytes, const std::string& direction, const std::string& count, const char* key = kKey)
    {
        return mend(brokenBytes, {direction, count, "broken.bin", "fixed.bin", key});
    }

    const TempFolder folder;
    const Bytes original = randomBytes(200000, 7);
    const Bytes encrypted = transformThroughFile(kKey, original, TARVEX_ENCRYPT, TARVEX_BOTH_LAYERS);
    std::string lastOutput;
};

TEST_F(MendkitRepairs, EncryptionStoppedAfterTwoChunksByCountAndByPosition)
{
    const Bytes broken = splice(encrypted, original, 2 * kChunk);
    EXPECT_EQ(mend(broken, "E", "2"), original);
    EXPECT_EQ(mend(broken, "e", ".131072"), original);
    EXPECT_EQ(readFile(folder.file("broken.bin")), broken);
}

TEST_F(MendkitRepairs, DecryptionStoppedAfterOneChunkWithItsConsoleBytes)
{
    EXPECT_EQ(mend(splice(original, encrypted, kChunk), "D", "1"), original);

    const std::string expected =
        overwritable("Fixing fixed.bin -  25% complete") + overwritable("Fixing fixed.bin -  50% complete") +
        overwritable("Fixing fixed.bin -  75% complete") + overwritable("Fixing fixed.bin - 100% complete") + "\n" +
        "Decrypting fixed.bin - ..." + std::string(26, '\b') + "Decrypting broken.bin - done";
    EXPECT_EQ(lastOutput, expected);
    // The final in-place decryption cleans up its own journal.
    for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
        EXPECT_NE(entry.path().extension(), ".adt") << entry.path();
}

TEST_F(MendkitRepairs, NothingFinishedCopiesAndDDecryptsTheCopy)
{
    for (const std::string count : {"0", ".0", "-3", "none", "."})
        EXPECT_EQ(mend(original, "E", count), original) << count;
    EXPECT_EQ(mend(encrypted, "D", "0"), original);
    // The count is read up to its first non-digit, after white space and a sign.
    EXPECT_EQ(mend(splice(encrypted, original, 2 * kChunk), "E", " +2chunks"), original);
}

TEST_F(MendkitRepairs, EverythingFinishedTurnsBackEveryChunk)
{
    for (const std::string count : {"4", "1000", ".200000", ".9999999999", "99999999999999999999999"})
        EXPECT_EQ(mend(encrypted, "E", count), original) << count;
    EXPECT_EQ(mend(original, "D", "4"), original);
}

TEST_F(MendkitRepairs, PositionOnAFileOfWholeChunksKeepsItsLength)
{
    const Bytes wholeChunks(original.begin(), original.begin() + 3 * kChunk);
    const Bytes encryptedWhole = transformThroughFile(kKey, wholeChunks, TARVEX_ENCRYPT, TARVEX_BOTH_LAYERS);
    EXPECT_EQ(mend(splice(encryptedWhole, wholeChunks, kChunk), "E", ".65536"), wholeChunks);
    EXPECT_EQ(mend(splice(wholeChunks, encryptedWhole, 2 * kChunk), "D", ".131072"), wholeChunks);
}

TEST_F(MendkitRepairs, AnySixthArgumentSelectsTheBlockCipherAlone)
{
    const Bytes blockOnly = transformThroughFile(kKey, original, TARVEX_ENCRYPT, TARVEX_BLOCK_CIPHER_ONLY);
    const Bytes broken = splice(blockOnly, original, kChunk);
    EXPECT_EQ(mend(broken, {"E", "1", "broken.bin", "fixed.bin", kKey, "/b"}), original);
    EXPECT_EQ(mend(broken, {"E", "1", "broken.bin", "fixed.bin", kKey, "anything"}), original);
    EXPECT_NE(mend(broken, "E", "1"), original);
    EXPECT_EQ(mend(splice(original, blockOnly, kChunk), {"Decrypt", "1", "broken.bin", "fixed.bin", kKey, "x"}),
              original);
}

TEST_F(MendkitRepairs, LongKeysAndLongNamesAreUsedWhole)
{
    // The engine reads 88 key characters: a key cut at 67 would decrypt wrongly.
    for (const size_t keyLength : {67u, 68u, 88u, 150u}) {
        std::string key(keyLength, 'k');
        key.back() = 'Z';
        const Bytes keyEncrypted = transformThroughFile(key.c_str(), original, TARVEX_ENCRYPT, TARVEX_BOTH_LAYERS);
        EXPECT_EQ(mend(splice(keyEncrypted, original, kChunk), "E", "1", key.c_str()), original) << keyLength;
    }

    // Well beyond 260 characters in all, with a 250-character file name.
    std::filesystem::path deep = folder.path();
    for (int level = 0; level < 4; ++level) deep /= std::string(100, static_cast<char>('a' + level));
    std::filesystem::create_directories(deep);
    const std::string brokenName = (deep / (std::string(246, 'b') + ".bin")).string();
    const std::string fixedName = (deep / (std::string(246, 'f') + ".bin")).string();
    writeFile(brokenName, splice(encrypted, original, 3 * kChunk));
    const ProgramRun run = runMendkit({"E", "3", brokenName, fixedName, kKey});
    EXPECT_EQ(run.ending.status, 0);
    EXPECT_EQ(readFile(fixedName), original);
    EXPECT_NE(run.output.find("Fixing " + fixedName + " - 100% complete"), std::string::npos);
}

TEST_F(MendkitRepairs, ProgressCountsChunksInSinglePrecision)
{
    const Bytes threeChunks(original.begin(), original.begin() + 2 * kChunk + 1);
    EXPECT_EQ(mend(threeChunks, "E", "0"), threeChunks);
    EXPECT_EQ(lastOutput, overwritable("Fixing fixed.bin -  33% complete") +
                              overwritable("Fixing fixed.bin -  66% complete") +
                              overwritable("Fixing fixed.bin - 100% complete"));

    // An empty file is one chunk of no bytes.
    EXPECT_EQ(mend(Bytes{}, "D", "5"), Bytes{});
    EXPECT_EQ(lastOutput, overwritable("Fixing fixed.bin - 100% complete") + "\n" + "Decrypting fixed.bin - ..." +
                              std::string(26, '\b') + "Decrypting broken.bin - done");
}

// Through a pipe (every test above) the output ends on its last line; only a
// terminal gets the newline that keeps the shell's prompt off that line.
TEST_F(MendkitRepairs, OnATerminalTheLastLineIsEnded)
{
    const Bytes threeChunks(original.begin(), original.begin() + 2 * kChunk + 1);
    writeFile(folder.file("broken.bin"), threeChunks);
    ProgramRun run = runMendkitOnTerminal({"E", "0", "broken.bin", "fixed.bin", kKey}, {folder.path(), {}});
    EXPECT_TRUE(run.ending.exited) << "ended by signal " << run.ending.signal;
    EXPECT_EQ(run.ending.status, 0);
    EXPECT_EQ(run.output, overwritable("Fixing fixed.bin -  33% complete") +
                              overwritable("Fixing fixed.bin -  66% complete") +
                              overwritable("Fixing fixed.bin - 100% complete") + "\n");
    EXPECT_EQ(readFile(folder.file("fixed.bin")), threeChunks);

    writeFile(folder.file("broken.bin"), Bytes{});
    run = runMendkitOnTerminal({"D", "0", "broken.bin", "fixed.bin", kKey}, {folder.path(), {}});
    EXPECT_TRUE(run.ending.exited) << "ended by signal " << run.ending.signal;
    EXPECT_EQ(run.ending.status, 0);
    EXPECT_EQ(run.output, overwritable("Fixing fixed.bin - 100% complete") + "\n" + "Decrypting fixed.bin - ..." +
                              std::string(26, '\b') + "Decrypting broken.bin - done\n");
}

}  // namespace
}  // namespace mendkit_test

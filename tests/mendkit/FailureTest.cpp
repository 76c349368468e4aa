// Failures after both files are open (the disk fills up, the last in-place
// decryption cannot run) are reported, never announced as a repair.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "RepairSupport.h"
#include "tarvex.h"

namespace mendkit_test {
namespace {

constexpr const char* kKey = "Tarvex repair key 2";

TEST(MendkitWriteFailure, IsReportedWithFailureStatusAndNoHalfFileLeft)
{
    const TempFolder folder;
    const Bytes original = randomBytes(200000, 3);
    writeFile(folder.file("broken.bin"), original);

    for (const std::string direction : {"E", "D"}) {
        for (const long limit : {0L, 100000L}) {
            const ProgramRun run =
                runMendkit({direction, "0", "broken.bin", "fixed.bin", kKey}, {folder.path(), limit});
            const std::string message = "\nCannot write fixed.bin\n\n";
            ASSERT_GE(run.output.size(), message.size()) << run.output;
            EXPECT_EQ(run.output.substr(run.output.size() - message.size()), message) << direction << limit;
            EXPECT_EQ(run.output.find("100% complete"), std::string::npos);
            EXPECT_EQ(run.output.find("Decrypting"), std::string::npos);
            EXPECT_TRUE(run.ending.exited);
            EXPECT_EQ(run.ending.status, 255);
            EXPECT_FALSE(std::filesystem::exists(folder.file("fixed.bin")));
            EXPECT_EQ(readFile(folder.file("broken.bin")), original);
        }
    }
}

// Only a regular file can be decrypted in place: the last step's failure must
// not end in the "done" line.
TEST(MendkitDecryptionFailure, IsReportedInsteadOfDone)
{
    const TempFolder folder;
    writeFile(folder.file("broken.bin"), randomBytes(1000, 4));
    const ProgramRun run = runMendkit({"D", "1", "broken.bin", "/dev/null", kKey}, {folder.path(), {}});
    const std::string message = "Decrypting /dev/null - ...\nCannot decrypt /dev/null\n\n";
    ASSERT_GE(run.output.size(), message.size()) << run.output;
    EXPECT_EQ(run.output.substr(run.output.size() - message.size()), message);
    EXPECT_EQ(run.ending.status, 255);
}

}  // namespace
}  // namespace mendkit_test

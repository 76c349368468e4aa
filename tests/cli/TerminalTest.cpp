// tarvex at a terminal: the key typed twice without echo, the overwrite
// question, and the progress line.
#include "CommandRun.h"
#include "TestFiles.h"

#include "tarvex.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using testsupport::Bytes;
using testsupport::readFile;
using testsupport::writeFile;
namespace fs = std::filesystem;

const std::string tarvex = TARVEX_PATH;
const std::string key = "typed at the terminal";

std::size_t occurrences(const std::string& text, const std::string& part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

// Types the key at each prompt and `answer` at each overwrite question.
std::function<std::string(const std::string&)> typist(std::string answer)
{
    auto keysTyped = std::make_shared<std::size_t>(0);
    auto answersTyped = std::make_shared<std::size_t>(0);
    return [=](const std::string& shown) -> std::string {
        const std::size_t prompts = occurrences(shown, "Key: ") + occurrences(shown, "Key again: ");
        if (prompts > *keysTyped) {
            ++*keysTyped;
            return key + "\n";
        }
        if (occurrences(shown, "[q]uit: ") > *answersTyped) {
            ++*answersTyped;
            return answer + "\n";
        }
        return {};
    };
}

TEST(AtATerminal, TheKeyIsTypedTwiceUnseenAndTheRunShowsItsProgress)
{
    writeFile("big.bin", testsupport::randomBytes(3 << 20, 11));
    const std::string reference = fs::absolute("reference.bin").string();
    ASSERT_EQ(tarvexTransformFile(key.c_str(), "big.bin", reference.c_str(), 1, 0), TARVEX_OK);

    const auto result = cli_test::runOnTerminal(tarvex, {"encrypt", "big.bin"}, typist("n"));
    EXPECT_TRUE(result.exited);
    EXPECT_EQ(result.status, 0) << result.shown;
    EXPECT_EQ(occurrences(result.shown, "Key: "), 1u);
    EXPECT_EQ(occurrences(result.shown, "Key again: "), 1u);
    EXPECT_EQ(result.shown.find(key), std::string::npos) << "the key was echoed: " << result.shown;
    EXPECT_EQ(readFile("big.bin"), readFile(reference));
    // The line is redrawn in place and ends at the whole.
    EXPECT_NE(result.shown.find("\rbig.bin  "), std::string::npos) << result.shown;
    EXPECT_NE(result.shown.find("100%"), std::string::npos) << result.shown;
    EXPECT_NE(result.shown.find("\033[K"), std::string::npos);
}

TEST(AtATerminal, TwoDifferentKeysAreRefused)
{
    writeFile("a.bin", {1, 2, 3});
    auto typed = std::make_shared<int>(0);
    const auto result = cli_test::runOnTerminal(tarvex, {"encrypt", "a.bin"}, [typed](const std::string& shown) {
        if (*typed == 0 && shown.find("Key: ") != std::string::npos) return ++*typed, std::string("first key\n");
        if (*typed == 1 && shown.find("Key again: ") != std::string::npos) return ++*typed, std::string("other key\n");
        return std::string();
    });
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.shown.find("the two keys typed differ"), std::string::npos) << result.shown;
    EXPECT_EQ(readFile("a.bin"), Bytes({1, 2, 3}));
}

TEST(AtATerminal, AnExistingTargetIsAskedAboutAndNoLeavesIt)
{
    writeFile("a.bin", testsupport::randomBytes(2000, 1));
    writeFile("b.bin", testsupport::randomBytes(2000, 2));
    fs::create_directories("out");
    writeFile("out/a.bin", {7});
    const auto result = cli_test::runOnTerminal(tarvex, {"encrypt", "-q", "-o", "out", "a.bin", "b.bin"}, typist("n"));
    EXPECT_EQ(result.status, 0) << result.shown;
    EXPECT_NE(result.shown.find("The file out/a.bin already exists. Do you want to overwrite it ?"), std::string::npos)
        << result.shown;
    EXPECT_EQ(readFile("out/a.bin"), Bytes({7}));
    EXPECT_TRUE(fs::exists("out/b.bin"));
    // -q: no progress line.
    EXPECT_EQ(result.shown.find('%'), std::string::npos) << result.shown;
}

}  // namespace

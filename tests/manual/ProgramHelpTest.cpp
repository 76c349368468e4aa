// --help and --version of the built programs: answered at once, without a
// window, and in agreement with the man pages; every other command line
// keeps its meaning.
#include "Mandoc.h"
#include "ProgramRun.h"
#include "TestFiles.h"

#include "manual/Manuals.h"

#include <gtest/gtest.h>

namespace {

using namespace manual_test;
using manual::Program;

struct Built {
    Program program;
    std::string path;
};

const std::vector<Built> kBuilt = {
    {Program::Sealwin, SEALWIN_PATH},
    {Program::Unsealwin, UNSEALWIN_PATH},
    {Program::Mendkit, MENDKIT_PATH},
    {Program::Tarvex, TARVEX_PATH},
};

const std::string kMendkitUsage = "Usage: mendkit {E|D} {NumBlocks|.NumBytes} BrokenFile FixedFile key [/b]\n\n";
constexpr int kRefused = 255;

class ManualHelp : public testing::Test {
protected:
    // Should a program start its window after all, it finds no display and
    // keeps its settings in the test's folder.
    Outcome run(const std::string& program, const std::vector<std::string>& arguments) const
    {
        return runProgram(program, arguments, {"QT_QPA_PLATFORM=offscreen", "XDG_CONFIG_HOME=" + config.file("config")},
                          20);
    }
    const testsupport::TempFolder config;
};

TEST_F(ManualHelp, EachProgramPrintsItsUsageAndSucceeds)
{
    for (const Built& built : kBuilt) {
        const Outcome help = run(built.path, {"--help"});
        EXPECT_TRUE(help.exited) << built.path << " ended by signal " << help.signal;
        EXPECT_EQ(help.status, 0) << built.path;
        EXPECT_EQ(help.output, manual::usageText(built.program)) << built.path;
        EXPECT_EQ(help.errors, "") << built.path;
    }
}

TEST_F(ManualHelp, TheHelpShowsTheSynopsisOfTheManPage)
{
    if (mandocPath().empty()) GTEST_SKIP() << "mandoc is not installed";
    for (const Built& built : kBuilt) {
        const std::string page = std::string(TARVEX_MAN_DIR "/") + manual::manualOf(built.program).name + ".1";
        const std::vector<std::string> forms = pageSynopsis(renderedPage(page));
        ASSERT_FALSE(forms.empty()) << page;
        EXPECT_EQ(usageSynopsis(run(built.path, {"--help"}).output), forms) << built.path;
    }
}

TEST_F(ManualHelp, VersionNamesTheProgramAndItsRelease)
{
    for (const Built& built : kBuilt) {
        if (built.program == Program::Mendkit) continue;
        const Outcome version = run(built.path, {"--version"});
        EXPECT_TRUE(version.exited) << built.path << " ended by signal " << version.signal;
        EXPECT_EQ(version.status, 0) << built.path;
        EXPECT_EQ(version.output, manual::manualOf(built.program).name + " " TARVEX_VERSION "\n");
        EXPECT_EQ(version.errors, "") << built.path;
    }
}

TEST_F(ManualHelp, WindowProgramsTakeTheWordsAsPathsBesideOtherArguments)
{
    // A list file that cannot be read ends the program before any window: had
    // --help or --version been answered, the status would be 0.
    const std::string absent = config.file("absent.tvx");
    for (const std::string& path : {std::string(SEALWIN_PATH), std::string(UNSEALWIN_PATH)}) {
        for (const auto& arguments : std::vector<std::vector<std::string>>{
                 {"--help", "/f", absent}, {"/f", absent, "--version"}, {"--version", "/s"}}) {
            const Outcome refused = run(path, arguments);
            EXPECT_TRUE(refused.exited) << path << " ended by signal " << refused.signal;
            EXPECT_EQ(refused.status, kRefused) << path << ' ' << arguments.front();
            EXPECT_EQ(refused.output, "") << path;
        }
    }
}

TEST_F(ManualHelp, MendkitKeepsItsUsageLineForEveryOtherCommandLine)
{
    for (const auto& arguments :
         std::vector<std::vector<std::string>>{{}, {"--help", "x"}, {"-h"}, {"--HELP"}, {"E", "1", "a", "b"}}) {
        const Outcome refused = run(MENDKIT_PATH, arguments);
        EXPECT_TRUE(refused.exited) << "ended by signal " << refused.signal;
        EXPECT_EQ(refused.status, kRefused) << arguments.size() << " arguments";
        EXPECT_EQ(refused.output, kMendkitUsage) << arguments.size() << " arguments";
    }
    // The refusal's line is the first form the manual gives.
    const std::string help = run(MENDKIT_PATH, {"--help"}).output;
    EXPECT_EQ(help.substr(0, help.find('\n') + 1) + '\n', kMendkitUsage);
}

}  // namespace

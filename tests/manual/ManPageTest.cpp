// The man pages: what the build wrote, what mandoc thinks of them, and that
// their synopsis is the one --help shows.
#include "Mandoc.h"
#include "ProgramRun.h"
#include "TestFiles.h"

#include "manual/Manuals.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

using namespace manual_test;
using manual::Program;
using testsupport::TempFolder;

std::string pageFile(Program program)
{
    return std::string(TARVEX_MAN_DIR "/") + manual::manualOf(program).name + ".1";
}

std::string contents(const std::string& name)
{
    std::ifstream file(name, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// mandoc's complaints about a page; empty when it has none.
std::string lint(const std::string& file)
{
    const Outcome run = runProgram(mandocPath(), {"-Tlint", "-W", "warning", file});
    std::string complaints = run.output + run.errors;
    if (complaints.empty() && (!run.exited || run.status != 0)) complaints = "mandoc failed";
    return complaints;
}

TEST(ManualPages, TheBuildWroteTheLibrarysPages)
{
    for (const Program program : manual::kPrograms) {
        EXPECT_EQ(contents(pageFile(program)), manual::manPage(program)) << pageFile(program);
    }
}

TEST(ManualPages, MandocFindsNothingToWarnAbout)
{
    if (mandocPath().empty()) GTEST_SKIP() << "mandoc is not installed";
    for (const Program program : manual::kPrograms) EXPECT_EQ(lint(pageFile(program)), "") << pageFile(program);
}

TEST(ManualPages, TheSynopsisIsTheUsageTextsSynopsis)
{
    if (mandocPath().empty()) GTEST_SKIP() << "mandoc is not installed";
    for (const Program program : manual::kPrograms) {
        const std::vector<std::string> forms = pageSynopsis(renderedPage(pageFile(program)));
        EXPECT_EQ(forms.size(), manual::manualOf(program).synopsis.size()) << pageFile(program);
        EXPECT_EQ(forms, usageSynopsis(manual::usageText(program))) << pageFile(program);
    }
}

// Text that looks like markup must come out as the same text, in both the
// page and the usage text.
TEST(ManualPages, TextThatLooksLikeMarkupStaysText)
{
    if (mandocPath().empty()) GTEST_SKIP() << "mandoc is not installed";
    using manual::Style;
    manual::Manual tricky;
    tricky.name = "tricky";
    tricky.summary = "test Ar and \\ in a summary";
    tricky.synopsis = {{{manual::Group::Kind::Choice, {{{Style::Literal, "Op"}}, {{Style::Literal, "."}}}},
                        {manual::Group::Kind::Optional, {{{Style::Placeholder, "Ns"}, {Style::Plain, "|"}}}}}};
    tricky.description = {".Sh FAKE opens a line. 'quoted too", "back\\slash and \\fB font. Op Ar Fl are words."};
    tricky.optionsTitle = "Options";
    tricky.options = {{{{Style::Literal, ".dot"}}, ".It is no item."}, {{{Style::Plain, ","}}, "A comma."}};
    tricky.exitStatus = {{{{Style::Plain, "0"}}, "\\e escapes nothing."}};
    tricky.examples = {{"Run:", {".start \\ end", "'quote"}}};
    tricky.seeAlso = {"zeta", "alpha"};

    const TempFolder folder;
    const std::string file = folder.file("tricky.1");
    std::ofstream(file) << manual::manPage(tricky);
    EXPECT_EQ(lint(file), "");

    const std::string shown = collapsed(renderedPage(file));
    for (const std::string text : {"test Ar and \\ in a summary", ".Sh FAKE opens a line. 'quoted too",
                                   "back\\slash and \\fB font. Op Ar Fl are words.", ".dot .It is no item.",
                                   ", A comma.", "\\e escapes nothing.", ".start \\ end 'quote", "alpha(1), zeta(1)"}) {
        EXPECT_NE(shown.find(text), std::string::npos) << text << "\nin\n" << shown;
    }
    EXPECT_EQ(pageSynopsis(renderedPage(file)), (std::vector<std::string>{"tricky {Op|.} [Ns |]"}));
    EXPECT_EQ(usageSynopsis(manual::usageText(tricky)), (std::vector<std::string>{"tricky {Op|.} [Ns |]"}));
}

}  // namespace

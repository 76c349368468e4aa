// Content text turned into mdoc source: nothing in it may become markup.
#include "manual/MdocText.h"

#include <gtest/gtest.h>

namespace {

using manual::mdoc::argument;
using manual::mdoc::literalLine;
using manual::mdoc::textLines;
using Lines = std::vector<std::string>;

TEST(ManualMdocText, EverySentenceStartsALine)
{
    EXPECT_EQ(textLines("One.  Two? Three!\n(Four.) \"Five.\" Six"),
              (Lines{"One.", "Two?", "Three!", "(Four.)", "\"Five.\"", "Six"}));
    // Dots inside words end nothing.
    EXPECT_EQ(textLines("Version 1.3 keeps ~/.config/Tarvex and TXE<n>.adt files."),
              Lines{"Version 1.3 keeps ~/.config/Tarvex and TXE<n>.adt files."});
    EXPECT_EQ(textLines("  \n "), Lines{});
}

TEST(ManualMdocText, TextLinesCannotBecomeRequestsOrEscapes)
{
    EXPECT_EQ(textLines("Look. .Sh FAKE here. 'quoted start"),
              (Lines{"Look.", "\\&.Sh FAKE here.", "\\&'quoted start"}));
    EXPECT_EQ(textLines("C:\\dir and \\fB bold"), Lines{"C:\\edir and \\efB bold"});
    // A literal display keeps its line whole, sentences and all.
    EXPECT_EQ(literalLine("mendkit E 2 a. b"), "mendkit E 2 a. b");
    EXPECT_EQ(literalLine(".hidden \\n"), "\\&.hidden \\en");
}

TEST(ManualMdocText, ArgumentsThatWouldBeMarkupAreProtected)
{
    EXPECT_EQ(argument("/b"), "/b");
    EXPECT_EQ(argument("--help"), "--help");
    EXPECT_EQ(argument("Ar"), "\\&Ar");
    EXPECT_EQ(argument("Ns"), "\\&Ns");
    EXPECT_EQ(argument("|"), "\\&|");
    EXPECT_EQ(argument(","), "\\&,");
    EXPECT_EQ(argument(".NumBytes"), "\\&.NumBytes");
    EXPECT_EQ(argument("a\\b"), "a\\eb");
    EXPECT_EQ(argument(""), "\\&");
    EXPECT_EQ(argument("my key"), "\"my key\"");
    EXPECT_EQ(argument("say \"hi\""), "\"say \\(dqhi\\(dq\"");
}

}  // namespace

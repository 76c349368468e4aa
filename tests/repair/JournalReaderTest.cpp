// What a journal tells: its direction, its file and the numbers of its last
// whole line, whatever bytes the file's name holds.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "InterruptedRun.h"
#include "RepairSupport.h"
#include "repair/JournalRepair.h"

namespace {

using namespace mendkit_test;
namespace fs = std::filesystem;

void writeText(const fs::path& file, const std::string& text) { writeFile(file, Bytes(text.begin(), text.end())); }

TEST(JournalReading, NamesOfAnyBytesAndTheLastWholeLine)
{
    const TempFolder folder;
    // Blanks, a line end, digits and bytes that are no UTF-8.
    const std::string name = std::string("a  7   65536\nb \xff\xfe.bin");
    std::string text;
    for (int count = 0; count <= 3; ++count) text += journalLine(name, count, count * 65536);
    text += journalLine(name, 4, 200000).substr(0, name.size() + 10);  // cut short by the run's end
    writeText(folder.file("TXD1733000000.adt"), text);

    const auto journal = repair::readJournal(folder.file("TXD1733000000.adt"));
    ASSERT_TRUE(journal.has_value());
    EXPECT_EQ(journal->fileName, name);
    EXPECT_EQ(journal->filePath, folder.file(name));
    EXPECT_FALSE(journal->encrypting);
    EXPECT_EQ(journal->chunkCount, 3);
    EXPECT_EQ(journal->position, 196608);
    EXPECT_EQ(journal->undoPath, folder.file("TXD1733000000.undo"));
}

TEST(JournalReading, RelativeNamesAreTakenFromTheJournalsFolder)
{
    const TempFolder folder;
    fs::create_directory(folder.file("sub"));
    writeText(folder.file("sub/TXE5.adt"), journalLine("data.bin", 0, 0) + journalLine("data.bin", 1, 65536));
    writeText(folder.file("sub/TXE6.adt"), journalLine("/an/absolute.bin", 0, 0));

    auto journal = repair::readJournal(folder.file("sub/TXE5.adt"));
    ASSERT_TRUE(journal.has_value());
    EXPECT_EQ(journal->filePath, folder.file("sub/data.bin"));
    EXPECT_TRUE(journal->encrypting);
    EXPECT_EQ(journal->chunkCount, 1);

    journal = repair::readJournal(folder.file("sub/TXE6.adt"));
    ASSERT_TRUE(journal.has_value());
    EXPECT_EQ(journal->filePath, "/an/absolute.bin");

    // A journal named without a folder lies in the current one, as its file does.
    const fs::path previous = fs::current_path();
    fs::current_path(folder.file("sub"));
    journal = repair::readJournal("TXE5.adt");
    fs::current_path(previous);
    ASSERT_TRUE(journal.has_value());
    EXPECT_EQ(journal->filePath, "data.bin");
    EXPECT_EQ(journal->undoPath, "TXE5.undo");
}

TEST(JournalReading, WhatGivesNoJournalSaysWhy)
{
    const TempFolder folder;
    for (const std::string name : {"TXE.adt", "TXX5.adt", "TXE5.adt.bak", "TXE5a.adt", "txe5.adt", "TXE5.undo"}) {
        writeText(folder.file(name), journalLine("data.bin", 0, 0));
        repair::JournalProblem problem{};
        EXPECT_FALSE(repair::readJournal(folder.file(name), problem).has_value()) << name;
        EXPECT_EQ(problem, repair::JournalProblem::NotAJournalName) << name;
    }

    repair::JournalProblem problem{};
    EXPECT_FALSE(repair::readJournal(folder.file("TXE1.adt"), problem).has_value());
    EXPECT_EQ(problem, repair::JournalProblem::CannotRead);
    fs::create_directory(folder.file("TXE2.adt"));
    EXPECT_FALSE(repair::readJournal(folder.file("TXE2.adt"), problem).has_value());
    EXPECT_EQ(problem, repair::JournalProblem::CannotRead);

    for (const std::string& text : {std::string(), journalLine("data.bin", 0, 0).substr(0, 15)}) {
        writeText(folder.file("TXE3.adt"), text);
        EXPECT_FALSE(repair::readJournal(folder.file("TXE3.adt"), problem).has_value()) << text;
        EXPECT_EQ(problem, repair::JournalProblem::NoWholeLine) << text;
    }

    // Sparse, and far larger than any run's journal: refused without reading
    // it (which would take memory and minutes).
    writeText(folder.file("TXE4.adt"), journalLine("data.bin", 0, 0));
    fs::resize_file(folder.file("TXE4.adt"), uintmax_t{8} << 30);
    EXPECT_FALSE(repair::readJournal(folder.file("TXE4.adt"), problem).has_value());
    EXPECT_EQ(problem, repair::JournalProblem::TooLarge);
}

TEST(JournalReading, FindsTheJournalsOfOneDirectionOldestFirst)
{
    const TempFolder folder;
    for (const std::string name : {"TXE10.adt", "TXE9.adt", "TXD5.adt", "TXE2000000000.adt"})
        writeText(folder.file(name), journalLine(name + ".data", 0, 0));
    writeText(folder.file("TXE3.adt"), "");  // no whole line: names no file
    for (const std::string name : {"TXE7.undo", "TXE8.repaired", "Mendkit1.log", "TXE11.adt.old"})
        writeText(folder.file(name), journalLine("x", 0, 0));

    const auto encrypting = repair::findJournals(folder.path().string(), true);
    ASSERT_EQ(encrypting.size(), 3u);
    EXPECT_EQ(encrypting[0].journalPath, folder.file("TXE9.adt"));
    EXPECT_EQ(encrypting[1].journalPath, folder.file("TXE10.adt"));
    EXPECT_EQ(encrypting[2].journalPath, folder.file("TXE2000000000.adt"));
    EXPECT_EQ(encrypting[1].fileName, "TXE10.adt.data");

    const auto decrypting = repair::findJournals(folder.path().string(), false);
    ASSERT_EQ(decrypting.size(), 1u);
    EXPECT_EQ(decrypting[0].journalPath, folder.file("TXD5.adt"));
    EXPECT_FALSE(decrypting[0].encrypting);

    EXPECT_TRUE(repair::findJournals(folder.file("missing"), true).empty());
}

}  // namespace

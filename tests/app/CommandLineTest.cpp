// Switches, paths and list files of the window programs' command line.
#include "support/FolderTree.h"

#include "app/CommandLine.h"
#include "app/ProcessEntry.h"
#include "app/ProcessState.h"

#include <filesystem>
#include <thread>

namespace {

using Paths = std::vector<std::string>;

class CommandLine : public testing::Test {
protected:
    void SetUp() override
    {
        first = tree.file("first.txt");
        second = tree.file("second.txt");
    }
    Paths selected() const
    {
        Paths entries;
        for (int i = 0; i < state.selectedFiles.count(); ++i) entries.push_back(state.selectedFiles.getAt(i));
        return entries;
    }
    FolderTree tree;
    std::string first;
    std::string second;
    ProcessState state;
};

}  // namespace

TEST_F(CommandLine, SwitchesSetTheOptionFlags)
{
    ASSERT_EQ(readCommandLine({"/b"}, state), CommandLineResult::Accepted);
    EXPECT_FALSE(state.options.useStoredOptions);
    EXPECT_TRUE(state.options.optionBlowFishOnly);
    EXPECT_FALSE(state.options.optionNoConfirm);

    ProcessState both;
    ASSERT_EQ(readCommandLine({"/N", "/B", "/a"}, both), CommandLineResult::Accepted);
    EXPECT_TRUE(both.options.optionBlowFishOnly);
    EXPECT_TRUE(both.options.optionNoConfirm);
    EXPECT_FALSE(both.options.optionSaveOptions);
}

TEST_F(CommandLine, OtherSpellingsArePathsAndMissingPathsAreDropped)
{
    ASSERT_EQ(readCommandLine({"/bn", "-b", "/x", first, tree.at("absent"), first, tree.path()}, state),
              CommandLineResult::Accepted);
    EXPECT_TRUE(state.options.useStoredOptions);
    EXPECT_FALSE(state.options.optionBlowFishOnly);
    EXPECT_EQ(selected(), (Paths{first, first, tree.path()}));
}

TEST_F(CommandLine, NamesThatAreNoValidTextAreSelectedByTheirBytes)
{
    const std::string latin1 = tree.file("caf\xE9.txt");
    const std::string folder = tree.folder("r\xE9sum\xE9");
    const std::string list = tree.file("list.txt", latin1 + "\n" + folder + "\n");
    ASSERT_EQ(readCommandLine({latin1, "/f", list}, state), CommandLineResult::Accepted);
    EXPECT_EQ(selected(), (Paths{latin1, latin1, folder}));
}

TEST_F(CommandLine, ListFilesSkipCommentsAndEmptyLinesAndAcceptWindowsLineEnds)
{
    const std::string list =
        tree.file("list.txt", "# selection\r\n\r\n" + first + "\r\n" + tree.at("absent") + "\n\n" + second);
    ASSERT_EQ(readCommandLine({"/f", list}, state), CommandLineResult::Accepted);
    EXPECT_EQ(selected(), (Paths{first, second}));
    EXPECT_TRUE(std::filesystem::exists(list));
}

TEST_F(CommandLine, LongLinesAreTakenWhole)
{
    // The first 255 characters of the line name a folder of their own, which
    // a reader of 255-character pieces would select.
    const std::string cut = tree.folder(std::string(255 - tree.path().size() - 1, 'p'));
    ASSERT_EQ(cut.size(), 255u);
    std::string deep = cut;
    while (deep.size() < 300) deep += "/sub";
    std::filesystem::create_directories(deep);
    const std::string list = tree.file("list.txt", deep + '\n');
    ASSERT_EQ(readCommandLine({"/F", list}, state), CommandLineResult::Accepted);
    EXPECT_EQ(selected(), Paths{deep});
}

TEST_F(CommandLine, AListMayComeFromAPipe)
{
    const std::string pipe = tree.pipe("list-pipe");
    std::thread writer([&] {
        FILE* stream = std::fopen(pipe.c_str(), "w");
        ASSERT_NE(stream, nullptr);
        std::fputs((first + "\n# note\n" + second + "\n").c_str(), stream);
        std::fclose(stream);
    });
    // /s on a stream reads it but never deletes what is not a file.
    ASSERT_EQ(readCommandLine({"/s", pipe}, state), CommandLineResult::Accepted);
    writer.join();
    EXPECT_EQ(selected(), (Paths{first, second}));
    EXPECT_TRUE(std::filesystem::is_fifo(pipe));
}

TEST_F(CommandLine, SwitchSDeletesTheListFileAfterReadingIt)
{
    const std::string list = tree.file("list.txt", first + '\n');
    ASSERT_EQ(readCommandLine({"/s", list}, state), CommandLineResult::Accepted);
    EXPECT_EQ(selected(), Paths{first});
    EXPECT_FALSE(std::filesystem::exists(list));
}

TEST_F(CommandLine, UnreadableListFileEndsTheProcessWithMinusOne)
{
    EXPECT_EQ(readCommandLine({"/f", tree.at("absent.txt")}, state), CommandLineResult::ListFileUnreadable);
    EXPECT_EQ(readCommandLine({"/f", tree.path()}, state), CommandLineResult::ListFileUnreadable);
    EXPECT_EQ(readCommandLine({first, "/s"}, state), CommandLineResult::ListFileUnreadable);

    std::string program = "sealwin", fSwitch = "/f", name = tree.at("absent.txt");
    char* argv[] = {program.data(), fSwitch.data(), name.data(), nullptr};
    EXPECT_EQ(runWindowProgram(3, argv, services::BuildVariant::Encrypt), -1);
}

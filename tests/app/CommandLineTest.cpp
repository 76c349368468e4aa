// Switches, paths and list files of the window programs' command line.
#include "app/CommandLine.h"
#include "app/ProcessEntry.h"
#include "app/ProcessState.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class CommandLine : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        first = make("first.txt");
        second = make("second.txt");
    }
    QString make(const QString& name, const QByteArray& content = "data")
    {
        QFile file(folder.path() + '/' + name);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return file.fileName();
    }
    std::vector<std::string> selected() const
    {
        std::vector<std::string> entries;
        for (int i = 0; i < state.selectedFiles.count(); ++i) entries.push_back(state.selectedFiles.getAt(i));
        return entries;
    }
    QTemporaryDir folder;
    QString first;
    QString second;
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
    ASSERT_EQ(readCommandLine({"/bn", "-b", "/x", first, folder.path() + "/absent", first, folder.path()}, state),
              CommandLineResult::Accepted);
    EXPECT_TRUE(state.options.useStoredOptions);
    EXPECT_FALSE(state.options.optionBlowFishOnly);
    EXPECT_EQ(selected(), (std::vector<std::string>{first.toStdString(), first.toStdString(),
                                                     folder.path().toStdString()}));
}

TEST_F(CommandLine, ListFilesSkipCommentsAndEmptyLinesAndAcceptWindowsLineEnds)
{
    const QString list = make("list.txt", "# selection\r\n\r\n" + first.toLocal8Bit() + "\r\n" +
                                              folder.path().toLocal8Bit() + "/absent\n\n" + second.toLocal8Bit());
    ASSERT_EQ(readCommandLine({"/f", list}, state), CommandLineResult::Accepted);
    EXPECT_EQ(selected(), (std::vector<std::string>{first.toStdString(), second.toStdString()}));
    EXPECT_TRUE(QFile::exists(list));
}

TEST_F(CommandLine, LongLinesAreTakenWhole)
{
    QString deep = folder.path();
    while (deep.size() < 300) deep += "/sub";
    ASSERT_TRUE(QDir().mkpath(deep));
    const QString list = make("list.txt", deep.toLocal8Bit() + '\n' + deep.left(255).toLocal8Bit());
    ASSERT_EQ(readCommandLine({"/F", list}, state), CommandLineResult::Accepted);
    // The cut-off remainder of a long line never becomes a path of its own.
    EXPECT_EQ(selected(), std::vector<std::string>{deep.toStdString()});
}

TEST_F(CommandLine, SwitchSDeletesTheListFileAfterReadingIt)
{
    const QString list = make("list.txt", first.toLocal8Bit() + '\n');
    ASSERT_EQ(readCommandLine({"/s", list}, state), CommandLineResult::Accepted);
    EXPECT_EQ(selected(), std::vector<std::string>{first.toStdString()});
    EXPECT_FALSE(QFile::exists(list));
}

TEST_F(CommandLine, UnreadableListFileEndsTheProcessWithMinusOne)
{
    EXPECT_EQ(readCommandLine({"/f", folder.path() + "/absent.txt"}, state), CommandLineResult::ListFileUnreadable);
    EXPECT_EQ(readCommandLine({"/f", folder.path()}, state), CommandLineResult::ListFileUnreadable);
    EXPECT_EQ(readCommandLine({first, "/s"}, state), CommandLineResult::ListFileUnreadable);

    const QByteArray missing = (folder.path() + "/absent.txt").toLocal8Bit();
    std::string program = "sealwin", fSwitch = "/f", name = missing.toStdString();
    char* argv[] = {program.data(), fSwitch.data(), name.data(), nullptr};
    EXPECT_EQ(runWindowProgram(3, argv, services::BuildVariant::Encrypt), -1);
}

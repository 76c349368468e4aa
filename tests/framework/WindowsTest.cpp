// The splash window, the frame's remembered position, the help viewer and
// the current directory.
#include "support/DialogTemplateFile.h"
#include "support/FolderTree.h"
#include "support/ScriptedUserQueue.h"

#include "framework/Application.h"
#include "framework/Dialog.h"
#include "framework/FrameWindow.h"
#include "framework/HelpViewer.h"
#include "framework/Platform.h"
#include "framework/SplashWindow.h"

#include <QDir>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

using namespace framework;

TEST(SplashWindow, TakesThePictureSizeAndClosesOnAClick)
{
    QPixmap picture(120, 80);
    picture.fill(Qt::blue);
    QPointer<SplashWindow> splash = new SplashWindow(picture, QSize(400, 300), 60000);
    splash->showCentred();
    EXPECT_TRUE(splash->isVisible());
    EXPECT_EQ(splash->size(), QSize(120, 80));
    QTest::mouseClick(splash, Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return splash.isNull(); }));  // closed and deleted
}

TEST(SplashWindow, ClosesAfterItsTimeout)
{
    QPointer<SplashWindow> splash = new SplashWindow(QPixmap(), QSize(400, 300), 50);
    splash->showCentred();
    EXPECT_EQ(splash->size(), QSize(400, 300));
    EXPECT_TRUE(QTest::qWaitFor([&] { return splash.isNull(); }, 2000));
}

TEST(FrameWindow, RemembersTheLastNormalPosition)
{
    QTemporaryDir folder;
    ASSERT_TRUE(writeDialogTemplate(folder.path(), "CLIENT", "DIALOG CLIENT 100 60 \"\"\n"));

    FrameWindow frame("Frame", new Dialog(nullptr, ResourceSet(folder.path()), "CLIENT"));
    frame.move(100, 120);
    ASSERT_TRUE(frame.create());
    frame.show();
    EXPECT_EQ(frame.size(), QSize(150, 97));  // shrunk to its client
    frame.move(130, 140);
    EXPECT_EQ(frame.normalPosition(), QPoint(130, 140));
    frame.showMinimized();
    frame.move(500, 500);
    EXPECT_EQ(frame.normalPosition(), QPoint(130, 140));
}

TEST(HelpViewer, ShowsTheFileOrSaysItIsMissing)
{
    ScriptedUserQueue user;
    ScopedScriptedUser installed(user);
    QTemporaryDir folder;
    QWidget owner;

    user.messageAnswers = {ResultOk};
    EXPECT_EQ(showHelpFile(&owner, folder.path().toStdString() + "/absent.html"), nullptr);
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(user.messages[0].text, "The help file cannot be opened:\n" + folder.path() + "/absent.html");
    EXPECT_EQ(user.messages[0].icon, MessageIcon::Exclamation);

    QFile help(folder.path() + "/help.html");
    ASSERT_TRUE(help.open(QIODevice::WriteOnly));
    help.write("<html><head><title>Tarvex Help</title></head><body><p>Pick files.</p></body></html>");
    help.close();
    QTextBrowser* viewer = showHelpFile(&owner, help.fileName().toStdString());
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(viewer->windowTitle(), "Tarvex Help");
    EXPECT_TRUE(viewer->toPlainText().contains("Pick files."));
    // Reused, not stacked; the program's version joins the page's title.
    EXPECT_EQ(showHelpFile(&owner, help.fileName().toStdString(), "Sealwin 1.3"), viewer);
    EXPECT_EQ(viewer->windowTitle(), QString::fromUtf8("Tarvex Help \u2014 Sealwin 1.3"));
}

TEST(HelpViewer, FindsAHelpFileInAFolderWhoseNameIsNoValidText)
{
    ScriptedUserQueue user;
    ScopedScriptedUser installed(user);
    FolderTree tree;
    const std::string help =
        tree.file("caf\xE9/help.html", "<html><head><title>T</title></head><body>Hi</body></html>");
    QWidget owner;
    QTextBrowser* viewer = showHelpFile(&owner, help);
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->toPlainText().contains("Hi"));
}

TEST(FrameWindow, AFrameNeverShownHasNoPositionToKeep)
{
    QTemporaryDir folder;
    ASSERT_TRUE(writeDialogTemplate(folder.path(), "CLIENT", "DIALOG CLIENT 100 60 \"\"\n"));
    FrameWindow frame("Frame", new Dialog(nullptr, ResourceSet(folder.path()), "CLIENT"));
    ASSERT_TRUE(frame.create());
    EXPECT_EQ(frame.normalPosition(), std::nullopt);
}

namespace {

class OneDialogApplication : public Application {
public:
    explicit OneDialogApplication(QString root) : root_(std::move(root)) {}

protected:
    void initMainWindow() override
    {
        setMainWindow(std::make_unique<FrameWindow>("Frame", new Dialog(nullptr, ResourceSet(root_), "MAIN")));
    }

private:
    QString root_;
};

}  // namespace

TEST(Application, AMissingOrMalformedTemplateIsReportedAndEndsWithAFailure)
{
    ScriptedUserQueue user;
    ScopedScriptedUser installed(user);
    QTemporaryDir folder;
    {
        OneDialogApplication missing(folder.path());
        EXPECT_EQ(missing.run(), Application::startFailureStatus);
        EXPECT_TRUE(missing.startError().contains("MAIN is missing")) << missing.startError().toStdString();
    }
    ASSERT_TRUE(
        writeDialogTemplate(folder.path(), "MAIN", "DIALOG MAIN 100 60 \"\"\nCONTROL 1 nosuchkind \"\" 1 2 3 4\n"));
    OneDialogApplication malformed(folder.path());
    EXPECT_EQ(malformed.run(), Application::startFailureStatus);
    EXPECT_TRUE(malformed.startError().contains("MAIN is malformed")) << malformed.startError().toStdString();
    // The offscreen platform has no display: standard error alone carries it.
    EXPECT_TRUE(user.messages.empty());
}

TEST(Platform, CurrentDirectoryIsWholeHoweverLong)
{
    FolderTree tree;
    std::string deep = tree.folder("caf\xE9");
    while (deep.size() < 400) deep += "/a-rather-long-folder-name";
    std::filesystem::create_directories(deep);
    const WorkingDirectoryGuard restored;
    std::filesystem::current_path(deep);
    EXPECT_EQ(currentDirectory(), std::filesystem::canonical(deep).string());
    EXPECT_EQ(ensureTrailingSeparator("/a"), "/a/");
    EXPECT_EQ(ensureTrailingSeparator("/a/"), "/a/");
}

// The splash window, the frame's remembered position, the help viewer and
// the current directory.
#include "support/DialogTemplateFile.h"
#include "support/ScriptedUserQueue.h"

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
    QTRY_VERIFY(splash.isNull());  // closed and deleted
}

TEST(SplashWindow, ClosesAfterItsTimeout)
{
    QPointer<SplashWindow> splash = new SplashWindow(QPixmap(), QSize(400, 300), 50);
    splash->showCentred();
    EXPECT_EQ(splash->size(), QSize(400, 300));
    QTRY_VERIFY_WITH_TIMEOUT(splash.isNull(), 2000);
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

    EXPECT_EQ(showHelpFile(&owner, folder.path() + "/absent.html"), nullptr);
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(user.messages[0].text, "The help file cannot be opened:\n" + folder.path() + "/absent.html");
    EXPECT_EQ(user.messages[0].icon, MessageIcon::Exclamation);

    QFile help(folder.path() + "/help.html");
    ASSERT_TRUE(help.open(QIODevice::WriteOnly));
    help.write("<html><head><title>Tarvex Help</title></head><body><p>Pick files.</p></body></html>");
    help.close();
    QTextBrowser* viewer = showHelpFile(&owner, help.fileName());
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(viewer->windowTitle(), "Tarvex Help");
    EXPECT_TRUE(viewer->toPlainText().contains("Pick files."));
    EXPECT_EQ(showHelpFile(&owner, help.fileName()), viewer);  // reused, not stacked
}

TEST(Platform, CurrentDirectoryIsWholeHoweverLong)
{
    QTemporaryDir folder;
    QString deep = folder.path();
    while (deep.size() < 400) deep += "/a-rather-long-folder-name";
    ASSERT_TRUE(QDir().mkpath(deep));
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(deep));
    EXPECT_EQ(currentDirectory(), QDir(deep).canonicalPath());
    QDir::setCurrent(previous);
    EXPECT_EQ(ensureTrailingSeparator("/a"), "/a/");
    EXPECT_EQ(ensureTrailingSeparator("/a/"), "/a/");
}

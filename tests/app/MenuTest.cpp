// The main window's pop-up menu and its commands through the real window
// (offscreen): the menu itself, batch files, About and Authorisation.
#include "MainWindowFixture.h"
#include "support/FolderTree.h"

#include "app/AuthorisationDialog.h"
#include "app/PassWordDialog.h"

#include "framework/FrameWindow.h"
#include "framework/SplashWindow.h"

#include "TestFiles.h"
#include "tarvex.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#ifdef TARVEX_WITH_XTEST
#include "support/RerunTest.h"

// Last: the X headers define names such as None and KeyPress as macros.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#endif

using framework::MessageIcon;
using framework::ResultOk;
using framework::ResultYes;
using testsupport::Bytes;

namespace {

using Paths = std::vector<std::string>;

class Menu : public MainWindow {
protected:
    void SetUp() override
    {
        MainWindow::SetUp();
        dialog = start();
        ASSERT_NE(dialog, nullptr);
    }
    // A right click on the dialog at `at`, in the dialog's own coordinates.
    QMenu* rightClick(QPoint at = QPoint(30, 200))
    {
        QContextMenuEvent request(QContextMenuEvent::Mouse, at, dialog->mapToGlobal(at));
        QCoreApplication::sendEvent(dialog, &request);
        return dialog->contextMenu();
    }
    // Chooses the menu item whose text is `item`.
    void choose(const QString& item)
    {
        QMenu* menu = rightClick();
        ASSERT_NE(menu, nullptr);
        for (QAction* action : menu->actions()) {
            if (action->text() == item) {
                action->trigger();
                return;
            }
        }
        ADD_FAILURE() << "no menu item " << item.toStdString();
    }
    // Loads a batch file through the menu.
    void loadBatch(const std::string& batchFile)
    {
        user.fileAnswers.push_back({batchFile});
        choose("&Batch File...");
    }
    Paths selected() const
    {
        Paths all;
        for (int i = 0; i < state.selectedFiles.count(); ++i) all.push_back(state.selectedFiles.getAt(i));
        return all;
    }
    QString sourceField() const { return dialog->text(TEncryptDialog::SourceField); }

    FolderTree tree;
    TEncryptDialog* dialog = nullptr;
};

QStringList itemTexts(const QMenu* menu)
{
    QStringList texts;
    for (const QAction* action : menu->actions()) texts << action->text();
    return texts;
}

TEST_F(Menu, ARightClickShowsTheFourCommandsAndEachRequestReplacesTheMenuBefore)
{
    QPointer<QMenu> first = rightClick(QPoint(30, 200));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(itemTexts(first), QStringList({"&View Log...", "A&uthorisation...", "&Batch File...", "&About..."}));
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->pos(), dialog->mapToGlobal(QPoint(30, 200)));

    QPointer<QMenu> second = rightClick(QPoint(60, 220));
    ASSERT_NE(second, nullptr);
    QCoreApplication::processEvents();
    EXPECT_TRUE(first.isNull());  // built anew, the one before destroyed
    EXPECT_EQ(dialog->findChildren<QMenu*>().size(), 1);
    EXPECT_EQ(second->pos(), dialog->mapToGlobal(QPoint(60, 220)));
}

TEST_F(Menu, TheMenuKeyAndShiftF10AskForTheSameMenuWhereverTheFocusIs)
{
    // The window system's request for the menu key, with the focus in an
    // edit, whose own menu only the right button gives: the menu comes up by
    // the field.
    auto* keyField = dialog->control(TEncryptDialog::KeyField);
    QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(5, 5), QPoint(900, 900));
    QCoreApplication::sendEvent(keyField, &menuKey);
    QPointer<QMenu> fromMenuKey = dialog->contextMenu();
    ASSERT_NE(fromMenuKey, nullptr);
    EXPECT_EQ(itemTexts(fromMenuKey).size(), 4);
    EXPECT_EQ(fromMenuKey->pos(), keyField->mapToGlobal(keyField->rect().center()));
    fromMenuKey->close();  // Escape

    auto* help = dialog->control(TEncryptDialog::HelpButton);
    app->mainWindow()->activateWindow();
    help->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return help->hasFocus(); }));
    QTest::keyClick(help, Qt::Key_F10, Qt::ShiftModifier);
    ASSERT_NE(dialog->contextMenu(), nullptr);
    EXPECT_NE(dialog->contextMenu(), fromMenuKey.data());
    EXPECT_EQ(itemTexts(dialog->contextMenu()).size(), 4);
    EXPECT_EQ(dialog->contextMenu()->pos(), help->mapToGlobal(help->rect().center()));
}

TEST_F(Menu, ViewLogOpensTheActivityLogOverTheMainWindow)
{
    QString title;
    QWidget* parent = nullptr;
    user.dialogSteps.push_back([&](framework::Dialog& viewer) {
        title = viewer.windowTitle();
        parent = viewer.parentWidget();
        viewer.press(framework::ResultCancel);  // its OK button
    });
    choose("&View Log...");
    EXPECT_EQ(title, "                               Encryption Log");
    EXPECT_EQ(parent, dialog);
}

TEST_F(Menu, AuthorisationLeftWithThePasswordAsKeyEmptiesAndShutsTheKeyField)
{
    dialog->setText(TEncryptDialog::KeyField, "typed before");
    user.dialogSteps.push_back([this](framework::Dialog& authorisation) {
        user.dialogSteps.push_back([](framework::Dialog& confirm) {
            confirm.setText(TPassWordDialog::ConfirmField, "open sesame");
            confirm.press(ResultOk);
        });
        authorisation.setText(TAuthorisationDialog::UserIdField, "alice");
        authorisation.setText(TAuthorisationDialog::PasswordField, "open sesame");
        authorisation.setChecked(TAuthorisationDialog::UsePasswordAsKeyBox, true);
        authorisation.press(ResultOk);
    });
    choose("A&uthorisation...");
    EXPECT_TRUE(user.dialogSteps.empty());
    EXPECT_TRUE(state.hasLoginKey());
    EXPECT_EQ(dialog->text(TEncryptDialog::KeyField), "");
    EXPECT_TRUE(dialog->isReadOnly(TEncryptDialog::KeyField));
}

TEST_F(Menu, AboutShowsThePictureCentredAboveAllUntilItIsClicked)
{
    choose("&About...");
    QPointer<framework::SplashWindow> about = dialog->aboutWindow();
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->isVisible());
    EXPECT_TRUE(about->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(about->windowFlags() & Qt::FramelessWindowHint);
    const QSize picture = dialog->resources().bitmap(23).size();
    ASSERT_FALSE(picture.isEmpty());
    EXPECT_EQ(about->size(), picture);  // its thin border lies over the picture's edge
    EXPECT_EQ(about->size(), QSize(400, 300));
    EXPECT_EQ(about->geometry().center(), QGuiApplication::primaryScreen()->availableGeometry().center());
    EXPECT_EQ(QWidget::mouseGrabber(), about.data());
    EXPECT_TRUE(dialog->isEnabled());

    QTest::qWait(1500);  // longer than the start-up picture stays
    ASSERT_FALSE(about.isNull());
    EXPECT_TRUE(about->isVisible());
    QTest::mouseClick(about, Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return about.isNull(); }));
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
}

TEST_F(Menu, ABatchFileSelectsItsExistingFilesInOrderWithCrLfOrLf)
{
    const std::string first = tree.file("first file.txt");
    const std::string second = tree.file("caf\xE9.doc");
    const std::string lines = "# a comment naming " + first + "\n\n" + second + "\n" + tree.at("absent.txt") + "\n" +
                              first;  // the last line has no line end
    std::string crlf;
    for (const char c : lines) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    for (const std::string& content : {lines, crlf}) {
        state.targetFiles.add("left from before");
        loadBatch(tree.file("list.tvx", content));
        EXPECT_EQ(selected(), (Paths{second, first}));
        EXPECT_EQ(state.targetFiles.count(), 0);
        EXPECT_EQ(sourceField(), " 2 Files Selected for Encryption");
        EXPECT_FALSE(dialog->singlePathMode());
    }
    ASSERT_EQ(user.fileDialogs.size(), 2u);
    EXPECT_EQ(user.fileDialogs[0].title, "Open Tarvex Batch File");
    EXPECT_EQ(user.fileDialogs[0].filter, "Tarvex Batch Files (*.tvx)|*.tvx");
    EXPECT_FALSE(user.fileDialogs[0].multipleSelection);
    EXPECT_FALSE(user.fileDialogs[0].fileMustExist);
}

TEST_F(Menu, ABatchFileThatCannotBeOpenedLeavesTheListsAsTheyWere)
{
    const std::string kept = tree.file("kept.txt");
    dialog->setText(TEncryptDialog::SourceField, QString::fromStdString(kept));
    user.messageAnswers.push_back(ResultOk);
    loadBatch(tree.at("no such.tvx"));
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(user.messages[0].text, QString::fromStdString("Could not open " + tree.at("no such.tvx")));
    EXPECT_EQ(user.messages[0].caption, "I/O Error");
    EXPECT_EQ(user.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(sourceField(), "");
    EXPECT_FALSE(dialog->singlePathMode());
    EXPECT_EQ(selected(), Paths{kept});

    user.fileAnswers.push_back({});  // Cancel changes nothing at all
    choose("&Batch File...");
    EXPECT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(selected(), Paths{kept});
}

TEST_F(Menu, AnEmptyBatchFileShowsNoneAndEncryptRefuses)
{
    loadBatch(tree.file("empty.tvx", "# only a comment\r\n\r\n"));
    EXPECT_EQ(sourceField(), " 0 Files Selected for Encryption");
    EXPECT_EQ(state.selectedFiles.count(), 0);
    dialog->setText(TEncryptDialog::KeyField, "long enough key");
    user.messageAnswers.push_back(ResultOk);
    dialog->press(TEncryptDialog::RunButton);
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(user.messages[0].text, "You must select a file to encrypt");

    loadBatch(tree.file("one.tvx", tree.file("single.txt") + "\n"));
    EXPECT_EQ(sourceField(), " 1 Files Selected for Encryption");  // one form for every count
}

TEST_F(Menu, ABatchOfSeveralFilesIsEncryptedInPlace)
{
    const std::string key = "batch key of some length";
    Paths files;
    std::vector<Bytes> plains;
    std::string content;
    for (int i = 0; i < 3; ++i) {
        files.push_back(tree.file("file" + std::to_string(i) + ".bin"));
        plains.push_back(testsupport::randomBytes(40000 + 7 * i, 30 + i));
        testsupport::writeFile(files.back(), plains.back());
        content += files.back() + "\r\n";
    }
    loadBatch(tree.file("run.tvx", content));
    dialog->setText(TEncryptDialog::KeyField, QString::fromStdString(key));
    dialog->setChecked(TEncryptDialog::ConfirmOverwriteBox, false);
    user.dialogSteps.push_back([&key](framework::Dialog& confirm) {
        confirm.setText(TPassWordDialog::ConfirmField, QString::fromStdString(key));
        confirm.press(ResultOk);
    });
    dialog->press(TEncryptDialog::RunButton);
    ASSERT_NE(dialog->currentWorker(), nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog->runIsActive(); }, 60000));
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::string expected = tree.at("expected.bin");
        testsupport::writeFile(expected, plains[i]);
        ASSERT_EQ(tarvexTransformFile(key.c_str(), expected.c_str(), expected.c_str(), TARVEX_ENCRYPT, 0), TARVEX_OK);
        EXPECT_EQ(testsupport::readFile(files[i]), testsupport::readFile(expected)) << files[i];
    }
    EXPECT_TRUE(user.messages.empty());
}

TEST_F(Menu, ALongLineIsOnePathWhoseCutOffPiecesSelectNothing)
{
    const WorkingDirectoryGuard workingDirectory;
    const std::string longFile = tree.file(std::string(200, 'd') + "/" + std::string(120, 'f'));
    ASSERT_GT(longFile.size(), 255u);
    // Read in 255-character pieces, the line's head would name a file in the
    // same folder and its rest one in the current directory.
    const std::string head = longFile.substr(0, 255);
    const std::string rest = longFile.substr(255);
    tree.file(head.substr(tree.path().size() + 1));
    tree.file(rest);
    ASSERT_EQ(chdir(tree.path().c_str()), 0);
    loadBatch(tree.file("long.tvx", longFile + "\n"));
    EXPECT_EQ(selected(), Paths{longFile});
}

TEST_F(Menu, AFolderLineIsWalkedWithItsQuestionAndAGuardedOneIsRefused)
{
    const std::string file = tree.file("photos/one.jpg");
    const std::string inner = tree.file("photos/older/two.jpg");
    const std::string loose = tree.file("loose.txt");
    user.messageAnswers = {ResultYes, ResultOk};
    loadBatch(tree.file("folders.tvx", tree.at("photos") + "\n/etc\n" + loose + "\n"));
    ASSERT_EQ(user.messages.size(), 2u);
    EXPECT_EQ(user.messages[0].text, "Encrypt All Subdirectories ?");
    EXPECT_EQ(user.messages[1].text, "This is the Windows folder.\n\nPermission to encrypt it is denied.");
    EXPECT_EQ(user.messages[1].caption, " /etc");
    Paths expected{file, inner, loose};
    Paths got = selected();
    std::sort(got.begin(), got.begin() + 2);
    std::sort(expected.begin(), expected.begin() + 2);
    EXPECT_EQ(got, expected);
    EXPECT_EQ(sourceField(), " 3 Files Selected for Encryption");
}

TEST_F(Menu, AFolderTooDeepCancelsTheWholeBatchSelection)
{
    const std::string loose = tree.file("loose.txt");
    std::string deep = "deep";
    for (int level = 1; level <= 9; ++level) deep += "/d";
    tree.file(deep + "/bottom.txt");
    user.messageAnswers = {ResultYes, ResultOk};
    loadBatch(tree.file("deep.tvx", loose + "\n" + tree.at("deep") + "\n" + loose + "\n"));
    ASSERT_EQ(user.messages.size(), 2u);
    EXPECT_EQ(user.messages[1].text, "Your encryption selection has been cancelled for safety reasons");
    EXPECT_EQ(state.selectedFiles.count(), 0);
    EXPECT_EQ(sourceField(), " 0 Files Selected for Encryption");
}

#ifdef TARVEX_WITH_XTEST
// The X server's own input: a real right click on the window, then the real
// menu key while the focus is in the source field.
TEST_F(Menu, OnARealXServerTheRightButtonAndTheMenuKeyOpenTheMenu)
{
    if (!onAnXServer()) {
        rerunOnAnXServer();
        return;
    }
    ASSERT_TRUE(QTest::qWaitForWindowExposed(app->mainWindow()));
    // The start-up picture holds the mouse until it goes.
    ASSERT_TRUE(QTest::qWaitFor([&] { return app->splash() == nullptr; }, 10000));
    QPoint background;
    for (int y = 5; y < dialog->height() && background.isNull(); y += 5) {
        for (int x = 5; x < dialog->width() && background.isNull(); x += 5) {
            if (!dialog->childAt(x, y)) background = QPoint(x, y);
        }
    }
    ASSERT_FALSE(background.isNull());
    const QPoint at = dialog->mapToGlobal(background);

    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    XTestFakeMotionEvent(display, -1, at.x(), at.y(), CurrentTime);
    XTestFakeButtonEvent(display, 3, True, CurrentTime);
    XTestFakeButtonEvent(display, 3, False, CurrentTime);
    XFlush(display);
    EXPECT_TRUE(QTest::qWaitFor([&] { return dialog->contextMenu() && dialog->contextMenu()->isVisible(); }, 10000));
    QPointer<QMenu> clicked = dialog->contextMenu();
    ASSERT_NE(clicked, nullptr);
    EXPECT_EQ(itemTexts(clicked).size(), 4);
    EXPECT_EQ(clicked->pos(), at);

    const auto tap = [&](KeySym symbol) {
        const KeyCode code = XKeysymToKeycode(display, symbol);
        XTestFakeKeyEvent(display, code, True, CurrentTime);
        XTestFakeKeyEvent(display, code, False, CurrentTime);
        XFlush(display);
    };
    tap(XK_Escape);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !clicked || !clicked->isVisible(); }, 10000));
    dialog->focusControl(TEncryptDialog::SourceField);
    tap(XK_Menu);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return dialog->contextMenu() && dialog->contextMenu() != clicked && dialog->contextMenu()->isVisible(); },
        10000));
    tap(XK_Escape);
    XCloseDisplay(display);
}
#endif

}  // namespace

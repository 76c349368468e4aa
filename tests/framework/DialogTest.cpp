// Templates, controls by id, response tables and the modal seam, on real
// widgets (offscreen).
#include "support/DialogTemplateFile.h"
#include "support/ScriptedUserQueue.h"
#include "support/UserInput.h"

#include "framework/Dialog.h"
#include "framework/DialogTemplate.h"
#include "framework/FrameWindow.h"
#include "framework/Modal.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDir>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest-spi.h>

#include <array>
#include <functional>

using namespace framework;

TEST(DialogTemplate, ParsesControlsAndConvertsDialogUnits)
{
    const auto parsed = parseDialogTemplate("# comment\n"
                                            "DIALOG ASK 100 40 \"  Ask \\\"me\\\"\" drops\n"
                                            "CONTROL 104 edit \"\" 16 36 163 14\n"
                                            "CONTROL -1 label \"two\\nlines\" 0 0 8 8\n");
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->caption, "  Ask \"me\"");
    EXPECT_TRUE(parsed->acceptsDrops);
    ASSERT_EQ(parsed->controls.size(), 2u);
    EXPECT_EQ(parsed->controls[0].kind, ControlKind::Edit);
    EXPECT_EQ(parsed->controls[1].caption, "two\nlines");
    EXPECT_EQ(dialogUnitsToPixels(parsed->controls[0].dialogUnits), QRect(24, 58, 244, 22));
    EXPECT_EQ(horizontalDialogUnitsToPixels(268), 402);
    EXPECT_EQ(verticalDialogUnitsToPixels(164), 266);
}

TEST(DialogTemplate, RejectsMalformedText)
{
    QString error;
    EXPECT_FALSE(parseDialogTemplate("DIALOG A 1 1 \"open", &error));
    EXPECT_EQ(error, "line 1: unclosed quote");
    EXPECT_FALSE(parseDialogTemplate("DIALOG A 1 1 \"\"\nCONTROL 1 slider \"\" 0 0 1 1", &error));
    EXPECT_EQ(error, "line 2: unknown control kind slider");
    EXPECT_FALSE(parseDialogTemplate("CONTROL 1 edit \"\" 0 0 1 1", &error));
    EXPECT_FALSE(parseDialogTemplate("", &error));
    EXPECT_FALSE(parseDialogTemplate("DIALOG A 1 1 \"\" nosysmenu wide", &error));
    EXPECT_EQ(error, "line 1: unknown dialog option wide");
    EXPECT_FALSE(parseDialogTemplate("DIALOG A 1 1 \"\" drops nosysmenu drops", &error));
    EXPECT_EQ(error, "line 1: dialog option drops given twice");
    EXPECT_FALSE(parseDialogTemplate("DIALOG A 1 1 \"\"\nCONTROL -1 picture \"logo\" 0 0 1 1", &error));
    EXPECT_EQ(error, "line 2: a picture's caption must be its bitmap number");
}

TEST(DialogTemplate, TakesItsOptionsInAnyOrder)
{
    const auto plain = parseDialogTemplate("DIALOG A 1 1 \"\"");
    ASSERT_TRUE(plain);
    EXPECT_FALSE(plain->acceptsDrops);
    EXPECT_TRUE(plain->hasSystemMenu);
    for (const QString options : {"nosysmenu drops", "drops nosysmenu"}) {
        const auto both = parseDialogTemplate("DIALOG A 1 1 \"\" " + options);
        ASSERT_TRUE(both) << options.toStdString();
        EXPECT_TRUE(both->acceptsDrops);
        EXPECT_FALSE(both->hasSystemMenu);
    }
}

namespace {

// A name prompt: OK takes the typed name only when it is not empty.
class NameDialog : public Dialog {
public:
    using Dialog::Dialog;
    QString acceptedName;
    int focusCount = 0;

protected:
    void setupWindow() override
    {
        static constexpr std::array responses{
            Response<NameDialog>{1, ControlEvent::Clicked, &NameDialog::okClicked},
            Response<NameDialog>{2, ControlEvent::Clicked, &NameDialog::cancelClicked},
            Response<NameDialog>{101, ControlEvent::GainedFocus, &NameDialog::nameFocused},
        };
        bindResponses<NameDialog>(this, responses);
        setTextLimit(101, 10);
    }

private:
    void okClicked()
    {
        if (text(101).isEmpty()) {
            showMessage(this, {"Type a name", "  Name", MessageIcon::Stop, MessageButtons::Ok});
            return;
        }
        acceptedName = text(101);
        endDialog(ResultOk);
    }
    void cancelClicked() { endDialog(ResultCancel); }
    void nameFocused() { ++focusCount; }
};

class ModalSeam : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        ASSERT_TRUE(writeDialogTemplate(folder.path(), "NAME",
                                        "DIALOG NAME 120 50 \"  Your Name\"\n"
                                        "CONTROL 101 edit \"\" 8 8 104 14\n"
                                        "CONTROL 1 defaultpushbutton \"OK\" 8 30 50 14\n"
                                        "CONTROL 2 pushbutton \"Cancel\" 62 30 50 14\n"));
    }
    QTemporaryDir folder;
    ScriptedUserQueue user;
    ScopedScriptedUser installed{user};
};

}  // namespace

TEST_F(ModalSeam, ScriptedUserAnswersAMessageBox)
{
    user.messageAnswers.push_back(ResultNo);
    const int answer =
        showMessage(nullptr, {"Encrypt All Subdirectories ?", "  /data", MessageIcon::None, MessageButtons::YesNo});
    EXPECT_EQ(answer, ResultNo);
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(user.messages[0].text, "Encrypt All Subdirectories ?");
    EXPECT_EQ(user.messages[0].caption, "  /data");
    EXPECT_EQ(user.messages[0].icon, MessageIcon::None);
    EXPECT_EQ(user.messages[0].buttons, MessageButtons::YesNo);
}

TEST_F(ModalSeam, AMessageNobodyExpectedFailsTheTest)
{
    EXPECT_NONFATAL_FAILURE(showMessage(nullptr, {"Cannot open", "  Error", MessageIcon::Stop, MessageButtons::Ok}),
                            "unexpected message \"Cannot open\"");
}

TEST_F(ModalSeam, ScriptedUserDrivesALiveDialog)
{
    NameDialog dialog(nullptr, ResourceSet(folder.path()), "NAME");
    user.dialogSteps.push_back([](Dialog& live) {
        EXPECT_TRUE(live.isVisible());
        EXPECT_EQ(live.windowTitle(), "  Your Name");
        live.press(1);  // nothing typed yet: refused with a message
        live.focusControl(101);
        live.setText(101, "a name that is too long");
        live.press(1);
    });
    user.messageAnswers.push_back(ResultOk);
    EXPECT_EQ(runModal(dialog), ResultOk);
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(user.messages[0].text, "Type a name");
    EXPECT_EQ(user.messages[0].icon, MessageIcon::Stop);
    EXPECT_EQ(dialog.acceptedName, "a name tha");  // the field takes 10 characters
    EXPECT_EQ(dialog.focusCount, 1);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(ModalSeam, CancelEscapeAndTheCloseBoxEndWithCancelEvenWhereNothingBindsCancel)
{
    using Action = std::function<void(Dialog&)>;
    const Action actions[] = {
        [](Dialog& live) { live.press(ResultCancel); },
        [](Dialog& live) { userinput::pressKey(live, Qt::Key_Escape); },
        [](Dialog& live) { userinput::closeBox(live); },
    };
    for (const Action& action : actions) {
        // The plain dialog leaves Cancel to the framework.
        Dialog plain(nullptr, ResourceSet(folder.path()), "NAME");
        NameDialog named(nullptr, ResourceSet(folder.path()), "NAME");
        for (Dialog* dialog : {&plain, static_cast<Dialog*>(&named)}) {
            user.dialogSteps.push_back([&](Dialog& live) {
                live.setText(101, "Ann");
                live.focusControl(101);
                action(live);
            });
            EXPECT_EQ(runModal(*dialog), ResultCancel);
            EXPECT_FALSE(dialog->isVisible());
        }
        EXPECT_TRUE(named.acceptedName.isEmpty());
    }
}

TEST_F(ModalSeam, ADialogLeftOpenFailsTheTestAndIsEnded)
{
    NameDialog ignored(nullptr, ResourceSet(folder.path()), "NAME");
    user.dialogSteps.push_back([](Dialog&) {});
    EXPECT_NONFATAL_FAILURE(runModal(ignored), "\"  Your Name\" is still open");
    EXPECT_FALSE(ignored.isVisible());
}

namespace {

// A dialog with a context menu of two commands.
class MenuDialog : public NameDialog {
public:
    using NameDialog::NameDialog;
    std::vector<int> commandsRun;

protected:
    std::vector<MenuItem> contextMenuItems() const override { return {{7, "&Seven"}, {8, "&Eight"}}; }
    void setupWindow() override
    {
        static constexpr std::array responses{
            Response<MenuDialog>{7, ControlEvent::Command, &MenuDialog::seven},
            Response<MenuDialog>{8, ControlEvent::Command, &MenuDialog::eight},
        };
        bindResponses<MenuDialog>(this, responses);
    }

private:
    void seven() { commandsRun.push_back(7); }
    void eight() { commandsRun.push_back(8); }
};

}  // namespace

TEST_F(ModalSeam, MenuItemsSendTheirCommandsAndADialogWithoutItemsShowsNoMenu)
{
    MenuDialog withMenu(nullptr, ResourceSet(folder.path()), "NAME");
    ASSERT_TRUE(withMenu.create());
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(3, 4), QPoint(103, 104));
    QCoreApplication::sendEvent(&withMenu, &rightClick);
    QMenu* menu = withMenu.contextMenu();
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->actions().size(), 2);
    EXPECT_EQ(menu->actions()[0]->text(), "&Seven");
    menu->actions()[1]->trigger();
    withMenu.sendCommand(7);
    withMenu.sendCommand(99);  // bound to nothing
    EXPECT_EQ(withMenu.commandsRun, (std::vector<int>{8, 7}));

    // Without items the menu key leaves an edit its own menu.
    NameDialog plain(nullptr, ResourceSet(folder.path()), "NAME");
    ASSERT_TRUE(plain.create());
    QCoreApplication::sendEvent(&plain, &rightClick);
    EXPECT_EQ(plain.contextMenu(), nullptr);
    QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(3, 4), QPoint(103, 104));
    QCoreApplication::sendEvent(plain.control(101), &menuKey);
    EXPECT_EQ(plain.contextMenu(), nullptr);
    const QList<QMenu*> editMenus = plain.control(101)->findChildren<QMenu*>();
    ASSERT_EQ(editMenus.size(), 1);
    EXPECT_TRUE(editMenus[0]->isVisible());
    editMenus[0]->close();
}

TEST_F(ModalSeam, MissingTemplateIsCancelledWithoutAWindow)
{
    NameDialog dialog(nullptr, ResourceSet(folder.path()), "ABSENT");
    EXPECT_EQ(runModal(dialog), ResultCancel);
    EXPECT_FALSE(dialog.isCreated());
}

namespace {

class DropDialog : public Dialog {
public:
    using Dialog::Dialog;
    std::vector<std::vector<std::string>> drops;
    void filesDropped(const std::vector<std::string>& paths) override { drops.push_back(paths); }
};

void dropOn(QWidget* target, const QList<QUrl>& urls)
{
    QMimeData mime;
    mime.setUrls(urls);
    mime.setText("pasted text");
    // As a drag does: it enters the widget before it drops there.
    QDragEnterEvent enter(QPoint(30, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(30, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
}

}  // namespace

TEST(Dialog, TakesDroppedLocalFilesOnItselfAndInItsFrame)
{
    QTemporaryDir folder;
    ASSERT_TRUE(writeDialogTemplate(folder.path(), "DROP",
                                    "DIALOG DROP 120 50 \"\" drops\nCONTROL 101 edit \"\" 8 8 104 14\n"));

    auto* dialog = new DropDialog(nullptr, ResourceSet(folder.path()), "DROP");
    FrameWindow frame("Frame", dialog);
    ASSERT_TRUE(frame.create());
    frame.show();
    const QList<QUrl> urls{QUrl::fromLocalFile("/tmp/a b.txt"), QUrl("https://example.org/x"),
                           QUrl::fromLocalFile("/tmp/c")};
    dropOn(dialog, urls);
    dropOn(&frame, urls);  // e.g. on the frame's caption
    // A field of a dialog that takes drops leaves them to the dialog rather
    // than pasting the names as text.
    dropOn(dialog->control(101), urls);
    dropOn(dialog, {QUrl("https://example.org/x")});
    ASSERT_EQ(dialog->drops.size(), 3u);
    EXPECT_EQ(dialog->drops[0], (std::vector<std::string>{"/tmp/a b.txt", "/tmp/c"}));
    EXPECT_EQ(dialog->drops[1], dialog->drops[0]);
    EXPECT_EQ(dialog->drops[2], dialog->drops[0]);
    EXPECT_EQ(dialog->text(101), "");

    // A file manager sends each name's bytes percent-encoded: names that are
    // no valid text arrive exact, and so do names in other scripts.
    dialog->drops.clear();
    dropOn(dialog,
           {QUrl::fromEncoded("file:///tmp/caf%E9.txt"), QUrl::fromLocalFile(QString::fromUtf8("/tmp/\u00e9t\u00e9"))});
    ASSERT_EQ(dialog->drops.size(), 1u);
    EXPECT_EQ(dialog->drops[0], (std::vector<std::string>{"/tmp/caf\xE9.txt", "/tmp/\xC3\xA9t\xC3\xA9"}));
}

TEST(Dialog, APathFieldGivesBackTheExactBytesUntilTheUserTypesOver)
{
    QTemporaryDir folder;
    ASSERT_TRUE(
        writeDialogTemplate(folder.path(), "PATH", "DIALOG PATH 120 50 \"\"\nCONTROL 101 edit \"\" 8 8 104 14\n"));
    Dialog dialog(nullptr, ResourceSet(folder.path()), "PATH");
    ASSERT_TRUE(dialog.create());
    dialog.setPathText(101, "/tmp/caf\xE9");
    EXPECT_EQ(dialog.text(101), "/tmp/caf\\xE9");
    EXPECT_EQ(dialog.pathText(101), "/tmp/caf\xE9");
    dialog.setText(101, QString::fromUtf8("/tmp/caf\u00e9"));
    EXPECT_EQ(dialog.pathText(101), "/tmp/caf\xC3\xA9");
    dialog.setText(101, "/tmp/caf\\xE9");  // typed back as it was shown
    EXPECT_EQ(dialog.pathText(101), "/tmp/caf\xE9");
}

namespace {

class ControlKinds : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        ASSERT_TRUE(QDir().mkpath(folder.path() + "/bitmaps"));
        QPixmap bitmap(20, 12);
        bitmap.fill(Qt::red);
        ASSERT_TRUE(bitmap.save(folder.path() + "/bitmaps/1.png"));
        ASSERT_TRUE(writeDialogTemplate(folder.path(), "KINDS",
                                        "DIALOG KINDS 160 100 \"  Kinds\" nosysmenu\n"
                                        "CONTROL 101 listbox \"\" 8 8 60 40\n"
                                        "CONTROL 102 picture \"1\" 80 8 40 40\n"
                                        "CONTROL 103 picture \"9\" 80 50 20 20\n"
                                        "CONTROL 104 wrappedlabel \"several short words that wrap\" 8 60 40 30\n"));
    }
    QTemporaryDir folder;
};

}  // namespace

TEST_F(ControlKinds, ListBoxesPicturesAndWrappedLabelsAreBuilt)
{
    Dialog dialog(nullptr, ResourceSet(folder.path()), "KINDS");
    ASSERT_TRUE(dialog.create());
    dialog.setListItems(101, {"one", "two"});
    EXPECT_EQ(dialog.listItems(101), QStringList({"one", "two"}));

    auto* picture = qobject_cast<QLabel*>(dialog.control(102));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->pixmap().size(), QSize(20, 12));  // its own size in a larger box
    EXPECT_FALSE(picture->hasScaledContents());
    EXPECT_EQ(picture->alignment(), Qt::AlignLeft | Qt::AlignTop);
    auto* unknown = qobject_cast<QLabel*>(dialog.control(103));
    ASSERT_NE(unknown, nullptr);
    EXPECT_TRUE(unknown->pixmap().isNull());

    auto* wrapped = qobject_cast<QLabel*>(dialog.control(104));
    ASSERT_NE(wrapped, nullptr);
    EXPECT_GT(wrapped->heightForWidth(wrapped->width()), 2 * wrapped->fontMetrics().height());

    std::map<int, QString> shown;
    for (const Dialog::ControlView& view : dialog.controls()) shown[view.id] = view.text;
    EXPECT_EQ(shown[101], "one\ntwo");
    EXPECT_EQ(shown[102], "1");
    EXPECT_EQ(shown[104], "several short words that wrap");
    dialog.clearList(101);
    EXPECT_TRUE(dialog.listItems(101).isEmpty());
}

TEST_F(ControlKinds, AListBoxScrollsAcrossItsHorizontalExtent)
{
    Dialog dialog(nullptr, ResourceSet(folder.path()), "KINDS");
    ASSERT_TRUE(dialog.create());
    dialog.show();
    auto* list = qobject_cast<QListWidget*>(dialog.control(101));
    ASSERT_NE(list, nullptr);
    dialog.setListItems(101, {"a", "b"});
    EXPECT_EQ(list->horizontalScrollBar()->maximum(), 0);
    dialog.setHorizontalExtent(101, 800);
    EXPECT_EQ(list->horizontalScrollBar()->maximum(), 800 - list->viewport()->width());
    dialog.setListItems(101, {"c"});  // entries that come later scroll as far
    EXPECT_EQ(list->horizontalScrollBar()->maximum(), 800 - list->viewport()->width());
}

TEST_F(ControlKinds, NoSystemMenuLeavesACaptionBarWithoutACloseBox)
{
    Dialog dialog(nullptr, ResourceSet(folder.path()), "KINDS");
    ASSERT_TRUE(dialog.create());
    const Qt::WindowFlags flags = dialog.windowFlags();
    EXPECT_TRUE(flags.testFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint));
    EXPECT_FALSE(flags.testAnyFlags(Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint));

    // As a frame's client the dialog stays inside the frame.
    FrameWindow frame("Frame", new Dialog(nullptr, ResourceSet(folder.path()), "KINDS"));
    ASSERT_TRUE(frame.create());
    EXPECT_FALSE(frame.client()->isWindow());
}

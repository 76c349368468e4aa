// Building a selection through the real main window: drops on the dialog and
// on its frame, folder expansion with its question, depth limit and
// refusals, the source field's two modes and the start-up selection.
#include "MainWindowFixture.h"
#include "support/FolderTree.h"
#include "support/UnreadableFile.h"

#include "framework/FrameWindow.h"

#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTest>
#include <QUrl>

#include <algorithm>

using framework::MessageButtons;
using framework::MessageIcon;
using framework::ResultNo;
using framework::ResultYes;

namespace {

using Paths = std::vector<std::string>;

class Selection : public MainWindow {
protected:
    void SetUp() override
    {
        MainWindow::SetUp();
        dialog = start();
        ASSERT_NE(dialog, nullptr);
    }

    // Drops the paths as a user drags them onto `target` (the dialog unless
    // another part of the window is named).
    void drop(const QStringList& paths, QWidget* target = nullptr)
    {
        QList<QUrl> urls;
        for (const QString& path : paths) urls << QUrl::fromLocalFile(path);
        QMimeData mime;
        mime.setUrls(urls);
        QWidget* receiver = target ? target : dialog;
        QDragEnterEvent enter(QPoint(40, 40), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(receiver, &enter);
        QDropEvent dropped(QPointF(40, 40), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(receiver, &dropped);
    }
    Paths selected() const
    {
        Paths entries;
        for (int i = 0; i < state.selectedFiles.count(); ++i) entries.push_back(state.selectedFiles.getAt(i));
        return entries;
    }
    Paths selectedSorted() const
    {
        Paths entries = selected();
        std::sort(entries.begin(), entries.end());
        return entries;
    }
    QString sourceField() const { return dialog->text(TEncryptDialog::SourceField); }
    // A folder with one file at each of `levels` levels: top/f0, top/d1/f1, ...
    Paths nestedTree(const QString& top, int levels)
    {
        Paths files;
        QString folder = top;
        for (int level = 0; level <= levels; ++level) {
            if (level > 0) folder += "/d" + QString::number(level);
            files.push_back(tree.file(folder.mid(tree.path().size() + 1) + "/f" + QString::number(level)).toStdString());
        }
        std::sort(files.begin(), files.end());
        return files;
    }

    FolderTree tree;
    TEncryptDialog* dialog = nullptr;
};

std::string str(const QString& text) { return text.toStdString(); }

}  // namespace

TEST_F(Selection, YesTakesEightLevelsBelowTheDroppedFolder)
{
    const QString top = tree.at("top");
    const Paths files = nestedTree(top, 8);
    const QString workingDirectory = QDir::currentPath();
    user.messageAnswers = {ResultYes};
    drop({top});

    EXPECT_EQ(selectedSorted(), files);
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(user.messages[0].text, "Encrypt All Subdirectories ?");
    EXPECT_EQ(user.messages[0].caption, "  " + top);
    EXPECT_EQ(user.messages[0].icon, MessageIcon::None);
    EXPECT_EQ(user.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(sourceField(), top);
    EXPECT_FALSE(dialog->singlePathMode());
    EXPECT_EQ(QDir::currentPath(), workingDirectory);
}

TEST_F(Selection, NineLevelsCancelTheSelectionEveryTime)
{
    const QString top = tree.at("top");
    const Paths files = nestedTree(top, 9);
    user.messageAnswers = {ResultYes, framework::ResultOk, ResultYes};
    drop({top});
    ASSERT_EQ(user.messages.size(), 2u);
    EXPECT_EQ(user.messages[1].text, "Your encryption selection has been cancelled for safety reasons");
    EXPECT_EQ(user.messages[1].caption, "  Too Many Subdirectories");
    EXPECT_EQ(user.messages[1].icon, MessageIcon::Stop);
    // The field keeps the folder, so the next run start walks it afresh.
    EXPECT_TRUE(dialog->singlePathMode());
    EXPECT_EQ(sourceField(), top);
    // What the walk had taken before it went too deep stays listed.
    EXPECT_LT(state.selectedFiles.count(), 10);
    for (const std::string& entry : selected()) EXPECT_EQ(std::count(files.begin(), files.end(), entry), 1);

    // Each expansion asks its own question again.
    drop({top});
    ASSERT_EQ(user.messages.size(), 4u);
    EXPECT_EQ(user.messages[2].text, "Encrypt All Subdirectories ?");
    EXPECT_EQ(user.messages[3].caption, "  Too Many Subdirectories");
}

TEST_F(Selection, NoTakesOnlyTheTopFilesAndChecksNoSubfolder)
{
    const QString top = tree.at("top");
    const QString own = tree.file("top/own.txt");
    tree.file("top/sub/inner.txt");
    tree.file("top/prog/program.txt");
    tree.file("top/SYS/system.txt");
    state.programFolder = tree.at("top/prog");
    state.windowsFolder = tree.at("top/SYS");
    user.messageAnswers = {ResultNo};
    drop({top});
    EXPECT_EQ(selected(), Paths{str(own)});
    EXPECT_EQ(user.messages.size(), 1u);  // the question alone
    EXPECT_FALSE(dialog->singlePathMode());

    // With Yes the guarded subfolders are refused on the way and skipped.
    user.messages.clear();
    user.messageAnswers = {ResultYes};
    drop({top});
    EXPECT_EQ(selectedSorted(), (Paths{str(tree.at("top/own.txt")), str(tree.at("top/sub/inner.txt"))}));
    std::vector<std::pair<QString, MessageIcon>> refusals;
    for (const auto& message : user.messages) {
        if (message.text != "Encrypt All Subdirectories ?") refusals.emplace_back(message.caption, message.icon);
    }
    std::sort(refusals.begin(), refusals.end());
    const std::vector<std::pair<QString, MessageIcon>> expected{
        {"            " + tree.at("top/prog"), MessageIcon::Exclamation},
        {"  " + tree.at("top/SYS"), MessageIcon::Exclamation}};
    EXPECT_EQ(refusals, expected);
}

TEST_F(Selection, DroppedFoldersAreRefusedWithTheirTexts)
{
    const QString program = state.programFolder;
    const QString data = tree.folder("data");
    struct Case {
        QString folder;
        QString text;
    };
    const std::vector<Case> cases{
        {program, "Tarvex is stored in this folder.\n\nPermission to encrypt it is denied."},
        {"/usr", "This is the Windows folder.\n\nPermission to encrypt it is denied."},
        {"/usr/share", "This is the Windows folder.\n\nPermission to encrypt it is denied."},
        {"/", "This is the root on the system disk.\n\nPermission to encrypt it is denied"},
    };
    for (const Case& refused : cases) {
        user.messages.clear();
        drop({refused.folder});
        ASSERT_EQ(user.messages.size(), 1u) << str(refused.folder);
        EXPECT_EQ(user.messages[0].text, refused.text);
        EXPECT_EQ(user.messages[0].caption, " " + refused.folder);
        EXPECT_EQ(user.messages[0].icon, MessageIcon::Stop);
        EXPECT_EQ(state.selectedFiles.count(), 0);
        EXPECT_EQ(sourceField(), refused.folder);
        EXPECT_TRUE(dialog->singlePathMode());
    }
    // Without a known system folder, every folder is refused.
    state.windowsFolder.clear();
    user.messages.clear();
    tree.file("data/a.txt");
    drop({data});
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(user.messages[0].text, "This is the Windows folder.\n\nPermission to encrypt it is denied.");
    EXPECT_EQ(state.selectedFiles.count(), 0);
}

TEST_F(Selection, UnsealwinAsksAndRefusesInItsOwnWords)
{
    dialog = restart(services::BuildVariant::Decrypt);
    tree.file("top/sub/a.txt");
    drop({tree.at("top")});
    drop({"/"});
    ASSERT_EQ(user.messages.size(), 2u);
    EXPECT_EQ(user.messages[0].text, "Decrypt All Subdirectories ?");
    EXPECT_EQ(user.messages[1].text, "This is the root on the system disk.\n\nPermission to decrypt it is denied");
}

TEST_F(Selection, DotFilesAreTakenButDotFoldersLinksPipesAndSocketsAreNot)
{
    FolderTree outside;
    const QString top = tree.at("top");
    const QString hidden = tree.file("top/.hidden");
    const QString plain = tree.file("top/plain.txt");
    tree.file("top/.git/config");
    tree.pipe("top/pipe");
    tree.socket("top/socket");
    tree.link("top/to-file", outside.file("secret.txt"));
    tree.link("top/to-folder", outside.folder("elsewhere"));
    outside.file("elsewhere/secret.txt");
    drop({top});
    EXPECT_EQ(selectedSorted(), (Paths{str(hidden), str(plain)}));
    EXPECT_TRUE(user.messages.empty());  // no subfolder worth asking about

    // A folder with nothing usable gives an empty selection, in list mode.
    const QString empty = tree.folder("nothing");
    tree.pipe("nothing/pipe");
    tree.link("nothing/link", plain);
    drop({empty});
    EXPECT_EQ(state.selectedFiles.count(), 0);
    EXPECT_FALSE(dialog->singlePathMode());
    EXPECT_TRUE(user.messages.empty());
}

TEST_F(Selection, UnreadableFileIsNeverTakenAndStillRaisesTheQuestion)
{
    const QString top = tree.folder("top");
    const QString readable = tree.file("top/readable.txt");
    const QString secret = tree.file("top/secret.txt");
    {
        UnreadableFile unreadable(secret, tree.path());
        if (!unreadable.holds()) GTEST_SKIP() << "this process reads files whatever their mode";
        user.messageAnswers = {ResultYes};
        drop({top});
    }
    EXPECT_EQ(selected(), Paths{str(readable)});
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(user.messages[0].text, "Encrypt All Subdirectories ?");
}

TEST_F(Selection, EntriesAreTheFolderAndTheNameInListingOrderWithCaseKept)
{
    const QString folder = tree.folder("Data/Sub");
    for (const char* name : {"b.txt", "A.txt", "c d.txt", "Z"}) tree.file(QString("Data/Sub/") + name);
    Paths expected;
    for (const QString& name : QDir(folder).entryList(QDir::Files, QDir::Unsorted))
        expected.push_back(str(folder + "/" + name));
    drop({folder + "/"});  // a final separator is not doubled
    EXPECT_EQ(selected(), expected);
}

TEST_F(Selection, SeveralDroppedItemsAreCountedButOnlyFilesTaken)
{
    const QString file = tree.file("one.txt");
    tree.file("first/a.txt");
    tree.file("second/b.txt");
    state.targetFiles.add("/old/target");
    drop({tree.at("first"), file, tree.at("second")});
    EXPECT_EQ(sourceField(), " 3 Files Selected for Encryption");
    EXPECT_EQ(selected(), Paths{str(file)});
    EXPECT_EQ(state.targetFiles.count(), 0);
    EXPECT_FALSE(dialog->singlePathMode());
    EXPECT_TRUE(user.messages.empty());
}

TEST_F(Selection, AFileDroppedOnTheFrameIsTheSingleSelection)
{
    const QString file = tree.file("one.txt");
    drop({file}, app->mainWindow());
    EXPECT_EQ(sourceField(), file);
    EXPECT_EQ(selected(), Paths{str(file)});
    EXPECT_TRUE(dialog->singlePathMode());

    // A dropped pipe is shown but selects nothing.
    drop({tree.pipe("pipe")}, app->mainWindow());
    EXPECT_EQ(state.selectedFiles.count(), 0);
    EXPECT_TRUE(dialog->singlePathMode());
}

TEST_F(Selection, SourceFieldSwitchesBetweenOnePathAndTheList)
{
    const QString file = tree.file("one.txt");
    const QString folder = tree.folder("folder");
    dialog->setText(TEncryptDialog::SourceField, file);
    EXPECT_TRUE(dialog->singlePathMode());
    EXPECT_EQ(selected(), Paths{str(file)});

    dialog->setText(TEncryptDialog::SourceField, " 7 Files Selected for Encryption");
    EXPECT_FALSE(dialog->singlePathMode());
    EXPECT_EQ(selected(), Paths{str(file)});  // the list stays the selection

    dialog->setText(TEncryptDialog::SourceField, folder);
    EXPECT_TRUE(dialog->singlePathMode());
    EXPECT_EQ(state.selectedFiles.count(), 0);  // expanded only when a run starts

    dialog->setText(TEncryptDialog::SourceField, tree.at("absent"));
    EXPECT_FALSE(dialog->singlePathMode());
    // Focus on the field with nothing selected returns to single-path mode.
    app->mainWindow()->activateWindow();
    dialog->focusControl(TEncryptDialog::KeyField);
    dialog->focusControl(TEncryptDialog::SourceField);
    QTRY_VERIFY(dialog->singlePathMode());
    EXPECT_EQ(dialog->lastFocusedEdit(), TEncryptDialog::FocusedEdit::Source);
}

TEST_F(Selection, PathsLongerThanTheFieldAreKeptWholeAndSummarised)
{
    QString deep = tree.path();
    while (deep.size() <= TEncryptDialog::fieldLimit) deep += "/" + QString(60, 'n');
    const QString file = tree.file(deep.mid(tree.path().size() + 1) + "/long.txt");
    drop({file});
    EXPECT_EQ(sourceField(), " 1 File Selected for Encryption");
    EXPECT_EQ(selected(), Paths{str(file)});
    EXPECT_FALSE(dialog->singlePathMode());

    tree.file(deep.mid(tree.path().size() + 1) + "/second.txt");
    drop({deep});
    EXPECT_EQ(sourceField(), " 2 Files Selected for Encryption");
    EXPECT_EQ(state.selectedFiles.count(), 2);
    EXPECT_FALSE(dialog->singlePathMode());

    // Refused, it leaves nothing a run could take for it.
    state.windowsFolder.clear();
    drop({deep});
    EXPECT_EQ(sourceField(), " No Files Selected for Encryption");
    EXPECT_EQ(state.selectedFiles.count(), 0);
    EXPECT_FALSE(dialog->singlePathMode());
}

namespace {

class StartUpSelection : public MainWindow {
protected:
    FolderTree tree;
};

}  // namespace

TEST_F(StartUpSelection, ASingleFolderIsExpandedAndSeveralPathsStayAsGiven)
{
    const QString a = tree.file("top/a.txt");
    tree.file("top/sub/b.txt");
    state.selectedFiles.add(tree.at("top").toStdString());
    user.messageAnswers = {ResultNo};
    TEncryptDialog* dialog = start();
    EXPECT_EQ(dialog->text(TEncryptDialog::SourceField), tree.at("top"));
    EXPECT_EQ(state.selectedFiles.count(), 1);
    EXPECT_EQ(state.selectedFiles.getAt(0), a.toStdString());
    EXPECT_FALSE(dialog->singlePathMode());

    state.selectedFiles.clear();
    state.selectedFiles.add(tree.at("top").toStdString());
    state.selectedFiles.add(a.toStdString());
    user.messages.clear();
    dialog = restart();
    EXPECT_EQ(dialog->text(TEncryptDialog::SourceField), " 2 Files Selected for Encryption");
    EXPECT_EQ(state.selectedFiles.getAt(0), tree.at("top").toStdString());  // not expanded
    EXPECT_TRUE(user.messages.empty());

    state.selectedFiles.clear();
    state.selectedFiles.add("/");
    dialog = restart();
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(user.messages[0].caption, " /");
    EXPECT_TRUE(dialog->singlePathMode());
    EXPECT_EQ(dialog->text(TEncryptDialog::SourceField), "/");
}

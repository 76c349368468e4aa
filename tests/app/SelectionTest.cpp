// Building a selection through the real main window: drops on the dialog and
// on its frame, folder expansion with its question, depth limit and
// refusals, the source field's two modes and the start-up selection.
#include "MainWindowFixture.h"
#include "support/FolderTree.h"
#include "support/UnreadableFile.h"

#include "core/Paths.h"

#include "framework/FrameWindow.h"
#include "framework/PathText.h"
#include "framework/Platform.h"

#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTest>
#include <QUrl>

#include <algorithm>
#include <filesystem>

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
    // Drops the paths as a file manager sends them: each name's bytes
    // percent-encoded in a file URL.
    void drop(const Paths& paths, QWidget* target = nullptr)
    {
        QList<QUrl> urls;
        for (const std::string& path : paths)
            urls << QUrl::fromEncoded("file://" + QByteArray::fromStdString(path).toPercentEncoding("/"));
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
    Paths nestedTree(const std::string& top, int levels)
    {
        Paths files;
        std::string folder = top;
        for (int level = 0; level <= levels; ++level) {
            if (level > 0) folder += "/d" + std::to_string(level);
            files.push_back(tree.file(folder.substr(tree.path().size() + 1) + "/f" + std::to_string(level)));
        }
        std::sort(files.begin(), files.end());
        return files;
    }

    FolderTree tree;
    TEncryptDialog* dialog = nullptr;
};

// How a path appears in a field or a caption.
QString shown(const std::string& path) { return framework::displayPath(path); }

}  // namespace

TEST_F(Selection, YesTakesEightLevelsBelowTheDroppedFolder)
{
    const std::string top = tree.at("top");
    const Paths files = nestedTree(top, 8);
    const QString workingDirectory = QDir::currentPath();
    user.messageAnswers = {ResultYes};
    drop({top});

    EXPECT_EQ(selectedSorted(), files);
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(user.messages[0].text, "Encrypt All Subdirectories ?");
    EXPECT_EQ(user.messages[0].caption, "  " + shown(top));
    EXPECT_EQ(user.messages[0].icon, MessageIcon::None);
    EXPECT_EQ(user.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(sourceField(), shown(top));
    EXPECT_FALSE(dialog->singlePathMode());
    EXPECT_EQ(QDir::currentPath(), workingDirectory);
}

TEST_F(Selection, NineLevelsCancelTheSelectionEveryTime)
{
    const std::string top = tree.at("top");
    const Paths files = nestedTree(top, 9);
    user.messageAnswers = {ResultYes, framework::ResultOk, ResultYes};
    drop({top});
    ASSERT_EQ(user.messages.size(), 2u);
    EXPECT_EQ(user.messages[1].text, "Your encryption selection has been cancelled for safety reasons");
    EXPECT_EQ(user.messages[1].caption, "  Too Many Subdirectories");
    EXPECT_EQ(user.messages[1].icon, MessageIcon::Stop);
    // The field keeps the folder, so the next run start walks it afresh.
    EXPECT_TRUE(dialog->singlePathMode());
    EXPECT_EQ(sourceField(), shown(top));
    // What the walk had taken before it went too deep stays listed.
    EXPECT_LT(state.selectedFiles.count(), 10);
    for (const std::string& entry : selected()) EXPECT_EQ(std::count(files.begin(), files.end(), entry), 1);

    // Each expansion asks its own question again.
    user.messageAnswers = {ResultYes, framework::ResultOk};
    drop({top});
    ASSERT_EQ(user.messages.size(), 4u);
    EXPECT_EQ(user.messages[2].text, "Encrypt All Subdirectories ?");
    EXPECT_EQ(user.messages[3].caption, "  Too Many Subdirectories");
}

TEST_F(Selection, NoTakesOnlyTheTopFilesAndChecksNoSubfolder)
{
    const std::string top = tree.at("top");
    const std::string own = tree.file("top/own.txt");
    tree.file("top/sub/inner.txt");
    tree.file("top/prog/program.txt");
    tree.file("top/SYS/system.txt");
    state.programFolder = tree.at("top/prog");
    state.systemFolders = {tree.at("top/SYS")};
    user.messageAnswers = {ResultNo};
    drop({top});
    EXPECT_EQ(selected(), Paths{own});
    EXPECT_EQ(user.messages.size(), 1u);  // the question alone
    EXPECT_FALSE(dialog->singlePathMode());

    // With Yes the guarded subfolders are refused on the way and skipped.
    user.messages.clear();
    user.messageAnswers = {ResultYes, framework::ResultOk, framework::ResultOk};
    drop({top});
    EXPECT_EQ(selectedSorted(), (Paths{tree.at("top/own.txt"), tree.at("top/sub/inner.txt")}));
    std::vector<std::pair<QString, MessageIcon>> refusals;
    for (const auto& message : user.messages) {
        if (message.text != "Encrypt All Subdirectories ?") refusals.emplace_back(message.caption, message.icon);
    }
    std::sort(refusals.begin(), refusals.end());
    const std::vector<std::pair<QString, MessageIcon>> expected{
        {"            " + shown(tree.at("top/prog")), MessageIcon::Exclamation},
        {"  " + shown(tree.at("top/SYS")), MessageIcon::Exclamation}};
    EXPECT_EQ(refusals, expected);
}

TEST_F(Selection, DroppedFoldersAreRefusedWithTheirTexts)
{
    const std::string program = state.programFolder;
    const std::string data = tree.folder("data");
    const std::string systemRefusal = "This is the Windows folder.\n\nPermission to encrypt it is denied.";
    struct Case {
        std::string folder;
        std::string text;
    };
    const std::vector<Case> cases{
        {program, "Tarvex is stored in this folder.\n\nPermission to encrypt it is denied."},
        {"/usr", systemRefusal},
        {"/usr/share", systemRefusal},
        {"/etc", systemRefusal},
        {"/boot/grub", systemRefusal},
        {"/var/lib", systemRefusal},
        {"/", "This is the root on the system disk.\n\nPermission to encrypt it is denied"},
    };
    for (const Case& refused : cases) {
        if (!isFolderPath(refused.folder)) continue;  // not every machine has a /boot/grub
        user.messages.clear();
        user.messageAnswers = {framework::ResultOk};
        // Whatever had focus before keeps it: the handling stops at the refusal.
        dialog->focusControl(TEncryptDialog::TargetField);
        drop({refused.folder});
        ASSERT_EQ(user.messages.size(), 1u) << refused.folder;
        EXPECT_EQ(user.messages[0].text, QString::fromStdString(refused.text));
        EXPECT_EQ(user.messages[0].caption, " " + shown(refused.folder));
        EXPECT_EQ(user.messages[0].icon, MessageIcon::Stop);
        EXPECT_EQ(state.selectedFiles.count(), 0);
        EXPECT_EQ(sourceField(), shown(refused.folder));
        EXPECT_TRUE(dialog->singlePathMode());
        EXPECT_EQ(dialog->focusWidget(), dialog->control(TEncryptDialog::TargetField));
    }
    // Without a known system folder, every folder is refused.
    state.systemFolders.clear();
    user.messages.clear();
    user.messageAnswers = {framework::ResultOk};
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
    user.messageAnswers = {ResultNo, framework::ResultOk};
    drop({tree.at("top")});
    drop({"/"});
    ASSERT_EQ(user.messages.size(), 2u);
    EXPECT_EQ(user.messages[0].text, "Decrypt All Subdirectories ?");
    EXPECT_EQ(user.messages[1].text, "This is the root on the system disk.\n\nPermission to decrypt it is denied");
}

TEST_F(Selection, DotFilesAreTakenButDotFoldersLinksPipesAndSocketsAreNot)
{
    FolderTree outside;
    const std::string top = tree.at("top");
    const std::string hidden = tree.file("top/.hidden");
    const std::string plain = tree.file("top/plain.txt");
    tree.file("top/.git/config");
    tree.pipe("top/pipe");
    tree.socket("top/socket");
    tree.link("top/to-file", outside.file("secret.txt"));
    tree.link("top/to-folder", outside.folder("elsewhere"));
    outside.file("elsewhere/secret.txt");
    drop({top});
    EXPECT_EQ(selectedSorted(), (Paths{hidden, plain}));
    EXPECT_TRUE(user.messages.empty());  // no subfolder worth asking about

    // A folder with nothing usable gives an empty selection, in list mode.
    const std::string empty = tree.folder("nothing");
    tree.pipe("nothing/pipe");
    tree.link("nothing/link", plain);
    drop({empty});
    EXPECT_EQ(state.selectedFiles.count(), 0);
    EXPECT_FALSE(dialog->singlePathMode());
    EXPECT_TRUE(user.messages.empty());
}

TEST_F(Selection, UnreadableFileIsNeverTakenAndStillRaisesTheQuestion)
{
    const std::string top = tree.folder("top");
    const std::string readable = tree.file("top/readable.txt");
    const std::string secret = tree.file("top/secret.txt");
    {
        UnreadableFile unreadable(secret, tree.path());
        if (!unreadable.holds()) GTEST_SKIP() << "this process reads files whatever their mode";
        user.messageAnswers = {ResultYes};
        drop({top});
    }
    EXPECT_EQ(selected(), Paths{readable});
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(user.messages[0].text, "Encrypt All Subdirectories ?");
}

TEST_F(Selection, NamesThatAreNoValidTextAreWalkedShownAndSelectedByTheirBytes)
{
    const std::string top = tree.folder("top");
    const std::string plain = tree.file("top/ok.txt");
    const std::string latin1 = tree.file("top/caf\xE9.txt");
    const std::string inner = tree.file("top/r\xE9sum\xE9/inner.txt");
    user.messageAnswers = {ResultYes};
    drop({top});
    EXPECT_EQ(selectedSorted(), (Paths{latin1, plain, inner}));
    ASSERT_EQ(user.messages.size(), 1u);  // a real subfolder asks, an undecodable file does not

    // Dropped alone, such a file is shown visibly and stays the selection
    // when the field is read back.
    drop({latin1});
    EXPECT_EQ(sourceField(), QString::fromStdString(top) + "/caf\\xE9.txt");
    EXPECT_EQ(selected(), Paths{latin1});
    EXPECT_TRUE(dialog->singlePathMode());

    // A folder of that kind is refused or asked about under its shown name.
    user.messages.clear();
    user.messageAnswers = {ResultNo};
    drop({tree.at("top/r\xE9sum\xE9")});
    ASSERT_EQ(user.messages.size(), 0u);  // no subfolder below it
    EXPECT_EQ(selected(), Paths{inner});
    user.messageAnswers.clear();
}

TEST_F(Selection, EntriesAreTheFolderAndTheNameInListingOrderWithCaseKept)
{
    const std::string folder = tree.folder("Data/Sub");
    for (const char* name : {"b.txt", "A.txt", "c d.txt", "Z"}) tree.file(std::string("Data/Sub/") + name);
    Paths expected;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) expected.push_back(entry.path().string());
    drop({folder + "/"});  // a final separator is not doubled
    EXPECT_EQ(selected(), expected);
}

TEST_F(Selection, SeveralDroppedItemsAreCountedButOnlyFilesTaken)
{
    const std::string file = tree.file("one.txt");
    tree.file("first/a.txt");
    tree.file("second/b.txt");
    state.targetFiles.add("/old/target");
    drop({tree.at("first"), file, tree.at("second")});
    EXPECT_EQ(sourceField(), " 3 Files Selected for Encryption");
    EXPECT_EQ(selected(), Paths{file});
    EXPECT_EQ(state.targetFiles.count(), 0);
    EXPECT_FALSE(dialog->singlePathMode());
    EXPECT_TRUE(user.messages.empty());
}

TEST_F(Selection, AFileDroppedOnTheFrameIsTheSingleSelection)
{
    const std::string file = tree.file("one.txt");
    drop({file}, app->mainWindow());
    EXPECT_EQ(sourceField(), shown(file));
    EXPECT_EQ(dialog->focusWidget(), dialog->control(TEncryptDialog::KeyField));
    EXPECT_EQ(selected(), Paths{file});
    EXPECT_TRUE(dialog->singlePathMode());

    // A dropped pipe is shown but selects nothing.
    drop({tree.pipe("pipe")}, app->mainWindow());
    EXPECT_EQ(state.selectedFiles.count(), 0);
    EXPECT_TRUE(dialog->singlePathMode());
}

TEST_F(Selection, SourceFieldSwitchesBetweenOnePathAndTheList)
{
    const std::string file = tree.file("one.txt");
    const std::string folder = tree.folder("folder");
    dialog->setText(TEncryptDialog::SourceField, shown(file));
    EXPECT_TRUE(dialog->singlePathMode());
    EXPECT_EQ(selected(), Paths{file});

    dialog->setText(TEncryptDialog::SourceField, " 7 Files Selected for Encryption");
    EXPECT_FALSE(dialog->singlePathMode());
    EXPECT_EQ(selected(), Paths{file});  // the list stays the selection

    dialog->setText(TEncryptDialog::SourceField, shown(folder));
    EXPECT_TRUE(dialog->singlePathMode());
    EXPECT_EQ(state.selectedFiles.count(), 0);  // expanded only when a run starts

    dialog->setText(TEncryptDialog::SourceField, shown(tree.at("absent")));
    EXPECT_FALSE(dialog->singlePathMode());
    // Focus on the field with nothing selected returns to single-path mode.
    app->mainWindow()->activateWindow();
    dialog->focusControl(TEncryptDialog::KeyField);
    dialog->focusControl(TEncryptDialog::SourceField);
    EXPECT_TRUE(QTest::qWaitFor([&] { return dialog->singlePathMode(); }));
    EXPECT_EQ(dialog->lastFocusedEdit(), TEncryptDialog::FocusedEdit::Source);
}

TEST_F(Selection, PathsLongerThanTheFieldAreKeptWholeAndSummarised)
{
    std::string deep = tree.path();
    while (deep.size() <= TEncryptDialog::fieldLimit) deep += "/" + std::string(60, 'n');
    const std::string file = tree.file(deep.substr(tree.path().size() + 1) + "/long.txt");
    drop({file});
    EXPECT_EQ(sourceField(), " 1 File Selected for Encryption");
    EXPECT_EQ(selected(), Paths{file});
    EXPECT_FALSE(dialog->singlePathMode());

    tree.file(deep.substr(tree.path().size() + 1) + "/second.txt");
    drop({deep});
    EXPECT_EQ(sourceField(), " 2 Files Selected for Encryption");
    EXPECT_EQ(state.selectedFiles.count(), 2);
    EXPECT_FALSE(dialog->singlePathMode());

    // Refused, it leaves nothing a run could take for it.
    state.systemFolders.clear();
    user.messageAnswers = {framework::ResultOk};
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
    const std::string a = tree.file("top/a.txt");
    tree.file("top/sub/b.txt");
    state.selectedFiles.add(tree.at("top"));
    user.messageAnswers = {ResultNo};
    TEncryptDialog* dialog = start();
    EXPECT_EQ(dialog->text(TEncryptDialog::SourceField), shown(tree.at("top")));
    EXPECT_EQ(state.selectedFiles.count(), 1);
    EXPECT_EQ(state.selectedFiles.getAt(0), a);
    EXPECT_FALSE(dialog->singlePathMode());

    state.selectedFiles.clear();
    state.selectedFiles.add(tree.at("top"));
    state.selectedFiles.add(a);
    user.messages.clear();
    dialog = restart();
    EXPECT_EQ(dialog->text(TEncryptDialog::SourceField), " 2 Files Selected for Encryption");
    EXPECT_EQ(state.selectedFiles.getAt(0), tree.at("top"));  // not expanded
    EXPECT_TRUE(user.messages.empty());

    state.selectedFiles.clear();
    state.selectedFiles.add("/");
    user.messageAnswers = {framework::ResultOk};
    dialog = restart();
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(user.messages[0].caption, " /");
    EXPECT_TRUE(dialog->singlePathMode());
    EXPECT_EQ(dialog->text(TEncryptDialog::SourceField), "/");
}

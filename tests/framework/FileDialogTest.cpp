// File dialogs: what a scripted user picks comes back as a folder and names,
// the real dialog gets the filters and selection mode it was asked for, and a
// picked name that is not valid text comes back as its own bytes.
#include "support/FolderTree.h"
#include "support/ScriptedUserQueue.h"

#include "framework/Modal.h"
#include "framework/PathText.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace framework;

namespace {

using Names = std::vector<std::string>;

TEST(ScriptedFileDialog, PicksComeBackAsTheirFolderAndNames)
{
    ScriptedUserQueue user;
    const ScopedScriptedUser installed(user);
    user.fileAnswers = {{"/data/a b.txt", "/data/caf\xE9.doc"}, {"/root.txt"}, {}};

    const PickedFiles several = chooseFilesToOpen(nullptr, {"Select", "All Files(*.*)|*.*|", true, false});
    EXPECT_EQ(several.folder, "/data");
    EXPECT_EQ(several.names, (Names{"a b.txt", "caf\xE9.doc"}));

    const PickedFiles inRoot = chooseFilesToOpen(nullptr, {"Select"});
    EXPECT_EQ(inRoot.folder, "/");
    EXPECT_EQ(inRoot.names, Names{"root.txt"});

    const PickedFiles cancelled = chooseFilesToOpen(nullptr, {"Select"});
    EXPECT_TRUE(cancelled.names.empty());

    ASSERT_EQ(user.fileDialogs.size(), 3u);
    EXPECT_TRUE(user.fileDialogs[0].multipleSelection);
    EXPECT_FALSE(user.fileDialogs[0].fileMustExist);
    EXPECT_FALSE(user.fileDialogs[1].multipleSelection);
    EXPECT_TRUE(user.fileDialogs[1].fileMustExist);
}

// Runs the real dialog; `use` acts on it as a person would, once it is open.
PickedFiles openWithRealDialog(const FileDialogRequest& request, const std::function<void(QFileDialog&)>& use)
{
    bool used = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        EXPECT_NE(dialog, nullptr);
        if (!dialog) return;
        used = true;
        use(*dialog);
    });
    PickedFiles picked = chooseFilesToOpen(nullptr, request);
    EXPECT_TRUE(used);
    return picked;
}

TEST(RealFileDialog, OffersTheFiltersAndModeAskedFor)
{
    FolderTree tree;
    tree.file("a.txt");
    tree.file("b.doc");
    QStringList filters;
    QFileDialog::FileMode mode = QFileDialog::AnyFile;
    QString title;
    QString shownFolder;
    const PickedFiles picked =
        openWithRealDialog({"Select file(s) to Encrypt",
                            "All Files(*.*)|*.*|Text Files(*.txt)|*.txt|Several|*.txt;*.doc|", true, true, tree.path()},
                           [&](QFileDialog& dialog) {
                               filters = dialog.nameFilters();
                               mode = dialog.fileMode();
                               title = dialog.windowTitle();
                               shownFolder = dialog.directory().absolutePath();
                               dialog.selectFile(QStringLiteral("\"a.txt\" \"b.doc\""));
                               static_cast<QDialog&>(dialog).accept();
                           });
    // "*.*" must also show names without a dot, as it does where it comes from.
    EXPECT_EQ(filters, QStringList({"All Files(*.*) (*)", "Text Files(*.txt) (*.txt)", "Several (*.txt *.doc)"}));
    EXPECT_EQ(mode, QFileDialog::ExistingFiles);
    EXPECT_EQ(title, "Select file(s) to Encrypt");
    EXPECT_EQ(shownFolder.toStdString(), tree.path());
    EXPECT_EQ(picked.folder, tree.path());
    EXPECT_EQ(picked.names, (Names{"a.txt", "b.doc"}));
}

TEST(RealFileDialog, ANewNameMayBeTypedWhereFilesNeedNotExistAndCancelPicksNothing)
{
    FolderTree tree;
    // As a target is picked: several names allowed, none need exist.
    for (const bool several : {false, true}) {
        QFileDialog::FileMode mode = QFileDialog::ExistingFiles;
        const PickedFiles typed =
            openWithRealDialog({"Open", "", several, false, tree.path()}, [&](QFileDialog& dialog) {
                mode = dialog.fileMode();
                // A dialog for existing files would refuse the name with a box of its own.
                if (mode != QFileDialog::AnyFile) return dialog.reject();
                auto* nameField = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                ASSERT_NE(nameField, nullptr);
                QTest::keyClicks(nameField, QStringLiteral("new.tvx"));
                QTest::keyClick(nameField, Qt::Key_Return);
            });
        EXPECT_EQ(mode, QFileDialog::AnyFile);
        EXPECT_EQ(typed.folder, tree.path());
        EXPECT_EQ(typed.names, Names{"new.tvx"});
    }

    const PickedFiles cancelled =
        openWithRealDialog({"Open", "", false, true, tree.path()}, [](QFileDialog& dialog) { dialog.reject(); });
    EXPECT_TRUE(cancelled.names.empty());
}

TEST(PickedText, NamesThatAreNoValidTextAreFoundAgainByTheirBytes)
{
    FolderTree tree;
    const std::string file = tree.file("r\xE9sum\xE9/caf\xE9.txt");
    const std::string plain = tree.file("plain/\xC3\xA9t\xC3\xA9.txt");
    // What a dialog hands back: the bytes read as text, each stray byte a
    // replacement mark that no longer names the file.
    const QString shown = QFile::decodeName(QByteArray::fromStdString(file));
    ASSERT_NE(QFile::encodeName(shown).toStdString(), file);
    EXPECT_EQ(pathFromPickedText(shown), file);
    EXPECT_EQ(pathFromPickedText(QString::fromStdString(plain)), plain);
    EXPECT_EQ(pathFromPickedText(QString::fromStdString(tree.at("new name.txt"))), tree.at("new name.txt"));
}

TEST(PickedText, NamesThatShowAlikeAreNeverTakenForOneAnother)
{
    FolderTree tree;
    const std::string first = tree.file("caf\xE9.txt");
    tree.file("caf\xE8.txt");
    const QString shown = QFile::decodeName(QByteArray::fromStdString(first));
    const std::string path = pathFromPickedText(shown);
    // Neither file: the run that opens it reports the name instead.
    EXPECT_EQ(path, QFile::encodeName(shown).toStdString());
    EXPECT_NE(path, first);
}

}  // namespace

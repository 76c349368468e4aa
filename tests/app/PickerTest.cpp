// The Browse button and the selection list through the real main window
// (offscreen), with the scripted user answering the open-file dialog.
#include "EngineHeldElsewhere.h"
#include "MainWindowFixture.h"
#include "support/FolderTree.h"

#include "app/FilesDialog.h"
#include "app/PassWordDialog.h"
#include "core/TargetFiles.h"

#include "framework/FrameWindow.h"
#include "framework/PathText.h"
#include "framework/Platform.h"

#include "TestFiles.h"
#include "tarvex.h"

#include <QTest>

using services::BuildVariant;

namespace {

using Paths = std::vector<std::string>;

const QString pickerFilter = "All Files(*.*)|*.*|Text Files(*.txt)|*.txt|Word Document Files(*.doc)|*.doc|"
                             "Zip Files(*.zip)|*.zip|Word Excel Worksheet(*.xls)|*.xls|";

class Picker : public MainWindow {
protected:
    void SetUp() override
    {
        MainWindow::SetUp();
        dialog = start(variant());
        ASSERT_NE(dialog, nullptr);
    }
    virtual BuildVariant variant() const { return BuildVariant::Encrypt; }
    // Presses Browse; the user picks `paths` (none: Cancel).
    void browse(const Paths& paths)
    {
        user.fileAnswers.push_back(paths);
        dialog->press(TEncryptDialog::BrowseButton);
    }
    Paths list(const services::StringList& entries) const
    {
        Paths all;
        for (int i = 0; i < entries.count(); ++i) all.push_back(entries.getAt(i));
        return all;
    }
    QString field(int id) const { return dialog->text(id); }
    // The user clicks into the target field: Browse then picks the target.
    void focusTarget()
    {
        app->mainWindow()->activateWindow();
        dialog->focusControl(TEncryptDialog::TargetField);
        ASSERT_TRUE(QTest::qWaitFor([&] { return dialog->lastFocusedEdit() == TEncryptDialog::FocusedEdit::Target; }));
    }
    // Opens the selection list with "..."; returns its caption and entries.
    std::pair<QString, QStringList> showList()
    {
        std::pair<QString, QStringList> shown;
        user.dialogSteps.push_back([&shown](framework::Dialog& list) {
            shown = {list.windowTitle(), list.listItems(TFilesDialog::FilesList)};
            list.press(TFilesDialog::OkButton);
            EXPECT_TRUE(list.hasEnded());
        });
        dialog->press(TEncryptDialog::FilesListButton);
        EXPECT_TRUE(user.dialogSteps.empty()) << "the selection list never showed";
        return shown;
    }

    WorkingDirectoryGuard workingDirectory;
    FolderTree tree;
    TEncryptDialog* dialog = nullptr;
};

TEST_F(Picker, OneFilePickedIsTheSourceFieldAndTheNextPickStartsInItsFolder)
{
    const std::string file = tree.file("letters/a.txt");
    browse({file});
    ASSERT_EQ(user.fileDialogs.size(), 1u);
    const framework::FileDialogRequest& request = user.fileDialogs[0];
    EXPECT_EQ(request.title, "Select file(s) to Encrypt");
    EXPECT_EQ(request.filter, pickerFilter);
    EXPECT_TRUE(request.multipleSelection);
    EXPECT_TRUE(request.fileMustExist);
    EXPECT_TRUE(request.folder.empty());  // the current directory
    EXPECT_EQ(field(TEncryptDialog::SourceField).toStdString(), file);
    EXPECT_EQ(list(state.selectedFiles), Paths{file});
    EXPECT_TRUE(dialog->singlePathMode());
    EXPECT_EQ(framework::currentDirectory(), tree.at("letters"));
    EXPECT_EQ(field(TEncryptDialog::CurrentFolderLine), QString::fromStdString(tree.at("letters")).left(25) + "...");
}

TEST_F(Picker, SeveralFilesPickedAreTheListInTheirOrderWithTheFocusOnTheKey)
{
    const Paths files{tree.file("c.txt"), tree.file("a.doc"), tree.file("b.zip")};
    browse(files);
    EXPECT_EQ(list(state.selectedFiles), files);
    EXPECT_EQ(field(TEncryptDialog::SourceField), "3 files selected");
    EXPECT_EQ(dialog->focusWidget(), dialog->control(TEncryptDialog::KeyField));
    EXPECT_FALSE(dialog->singlePathMode());
    EXPECT_EQ(framework::currentDirectory(), tree.path());
}

TEST_F(Picker, CancelChangesNoSelectionButTheFolderLineIsShownAfresh)
{
    const std::string file = tree.file("kept.txt");
    browse({file});
    ASSERT_EQ(chdir(tree.folder("elsewhere").c_str()), 0);
    browse({});
    EXPECT_EQ(list(state.selectedFiles), Paths{file});
    EXPECT_EQ(field(TEncryptDialog::SourceField).toStdString(), file);
    EXPECT_EQ(field(TEncryptDialog::CurrentFolderLine), QString::fromStdString(tree.at("elsewhere")).left(25) + "...");
}

TEST_F(Picker, TargetModeWithOneSourceTakesThePickedFileAndTheRunWritesIt)
{
    const testsupport::Bytes plain = testsupport::randomBytes(70000, 5);
    const std::string source = tree.file("plain.txt");
    testsupport::writeFile(source, plain);
    browse({source});
    focusTarget();
    const std::string target = tree.at("out/new name.bin");  // a new name may be typed
    tree.folder("out");
    browse({target});
    ASSERT_EQ(user.fileDialogs.size(), 2u);
    EXPECT_FALSE(user.fileDialogs[1].fileMustExist);
    EXPECT_EQ(field(TEncryptDialog::TargetField).toStdString(), target);
    EXPECT_TRUE(dialog->singlePathMode());

    dialog->setText(TEncryptDialog::KeyField, "a key of some length");
    user.dialogSteps.push_back([](framework::Dialog& confirm) {
        confirm.setText(TPassWordDialog::ConfirmField, "a key of some length");
        confirm.press(framework::ResultOk);
    });
    dialog->press(TEncryptDialog::RunButton);
    ASSERT_NE(dialog->currentWorker(), nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog->currentWorker()->isRunning(); }, 60000));
    EXPECT_EQ(testsupport::readFile(source), plain);
    const std::string expected = tree.at("expected.bin");
    testsupport::writeFile(expected, plain);
    ASSERT_EQ(tarvexTransformFile("a key of some length", expected.c_str(), expected.c_str(), TARVEX_ENCRYPT, 0),
              TARVEX_OK);
    EXPECT_EQ(testsupport::readFile(target), testsupport::readFile(expected));
}

TEST_F(Picker, TargetModeWithFourSourcesTakesTheFolderOfWhateverIsPicked)
{
    const Paths files{tree.file("1"), tree.file("2"), tree.file("3"), tree.file("4")};
    browse(files);
    focusTarget();
    const std::string out = tree.folder("out");
    browse({tree.file("out/any.txt")});
    EXPECT_EQ(field(TEncryptDialog::TargetField).toStdString(), out);
    EXPECT_EQ(list(state.targetFiles), (Paths{std::string(targetDirectoryMarker), out + "/"}));
    EXPECT_EQ(list(state.selectedFiles), files);
    EXPECT_FALSE(dialog->singlePathMode());
}

TEST_F(Picker, ListSelectionOfOneGetsThePickedTargetFileInsteadOfBeingReadFromTheField)
{
    // Two dropped items of which one is a folder: a list of one file.
    const std::string file = tree.file("only.txt");
    tree.folder("folder");
    dialog->filesDropped({file, tree.at("folder")});
    ASSERT_FALSE(dialog->singlePathMode());
    focusTarget();
    const std::string target = tree.at("copy.bin");
    browse({target});
    EXPECT_FALSE(dialog->singlePathMode());
    EXPECT_EQ(list(state.selectedFiles), Paths{file});
    EXPECT_EQ(list(state.targetFiles), Paths{target});
}

TEST_F(Picker, PicksInTheRootGetNoSecondSeparator)
{
    browse({"/first", "/second"});
    EXPECT_EQ(list(state.selectedFiles), (Paths{"/first", "/second"}));
    EXPECT_EQ(framework::currentDirectory(), "/");
    focusTarget();
    browse({"/first"});
    EXPECT_EQ(field(TEncryptDialog::TargetField), "/");
    EXPECT_EQ(list(state.targetFiles), (Paths{std::string(targetDirectoryMarker), "/"}));
}

TEST_F(Picker, NamesThatAreNoValidTextArePickedAndListedByTheirBytes)
{
    const Paths files{tree.file("caf\xE9.txt"), tree.file(std::string(200, 'n') + ".txt")};
    browse(files);
    EXPECT_EQ(list(state.selectedFiles), files);
    const auto [caption, entries] = showList();
    EXPECT_EQ(caption, " 2 Files Selected for Encryption");
    EXPECT_EQ(entries, QStringList({framework::displayPath(files[0]), framework::displayPath(files[1])}));
    EXPECT_TRUE(entries[0].endsWith("caf\\xE9.txt"));
}

TEST_F(Picker, APickDuringARunLeavesTheRunsFolderAlone)
{
    const std::string file = tree.file("running.txt");
    const std::string runFolder = tree.folder("run");
    ASSERT_EQ(chdir(runFolder.c_str()), 0);
    dialog->setText(TEncryptDialog::SourceField, QString::fromStdString(file));
    dialog->setText(TEncryptDialog::KeyField, "a key of some length");
    dialog->setChecked(TEncryptDialog::ConfirmOverwriteBox, false);
    user.dialogSteps.push_back([](framework::Dialog& confirm) {
        confirm.setText(TPassWordDialog::ConfirmField, "a key of some length");
        confirm.press(framework::ResultOk);
    });
    {
        // The run's worker waits for the engine while the user picks.
        EngineHeldElsewhere engine;
        dialog->press(TEncryptDialog::RunButton);
        ASSERT_TRUE(dialog->runIsActive());
        browse({tree.file("picked/next.txt")});
        EXPECT_EQ(framework::currentDirectory(), runFolder);
        EXPECT_EQ(list(state.selectedFiles), Paths{tree.at("picked/next.txt")});
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog->runIsActive(); }, 60000));
}

TEST_F(Picker, TheListShowsEveryEntryButAFirstThatNamesNoFile)
{
    EXPECT_EQ(showList(), std::make_pair(QString(" No Files Selected for Encryption"), QStringList()));

    state.selectedFiles.add(tree.at("gone.txt"));
    EXPECT_EQ(showList(), std::make_pair(QString(" 1 File Selected for Encryption"), QStringList()));

    // Only the first entry is checked: later ones are shown as they stand.
    state.selectedFiles.add(tree.at("gone too.txt"));
    EXPECT_EQ(showList().second, QStringList({QString::fromStdString(tree.at("gone too.txt"))}));
}

class UnsealwinPicker : public Picker {
protected:
    BuildVariant variant() const override { return BuildVariant::Decrypt; }
};

TEST_F(UnsealwinPicker, AsksAndListsInItsOwnWords)
{
    browse({tree.file("a"), tree.file("b")});
    ASSERT_EQ(user.fileDialogs.size(), 1u);
    EXPECT_EQ(user.fileDialogs[0].title, "Select file(s) to Decrypt");
    EXPECT_EQ(showList().first, " 2 Files Selected for Decryption");
}

}  // namespace

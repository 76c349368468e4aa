// The activity log viewer through the real dialogs (offscreen) with the
// scripted user: listing, Delete All, and the encrypted export, checked
// against the engine's own file transform.
#include "MainWindowFixture.h"

#include "EngineHeldElsewhere.h"
#include "app/LogDialog.h"
#include "app/LogExport.h"
#include "app/LogPasswordDialog.h"
#include "app/PassWordDialog.h"
#include "core/EngineGate.h"

#include "ChildProcess.h"
#include "TestFiles.h"
#include "tarvex.h"

#include <QCheckBox>
#include <QProgressBar>

#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <thread>

using framework::MessageButtons;
using framework::MessageIcon;
using framework::ResultCancel;
using framework::ResultNo;
using framework::ResultOk;
using framework::ResultYes;
using services::BuildVariant;
using testsupport::Bytes;
using testsupport::readFile;
using testsupport::writeFile;

namespace {

const QString logKey = "log key 12345";

using services::toQString;

class Log : public MainWindow {
protected:
    void open(BuildVariant which)
    {
        variant = &services::variantTexts(which);
        mainDialog = start(which);
        ASSERT_NE(mainDialog, nullptr);
    }
    void addEntry(const std::string& entry)
    {
        const std::lock_guard lock(state.recordsLock);
        state.activityLog.add(entry);
    }
    // An entry of exactly `length` characters, shaped as the runs make them.
    static std::string entryOf(std::size_t length, char fill)
    {
        std::string entry = "SOURCE: /home/a/";
        entry += std::string(length - entry.size() - 45, fill);
        entry += "; TARGET: same; KEY: NEW; OPTIONS: Default; 0";
        return entry;
    }
    // Opens the viewer; `use` is what the user does in it, before leaving it
    // with its OK button (id 2).
    void view(std::function<void(framework::Dialog&)> use)
    {
        user.dialogSteps.push_front([use = std::move(use)](framework::Dialog& viewer) {
            use(viewer);
            if (!viewer.hasEnded()) viewer.press(ResultCancel);
        });
        TLogDialog viewer(mainDialog, mainDialog->resources(), *variant, state);
        framework::runModal(viewer);
    }
    // Save To File with a key typed twice and the box as given, saved as `target`.
    void exportTo(const std::string& target, const QString& key = logKey, bool blowFishOnly = false)
    {
        user.dialogSteps.push_back([this, key, blowFishOnly](framework::Dialog& keyDialog) {
            EXPECT_EQ(keyDialog.windowTitle(), "Key For Log Encryption");
            keyDialog.setText(TLogPasswordDialog::KeyField, key);
            keyDialog.setChecked(TLogPasswordDialog::BlowFishOnlyBox, blowFishOnly);
            keyDialog.press(ResultOk);
        });
        user.dialogSteps.push_back([key](framework::Dialog& confirm) {
            EXPECT_EQ(confirm.windowTitle(), "Confirm Key");
            confirm.setText(TPassWordDialog::ConfirmField, key);
            confirm.press(ResultOk);
        });
        user.fileAnswers.push_back({target});
        view([this](framework::Dialog& viewer) { viewer.press(variant->logSaveToFileButton); });
        EXPECT_TRUE(user.dialogSteps.empty());
    }
    // What the engine's file transform makes of a file holding `text`.
    Bytes fileTransform(const std::string& text, int direction, int layerChoice, const QString& key = logKey)
    {
        const std::string scratch = folder.file("direct.bin");
        writeFile(scratch, Bytes(text.begin(), text.end()));
        EXPECT_EQ(
            tarvexTransformFile(key.toLatin1().constData(), scratch.c_str(), scratch.c_str(), direction, layerChoice),
            TARVEX_OK);
        return readFile(scratch);
    }
    void expectLastMessage(const QString& text, const QString& caption, MessageIcon icon)
    {
        ASSERT_FALSE(user.messages.empty());
        EXPECT_EQ(user.messages.back().text, text);
        EXPECT_EQ(user.messages.back().caption, caption);
        EXPECT_EQ(user.messages.back().icon, icon);
    }

    const services::VariantTexts* variant = nullptr;
    TEncryptDialog* mainDialog = nullptr;
    testsupport::TempFolder folder;
};

}  // namespace

TEST_F(Log, TheViewerListsTheLogInOrderAndDeleteAllAsksFirst)
{
    for (const BuildVariant which : {BuildVariant::Encrypt, BuildVariant::Decrypt}) {
        SCOPED_TRACE(static_cast<int>(which));
        app.reset();
        state.options = {};
        state.activityLog.clear();
        open(which);

        // An empty log: Delete All asks nothing (any message would fail).
        view([this](framework::Dialog& viewer) {
            EXPECT_EQ(viewer.windowTitle(), toQString(variant->logViewerTitle));
            EXPECT_TRUE(viewer.listItems(variant->logListBox).isEmpty());
            viewer.press(variant->logDeleteAllButton);
        });

        addEntry("first");
        user.messageAnswers = {ResultNo};
        view([this](framework::Dialog& viewer) {
            viewer.press(variant->logDeleteAllButton);
            EXPECT_EQ(viewer.listItems(variant->logListBox), QStringList{"first"});
            viewer.press(ResultCancel);  // the OK button, id 2
            EXPECT_TRUE(viewer.hasEnded());
        });
        expectLastMessage("Are you sure you want to continue ?", "  Delete Log Entry", MessageIcon::None);
        EXPECT_EQ(user.messages.back().buttons, MessageButtons::YesNoCancel);
        EXPECT_EQ(state.activityLog.count(), 1);

        addEntry("second");
        addEntry("third");
        user.messageAnswers = {ResultCancel, ResultYes};
        view([this](framework::Dialog& viewer) {
            EXPECT_EQ(viewer.listItems(variant->logListBox), (QStringList{"first", "second", "third"}));
            viewer.press(variant->logDeleteAllButton);
            EXPECT_EQ(state.activityLog.count(), 3);
            viewer.press(variant->logDeleteAllButton);
            EXPECT_TRUE(viewer.listItems(variant->logListBox).isEmpty());
        });
        expectLastMessage("Are you sure you want to continue ?", "  Delete All Log Entries", MessageIcon::None);
        EXPECT_EQ(state.activityLog.count(), 0);
        EXPECT_TRUE(user.messageAnswers.empty());
    }
}

TEST_F(Log, AnEmptyLogIsNotExportedAndNoKeyIsAsked)
{
    open(BuildVariant::Encrypt);
    user.messageAnswers = {ResultOk};
    view([this](framework::Dialog& viewer) { viewer.press(variant->logSaveToFileButton); });
    expectLastMessage("There are no entries in the log", "Encryption Log Empty", MessageIcon::Exclamation);
    EXPECT_TRUE(user.fileDialogs.empty());
}

TEST_F(Log, TheKeyMustHave8To88CharactersAndTheKeyDialogStartsEmptyEachTime)
{
    open(BuildVariant::Encrypt);
    addEntry("one entry");
    // First opening: a good key with the box checked, then Cancel in Confirm Key.
    user.dialogSteps.push_back([](framework::Dialog& keyDialog) {
        keyDialog.setText(TLogPasswordDialog::KeyField, logKey);
        keyDialog.setChecked(TLogPasswordDialog::BlowFishOnlyBox, true);
        keyDialog.press(ResultOk);
    });
    user.dialogSteps.push_back([](framework::Dialog& confirm) { confirm.press(ResultCancel); });
    // Second opening: fresh fields; 7 and 89 characters refused, the dialog stays.
    user.dialogSteps.push_back([this](framework::Dialog& keyDialog) {
        EXPECT_EQ(keyDialog.text(TLogPasswordDialog::KeyField), "");
        EXPECT_FALSE(keyDialog.isChecked(TLogPasswordDialog::BlowFishOnlyBox));
        auto* box = qobject_cast<QCheckBox*>(keyDialog.control(TLogPasswordDialog::BlowFishOnlyBox));
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), toQString(variant->logKeyBlowFishCaption));
        for (const int length : {7, 89}) {
            user.messageAnswers.push_back(ResultOk);
            keyDialog.setText(TLogPasswordDialog::KeyField, QString(length, 'k'));
            keyDialog.press(ResultOk);
            EXPECT_FALSE(keyDialog.hasEnded()) << length;
            expectLastMessage("That is not a valid password.\nThe password must be between 8 and 88 characters long.",
                              "Invalid Password", MessageIcon::Stop);
        }
        keyDialog.press(ResultCancel);
    });
    view([this](framework::Dialog& viewer) {
        viewer.press(variant->logSaveToFileButton);
        viewer.press(variant->logSaveToFileButton);
    });
    EXPECT_EQ(user.messages.size(), 2u);
    EXPECT_TRUE(user.dialogSteps.empty());
    EXPECT_TRUE(user.fileDialogs.empty());
}

TEST_F(Log, TheExportIsTheFileTransformOfTheLinesAndResetsTheBar)
{
    open(BuildVariant::Encrypt);
    for (const char fill : {'a', 'b', 'c'}) addEntry(entryOf(100, fill));
    const std::string text = entryOf(100, 'a') + "\r\n" + entryOf(100, 'b') + "\r\n" + entryOf(100, 'c') + "\r\n";
    mainDialog->setProgress(TEncryptDialog::ProgressBar, 40);

    const std::string target = folder.file("log.txt");
    exportTo(target, logKey, true);

    const Bytes exported = readFile(target);
    EXPECT_EQ(exported.size(), 306u);
    EXPECT_EQ(exported, fileTransform(text, 1, 1));
    EXPECT_NE(exported, fileTransform(text, 1, 0));
    EXPECT_EQ(state.activityLog.count(), 3);
    ASSERT_EQ(user.fileDialogs.size(), 1u);
    EXPECT_EQ(user.fileDialogs[0].title, "Save encryption details to log file");
    EXPECT_EQ(user.fileDialogs[0].filter,
              "All Files(*.*)|*.*|Text Files(*.txt)|*.txt|Log Files(*.log)|*.log|Word Document Files(*.doc)|*.doc|"
              "Zip Files(*.zip)|*.zip|Word Excel Worksheet(*.xls)|*.xls|");
    auto* bar = qobject_cast<QProgressBar*>(mainDialog->control(TEncryptDialog::ProgressBar));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->value(), 0);
}

TEST_F(Log, AnExportOfManyPiecesDecryptsAsOneFile)
{
    open(BuildVariant::Encrypt);
    std::string text;
    for (int i = 0; i < 1100; ++i) {
        const std::string entry = entryOf(150 + i % 50, char('a' + i % 26));
        addEntry(entry);
        text += entry + "\r\n";
    }
    ASSERT_GT(text.size(), 2u * logexport::pieceSize);

    const std::string target = folder.file("big.log");
    exportTo(target);
    const Bytes exported = readFile(target);
    ASSERT_EQ(exported.size(), text.size());
    EXPECT_NE(exported, Bytes(text.begin(), text.end()));
    const std::string decrypted = folder.file("decrypted");
    writeFile(decrypted, exported);
    ASSERT_EQ(tarvexTransformFile(logKey.toLatin1().constData(), decrypted.c_str(), decrypted.c_str(), 0, 0),
              TARVEX_OK);
    EXPECT_EQ(readFile(decrypted), Bytes(text.begin(), text.end()));
}

TEST_F(Log, UnsealwinsExportAlsoEncrypts)
{
    open(BuildVariant::Decrypt);
    addEntry(entryOf(120, 'x'));
    addEntry(entryOf(90, 'y'));
    const std::string text = entryOf(120, 'x') + "\r\n" + entryOf(90, 'y') + "\r\n";
    const std::string target = folder.file("unseal.log");
    exportTo(target, logKey, true);
    EXPECT_EQ(readFile(target), fileTransform(text, 1, 1));
}

TEST_F(Log, TheExportIsRefusedWhileARunHoldsTheEngine)
{
    open(BuildVariant::Encrypt);
    addEntry("an entry");
    EngineHeldElsewhere engine;
    const std::string target = folder.file("refused.log");
    user.messageAnswers = {ResultOk};
    user.dialogSteps.push_back([](framework::Dialog& keyDialog) {
        keyDialog.setText(TLogPasswordDialog::KeyField, logKey);
        keyDialog.press(ResultOk);
    });
    user.dialogSteps.push_back([](framework::Dialog& confirm) {
        confirm.setText(TPassWordDialog::ConfirmField, logKey);
        confirm.press(ResultOk);
    });
    user.fileAnswers.push_back({target});
    view([this](framework::Dialog& viewer) { viewer.press(variant->logSaveToFileButton); });
    engine.release();

    expectLastMessage(toQString(variant->engineBusy), toQString(variant->programTitle), MessageIcon::Exclamation);
    EXPECT_TRUE(user.fileDialogs.empty());
    EXPECT_FALSE(std::filesystem::exists(target));
}

TEST_F(Log, TargetsThatCannotBeWrittenAreReportedAndLeaveNoFile)
{
    open(BuildVariant::Encrypt);
    addEntry("an entry");

    user.messageAnswers = {ResultOk};
    exportTo(folder.file("missing/log.txt"));
    expectLastMessage("Could not open log file", "I/O Error", MessageIcon::Stop);

    // A folder in the way: the bytes are written, but cannot take its place.
    const std::string inTheWay = folder.file("in the way");
    std::filesystem::create_directory(inTheWay);
    user.messageAnswers = {ResultOk};
    exportTo(inTheWay);
    ASSERT_EQ(user.messages.size(), 2u);
    EXPECT_EQ(user.messages.back().caption, "I/O Error");
    EXPECT_EQ(user.messages.back().icon, MessageIcon::Exclamation);
    EXPECT_TRUE(std::filesystem::is_directory(inTheWay));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

TEST(LogExportFile, AWriteBeyondTheDiskLimitFailsAndLeavesTheOldFile)
{
    testsupport::TempFolder folder;
    const std::string target = folder.file("log.txt");
    writeFile(target, Bytes{'o', 'l', 'd'});
    const std::string bytes(100000, 'z');
    testsupport::ChildOptions options;
    options.fileSizeLimit = 4096;
    const pid_t child = testsupport::startChild(
        [&] { return logexport::replaceFile(target, bytes) == logexport::WriteResult::WriteFailed ? 0 : 1; }, options);
    const testsupport::Ending ending = testsupport::waitForChild(child);
    EXPECT_TRUE(ending.exited);
    EXPECT_EQ(ending.status, 0);
    EXPECT_EQ(readFile(target), (Bytes{'o', 'l', 'd'}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);

    // Without the limit the same call replaces the file.
    EXPECT_EQ(logexport::replaceFile(target, bytes), logexport::WriteResult::Written);
    EXPECT_EQ(readFile(target), Bytes(bytes.begin(), bytes.end()));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

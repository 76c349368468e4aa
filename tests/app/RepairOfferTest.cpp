// The offer to repair what interrupted in-place runs left behind, through the
// real main window (offscreen): runs are genuinely cut short in the engine,
// then the program is started in their folder and the scripted user answers.
#include "MainWindowFixture.h"
#include "support/FolderTree.h"

#include "app/LogPasswordDialog.h"
#include "app/PassWordDialog.h"
#include "core/EngineGate.h"
#include "core/OverwriteDecision.h"

#include "framework/FileSystem.h"
#include "framework/FrameWindow.h"

#include "TestFiles.h"
#include "tarvex.h"

#include <QProgressBar>
#include <QTest>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <map>
#include <set>
#include <stdexcept>

using framework::MessageButtons;
using framework::MessageIcon;
using framework::ResultNo;
using framework::ResultOk;
using framework::ResultYes;
using services::BuildVariant;
using testsupport::Bytes;
using testsupport::readFile;
using testsupport::writeFile;

namespace {

const char* const key = "the interrupted run's key";
// An in-place run rewrites its file a window of 64 chunks at a time: a run cut
// short halfway through a file of two windows has rewritten the first.
constexpr std::size_t windowBytes = 64 * 65536;
constexpr framework::FileTime oldTime{1000000000, 0};

int stopAtProgress = 0;
int throwingCallback(int32_t progress)
{
    if (progress >= stopAtProgress) throw std::runtime_error("cut short");
    return 0;
}

class InterruptedRuns : public MainWindow {
protected:
    void SetUp() override
    {
        MainWindow::SetUp();
        std::filesystem::current_path(tree.path());
    }
    // An in-place transform cut short about halfway, as a crash would cut it:
    // its journal, its window record and the mixed file stay. The file then gets
    // an old time stamp, which the repair must keep.
    void interrupt(const std::string& file, int direction, int layerChoice)
    {
        const EngineGate::Pass engine = EngineGate::waitForTurn();
        stopAtProgress = 50;
        engine.setProgressCallback(&throwingCallback);
        EXPECT_EQ(engine.transformFile(key, file.c_str(), file.c_str(), direction, layerChoice), TARVEX_ERR_INTERNAL);
        engine.setProgressCallback(nullptr);
        ASSERT_TRUE(framework::setLastWriteTime(file, oldTime));
    }
    Bytes transformedElsewhere(const Bytes& input, int direction, int layerChoice)
    {
        writeFile(tree.at("elsewhere.in"), input);
        EXPECT_EQ(tarvexTransformFile(key, tree.at("elsewhere.in").c_str(), tree.at("elsewhere.out").c_str(), direction,
                                      layerChoice),
                  TARVEX_OK);
        const Bytes output = readFile(tree.at("elsewhere.out"));
        std::filesystem::remove(tree.at("elsewhere.in"));
        std::filesystem::remove(tree.at("elsewhere.out"));
        return output;
    }
    // The journals, undo copies and recovery lists in the folder.
    std::set<std::string> leftovers() const
    {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(tree.path())) {
            const std::string name = entry.path().filename().string();
            if (name.ends_with(".adt") || name.ends_with(".undo") || name.starts_with("Mendkit")) names.insert(name);
        }
        return names;
    }
    // Yes to the offer and to finishing the run (Sealwin asks how the file
    // should end up), then the key twice.
    void acceptRepair(bool asksGoal, int goalAnswer = ResultYes, bool blowFishOnly = false, QString typed = key)
    {
        user.messageAnswers.push_back(ResultYes);
        if (asksGoal) user.messageAnswers.push_back(goalAnswer);
        user.dialogSteps.push_back([blowFishOnly, typed](framework::Dialog& entry) {
            EXPECT_EQ(entry.windowTitle(), "Key Of The Interrupted Run");
            EXPECT_EQ(entry.isChecked(TLogPasswordDialog::BlowFishOnlyBox), blowFishOnly);
            entry.setText(TLogPasswordDialog::KeyField, typed);
            entry.press(ResultOk);
        });
        user.dialogSteps.push_back([typed](framework::Dialog& confirm) {
            EXPECT_EQ(confirm.windowTitle(), "Confirm Key");
            confirm.setText(TPassWordDialog::ConfirmField, typed);
            confirm.press(ResultOk);
        });
        user.messageAnswers.push_back(ResultOk);  // the outcome
    }
    // Starts the program afresh, keeping the options set, and waits until
    // every answer is used and no repair runs.
    TEncryptDialog* startAndAnswer(BuildVariant variant = BuildVariant::Encrypt)
    {
        user.messages.clear();
        app.reset();
        TEncryptDialog* dialog = start(variant);
        waitForAnswers(dialog);
        return dialog;
    }
    void waitForAnswers(TEncryptDialog* dialog)
    {
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                return user.messageAnswers.empty() && user.dialogSteps.empty() && !dialog->runIsActive() &&
                       !dialog->isDialogTimerRunning(TEncryptDialog::RunTimer);
            },
            60000));
        QTest::qWait(50);  // anything more would now show up as unexpected
    }
    QString offerText(const std::string& file) const
    {
        return QString::fromStdString(
            "An encryption was cut short and left this file partly encrypted:\n\n" + file +
            "\n\nRepair it now?\n\nThe repair needs the key of the interrupted run, and "
            "BlowFish Only set as it was for that run. A wrong key is not always detected: "
            "the repair would then spoil the file.\n\nNo leaves everything as it is; you will be "
            "asked again at the next start.");
    }

    FolderTree tree;
    WorkingDirectoryGuard restored;
};

}  // namespace

TEST_F(InterruptedRuns, SealwinFinishesOneFileAndTakesAnotherBackToItsPlaintext)
{
    const Bytes firstPlain = testsupport::randomBytes(2 * windowBytes + 777, 1);
    const Bytes secondPlain = testsupport::randomBytes(2 * windowBytes, 2);
    const std::string first = tree.at("first.bin"), second = tree.at("second.bin");
    writeFile(first, firstPlain);
    writeFile(second, secondPlain);
    const Bytes firstCipher = transformedElsewhere(firstPlain, TARVEX_ENCRYPT, 0);
    interrupt(first, TARVEX_ENCRYPT, 0);
    interrupt(second, TARVEX_ENCRYPT, 0);
    ASSERT_EQ(leftovers().size(), 4u);  // two journals, two window records
    ASSERT_NE(readFile(first), firstPlain);
    ASSERT_NE(readFile(first), firstCipher);

    acceptRepair(true, ResultYes);
    acceptRepair(true, ResultNo);
    std::vector<QString> captions;
    user.dialogSteps.front() = [&, step = user.dialogSteps.front()](framework::Dialog& entry) {
        auto* bar = static_cast<QProgressBar*>(app->mainDialog()->control(TEncryptDialog::ProgressBar));
        QObject::connect(bar, &QProgressBar::valueChanged, [&captions, this](int value) {
            if (value > 0) captions.push_back(app->mainWindow()->windowTitle());
        });
        step(entry);
    };
    const TEncryptDialog* dialog = startAndAnswer();

    ASSERT_EQ(user.messages.size(), 6u);
    EXPECT_EQ(user.messages[0].text, offerText(first));
    EXPECT_EQ(user.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(user.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(user.messages[1].buttons, MessageButtons::YesNoCancel);
    EXPECT_EQ(user.messages[2].text, QString::fromStdString(first + " has been repaired: it is now wholly encrypted."));
    EXPECT_EQ(user.messages[2].icon, MessageIcon::Information);
    EXPECT_EQ(user.messages[3].text, offerText(second));
    EXPECT_EQ(user.messages[5].text,
              QString::fromStdString(second + " has been repaired: it is again as it was before the encryption."));
    EXPECT_EQ(readFile(first), firstCipher);
    EXPECT_EQ(readFile(second), secondPlain);
    EXPECT_EQ(framework::lastWriteTime(first), oldTime);
    EXPECT_TRUE(leftovers().empty());
    // The bar moved while the caption named the file; both are back at rest.
    ASSERT_FALSE(captions.empty());
    EXPECT_EQ(captions.front(), QString::fromStdString("Tarvex - Repairing: " + first));
    EXPECT_EQ(app->mainWindow()->windowTitle(), "Tarvex - Encrypt");
    EXPECT_EQ(static_cast<QProgressBar*>(dialog->control(TEncryptDialog::ProgressBar))->value(), 0);
}

TEST_F(InterruptedRuns, UnsealwinAloneFinishesADecryptionWithBlowFishOnlyAndWithoutItsUndoCopy)
{
    const Bytes plain = testsupport::randomBytes(5 * 65536 + 5, 3);
    const std::string file = tree.at("letter.doc");
    writeFile(file, transformedElsewhere(plain, TARVEX_ENCRYPT, 1));
    interrupt(file, TARVEX_DECRYPT, 1);
    state.options.optionBlowFishOnly = true;  // as /b gives it
    // Without its undo copy the repair goes by the journal alone, and says so.
    for (const std::string& name : leftovers()) {
        if (name.ends_with(".undo")) std::filesystem::remove(tree.at(name));
    }

    startAndAnswer(BuildVariant::Encrypt);  // a decryption's journal is none of Sealwin's business
    EXPECT_TRUE(user.messages.empty());

    acceptRepair(false, ResultYes, true);  // no question about the goal: both ends are the plaintext
    startAndAnswer(BuildVariant::Decrypt);
    ASSERT_EQ(user.messages.size(), 2u);
    EXPECT_TRUE(user.messages[0].text.startsWith(
        QString::fromStdString("A decryption was cut short and left this file partly decrypted:\n\n" + file +
                               "\n\nRepair it now? The repair finishes the decryption.")));
    EXPECT_EQ(user.messages[1].text,
              QString::fromStdString(file + " has been repaired: it is now wholly decrypted.\n\nNo usable copy was "
                                            "left of the part the run was rewriting when it stopped, so the repair "
                                            "went by the journal alone: one 64 KiB stretch of the file, where the "
                                            "run stopped, may be wrong."));
    EXPECT_EQ(readFile(file), plain);
    EXPECT_TRUE(leftovers().empty());
}

TEST_F(InterruptedRuns, DecliningOrCancellingAnywhereChangesNothingAndTheOfferComesAgain)
{
    const std::string file = tree.at("kept.bin");
    writeFile(file, testsupport::randomBytes(3 * 65536 + 10, 4));
    interrupt(file, TARVEX_ENCRYPT, 0);
    std::map<std::string, Bytes> before;
    for (const std::string& name : leftovers()) before[tree.at(name)] = readFile(tree.at(name));
    before[file] = readFile(file);
    const auto unchanged = [&] {
        for (const auto& [path, bytes] : before) EXPECT_EQ(readFile(path), bytes) << path;
        EXPECT_EQ(leftovers().size(), 2u);
        EXPECT_EQ(framework::lastWriteTime(file), oldTime);
    };
    const auto cancel = [](framework::Dialog& dialog) { dialog.press(framework::ResultCancel); };
    const auto typeKey = [](framework::Dialog& entry) {
        entry.setText(TLogPasswordDialog::KeyField, key);
        entry.press(ResultOk);
    };

    user.messageAnswers = {ResultNo};  // the offer
    startAndAnswer();
    user.messageAnswers = {ResultYes, framework::ResultCancel};  // the goal
    startAndAnswer();
    user.messageAnswers = {ResultYes, ResultYes};
    user.dialogSteps = {cancel};  // the key
    startAndAnswer();
    user.messageAnswers = {ResultYes, ResultYes};
    user.dialogSteps = {typeKey, cancel};  // its confirmation
    TEncryptDialog* dialog = startAndAnswer();
    unchanged();
    // Within one run of the program a declined file is not asked about again.
    dialog->offerRepairs();
    waitForAnswers(dialog);

    user.messageAnswers = {ResultNo};
    startAndAnswer();
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(user.messages[0].text, offerText(file));
    unchanged();
}

TEST_F(InterruptedRuns, FailedRepairsNameTheFileChangeNothingAndKeepTheJournalForLater)
{
    const Bytes plain = testsupport::randomBytes(2 * windowBytes + 1000, 8);
    const std::string file = tree.at("whole.bin");
    writeFile(file, plain);
    const Bytes cipher = transformedElsewhere(plain, TARVEX_ENCRYPT, 0);
    interrupt(file, TARVEX_ENCRYPT, 0);
    const Bytes mixed = readFile(file);
    ASSERT_NE(mixed, plain);
    ASSERT_NE(mixed, cipher);
    const auto failure = [&file](const std::string& why) {
        return QString::fromStdString(file + why +
                                      " Nothing was changed.\n\nIts journal stays, so that it can be "
                                      "repaired later.");
    };

    // A wrong key: the offer comes again at once, and is declined.
    acceptRepair(true, ResultYes, false, "not the run's key");
    user.messageAnswers.push_back(ResultNo);
    startAndAnswer();
    ASSERT_EQ(user.messages.size(), 4u);
    EXPECT_EQ(user.messages[2].text,
              failure(" has not been repaired: the key or BlowFish Only is not that of the interrupted run."));
    EXPECT_EQ(user.messages[2].icon, MessageIcon::Exclamation);
    EXPECT_EQ(user.messages[3].text, offerText(file));

    // A disk with no room for the repaired file: the process may write no
    // file beyond 1 MiB while the repair runs (as root, a read-only folder
    // would not stop it).
    struct SmallDisk {
        rlimit before{};
        void (*beforeSignal)(int) = SIG_DFL;
        bool filled = false;
        void fill()
        {
            filled = getrlimit(RLIMIT_FSIZE, &before) == 0;
            ASSERT_TRUE(filled);
            beforeSignal = std::signal(SIGXFSZ, SIG_IGN);
            rlimit small = before;
            small.rlim_cur = 1 << 20;
            EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
        }
        ~SmallDisk()
        {
            if (!filled) return;
            setrlimit(RLIMIT_FSIZE, &before);
            std::signal(SIGXFSZ, beforeSignal);
        }
    };
    {
        SmallDisk disk;
        acceptRepair(true);
        user.dialogSteps.back() = [&disk, step = user.dialogSteps.back()](framework::Dialog& confirm) {
            disk.fill();
            step(confirm);
        };
        startAndAnswer();
    }
    ASSERT_EQ(user.messages.size(), 3u);
    EXPECT_EQ(user.messages[2].text,
              failure(" cannot be repaired: writing it failed (is the disk full, or its folder read-only?)."));
    EXPECT_EQ(readFile(file), mixed);
    EXPECT_EQ(leftovers().size(), 2u);

    acceptRepair(true);
    startAndAnswer();
    EXPECT_EQ(readFile(file), cipher);
    EXPECT_TRUE(leftovers().empty());
}

TEST_F(InterruptedRuns, ARecoveryListIsExplainedOnceNoJournalNamesItsFilesAndDeletedOnlyOnYes)
{
    const std::string done = tree.file("done.txt"), half = tree.at("half.bin");
    const Bytes plain = testsupport::randomBytes(3 * 65536, 6);
    writeFile(half, plain);
    interrupt(half, TARVEX_ENCRYPT, 0);
    tree.file("Mendkit2000.log", done + "\n" + half + "\n");  // the run that was cut short in half.bin
    std::string older;
    for (int i = 0; i < 12; ++i) older += tree.at("old" + std::to_string(i)) + "\r\n";
    tree.file("Mendkit1000.log", older);
    // Another user's list in this shared folder is theirs: never offered, never deleted.
    const bool asRoot = geteuid() == 0;
    if (asRoot) {
        ASSERT_EQ(chown(tree.file("Mendkit3000.log", done + "\n").c_str(), 65534, 65534), 0);
    }
    const std::set<std::string> othersLists =
        asRoot ? std::set<std::string>{"Mendkit3000.log"} : std::set<std::string>{};

    // Declined: the older list is explained and kept; the one whose file is
    // still half done is not mentioned.
    user.messageAnswers = {ResultNo, ResultNo};
    startAndAnswer();
    ASSERT_EQ(user.messages.size(), 2u);
    QString listed;
    for (int i = 0; i < 10; ++i) listed += QString::fromStdString(tree.at("old" + std::to_string(i))) + '\n';
    EXPECT_TRUE(user.messages[1].text.startsWith(
        QString::fromStdString("A run of several files was cut short. Its recovery list\n" +
                               tree.at("Mendkit1000.log") + "\nnames these files:\n\n") +
        listed +
        "... and 2 more, all named in the list\n\nNone of them was left "
        "partly done in place"));
    EXPECT_TRUE(user.messages[1].text.endsWith("Delete the recovery list now?\nNo keeps it, and you will be told "
                                               "again at the next start."));
    EXPECT_EQ(leftovers().size(), 4u + othersLists.size());

    // Repaired: both lists are explained, and go on Yes.
    acceptRepair(true, ResultNo);
    user.messageAnswers.insert(user.messageAnswers.end(), {ResultYes, ResultYes});
    startAndAnswer();
    ASSERT_EQ(user.messages.size(), 5u);
    EXPECT_TRUE(user.messages[3].text.contains(QString::fromStdString(tree.at("Mendkit1000.log"))));
    EXPECT_TRUE(user.messages[4].text.contains(QString::fromStdString(done + '\n' + half + "\n\nNone of them")));
    EXPECT_EQ(readFile(half), plain);
    EXPECT_EQ(leftovers(), othersLists);
}

TEST_F(InterruptedRuns, ARunThatFailsIsFollowedByTheOffer)
{
    TEncryptDialog* dialog = startAndAnswer();
    const std::string file = tree.at("meanwhile.bin");
    writeFile(file, testsupport::randomBytes(2 * 65536 + 1, 7));
    interrupt(file, TARVEX_ENCRYPT, 0);  // by another program, while this one stood open

    const std::string source = tree.file("note.txt");
    dialog->setText(TEncryptDialog::SourceField, QString::fromStdString(source));
    dialog->setText(TEncryptDialog::TargetField, QString::fromStdString(tree.at("no-such-folder/note.txt")));
    dialog->setText(TEncryptDialog::KeyField, key);
    user.dialogSteps.push_back([](framework::Dialog& confirm) {
        confirm.setText(TPassWordDialog::ConfirmField, key);
        confirm.press(ResultOk);
    });
    user.messageAnswers = {ResultOk, ResultNo};  // the failure, then the offer
    dialog->press(TEncryptDialog::RunButton);
    waitForAnswers(dialog);
    ASSERT_EQ(user.messages.size(), 2u);
    EXPECT_TRUE(user.messages[0].text.startsWith("These files could not be encrypted:"));
    EXPECT_EQ(user.messages[1].text, offerText(file));
}

TEST_F(InterruptedRuns, AnOfferDueWhileARunGoesOnWaitsForItsEnd)
{
    TEncryptDialog* dialog = startAndAnswer();
    const std::string left = tree.at("left.bin");
    writeFile(left, testsupport::randomBytes(2 * 65536 + 3, 9));
    interrupt(left, TARVEX_ENCRYPT, 0);
    dialog->setText(TEncryptDialog::SourceField, QString::fromStdString(tree.file("note.txt")));
    dialog->setText(TEncryptDialog::KeyField, key);
    dialog->setChecked(TEncryptDialog::ConfirmOverwriteBox, true);
    user.dialogSteps.push_back([](framework::Dialog& confirm) {
        confirm.setText(TPassWordDialog::ConfirmField, key);
        confirm.press(ResultOk);
    });
    user.dialogSteps.push_back([this, dialog](framework::Dialog& prompt) {
        dialog->offerRepairs();
        EXPECT_TRUE(user.messages.empty());  // a run's own journal is no leftover
        prompt.press(AnswerYes);
    });
    user.messageAnswers = {ResultNo};
    dialog->press(TEncryptDialog::RunButton);
    waitForAnswers(dialog);
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(user.messages[0].text, offerText(left));
}

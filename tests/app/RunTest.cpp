// Runs through the real main window (offscreen) with the scripted user: the
// Encrypt and Decrypt buttons, every refusal in its order, the Confirm Key
// dialog, the overwrite prompt while the worker waits, the animation and the
// guard against closing during a run.
#include "MainWindowFixture.h"
#include "support/FolderTree.h"

#include "app/ConfirmDialog.h"
#include "app/MainWindowRun.h"
#include "app/PassWordDialog.h"
#include "core/OverwriteDecision.h"

#include "framework/FrameWindow.h"
#include "framework/PathText.h"

#include "TestFiles.h"
#include "tarvex.h"

#include <QElapsedTimer>
#include <QProgressBar>
#include <QTest>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>

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

const QString key = "correct horse battery";

class Runs : public MainWindow {
protected:
    void SetUp() override
    {
        MainWindow::SetUp();
        dialog = start();
        ASSERT_NE(dialog, nullptr);
    }
    // Types into the fields as a user would, with Confirm Overwrite as asked.
    void fill(const std::string& source, const std::string& target = {}, const QString& typedKey = key,
              bool confirmOverwrite = false)
    {
        dialog->setText(TEncryptDialog::SourceField, framework::displayPath(source));
        dialog->setText(TEncryptDialog::TargetField, framework::displayPath(target));
        dialog->setText(TEncryptDialog::KeyField, typedKey);
        dialog->setChecked(TEncryptDialog::ConfirmOverwriteBox, confirmOverwrite);
    }
    // The user types the key again in Confirm Key and presses OK.
    void confirmWith(const QString& retyped)
    {
        user.dialogSteps.push_back([retyped](framework::Dialog& confirm) {
            EXPECT_EQ(confirm.windowTitle(), "Confirm Key");
            confirm.setText(TPassWordDialog::ConfirmField, retyped);
            confirm.press(framework::ResultOk);
        });
    }
    // Presses the run button and waits until the run and its animation end.
    void runToEnd()
    {
        dialog->press(TEncryptDialog::RunButton);
        waitForEnd();
    }
    void waitForEnd()
    {
        ASSERT_NE(dialog->currentWorker(), nullptr) << "no run started";
        ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog->currentWorker()->isRunning(); }, 120000));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog->isDialogTimerRunning(TEncryptDialog::RunTimer); }, 5000));
    }
    Bytes direct(const Bytes& plain, int direction, int layerChoice)
    {
        const std::string scratch = tree.at("direct.bin");
        writeFile(scratch, plain);
        const QByteArray keyBytes = key.toLatin1();
        EXPECT_EQ(tarvexTransformFile(keyBytes.constData(), scratch.c_str(), scratch.c_str(), direction, layerChoice),
                  TARVEX_OK);
        return readFile(scratch);
    }
    void expectRefusal(const QString& text, const QString& caption = "Tarvex - Encrypt")
    {
        ASSERT_FALSE(user.messages.empty());
        EXPECT_EQ(user.messages.back().text, text);
        EXPECT_EQ(user.messages.back().caption, caption);
        EXPECT_EQ(user.messages.back().icon, MessageIcon::Stop);
    }

    FolderTree tree;
    TEncryptDialog* dialog = nullptr;
};

}  // namespace

TEST_F(Runs, SealwinEncryptsInPlaceAndUnsealwinDecryptsItBack)
{
    const Bytes plain = testsupport::randomBytes(3 * 65536 + 1000, 11);
    const std::string file = tree.file("report.ods");
    writeFile(file, plain);
    fill(file);
    confirmWith(key);
    runToEnd();
    EXPECT_EQ(readFile(file), direct(plain, TARVEX_ENCRYPT, 0));
    EXPECT_EQ(app->mainWindow()->windowTitle(), "Tarvex - Encrypt");
    EXPECT_EQ(state.activityLog.count(), 1);
    EXPECT_TRUE(user.messages.empty());

    state.processedFiles.clear();  // Unsealwin is a process of its own
    dialog = restart(BuildVariant::Decrypt);
    fill(file);
    confirmWith(key);
    runToEnd();
    EXPECT_EQ(readFile(file), plain);
    EXPECT_EQ(app->mainWindow()->windowTitle(), "Tarvex - Decrypt");
}

TEST_F(Runs, AFolderGoesIntoATargetFolderWithBlowFishOnly)
{
    const std::string folder = tree.folder("photos");
    std::map<std::string, Bytes> plain;
    for (const char* name : {"a.jpg", "b.jpg", "caf\xE9.jpg"}) {
        plain[name] = testsupport::randomBytes(70000, static_cast<uint32_t>(plain.size() + 1));
        writeFile(tree.file(std::string("photos/") + name), plain[name]);
    }
    const std::string out = tree.folder("out");
    fill(folder, out);
    dialog->setChecked(TEncryptDialog::BlowFishOnlyBox, true);
    confirmWith(key);
    runToEnd();
    for (const auto& [name, bytes] : plain) {
        EXPECT_EQ(readFile(out + "/" + name), direct(bytes, TARVEX_ENCRYPT, 1)) << name;
        EXPECT_EQ(readFile(folder + "/" + name), bytes);  // the sources stay as they were
    }
    EXPECT_EQ(state.processedFiles.count(), 3);
    EXPECT_EQ(state.targetFiles.getAt(0), "TARGET_DIRECTORY");
}

TEST_F(Runs, RefusalsComeInTheirOrder)
{
    // Nothing selected.
    user.messageAnswers = {ResultOk};
    dialog->press(TEncryptDialog::RunButton);
    expectRefusal("You must select a file to encrypt");

    // A guarded folder, before anything else is looked at.
    fill("/etc", "", "short");
    user.messageAnswers = {ResultOk};
    dialog->press(TEncryptDialog::RunButton);
    expectRefusal("This is the Windows folder.\n\nPermission to encrypt it is denied.", " /etc");

    // A file typed in, then gone by the time the run starts.
    const std::string file = tree.file("gone.txt");
    fill(file, "", "short");
    std::filesystem::remove(file);
    user.messageAnswers = {ResultOk};
    dialog->press(TEncryptDialog::RunButton);
    expectRefusal("That file does not exist - please select another");

    // Keys of 7 and 89 characters; 8 and 88 reach the confirmation.
    const std::string present = tree.file("present.txt");
    for (const int length : {7, 89}) {
        fill(present, "", QString(length, 'k'));
        user.messageAnswers = {ResultOk};
        dialog->press(TEncryptDialog::RunButton);
        expectRefusal("You must enter a key that is at least 8 characters in length but no more than 88 characters");
    }
    for (const int length : {8, 88}) {
        fill(present, "", QString(length, 'k'));
        user.dialogSteps.push_back([](framework::Dialog& confirm) { confirm.press(framework::ResultCancel); });
        dialog->press(TEncryptDialog::RunButton);
        EXPECT_TRUE(user.dialogSteps.empty()) << length;
        EXPECT_EQ(dialog->currentWorker(), nullptr);  // cancelled: nothing starts
    }
    EXPECT_EQ(readFile(present), Bytes({'d', 'a', 't', 'a'}));
}

TEST_F(Runs, TheKeyMustBeTypedAgainExactly)
{
    const std::string file = tree.file("letter.txt");
    fill(file);
    user.dialogSteps.push_back([this](framework::Dialog& confirm) {
        for (const QString& wrong : {key + "x", key.toUpper(), QString()}) {
            user.messageAnswers.push_back(ResultOk);
            confirm.setText(TPassWordDialog::ConfirmField, wrong);
            confirm.press(framework::ResultOk);
            ASSERT_FALSE(user.messages.empty());
            EXPECT_EQ(user.messages.back().text, "Key does not match original entry");
            EXPECT_EQ(user.messages.back().caption, "Security Warning");
            EXPECT_EQ(user.messages.back().icon, MessageIcon::Exclamation);
            EXPECT_TRUE(confirm.isVisible());  // the dialog stays open
        }
        confirm.setText(TPassWordDialog::ConfirmField, key);
        confirm.press(framework::ResultOk);
    });
    runToEnd();
    EXPECT_EQ(user.messages.size(), 3u);
    EXPECT_EQ(state.processedFiles.count(), 1);
}

TEST_F(Runs, TheRepeatQuestionInListModeEmptiesTheFieldOnNo)
{
    const std::string first = tree.file("one.txt"), second = tree.file("two.txt");
    dialog->filesDropped({first, second});
    dialog->setText(TEncryptDialog::KeyField, key);
    dialog->setChecked(TEncryptDialog::ConfirmOverwriteBox, false);
    confirmWith(key);
    runToEnd();
    user.messageAnswers = {ResultNo};
    dialog->press(TEncryptDialog::RunButton);
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(user.messages[0].text, "You have already encrypted this selection.\nEncrypt again ?");
    EXPECT_EQ(user.messages[0].caption, "Warning");
    EXPECT_EQ(user.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(user.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(dialog->text(TEncryptDialog::SourceField), "");
    EXPECT_TRUE(dialog->singlePathMode());
}

TEST_F(Runs, WhileTheWorkerWaitsForAnAnswerTheWindowIsDisabledAndRefusesToClose)
{
    const Bytes plain = testsupport::randomBytes(100000, 4);
    const std::string file = tree.file("setup.exe");
    writeFile(file, plain);
    fill(file, "", key, true);
    confirmWith(key);
    bool asked = false;
    user.dialogSteps.push_back([&](framework::Dialog& prompt) {
        asked = true;
        EXPECT_EQ(prompt.windowTitle(), "Encrypting...");
        EXPECT_FALSE(prompt.windowFlags() & Qt::WindowCloseButtonHint);
        EXPECT_EQ(prompt.text(TConfirmDialog::QuestionText),
                  QString::fromStdString("The file " + file + " is an executable file. Do you want to overwrite it ?"));
        // The caption still shows the program's title: nothing is being
        // encrypted before the answer.
        EXPECT_EQ(app->mainWindow()->windowTitle(), "Tarvex - Encrypt");
        EXPECT_FALSE(app->mainWindow()->isEnabled());

        // The window's buttons take no clicks now; a close request from the
        // desktop is refused.
        dialog->press(TEncryptDialog::RunButton);
        EXPECT_TRUE(user.messages.empty());
        user.messageAnswers = {ResultOk};
        app->mainWindow()->close();
        ASSERT_EQ(user.messages.size(), 1u);
        EXPECT_EQ(user.messages[0].text, "Still Encrypting - Cannot Close");
        EXPECT_EQ(user.messages[0].caption, "Tarvex - Encrypt");
        EXPECT_EQ(user.messages[0].icon, MessageIcon::Stop);
        prompt.press(AnswerYes);
    });
    dialog->press(TEncryptDialog::RunButton);
    waitForEnd();
    EXPECT_TRUE(asked);
    EXPECT_TRUE(app->mainWindow()->isVisible());
    EXPECT_TRUE(app->mainWindow()->isEnabled());
    EXPECT_EQ(readFile(file), direct(plain, TARVEX_ENCRYPT, 0));
}

TEST_F(Runs, EscapeInThePromptNeverOverwrites)
{
    const std::string file = tree.file("keep.txt", "keep me");
    fill(file, "", key, true);
    confirmWith(key);
    user.dialogSteps.push_back([](framework::Dialog& prompt) {
        QTest::keyClick(&prompt, Qt::Key_Escape);
        EXPECT_TRUE(prompt.hasEnded());
    });
    runToEnd();
    EXPECT_EQ(readFile(file), Bytes({'k', 'e', 'e', 'p', ' ', 'm', 'e'}));
    EXPECT_EQ(state.processedFiles.count(), 0);
}

TEST_F(Runs, TheWindowStaysLiveAndTheBarMovesAtMost101TimesPerFile)
{
    // Long enough for several animation ticks of 250 ms.
#ifdef TARVEX_SANITIZED
    constexpr int kMebibytes = 24;
#else
    constexpr int kMebibytes = 256;
#endif
    const std::string file = tree.file("large.bin");
    {
        const auto mebibyte = testsupport::randomBytes(1 << 20, 9);
        std::ofstream out(file, std::ios::binary);
        for (int m = 0; m < kMebibytes; ++m)
            out.write(reinterpret_cast<const char*>(mebibyte.data()), static_cast<std::streamsize>(mebibyte.size()));
    }
    fill(file, tree.at("large.out"));
    auto* bar = static_cast<QProgressBar*>(dialog->control(TEncryptDialog::ProgressBar));
    int changes = 0;
    QObject::connect(bar, &QProgressBar::valueChanged, [&changes] { ++changes; });
    confirmWith(key);
    dialog->press(TEncryptDialog::RunButton);
    user.messageAnswers = {ResultOk, ResultOk};
    dialog->press(TEncryptDialog::RunButton);
    dialog->press(TEncryptDialog::CloseButton);
    // The animation runs on the window's own timer while the worker works.
    std::set<int> pictures;
    ASSERT_NE(dialog->currentWorker(), nullptr);
    QElapsedTimer running;
    running.start();
    while (dialog->currentWorker()->isRunning()) {
        QTest::qWait(20);
        pictures.insert(dialog->shownPicture());
    }
    const qint64 runMilliseconds = running.elapsed();
    waitForEnd();
    // A second start and closing were refused while it ran.
    ASSERT_EQ(user.messages.size(), 2u);
    EXPECT_EQ(user.messages[0].text, "Still Encrypting Previous Selection - Cannot Start");
    EXPECT_EQ(user.messages[1].text, "Still Encrypting - Cannot Close");
    EXPECT_TRUE(app->mainWindow()->isVisible());
    EXPECT_GE(pictures.size(), 2u);
    // The bar moves at the screen's pace, and never more than once a percent.
    EXPECT_GE(changes, 2);
    EXPECT_LE(changes, std::min<qint64>(101, runMilliseconds / MainWindowRun::refreshInterval + 2));
    EXPECT_EQ(bar->value(), 0);
}

TEST_F(Runs, ARunOfManySmallFilesKeepsEveryRecordAndEndsWithTheWindowAtRest)
{
    constexpr int files = 3000;
    const std::string sources = tree.folder("many");
    std::vector<std::string> names;
    for (int i = 0; i < files; ++i) names.push_back(tree.file("many/f" + std::to_string(i), std::string(64, 'x')));
    const std::string targets = tree.folder("out") + '/';
    fill(sources, targets);
    confirmWith(key);
    runToEnd();

    // The walk's order is the folder's: each record names the same files, once, in one order.
    ASSERT_EQ(state.processedFiles.count(), files);
    ASSERT_EQ(state.activityLog.count(), files);
    EXPECT_EQ(state.keyHistory.count(), files);
    std::set<std::string> seen;
    for (int i = 0; i < files; ++i) {
        const std::string source = state.processedFiles.getAt(i);
        const std::string target = targets + std::filesystem::path(source).filename().string();
        EXPECT_TRUE(seen.insert(source).second) << source;
        EXPECT_TRUE(state.activityLog.getAt(i).starts_with("SOURCE: " + source + "; TARGET: " + target + "; KEY: "))
            << state.activityLog.getAt(i);
        EXPECT_EQ(std::filesystem::file_size(target), 64u) << target;
    }
    EXPECT_EQ(seen, std::set<std::string>(names.begin(), names.end()));
    // No recovery list stays behind, and the window shows its own title and an empty bar.
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::current_path()))
        EXPECT_FALSE(entry.path().filename().string().starts_with("Mendkit")) << entry.path();
    EXPECT_EQ(app->mainWindow()->windowTitle(), "Tarvex - Encrypt");
    EXPECT_EQ(static_cast<QProgressBar*>(dialog->control(TEncryptDialog::ProgressBar))->value(), 0);
    EXPECT_TRUE(user.messages.empty());
}

TEST_F(Runs, TheAnimationRestsWhereItsCycleStoodAndTheNextRunGoesOnFromThere)
{
    EXPECT_EQ(dialog->shownPicture(), 2);  // at rest before the first run
    // A run that ends after four ticks rests on picture 10; the next run
    // starts with picture 8.
    for (const int picture : {4, 5, 6, 7}) {
        dialog->drawAnimationFrame();
        EXPECT_EQ(dialog->shownPicture(), picture);
    }
    dialog->endAnimation();
    EXPECT_EQ(dialog->shownPicture(), 10);
    dialog->drawAnimationFrame();
    EXPECT_EQ(dialog->shownPicture(), 8);
    // A cycle that has just wrapped round rests on picture 2 and starts over.
    dialog->drawAnimationFrame();
    EXPECT_EQ(dialog->shownPicture(), 9);
    dialog->endAnimation();
    EXPECT_EQ(dialog->shownPicture(), 2);
    dialog->drawAnimationFrame();
    EXPECT_EQ(dialog->shownPicture(), 4);
    // Two frames in, it rests on picture 3 and goes on with picture 6.
    dialog->drawAnimationFrame();
    dialog->endAnimation();
    EXPECT_EQ(dialog->shownPicture(), 3);
    dialog->drawAnimationFrame();
    EXPECT_EQ(dialog->shownPicture(), 6);

    // Unsealwin uses its own pictures and re-entry points.
    dialog = restart(BuildVariant::Decrypt);
    for (const int picture : {2, 3, 11}) {
        dialog->drawAnimationFrame();
        EXPECT_EQ(dialog->shownPicture(), picture);
    }
    dialog->endAnimation();  // index 2 -> 1 -> entry 8
    EXPECT_EQ(dialog->shownPicture(), 16);
    dialog->drawAnimationFrame();  // re-entry 2, plus one: index 3
    EXPECT_EQ(dialog->shownPicture(), 12);
}

TEST_F(Runs, ALoginPasswordServesAsTheKeyWithoutAConfirmation)
{
    const Bytes plain = testsupport::randomBytes(100000, 21);
    const std::string file = tree.file("notes.txt");
    writeFile(file, plain);
    const std::string password = "the login password";
    std::copy(password.begin(), password.end(), state.loginKey.begin());
    fill(file, "", QString());  // the key field is empty and shut
    runToEnd();                 // no Confirm Key dialog is expected
    const std::string scratch = tree.at("expected.bin");
    writeFile(scratch, plain);
    ASSERT_EQ(tarvexTransformFile(password.c_str(), scratch.c_str(), scratch.c_str(), TARVEX_ENCRYPT, 0), TARVEX_OK);
    EXPECT_EQ(readFile(file), readFile(scratch));
}

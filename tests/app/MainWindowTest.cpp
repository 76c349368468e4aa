// Start-up and the main window of both programs, on real widgets (offscreen)
// with the settings in an empty configuration folder.
#include "MainWindowFixture.h"

#include "framework/FrameWindow.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

using services::BuildVariant;
using services::variantTexts;

TEST_F(MainWindow, FirstStartShowsTheDefaultsAndCreatesTheKeys)
{
    TEncryptDialog* dialog = start();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isChecked(TEncryptDialog::ConfirmOverwriteBox));
    EXPECT_FALSE(dialog->isChecked(TEncryptDialog::BlowFishOnlyBox));
    EXPECT_FALSE(dialog->isChecked(TEncryptDialog::SaveOptionsBox));
    EXPECT_EQ(app->mainWindow()->windowTitle(), "Tarvex - Encrypt");
    EXPECT_FALSE(app->mainWindow()->windowIcon().isNull());
    ASSERT_NE(app->splash(), nullptr);
    EXPECT_EQ(app->splash()->size(), QSize(400, 300));
    EXPECT_TRUE(dialog->isDialogTimerRunning(TEncryptDialog::KeyHintTimer));
    EXPECT_EQ(dialog->shownPicture(), 2);

    const QString store = framework::RegistryKey::storeFolder() + "/Software/Quillon/Tarvex/";
    EXPECT_TRUE(QFileInfo::exists(store + "Encrypt/1.3.ini"));
    EXPECT_TRUE(QFileInfo::exists(store + "Common.ini"));
    EXPECT_EQ(state.programFolder, QCoreApplication::applicationDirPath());
    EXPECT_EQ(state.helpFilePath, QCoreApplication::applicationDirPath() + "/sealwin.html");
    EXPECT_EQ(state.windowsFolder, "/usr");
}

TEST_F(MainWindow, LaidOutAsTheTemplateSaysInBothPrograms)
{
    for (const BuildVariant variant : {BuildVariant::Encrypt, BuildVariant::Decrypt}) {
        const auto& texts = variantTexts(variant);
        TEncryptDialog* dialog = restart(variant);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->size(), QSize(402, 266));
        EXPECT_EQ(app->mainWindow()->windowTitle(), QString::fromUtf8(texts.programTitle.data()));
        EXPECT_EQ(dialog->text(TEncryptDialog::RunButton), QString::fromUtf8(texts.defaultButtonCaption.data()));
        int labelsFound = 0;
        for (const auto& control : dialog->controls()) {
            if (control.text == QString::fromUtf8(texts.sourceLabelCaption.data())) {
                EXPECT_EQ(control.pixels, QRect(24, 42, 90, 13));
                ++labelsFound;
            }
        }
        EXPECT_EQ(labelsFound, 1);
        EXPECT_EQ(dialog->control(TEncryptDialog::SourceField)->geometry(), QRect(24, 58, 244, 22));
        EXPECT_EQ(dialog->control(TEncryptDialog::HelpButton)->geometry(), QRect(312, 104, 84, 22));
        EXPECT_EQ(dialog->text(TEncryptDialog::ConfirmOverwriteBox), "Co&nfirm Overwrite");
        EXPECT_EQ(dialog->controls().size(), 21u);
    }
    EXPECT_EQ(state.helpFilePath, QCoreApplication::applicationDirPath() + "/unsealwin.html");
}

TEST_F(MainWindow, StoredOptionsApplyUnlessASwitchWasGiven)
{
    auto key = settingsKey();
    ASSERT_TRUE(key);
    key->writeNumber("confirmOverWrite", 0);
    key->writeNumber("blowFishOnly", 1);
    key->writeNumber("saveOptions", 0);
    TEncryptDialog* dialog = start();
    EXPECT_FALSE(dialog->isChecked(TEncryptDialog::ConfirmOverwriteBox));
    EXPECT_TRUE(dialog->isChecked(TEncryptDialog::BlowFishOnlyBox));
    EXPECT_FALSE(dialog->isChecked(TEncryptDialog::SaveOptionsBox));

    key->writeNumber("confirmOverWrite", 2);
    key->writeNumber("blowFishOnly", 0);
    key->writeNumber("saveOptions", 1);
    app.reset();
    state.options = {};
    state.options.useStoredOptions = false;  // as after "/b"
    state.options.optionBlowFishOnly = true;
    dialog = start();
    EXPECT_TRUE(dialog->isChecked(TEncryptDialog::ConfirmOverwriteBox));
    EXPECT_TRUE(dialog->isChecked(TEncryptDialog::BlowFishOnlyBox));
    EXPECT_FALSE(dialog->isChecked(TEncryptDialog::SaveOptionsBox));

    dialog = restart();  // "confirmOverWrite" = 2 counts as unchecked
    EXPECT_FALSE(dialog->isChecked(TEncryptDialog::ConfirmOverwriteBox));
    EXPECT_TRUE(dialog->isChecked(TEncryptDialog::SaveOptionsBox));
}

TEST_F(MainWindow, CloseSavesTheOptionsOnlyWhenSaveOptionsIsChecked)
{
    TEncryptDialog* dialog = start();
    dialog->press(TEncryptDialog::BlowFishOnlyBox);
    dialog->press(TEncryptDialog::CloseButton);
    EXPECT_FALSE(app->mainWindow()->isVisible());
    EXPECT_FALSE(dialog->isDialogTimerRunning(TEncryptDialog::KeyHintTimer));
    EXPECT_FALSE(settingsKey()->readNumber("saveOptions"));

    dialog = restart();
    EXPECT_FALSE(dialog->isChecked(TEncryptDialog::BlowFishOnlyBox));
    dialog->press(TEncryptDialog::BlowFishOnlyBox);
    dialog->press(TEncryptDialog::ConfirmOverwriteBox);
    dialog->press(TEncryptDialog::SaveOptionsBox);
    dialog->press(TEncryptDialog::CloseButton);
    EXPECT_EQ(settingsKey()->readNumber("saveOptions"), 1);
    EXPECT_EQ(settingsKey()->readNumber("confirmOverWrite"), 0);
    EXPECT_EQ(settingsKey()->readNumber("blowFishOnly"), 1);

    // Unchecking Save Options later writes nothing: the saved values stay.
    dialog = restart();
    EXPECT_TRUE(dialog->isChecked(TEncryptDialog::SaveOptionsBox));
    dialog->press(TEncryptDialog::SaveOptionsBox);
    dialog->press(TEncryptDialog::BlowFishOnlyBox);
    dialog->press(TEncryptDialog::CloseButton);
    dialog = restart();
    EXPECT_TRUE(dialog->isChecked(TEncryptDialog::SaveOptionsBox));
    EXPECT_TRUE(dialog->isChecked(TEncryptDialog::BlowFishOnlyBox));
    EXPECT_FALSE(dialog->isChecked(TEncryptDialog::ConfirmOverwriteBox));
    // Sealwin's options leave Unsealwin's alone.
    dialog = restart(BuildVariant::Decrypt);
    EXPECT_TRUE(dialog->isChecked(TEncryptDialog::ConfirmOverwriteBox));
    EXPECT_FALSE(dialog->isChecked(TEncryptDialog::SaveOptionsBox));
}

TEST_F(MainWindow, EachProgramStoresAndRestoresItsOwnPosition)
{
    start();
    app->mainWindow()->move(210, 140);
    restart(BuildVariant::Decrypt);
    app->mainWindow()->move(30, 50);
    app->mainWindow()->showMinimized();
    app->mainWindow()->move(600, 600);
    app.reset();
    EXPECT_EQ(settingsKey()->readNumber("Right"), 210);
    EXPECT_EQ(settingsKey()->readNumber("Bottom"), 140);
    EXPECT_EQ(settingsKey(BuildVariant::Decrypt)->readNumber("Right"), 30);
    EXPECT_EQ(settingsKey(BuildVariant::Decrypt)->readNumber("Bottom"), 50);
    start();
    EXPECT_EQ(app->mainWindow()->pos(), QPoint(210, 140));
}

TEST_F(MainWindow, HintLineFollowsCapsLockAndTheLoginKey)
{
    TEncryptDialog* dialog = start();
    EXPECT_EQ(dialog->text(TEncryptDialog::KeyHintLine), "");
    keyboard.capsLock = true;
    QTRY_COMPARE_WITH_TIMEOUT(dialog->text(TEncryptDialog::KeyHintLine), QString("CAPS LOCK ON !"), 1000);
    keyboard.capsLock = false;
    QTRY_COMPARE_WITH_TIMEOUT(dialog->text(TEncryptDialog::KeyHintLine), QString(""), 1000);
    state.loginKey[0] = 'k';
    keyboard.capsLock = true;
    dialog->updateKeyHint();
    EXPECT_EQ(dialog->text(TEncryptDialog::KeyHintLine), "Login Password !");
}

TEST_F(MainWindow, CurrentFolderLineShortensLongFolders)
{
    QTemporaryDir folder("/tmp/XXXXXX");
    ASSERT_TRUE(folder.isValid());
    QString thirty = folder.path() + "/";
    thirty += QString(30 - thirty.size(), 'c');
    ASSERT_EQ(thirty.size(), 30);
    ASSERT_TRUE(QDir().mkpath(thirty));
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(thirty));
    TEncryptDialog* dialog = start();
    EXPECT_EQ(dialog->text(TEncryptDialog::CurrentFolderLine), thirty.left(25) + "...");
    ASSERT_TRUE(QDir::setCurrent("/tmp"));
    dialog->showCurrentFolder();
    EXPECT_EQ(dialog->text(TEncryptDialog::CurrentFolderLine), "/tmp");
    QDir::setCurrent(previous);
}

TEST_F(MainWindow, StartUpSelectionShowsOnePathOrACount)
{
    state.selectedFiles.add("/etc/hostname");
    state.selectedFiles.add("/etc/passwd");
    TEncryptDialog* dialog = start();
    EXPECT_EQ(dialog->text(TEncryptDialog::SourceField), " 2 Files Selected for Encryption");
    EXPECT_FALSE(dialog->singlePathMode());

    state.selectedFiles.clear();
    state.selectedFiles.add("/etc/hostname");
    dialog = restart();
    EXPECT_EQ(dialog->text(TEncryptDialog::SourceField), "/etc/hostname");
    EXPECT_TRUE(dialog->singlePathMode());
}

TEST_F(MainWindow, HelpButtonOpensTheHelpFileOrSaysItIsMissing)
{
    TEncryptDialog* dialog = start();
    ASSERT_TRUE(QFileInfo(state.helpFilePath).isFile()) << "help file not next to the programs";
    dialog->press(TEncryptDialog::HelpButton);
    auto* viewer = dialog->findChild<QTextBrowser*>();
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(viewer->windowTitle(), "Tarvex - Encrypt: Help");
    EXPECT_TRUE(user.messages.empty());

    state.helpFilePath = "/nonexistent/sealwin.html";
    dialog->press(TEncryptDialog::HelpButton);
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(user.messages[0].text, "The help file cannot be opened:\n/nonexistent/sealwin.html");
    EXPECT_TRUE(dialog->isVisible());
}

TEST_F(MainWindow, AStoredUserIdKeepsTheProgramShut)
{
    auto common = framework::RegistryKey::openOrCreate("Software\\Quillon\\Tarvex\\Common");
    ASSERT_TRUE(common);
    common->writeBinary("userid", QByteArray(256, '\x41'));
    app = std::make_unique<TEncryptApp>(state, variantTexts(BuildVariant::Decrypt), keyboard);
    EXPECT_FALSE(app->start());
    EXPECT_EQ(app->endStatus(), 1);
    EXPECT_FALSE(app->mainWindow()->isVisible());
}

// Start-up and the main window of both programs, on real widgets (offscreen)
// with the settings in an empty configuration folder.
#include "MainWindowFixture.h"
#include "support/DialogTemplateFile.h"
#include "support/FolderTree.h"
#include "support/RerunTest.h"

#include "app/AuthorisationDialog.h"
#include "app/PassWordDialog.h"

#include "framework/FrameWindow.h"
#include "framework/Platform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

#include <cstdlib>

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
    EXPECT_EQ(state.programFolder, QCoreApplication::applicationDirPath().toStdString());
    EXPECT_EQ(state.helpFilePath, QCoreApplication::applicationDirPath().toStdString() + "/sealwin.html");
    EXPECT_EQ(state.systemFolders, framework::systemFolders());
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
    EXPECT_EQ(state.helpFilePath, QCoreApplication::applicationDirPath().toStdString() + "/unsealwin.html");
}

TEST_F(MainWindow, ThePictureIsDrawnFurtherOutWhereTheDialogTextIsLarge)
{
    TEncryptDialog* dialog = start();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->pictureArea(), QRect(312, 136, 85, 120));
    // The padlock sits on the window's own background, light or dark.
    const QImage shown = dialog->grab().toImage();
    const QImage picture = dialog->resources().bitmap(dialog->shownPicture()).toImage();
    const QRgb background = dialog->palette().color(QPalette::Window).rgb();
    int opaque = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb expected = qAlpha(picture.pixel(x, y)) == 0 ? background : picture.pixel(x, y);
            if (qAlpha(picture.pixel(x, y)) == 0 || qAlpha(picture.pixel(x, y)) == 255) {
                ASSERT_EQ(shown.pixel(312 + x, 136 + y), expected) << x << ',' << y;
                opaque += qAlpha(picture.pixel(x, y)) == 255;
            }
        }
    }
    EXPECT_GT(opaque, 85 * 120 / 4);
    EXPECT_EQ(shown.pixel(312, 136), background);

    // For screens scaled up, every picture is drawn again at twice its size:
    // the same picture, which halved comes close to the one of normal size.
    for (int id : {1, 2, 3, 4, 9, 10, 23}) {
        const QImage normal(QStringLiteral(":/sealwin/bitmaps/%1.png").arg(id));
        const QImage twice(QStringLiteral(":/sealwin/bitmaps/%1@2x.png").arg(id));
        ASSERT_FALSE(normal.isNull()) << id;
        ASSERT_EQ(twice.size(), normal.size() * 2) << id;
        const QImage halved = twice.scaled(normal.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                  .convertToFormat(normal.format());
        double difference = 0;
        for (int y = 0; y < normal.height(); ++y) {
            for (int x = 0; x < normal.width(); ++x)
                difference += std::abs(qGray(halved.pixel(x, y)) - qGray(normal.pixel(x, y))) +
                              std::abs(qAlpha(halved.pixel(x, y)) - qAlpha(normal.pixel(x, y)));
        }
        EXPECT_LT(difference / (normal.width() * normal.height()), 6.0) << id;
    }

    QFont large = dialog->font();
    large.setPixelSize(24);
    dialog->setFont(large);
    EXPECT_GT(QFontMetrics(large).height(), 16);
    EXPECT_EQ(dialog->pictureArea(), QRect(430, 180, 85, 120));
}

TEST_F(MainWindow, OnAScreenScaledTo200PercentThePadlockIsDrawnAtTwiceItsSizeNotEnlarged)
{
    if (qGuiApp->devicePixelRatio() != 2.0) {
        rerunOnAScaledScreen(QStringLiteral("2"));
        return;
    }
    TEncryptDialog* dialog = start();
    ASSERT_NE(dialog, nullptr);
    const QImage shown = dialog->grab().toImage();
    ASSERT_EQ(shown.devicePixelRatio(), 2.0);
    const QImage sharp(QStringLiteral(":/sealwin/bitmaps/%1@2x.png").arg(dialog->shownPicture()));
    ASSERT_EQ(sharp.size(), QSize(170, 240));
    int compared = 0;
    for (int y = 0; y < sharp.height(); ++y) {
        for (int x = 0; x < sharp.width(); ++x) {
            if (qAlpha(sharp.pixel(x, y)) != 255) continue;
            ASSERT_EQ(shown.pixel(2 * 312 + x, 2 * 136 + y), sharp.pixel(x, y)) << x << ',' << y;
            ++compared;
        }
    }
    EXPECT_GT(compared, 170 * 240 / 4);
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
    EXPECT_TRUE(QTest::qWaitFor([&] { return dialog->text(TEncryptDialog::KeyHintLine) == "CAPS LOCK ON !"; }, 1000));
    keyboard.capsLock = false;
    EXPECT_TRUE(QTest::qWaitFor([&] { return dialog->text(TEncryptDialog::KeyHintLine).isEmpty(); }, 1000));
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
    const WorkingDirectoryGuard restored;
    ASSERT_TRUE(QDir::setCurrent(thirty));
    TEncryptDialog* dialog = start();
    EXPECT_EQ(dialog->text(TEncryptDialog::CurrentFolderLine), thirty.left(25) + "...");
    ASSERT_TRUE(QDir::setCurrent(folder.path()));
    // A byte that is no text is shown, not dropped.
    ASSERT_TRUE(QDir().mkpath(folder.path() + "/x"));
    ASSERT_EQ(mkdir((folder.path().toStdString() + "/\xE9").c_str(), 0700), 0);
    ASSERT_EQ(chdir((folder.path().toStdString() + "/\xE9").c_str()), 0);
    dialog->showCurrentFolder();
    EXPECT_EQ(dialog->text(TEncryptDialog::CurrentFolderLine), folder.path() + "/\\xE9");
}

TEST_F(MainWindow, StartUpSelectionShowsOnePathOrACount)
{
    FolderTree tree;
    const std::string first = tree.file("first.txt");
    state.selectedFiles.add(first);
    state.selectedFiles.add(tree.file("second.txt"));
    TEncryptDialog* dialog = start();
    EXPECT_EQ(dialog->text(TEncryptDialog::SourceField), " 2 Files Selected for Encryption");
    EXPECT_FALSE(dialog->singlePathMode());

    state.selectedFiles.clear();
    state.selectedFiles.add(first);
    dialog = restart();
    EXPECT_EQ(dialog->text(TEncryptDialog::SourceField), QString::fromStdString(first));
    EXPECT_TRUE(dialog->singlePathMode());
}

TEST_F(MainWindow, HelpButtonOpensTheHelpFileOrSaysItIsMissing)
{
    TEncryptDialog* dialog = start();
    ASSERT_TRUE(QFileInfo(QString::fromStdString(state.helpFilePath)).isFile()) << "help file not next to the programs";
    dialog->press(TEncryptDialog::HelpButton);
    auto* viewer = dialog->findChild<QTextBrowser*>();
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(viewer->windowTitle(),
              QString::fromUtf8("Tarvex - Encrypt: Help \u2014 Sealwin 1.3 (Tarvex Encryption)"));
    EXPECT_TRUE(user.messages.empty());

    state.helpFilePath = "/nonexistent/sealwin.html";
    user.messageAnswers = {framework::ResultOk};
    dialog->press(TEncryptDialog::HelpButton);
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(user.messages[0].text, "The help file cannot be opened:\n/nonexistent/sealwin.html");
    EXPECT_TRUE(dialog->isVisible());
}

namespace {

// The user types a user ID and password into the authorisation dialog and
// presses OK; `confirmation` is typed into Confirm Password when it comes.
void typeCredentials(ScriptedUserQueue& user, const QString& userId, const QString& password, bool useAsKey,
                     const QString& confirmation = {})
{
    user.dialogSteps.push_back([=](framework::Dialog& dialog) {
        dialog.setText(TAuthorisationDialog::UserIdField, userId);
        dialog.setText(TAuthorisationDialog::PasswordField, password);
        dialog.setChecked(TAuthorisationDialog::UsePasswordAsKeyBox, useAsKey);
        dialog.press(framework::ResultOk);
    });
    if (confirmation.isEmpty()) return;
    user.dialogSteps.push_back([=](framework::Dialog& confirm) {
        EXPECT_EQ(confirm.windowTitle(), "  Confirm Password");
        confirm.setText(TPassWordDialog::ConfirmField, confirmation);
        confirm.press(framework::ResultOk);
    });
}

}  // namespace

TEST_F(MainWindow, ProtectionSetInOneProgramLocksBothAndALoginCanMakeThePasswordTheKey)
{
    TEncryptDialog* dialog = start();
    typeCredentials(user, "ann", "a password of hers", false, "a password of hers");
    dialog->authorise();
    EXPECT_TRUE(user.dialogSteps.empty());
    EXPECT_FALSE(state.hasLoginKey());

    // Unsealwin now asks; a cancelled login ends it with status 1 before its
    // window is shown or its position stored.
    app.reset();
    user.dialogSteps.push_back([](framework::Dialog& login) {
        EXPECT_EQ(login.windowTitle(), "  Authorisation - Enter User ID and Password");
        login.press(framework::ResultCancel);
    });
    app = std::make_unique<TEncryptApp>(state, variantTexts(BuildVariant::Decrypt), keyboard);
    EXPECT_FALSE(app->start());
    EXPECT_EQ(app->endStatus(), 1);
    EXPECT_FALSE(app->mainWindow()->isVisible());
    app.reset();
    EXPECT_EQ(settingsKey(BuildVariant::Decrypt)->readNumber("Right"), std::nullopt);

    // The right pair with the password as key: the key field is emptied and
    // shut, and the hint says why.
    typeCredentials(user, "ann", "a password of hers", true);
    dialog = start(BuildVariant::Decrypt);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(user.dialogSteps.empty());
    EXPECT_TRUE(state.hasLoginKey());
    EXPECT_EQ(dialog->text(TEncryptDialog::KeyField), "");
    EXPECT_TRUE(dialog->isReadOnly(TEncryptDialog::KeyField));
    dialog->updateKeyHint();
    EXPECT_EQ(dialog->text(TEncryptDialog::KeyHintLine), "Login Password !");

    // Removing the protection from the menu gives the key field back.
    user.messageAnswers = {framework::ResultYes};
    typeCredentials(user, "", "", false);
    dialog->authorise();
    EXPECT_FALSE(state.hasLoginKey());
    EXPECT_FALSE(dialog->isReadOnly(TEncryptDialog::KeyField));
    dialog = restart(BuildVariant::Decrypt);  // and no login is asked for
    EXPECT_NE(dialog, nullptr);
}

TEST_F(MainWindow, TheProcessWidePointerToTheDialogGoesWithIt)
{
    ASSERT_NE(start(), nullptr);
    EXPECT_NE(state.mainDialog, nullptr);
    app.reset();
    EXPECT_EQ(state.mainDialog, nullptr);
}

TEST_F(MainWindow, AProgramWithoutItsMainTemplateSaysSoAndEndsWithAFailure)
{
    // A program whose resources lack the main dialog, as a broken install
    // would have it.
    QTemporaryDir resources;
    services::VariantTexts broken = variantTexts(BuildVariant::Encrypt);
    const QByteArray root = resources.path().toUtf8();
    broken.resourceRoot = std::string_view(root.constData(), static_cast<std::size_t>(root.size()));
    TEncryptApp program(state, broken, keyboard);
    testing::internal::CaptureStderr();
    EXPECT_EQ(program.run(), framework::Application::startFailureStatus);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("cannot start: The dialog template MYDIALOG is missing"), std::string::npos) << said;
}

// Every dialog of both programs, left by each of its buttons, its Esc key and
// its close box, as a person leaves it: real clicks and keys on the real
// widgets (offscreen). A way out that does nothing leaves the dialog open,
// which fails the test.
#include "MainWindowFixture.h"

#include "support/UserInput.h"

#include "app/AuthorisationDialog.h"
#include "app/ConfirmDialog.h"
#include "app/FilesDialog.h"
#include "app/LogDialog.h"
#include "app/LogPasswordDialog.h"
#include "app/PassWordDialog.h"
#include "core/OverwriteDecision.h"

#include "services/ProgramSettings.h"

#include "framework/FrameWindow.h"

#include <functional>
#include <memory>

using framework::Dialog;
using framework::ResultCancel;
using framework::ResultOk;
using services::BuildVariant;

namespace {

struct WayOut {
    const char* what;
    std::function<void(Dialog&)> act;
    int result;
};

void pressEscape(Dialog& dialog) { userinput::pressKey(dialog, Qt::Key_Escape); }
void closeBox(Dialog& dialog) { userinput::closeBox(dialog); }

WayOut press(const char* what, int button, int result)
{
    return {what, [button](Dialog& dialog) { dialog.press(button); }, result};
}

class DialogExits : public MainWindow {
protected:
    // Each way out of a fresh dialog from `make` gives its result and closes it.
    void expectWaysOut(const std::function<std::unique_ptr<Dialog>()>& make, const std::vector<WayOut>& waysOut)
    {
        for (const WayOut& wayOut : waysOut) {
            SCOPED_TRACE(wayOut.what);
            const std::unique_ptr<Dialog> dialog = make();
            user.dialogSteps.push_back(wayOut.act);
            EXPECT_EQ(framework::runModal(*dialog), wayOut.result);
            EXPECT_FALSE(dialog->isVisible());
            EXPECT_TRUE(user.dialogSteps.empty());
        }
    }
    // Esc and the close box cancel, as the Cancel button does where there is one.
    static std::vector<WayOut> cancelledBy(std::vector<WayOut> buttons, int cancelResult = ResultCancel)
    {
        buttons.push_back({"Esc", pressEscape, cancelResult});
        buttons.push_back({"close box", closeBox, cancelResult});
        return buttons;
    }
};

}  // namespace

TEST_F(DialogExits, EveryDialogOfBothProgramsIsLeftByEachButtonEscAndTheCloseBox)
{
    for (const BuildVariant which : {BuildVariant::Encrypt, BuildVariant::Decrypt}) {
        SCOPED_TRACE(static_cast<int>(which));
        const services::VariantTexts& texts = services::variantTexts(which);
        TEncryptDialog* main = restart(which);
        ASSERT_NE(main, nullptr);
        const framework::ResourceSet& resources = main->resources();

        expectWaysOut([&] { return std::make_unique<TFilesDialog>(main, resources, texts, state.selectedFiles); },
                      cancelledBy({press("OK", TFilesDialog::OkButton, ResultOk)}));

        const SecretText key("a key of mine");
        const auto retype = [](const QString& typed) {
            return [typed](Dialog& dialog) {
                dialog.setText(TPassWordDialog::ConfirmField, typed);
                dialog.press(ResultOk);
            };
        };
        const auto mismatchThenCancel = [&](Dialog& dialog) {
            user.messageAnswers.push_back(ResultOk);
            retype("a key of mine!")(dialog);  // "Key does not match original entry"
            EXPECT_TRUE(dialog.isVisible());
            dialog.press(ResultCancel);
        };
        expectWaysOut([&] { return std::make_unique<TPassWordDialog>(main, resources, key); },
                      cancelledBy({{"OK with the same key", retype("a key of mine"), ResultOk},
                                   {"OK with another key, then Cancel", mismatchThenCancel, ResultCancel},
                                   press("Cancel", ResultCancel, ResultCancel)}));
        EXPECT_EQ(user.messages.back().text, "Key does not match original entry");

        expectWaysOut(
            [&] { return std::make_unique<TConfirmDialog>(main, resources, "Overwrite /tmp/a ?"); },
            cancelledBy({press("Yes", AnswerYes, AnswerYes), press("Yes To All", AnswerYesToAll, AnswerYesToAll),
                         press("No", AnswerNo, AnswerNo), press("Cancel", AnswerCancel, AnswerCancel)},
                        AnswerCancel));

        // Nothing stored yet: OK with both fields empty closes without effect.
        services::ProgramSettings settings(texts);
        expectWaysOut([&] { return std::make_unique<TAuthorisationDialog>(main, resources, texts, state, settings); },
                      cancelledBy({press("OK", ResultOk, ResultOk), press("Cancel", ResultCancel, ResultCancel)}));

        const auto typeLogKey = [](Dialog& dialog) {
            dialog.setText(TLogPasswordDialog::KeyField, "a log key of mine");
            dialog.press(ResultOk);
        };
        expectWaysOut(
            [&] { return std::make_unique<TLogPasswordDialog>(main, resources, texts); },
            cancelledBy({{"OK with a key", typeLogKey, ResultOk}, press("Cancel", ResultCancel, ResultCancel)}));

        // The viewer's OK has id 2; its other buttons keep it open.
        const auto otherButtonsThenOk = [&](Dialog& dialog) {
            user.messageAnswers.push_back(ResultOk);  // an empty log is not saved
            dialog.press(texts.logSaveToFileButton);
            dialog.press(texts.logDeleteAllButton);
            EXPECT_TRUE(dialog.isVisible());
            dialog.press(ResultCancel);
        };
        expectWaysOut([&] { return std::make_unique<TLogDialog>(main, resources, texts, state); },
                      cancelledBy({{"Save To File, Delete All, then OK", otherButtonsThenOk, ResultCancel}}));
    }
}

TEST_F(DialogExits, TheMainWindowClosesByItsCloseButtonEscAndTheCloseBox)
{
    const std::function<void(TEncryptDialog&)> waysOut[] = {
        [](TEncryptDialog& main) { main.press(TEncryptDialog::CloseButton); },
        [](TEncryptDialog& main) { userinput::pressKey(main, Qt::Key_Escape); },
        [this](TEncryptDialog&) { userinput::closeBox(*app->mainWindow()); },
    };
    for (const BuildVariant which : {BuildVariant::Encrypt, BuildVariant::Decrypt}) {
        for (const auto& wayOut : waysOut) {
            TEncryptDialog* main = restart(which);
            ASSERT_NE(main, nullptr);
            ASSERT_TRUE(app->mainWindow()->isVisible());
            main->focusControl(TEncryptDialog::SourceField);
            wayOut(*main);
            EXPECT_FALSE(app->mainWindow()->isVisible());
        }
    }
}

TEST_F(DialogExits, TheStartUpLoginLeftByCancelEscOrTheCloseBoxEndsTheProgramWithStatus1)
{
    TEncryptDialog* main = start();
    ASSERT_NE(main, nullptr);
    user.dialogSteps.push_back([](Dialog& dialog) {
        dialog.setText(TAuthorisationDialog::UserIdField, "ann");
        dialog.setText(TAuthorisationDialog::PasswordField, "a password of hers");
        dialog.press(ResultOk);
    });
    user.dialogSteps.push_back([](Dialog& confirm) {
        confirm.setText(TPassWordDialog::ConfirmField, "a password of hers");
        confirm.press(ResultOk);
    });
    main->authorise();
    ASSERT_TRUE(user.dialogSteps.empty());

    const std::function<void(Dialog&)> waysOut[] = {
        [](Dialog& login) { login.press(ResultCancel); },
        pressEscape,
        closeBox,
    };
    for (const BuildVariant which : {BuildVariant::Encrypt, BuildVariant::Decrypt}) {
        for (const auto& wayOut : waysOut) {
            app.reset();
            settingsKey(which)->deleteValue("Right");
            user.dialogSteps.push_back([&](Dialog& login) {
                EXPECT_EQ(login.windowTitle(), "  Authorisation - Enter User ID and Password");
                wayOut(login);
            });
            app = std::make_unique<TEncryptApp>(state, services::variantTexts(which), keyboard);
            EXPECT_FALSE(app->start());
            EXPECT_EQ(app->endStatus(), 1);
            EXPECT_TRUE(user.dialogSteps.empty());
            app.reset();
            EXPECT_EQ(settingsKey(which)->readNumber("Right"), std::nullopt);
        }
    }
}

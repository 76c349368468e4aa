#include "app/MainWindowRun.h"

#include "app/ConfirmDialog.h"
#include "app/EncryptDialog.h"
#include "app/OverwriteDecision.h"
#include "app/ProcessState.h"

#include "framework/Modal.h"
#include "framework/UserInterfaceThread.h"

namespace {

using services::toQString;

}  // namespace

MainWindowRun::MainWindowRun(ProcessState& state, const services::VariantTexts& variant)
    : state_(state), variant_(variant)
{}

// The main dialog is looked up on the window's thread each time: it is the
// process-wide pointer, null once the dialog has gone.
void MainWindowRun::showCaption(const QString& caption)
{
    framework::postToUserInterfaceThread([this, caption] {
        if (TEncryptDialog* dialog = state_.mainDialog) dialog->window()->setWindowTitle(caption);
    });
}

void MainWindowRun::showProgress(int percent)
{
    framework::postToUserInterfaceThread([this, percent] {
        if (TEncryptDialog* dialog = state_.mainDialog) dialog->setProgress(TEncryptDialog::ProgressBar, percent);
    });
}

int MainWindowRun::askOverwrite(const QString& question)
{
    const auto answer = framework::askOnUserInterfaceThread([this, &question] {
        TEncryptDialog* dialog = state_.mainDialog;
        if (!dialog) return static_cast<int>(AnswerCancel);
        // The window waits for the answer, as the run does.
        QWidget* window = dialog->window();
        window->setEnabled(false);
        TConfirmDialog prompt(window, dialog->resources(), question);
        const int result = framework::runModal(prompt);
        window->setEnabled(true);
        return result;
    });
    return answer.value_or(AnswerCancel);
}

bool MainWindowRun::goOnWithoutRecoveryList(const QString& question)
{
    const auto answer = framework::askOnUserInterfaceThread([this, &question] {
        return framework::showMessage(state_.mainDialog,
                                      {question, toQString(variant_.programTitle), framework::MessageIcon::Exclamation,
                                       framework::MessageButtons::YesNo});
    });
    return answer == framework::ResultYes;
}

// Left to the window: the run has ended, and must not wait for the user to
// read the report. A failed in-place transform may have left its file partly
// done: once the user has read the report, that is offered for repair.
void MainWindowRun::reportFailures(const QString& text)
{
    framework::postToUserInterfaceThread([this, text] {
        framework::showMessage(state_.mainDialog, {text, toQString(variant_.programTitle),
                                                   framework::MessageIcon::Exclamation, framework::MessageButtons::Ok});
        if (TEncryptDialog* dialog = state_.mainDialog) dialog->offerRepairs();
    });
}

#include "app/MainWindowRun.h"

#include "app/ConfirmDialog.h"
#include "app/EncryptDialog.h"
#include "app/ProcessState.h"
#include "core/OverwriteDecision.h"

#include "framework/Modal.h"
#include "framework/UserInterfaceThread.h"

#include <QPointer>
#include <QTimer>

namespace {

using services::toQString;

}  // namespace

MainWindowRun::MainWindowRun(ProcessState& state, const services::VariantTexts& variant)
    : state_(state), variant_(variant)
{}

void MainWindowRun::showCaption(const QString& caption)
{
    {
        const std::lock_guard lock(shownLock_);
        caption_ = caption;
    }
    refreshSoon();
}

void MainWindowRun::showProgress(int percent)
{
    {
        const std::lock_guard lock(shownLock_);
        progress_ = percent;
    }
    refreshSoon();
}

// One refresh at a time is on its way; whatever arrives meanwhile rides on it.
void MainWindowRun::refreshSoon()
{
    if (refreshPending_.exchange(true)) return;
    framework::postToUserInterfaceThread([this, context = QPointer<QObject>(&refreshContext_)] {
        if (context) QTimer::singleShot(refreshInterval, context, [this] { refresh(); });
    });
}

// The main dialog is looked up on the window's thread each time: it is the
// process-wide pointer, null once the dialog has gone.
void MainWindowRun::refresh()
{
    refreshPending_ = false;
    std::optional<QString> caption;
    std::optional<int> progress;
    {
        const std::lock_guard lock(shownLock_);
        caption.swap(caption_);
        progress.swap(progress_);
    }
    TEncryptDialog* dialog = state_.mainDialog;
    if (!dialog) return;
    if (caption) dialog->window()->setWindowTitle(*caption);
    if (progress) dialog->setProgress(TEncryptDialog::ProgressBar, *progress);
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

#include "app/LogDialog.h"

#include "app/EncryptDialog.h"
#include "app/EngineBusy.h"
#include "app/LogExport.h"
#include "app/LogPasswordDialog.h"
#include "app/PassWordDialog.h"
#include "app/ProcessState.h"
#include "core/EngineGate.h"

#include "framework/PathText.h"

#include <QCoreApplication>

#include <array>
#include <mutex>

namespace {

using framework::MessageButtons;
using framework::MessageIcon;

using services::toQString;

// The export's choices, in the order the save dialog shows them.
QString exportFilters()
{
    return QCoreApplication::translate(
        "LogDialog", "All Files(*.*)|*.*|Text Files(*.txt)|*.txt|Log Files(*.log)|*.log|"
                     "Word Document Files(*.doc)|*.doc|Zip Files(*.zip)|*.zip|Word Excel Worksheet(*.xls)|*.xls|");
}

}  // namespace

TLogDialog::TLogDialog(QWidget* parent, const framework::ResourceSet& resources, const services::VariantTexts& variant,
                       ProcessState& state)
    : Dialog(parent, resources, QString::number(variant.logDialogTemplate)), variant_(variant), state_(state)
{}

std::vector<std::string> TLogDialog::entries() const
{
    const std::lock_guard lock(state_.recordsLock);
    std::vector<std::string> copied;
    copied.reserve(static_cast<std::size_t>(state_.activityLog.count()));
    for (int i = 0; i < state_.activityLog.count(); ++i) copied.push_back(state_.activityLog.getAt(i));
    return copied;
}

void TLogDialog::setupWindow()
{
    using Response = framework::Response<TLogDialog>;
    const std::array responses{
        Response{variant_.logDeleteAllButton, framework::ControlEvent::Clicked, &TLogDialog::deleteAllClicked},
        Response{variant_.logSaveToFileButton, framework::ControlEvent::Clicked, &TLogDialog::saveToFileClicked},
        Response{framework::ResultCancel, framework::ControlEvent::Clicked, &TLogDialog::okClicked},
    };
    bindResponses<TLogDialog>(this, responses);

    clearList(variant_.logListBox);
    setHorizontalExtent(variant_.logListBox, horizontalExtent);
    QStringList shown;
    for (const std::string& entry : entries()) shown.push_back(toQString(entry));
    setListItems(variant_.logListBox, shown);
}

// OK closes the viewer as its cancel command.
void TLogDialog::okClicked() { endDialog(framework::ResultCancel); }

void TLogDialog::deleteAllClicked()
{
    int count = 0;
    {
        const std::lock_guard lock(state_.recordsLock);
        count = state_.activityLog.count();
    }
    if (count == 0) return;
    const QString caption = count == 1 ? QCoreApplication::translate("LogDialog", "  Delete Log Entry")
                                       : QCoreApplication::translate("LogDialog", "  Delete All Log Entries");
    const int answer =
        framework::showMessage(this, {QCoreApplication::translate("LogDialog", "Are you sure you want to continue ?"),
                                      caption, MessageIcon::None, MessageButtons::YesNoCancel});
    if (answer != framework::ResultYes) return;
    {
        const std::lock_guard lock(state_.recordsLock);
        state_.activityLog.clear();
    }
    clearList(variant_.logListBox);
}

void TLogDialog::saveToFileClicked()
{
    std::string text;
    {
        const std::vector<std::string> all = entries();
        if (all.empty()) {
            framework::showMessage(this,
                                   {QCoreApplication::translate("LogDialog", "There are no entries in the log"),
                                    toQString(variant_.logEmptyCaption), MessageIcon::Exclamation, MessageButtons::Ok});
            return;
        }
        text = logexport::exportText(all);
    }

    TLogPasswordDialog keyDialog(this, resources(), variant_);
    if (framework::runModal(keyDialog) != framework::ResultOk) return;
    const SecretText key = keyDialog.key();
    const int layerChoice = keyDialog.layerChoice();
    {
        TPassWordDialog confirm(this, resources(), key);
        if (framework::runModal(confirm) != framework::ResultOk) return;
    }

    {
        const auto pass = tryEngineTurnOrSay(this, variant_);
        if (!pass) return;
        logexport::encryptInPlace(*pass, key, text, layerChoice);
    }
    if (state_.mainDialog) state_.mainDialog->setProgress(TEncryptDialog::ProgressBar, 0);

    const std::string chosen = framework::chooseFileToSave(this, {toQString(variant_.logSaveTitle), exportFilters()});
    if (chosen.empty()) return;
    switch (logexport::replaceFile(chosen, text)) {
    case logexport::WriteResult::Written: return;
    case logexport::WriteResult::CannotOpen:
        framework::showMessage(this, {QCoreApplication::translate("LogDialog", "Could not open log file"),
                                      QCoreApplication::translate("LogDialog", "I/O Error"), MessageIcon::Stop,
                                      MessageButtons::Ok});
        return;
    case logexport::WriteResult::WriteFailed:
        framework::showMessage(
            this,
            {QCoreApplication::translate("LogDialog", "Could not write the log file; nothing was saved"),
             QCoreApplication::translate("LogDialog", "I/O Error"), MessageIcon::Exclamation, MessageButtons::Ok});
        return;
    }
}

#include "framework/Modal.h"

#include "ThreadHandOver.h"

#include "framework/Dialog.h"
#include "framework/UserInterfaceThread.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace framework {

namespace {

ScriptedUser* scriptedUser = nullptr;

QMessageBox::Icon toQtIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::None: return QMessageBox::NoIcon;
    case MessageIcon::Stop: return QMessageBox::Critical;
    case MessageIcon::Exclamation: return QMessageBox::Warning;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::Information: return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

struct ButtonChoice {
    QMessageBox::StandardButton button;
    int result;
};

std::vector<ButtonChoice> buttonsOf(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::Ok: return {{QMessageBox::Ok, ResultOk}};
    case MessageButtons::OkCancel: return {{QMessageBox::Ok, ResultOk}, {QMessageBox::Cancel, ResultCancel}};
    case MessageButtons::YesNo: return {{QMessageBox::Yes, ResultYes}, {QMessageBox::No, ResultNo}};
    case MessageButtons::YesNoCancel:
        return {{QMessageBox::Yes, ResultYes}, {QMessageBox::No, ResultNo}, {QMessageBox::Cancel, ResultCancel}};
    }
    return {{QMessageBox::Ok, ResultOk}};
}

// The answer of a box closed without a button.
int escapeAnswer(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::Ok: return ResultOk;
    case MessageButtons::YesNo: return ResultNo;
    case MessageButtons::OkCancel:
    case MessageButtons::YesNoCancel: return ResultCancel;
    }
    return ResultCancel;
}

}  // namespace

ScopedScriptedUser::ScopedScriptedUser(ScriptedUser& user) : previous_(scriptedUser) { scriptedUser = &user; }

ScopedScriptedUser::~ScopedScriptedUser() { scriptedUser = previous_; }

int showMessage(QWidget* owner, const MessageRequest& request)
{
    if (!isUserInterfaceThread()) {
        return askOnUserInterfaceThread([&] { return showMessage(owner, request); })
            .value_or(escapeAnswer(request.buttons));
    }
    if (scriptedUser) return scriptedUser->answerMessage(request);

    QMessageBox box(toQtIcon(request.icon), request.caption, request.text, QMessageBox::NoButton, owner);
    const auto choices = buttonsOf(request.buttons);
    for (const ButtonChoice& choice : choices) box.addButton(choice.button);
    box.exec();
    const auto clicked = box.standardButton(box.clickedButton());
    for (const ButtonChoice& choice : choices) {
        if (choice.button == clicked) return choice.result;
    }
    return escapeAnswer(request.buttons);
}

int runModal(Dialog& dialog)
{
    if (!isUserInterfaceThread()) {
        qCritical("runModal: a dialog cannot run off the user-interface thread; it is cancelled");
        return ResultCancel;
    }
    if (!dialog.create()) return ResultCancel;
    if (!scriptedUser) return dialog.exec();

    dialog.setModal(true);
    dialog.show();
    // As a person would: the dialog is the active window, so focus moves.
    dialog.activateWindow();
    QApplication::processEvents();
    scriptedUser->useDialog(dialog);
    if (!dialog.hasEnded()) dialog.endDialog(ResultCancel);
    return dialog.endResult();
}

QStringList chooseFilesToOpen(QWidget* owner, const FileDialogRequest& request)
{
    if (!isUserInterfaceThread()) return readOnUserInterfaceThread([&] { return chooseFilesToOpen(owner, request); });
    if (scriptedUser) return scriptedUser->answerFileDialog(request);
    return QFileDialog::getOpenFileNames(owner, request.title, request.folder, request.filter);
}

QString chooseFileToSave(QWidget* owner, const FileDialogRequest& request)
{
    if (!isUserInterfaceThread()) return readOnUserInterfaceThread([&] { return chooseFileToSave(owner, request); });
    if (scriptedUser) {
        const QStringList chosen = scriptedUser->answerFileDialog(request);
        return chosen.isEmpty() ? QString() : chosen.front();
    }
    return QFileDialog::getSaveFileName(owner, request.title, request.folder, request.filter);
}

}  // namespace framework

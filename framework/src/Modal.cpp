#include "framework/Modal.h"

#include "ThreadHandOver.h"

#include "framework/Dialog.h"
#include "framework/FileSystem.h"
#include "framework/PathText.h"
#include "framework/Platform.h"
#include "framework/UserInterfaceThread.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <functional>

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

// What a screen reader says of the box's icon.
QString spokenIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::None: return {};
    case MessageIcon::Stop: return QStringLiteral("Stop");
    case MessageIcon::Exclamation: return QStringLiteral("Warning");
    case MessageIcon::Question: return QStringLiteral("Question");
    case MessageIcon::Information: return QStringLiteral("Information");
    }
    return {};
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

using FileMode = QFileDialog::FileMode;

// The choices of a filter such as "All Files(*.*)|*.*|Text Files(*.txt)|*.txt|"
// as the dialog takes them. "*.*" means every file, with or without a dot in
// its name; patterns separated by ';' become one choice.
QStringList nameFiltersOf(const QString& filter)
{
    QStringList choices;
    const QStringList parts = filter.split('|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(';', Qt::SkipEmptyParts);
        for (QString& pattern : patterns) {
            pattern = pattern.trimmed();
            if (pattern == QStringLiteral("*.*")) pattern = QStringLiteral("*");
        }
        choices << parts[i] + QStringLiteral(" (") + patterns.join(' ') + ')';
    }
    return choices;
}

std::vector<std::string> runFileDialog(QWidget* owner, const FileDialogRequest& request,
                                       QFileDialog::AcceptMode acceptMode, FileMode fileMode)
{
    const std::string folder = request.folder.empty() ? currentDirectory() : request.folder;
    QFileDialog dialog(owner, request.title, QFile::decodeName(QByteArray::fromStdString(folder)));
    dialog.setAcceptMode(acceptMode);
    dialog.setFileMode(fileMode);
    const QStringList filters = nameFiltersOf(request.filter);
    if (!filters.isEmpty()) {
        // The descriptions already say which files they show.
        dialog.setOption(QFileDialog::HideNameFilterDetails);
        dialog.setNameFilters(filters);
    }
    std::vector<std::string> chosen;
    if (dialog.exec() != QDialog::Accepted) return chosen;
    for (const QString& path : dialog.selectedFiles()) chosen.push_back(pathFromPickedText(path));
    return chosen;
}

// The dialog gives every path whole, all in one folder.
PickedFiles pickedFilesOf(const std::vector<std::string>& paths)
{
    PickedFiles picked;
    for (const std::string& path : paths) {
        const std::size_t separator = path.rfind(pathSeparator);
        if (picked.names.empty()) {
            if (separator == std::string::npos) picked.folder = currentDirectory();
            else picked.folder = separator == 0 ? std::string(1, pathSeparator) : path.substr(0, separator);
        }
        picked.names.push_back(separator == std::string::npos ? path : path.substr(separator + 1));
    }
    return picked;
}

// Once `window` runs modally, the scripted user gets it; whatever the user
// left open is reported and ended, so a test never hangs on a dead button.
void handToScriptedUser(QDialog& window, std::function<void()> use)
{
    QTimer::singleShot(0, &window, [&window, use = std::move(use)] {
        use();
        if (!window.isVisible()) return;
        if (scriptedUser) scriptedUser->leftOpen(window.windowTitle());
        window.done(ResultCancel);
    });
}

}  // namespace

std::string PickedFiles::pathOf(const std::string& name) const { return ensureTrailingSeparator(folder) + name; }

ScopedScriptedUser::ScopedScriptedUser(ScriptedUser& user) : previous_(scriptedUser) { scriptedUser = &user; }

ScopedScriptedUser::~ScopedScriptedUser() { scriptedUser = previous_; }

int showMessage(QWidget* owner, const MessageRequest& request)
{
    if (!isUserInterfaceThread()) {
        return askOnUserInterfaceThread([&] { return showMessage(owner, request); })
            .value_or(escapeAnswer(request.buttons));
    }
    QMessageBox box(toQtIcon(request.icon), request.caption, request.text, QMessageBox::NoButton, owner);
    const auto choices = buttonsOf(request.buttons);
    for (const ButtonChoice& choice : choices) box.addButton(choice.button);
    if (auto* icon = box.findChild<QLabel*>(QStringLiteral("qt_msgboxex_icon_label")))
        icon->setAccessibleName(spokenIcon(request.icon));
    if (scriptedUser) {
        handToScriptedUser(box, [&] { scriptedUser->useMessage(box, request); });
    }
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
    if (scriptedUser) {
        handToScriptedUser(dialog, [&] {
            // As a person would: the dialog is the active window, so focus moves.
            dialog.activateWindow();
            QApplication::processEvents();
            scriptedUser->useDialog(dialog);
        });
    }
    return dialog.exec();
}

PickedFiles chooseFilesToOpen(QWidget* owner, const FileDialogRequest& request)
{
    if (!isUserInterfaceThread()) return readOnUserInterfaceThread([&] { return chooseFilesToOpen(owner, request); });
    // A name that does not exist yet can only be typed, and only one at a time.
    const FileMode mode = !request.fileMustExist      ? FileMode::AnyFile
                          : request.multipleSelection ? FileMode::ExistingFiles
                                                      : FileMode::ExistingFile;
    return pickedFilesOf(scriptedUser ? scriptedUser->answerFileDialog(request)
                                      : runFileDialog(owner, request, QFileDialog::AcceptOpen, mode));
}

std::string chooseFileToSave(QWidget* owner, const FileDialogRequest& request)
{
    if (!isUserInterfaceThread()) return readOnUserInterfaceThread([&] { return chooseFileToSave(owner, request); });
    const std::vector<std::string> chosen =
        scriptedUser ? scriptedUser->answerFileDialog(request)
                     : runFileDialog(owner, request, QFileDialog::AcceptSave, FileMode::AnyFile);
    return chosen.empty() ? std::string() : chosen.front();
}

}  // namespace framework

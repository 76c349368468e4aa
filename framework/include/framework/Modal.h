// The one way into everything modal: message boxes, modal dialogs and file
// dialogs. Normally real widgets answer; a test installs a ScriptedUser that
// sees every request and answers as a person would.
#pragma once

#include <QString>

#include <string>
#include <vector>

class QMessageBox;
class QWidget;

namespace framework {

class Dialog;

enum class MessageIcon { None, Stop, Exclamation, Question, Information };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };

// Answers of message boxes and results of modal dialogs; OK and Cancel share
// their numbers with the OK (1) and Cancel (2) buttons of dialog templates.
enum DialogResult : int { ResultOk = 1, ResultCancel = 2, ResultYes = 6, ResultNo = 7 };

struct MessageRequest {
    QString text;
    QString caption;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
};

// Every member has a default, so a request names only what it needs.
struct FileDialogRequest {
    QString title{};
    // The choices of file type, each a description and its pattern ended by
    // '|': "All Files(*.*)|*.*|Text Files(*.txt)|*.txt|". The first is chosen
    // at first; "*.*" stands for every file. Empty: every file.
    QString filter{};
    bool multipleSelection = false;
    // An open dialog takes existing files only; otherwise a new name may be
    // typed too, and then the dialog takes one name, not several.
    bool fileMustExist = true;
    // Where the dialog opens, as bytes; empty: the current directory.
    std::string folder{};
};

// What the user picked in an open dialog: the folder, then the names picked
// in it, in the order the dialog gave them. No names: the user cancelled.
struct PickedFiles {
    std::string folder;
    std::vector<std::string> names;

    // The whole path of a name picked in the folder.
    std::string pathOf(const std::string& name) const;
};

// Stands in for the person at the screen. Message boxes and dialogs are the
// real ones, shown and running modally: the scripted user answers them with
// their own buttons, keys and close box, so a dead button keeps a dialog open
// for a test as it would for a person.
class ScriptedUser {
public:
    virtual ~ScriptedUser() = default;
    // The box is shown; the user presses one of its buttons or keys.
    virtual void useMessage(QMessageBox& box, const MessageRequest& request) = 0;
    // The dialog is shown; the user types into its controls and presses
    // buttons or keys.
    virtual void useDialog(Dialog& dialog) = 0;
    // A box or dialog was still open once the user was done with it; the
    // framework then ends it, so that the program goes on.
    virtual void leftOpen(const QString& windowTitle) = 0;
    // Returns the chosen paths, whole and as bytes, all in one folder; none
    // when the user cancels.
    virtual std::vector<std::string> answerFileDialog(const FileDialogRequest& request) = 0;
};

// Installs a scripted user for its lifetime (tests only).
class ScopedScriptedUser {
public:
    explicit ScopedScriptedUser(ScriptedUser& user);
    ~ScopedScriptedUser();
    ScopedScriptedUser(const ScopedScriptedUser&) = delete;
    ScopedScriptedUser& operator=(const ScopedScriptedUser&) = delete;

private:
    ScriptedUser* previous_;
};

// Message boxes and file dialogs may be asked for from any thread: a call
// from another thread waits while the user-interface thread shows the box or
// dialog (or hands it to the scripted user there) and gives back its answer.
// Without an application to show them a message box gets its escape answer
// and a file dialog is cancelled. File dialogs give back the bytes of the
// names picked, also of names that are not valid text.
int showMessage(QWidget* owner, const MessageRequest& request);
PickedFiles chooseFilesToOpen(QWidget* owner, const FileDialogRequest& request);
// The path to save to; empty when the user cancels.
std::string chooseFileToSave(QWidget* owner, const FileDialogRequest& request);
// Creates the dialog's window, runs it modally and returns its result. On the
// user-interface thread only: a dialog of another thread is refused,
// untouched, with ResultCancel and a critical line in the log.
int runModal(Dialog& dialog);

}  // namespace framework

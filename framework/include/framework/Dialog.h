// A dialog built from a template of the program's resources. Its controls are
// reached by their resource ids; its responses come from a response table.
#pragma once

#include "framework/DialogTemplate.h"
#include "framework/Modal.h"
#include "framework/ResourceSet.h"
#include "framework/ResponseTable.h"

#include <QDialog>
#include <QMenu>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <set>
#include <span>
#include <string>
#include <vector>

class QTimer;

namespace framework {

class Dialog : public QDialog {
public:
    struct ControlView {
        int id;
        ControlKind kind;
        QString text;  // caption, an edit's current text, a list box's entries one a line
        QRect pixels;  // position inside the dialog
    };

    Dialog(QWidget* parent, const ResourceSet& resources, QString templateName);
    ~Dialog() override;

    // Builds the controls from the template once and runs setupWindow().
    // False when the template is missing or malformed; createError() then
    // says what is wrong.
    bool create();
    const QString& createError() const { return createError_; }
    bool isCreated() const { return created_; }
    const ResourceSet& resources() const { return resources_; }

    QWidget* control(int id) const;
    // What a screen reader says of a control whose own text says too little;
    // a mouse pointer resting on it shows the same as a tip.
    void describeControl(int id, const QString& name, const QString& description = {});
    // What a screen reader says of the dialog's pictures, which have no id.
    void describePictures(const QString& name);

    // Widgets belong to the user-interface thread, yet the calls from
    // controls() to isDialogTimerRunning() may come from any thread. Off that
    // thread a call that changes the dialog is
    // handed to it and acts there later, in the order the calls were made,
    // and not at all when the dialog is gone by then; a call that reads waits
    // for that thread's answer. On that thread every call acts at once. All
    // other calls are for the user-interface thread alone.
    std::vector<ControlView> controls() const;

    QString text(int id) const;
    void setText(int id, const QString& text);
    // An edit that shows a path: the field shows it as text, whole even where
    // it is longer than the field's limit, and reading the field gives back
    // the path's exact bytes for as long as the shown text stays unchanged;
    // text the user typed instead is read as typed.
    void setPathText(int id, const std::string& path);
    std::string pathText(int id) const;
    bool isChecked(int id) const;
    void setChecked(int id, bool checked);
    void setTextLimit(int id, int characters);
    void setReadOnly(int id, bool readOnly);
    bool isReadOnly(int id) const;
    void setProgress(int id, int percent);
    void focusControl(int id);
    // A click as a user makes it: the mouse button goes down and up on the
    // button, so a disabled button stays as dead as it looks.
    void press(int id);
    // A list box's entries, top to bottom.
    void setListItems(int id, const QStringList& items);
    void clearList(int id);
    QStringList listItems(int id) const;
    // How wide, in pixels, the entries of a list box may be scrolled to.
    void setHorizontalExtent(int id, int pixels);

    // Ends a modal run with `result` (a DialogResult or a button id).
    void endDialog(int result);
    void done(int result) override;
    void startDialogTimer(int id, int milliseconds);
    void stopDialogTimer(int id);
    bool isDialogTimerRunning(int id) const;

    bool hasEnded() const { return ended_; }
    int endResult() const { return endResult_; }

    // Asks canClose(); closes the window (or, as a frame's client, the
    // frame) when it agrees. Returns whether the window closed.
    bool closeWindow();
    // Asked before the window closes, whoever asks it to.
    virtual bool canClose() { return true; }

    struct MenuItem {
        int command;
        QString text;  // '&' marks the item's access key
    };
    // Runs the responses bound to a command id, as a chosen menu item does.
    void sendCommand(int command);
    // Shows the dialog's context menu, built anew from contextMenuItems(),
    // with its top-left corner at the screen position `at`, and returns at
    // once. It replaces the menu shown before, which goes. A chosen item
    // sends its command to this dialog.
    void showContextMenu(QPoint at);
    // The context menu last shown, until the next replaces it.
    QMenu* contextMenu() const { return contextMenu_; }

    // Files dropped on a dialog whose template accepts drops arrive here,
    // wherever on the dialog they land; a frame delivers its own drops to its
    // client here too.
    virtual void filesDropped(const std::vector<std::string>& paths);

protected:
    virtual void setupWindow() {}
    // The items of the context menu that the right button, the menu key and
    // Shift+F10 ask for; none (the default): the dialog has no menu.
    virtual std::vector<MenuItem> contextMenuItems() const;
    virtual void paint(QPainter& painter);
    virtual void dialogTimerTick(int id);

    template <class Owner>
    void bindResponses(Owner* owner, std::span<const Response<Owner>> table)
    {
        for (const Response<Owner>& response : table) {
            bindResponse(response.controlId, response.event,
                         [owner, handler = response.handler] { (owner->*handler)(); });
        }
    }

    void paintEvent(QPaintEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // Escape and the window's close box act like the button with id 2.
    void reject() override;
    // The framework's own Cancel: a button with id 2 that the response table
    // leaves unbound ends the dialog with ResultCancel.
    void bindDefaultCancel();
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void bindResponse(int id, ControlEvent event, std::function<void()> action);
    void showKeyboardContextMenu(QWidget* focused);
    void nameControlsForAssistiveTechnology();
    QWidget* createControl(const ControlTemplate& control);

    ResourceSet resources_;
    QString templateName_;
    QString createError_;
    bool created_ = false;
    bool ended_ = false;
    int endResult_ = ResultCancel;
    std::vector<std::pair<ControlTemplate, QWidget*>> controls_;
    std::map<int, QWidget*> controlsById_;
    std::map<QObject*, std::vector<std::function<void()>>> focusActions_;
    std::set<int> clickBindings_;
    std::map<int, std::vector<std::function<void()>>> commandActions_;
    QPointer<QMenu> contextMenu_;
    std::map<int, QTimer*> timers_;
    struct ShownPath {
        std::string path;
        QString text;
    };
    std::map<int, ShownPath> shownPaths_;
};

}  // namespace framework

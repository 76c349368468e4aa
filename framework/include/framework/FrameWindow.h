// A program's main frame: a fixed-size window around one client dialog. It
// cannot be maximised or resized, accepts dropped files for its client and
// remembers where it last stood in its normal state.
#pragma once

#include <QPoint>
#include <QWidget>

#include <optional>

namespace framework {

class Dialog;

class FrameWindow : public QWidget {
public:
    // The frame takes ownership of the client.
    FrameWindow(const QString& title, Dialog* client);
    ~FrameWindow() override;

    Dialog* client() const { return client_; }
    // Creates the client's window and shrinks the frame to it.
    bool create();
    // Where the frame stood while it was last neither minimised nor maximised;
    // nothing for a frame that was never shown, which stood nowhere.
    std::optional<QPoint> normalPosition() const;

protected:
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    Dialog* client_;
    QPoint normalPosition_;
    bool shown_ = false;
};

}  // namespace framework

#include "framework/FrameWindow.h"

#include "framework/Dialog.h"

#include "DroppedFiles.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMoveEvent>
#include <QShowEvent>
#include <QVBoxLayout>

namespace framework {

FrameWindow::FrameWindow(const QString& title, Dialog* client) : QWidget(nullptr), client_(client)
{
    setWindowTitle(title);
    // A thin border, a minimise box and no maximise box or sizing border.
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setAcceptDrops(true);
    client_->setParent(this);
    client_->setWindowFlags(Qt::Widget);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(client_);
}

FrameWindow::~FrameWindow() = default;

bool FrameWindow::create()
{
    if (!client_->create()) return false;
    setFixedSize(client_->size());
    normalPosition_ = pos();
    return true;
}

std::optional<QPoint> FrameWindow::normalPosition() const
{
    if (!shown_) return std::nullopt;
    return normalPosition_;
}

void FrameWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    shown_ = true;
}

void FrameWindow::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    if (!isMinimized() && !isMaximized()) normalPosition_ = pos();
}

void FrameWindow::closeEvent(QCloseEvent* event)
{
    if (client_->canClose()) event->accept();
    else event->ignore();
}

void FrameWindow::dragEnterEvent(QDragEnterEvent* event) { acceptFileDrag(event); }

void FrameWindow::dropEvent(QDropEvent* event) { deliverFileDrop(event, *client_); }

}  // namespace framework

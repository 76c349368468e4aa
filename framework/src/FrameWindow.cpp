#include "framework/FrameWindow.h"

#include "framework/Dialog.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QMoveEvent>
#include <QUrl>
#include <QVBoxLayout>

namespace framework {

namespace {

QStringList localFiles(const QMimeData* mime)
{
    QStringList paths;
    if (!mime) return paths;
    for (const QUrl& url : mime->urls()) {
        if (url.isLocalFile()) paths << url.toLocalFile();
    }
    return paths;
}

}  // namespace

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

void FrameWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (!localFiles(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void FrameWindow::dropEvent(QDropEvent* event)
{
    const QStringList paths = localFiles(event->mimeData());
    if (paths.isEmpty()) return;
    event->acceptProposedAction();
    client_->filesDropped(paths);
}

}  // namespace framework

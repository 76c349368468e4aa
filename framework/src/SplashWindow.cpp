#include "framework/SplashWindow.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTimer>

namespace framework {

SplashWindow::SplashWindow(const QPixmap& picture, QSize size, int timeoutMilliseconds, Border border)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      picture_(picture),
      timeoutMilliseconds_(timeoutMilliseconds),
      border_(border)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(picture_.isNull() ? size : size.boundedTo(picture_.size()));
}

void SplashWindow::showCentred()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        move(available.center() - rect().center());
    }
    show();
    repaint();
    grabMouse();
    if (timeoutMilliseconds_ != noTimeout) QTimer::singleShot(timeoutMilliseconds_, this, &QWidget::close);
}

void SplashWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.drawPixmap(0, 0, picture_);
    if (border_ == Border::Thin) {
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void SplashWindow::mousePressEvent(QMouseEvent*) { close(); }

void SplashWindow::hideEvent(QHideEvent* event)
{
    releaseMouse();
    QWidget::hideEvent(event);
}

}  // namespace framework

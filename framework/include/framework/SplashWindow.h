// A borderless picture shown centred on the screen while a program starts.
// It closes itself after its time-out or when it is clicked.
#pragma once

#include <QPixmap>
#include <QWidget>

namespace framework {

class SplashWindow : public QWidget {
public:
    // The window shrinks to the picture when it is smaller than `size`.
    SplashWindow(const QPixmap& picture, QSize size, int timeoutMilliseconds);

    // Shows the window centred on the screen and paints it at once.
    void showCentred();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QPixmap picture_;
    int timeoutMilliseconds_;
};

}  // namespace framework

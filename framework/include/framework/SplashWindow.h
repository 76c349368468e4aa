// A borderless picture shown centred on the screen, above other windows: the
// picture a program shows while it starts, and its About picture. While it is
// shown the mouse reaches only this window, and a click closes it.
#pragma once

#include <QPixmap>
#include <QWidget>

namespace framework {

class SplashWindow : public QWidget {
public:
    // For a window that stays until it is clicked.
    static constexpr int noTimeout = 0;
    // A thin border is drawn over the picture's outermost pixels: the window
    // keeps the picture's size.
    enum class Border { None, Thin };

    // The window shrinks to the picture when it is smaller than `size`.
    SplashWindow(const QPixmap& picture, QSize size, int timeoutMilliseconds, Border border = Border::None);

    // Shows the window centred on the screen and paints it at once.
    void showCentred();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QPixmap picture_;
    int timeoutMilliseconds_;
    Border border_;
};

}  // namespace framework

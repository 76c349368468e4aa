// What a person does to a window: a click on a control, a key, the window's
// close box. Each goes in as the event the window system would deliver, so a
// control that does not answer it stays dead in a test too.
#pragma once

#include <QTest>
#include <QWidget>
#include <QWindow>

namespace userinput {

inline void click(QWidget& control) { QTest::mouseClick(&control, Qt::LeftButton); }

// The key goes to the control that has the focus in `window`, and from there
// to the window, as typed keys do.
inline void pressKey(QWidget& window, Qt::Key key)
{
    QWidget* focused = window.focusWidget();
    QTest::keyClick(focused ? focused : &window, key);
}

// The close box: the window manager asks the window to close.
inline void closeBox(QWidget& window)
{
    if (QWindow* handle = window.windowHandle()) handle->close();
}

}  // namespace userinput

// Caps Lock as the system reports it: never guessed from the key presses the
// program receives, and on X11 followed wherever it is toggled.
#include "framework/KeyboardState.h"

#include <QGuiApplication>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#ifdef TARVEX_WITH_XKB
#include "support/RerunTest.h"

// Last: the X headers define names such as None and KeyPress as macros.
#include <X11/XKBlib.h>
#endif

using framework::CapsLockSource;

TEST(KeyboardState, KeyPressesTheProgramReceivesNeverTurnItOn)
{
    ASSERT_EQ(QGuiApplication::platformName().toStdString(), "offscreen");
    const auto keyboard = framework::systemKeyboardState();
    const CapsLockSource source = framework::systemCapsLockSource();
    // Keyboard lights, where there are any, show the real keyboard, which the
    // test leaves alone; with nothing to read Caps Lock is off.
    const bool before = keyboard->capsLockOn();
    EXPECT_TRUE(source == CapsLockSource::KeyboardLights || !before);

    QWidget window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    for (int press = 0; press < 3; ++press) {
        QTest::keyPress(window.windowHandle(), Qt::Key_CapsLock);
        EXPECT_EQ(keyboard->capsLockOn(), before) << "after press " << press;
        QTest::keyRelease(window.windowHandle(), Qt::Key_CapsLock);
        EXPECT_EQ(keyboard->capsLockOn(), before) << "after release " << press;
    }
}

#ifdef TARVEX_WITH_XKB
namespace {

void lockCaps(Display* display, bool on)
{
    ASSERT_TRUE(XkbLockModifiers(display, XkbUseCoreKbd, LockMask, on ? LockMask : 0));
    XSync(display, False);
}

}  // namespace

TEST(KeyboardState, FollowsCapsLockOnTheXServerWhereverItIsToggled)
{
    if (!onAnXServer()) {
        rerunOnAnXServer();
        return;
    }
    // A connection of its own stands for another program's window.
    Display* elsewhere = XOpenDisplay(nullptr);
    ASSERT_NE(elsewhere, nullptr);
    // On before the program asks for the first time.
    lockCaps(elsewhere, true);
    const auto keyboard = framework::systemKeyboardState();
    EXPECT_EQ(framework::systemCapsLockSource(), CapsLockSource::XServer);
    EXPECT_TRUE(keyboard->capsLockOn());
    lockCaps(elsewhere, false);
    EXPECT_FALSE(keyboard->capsLockOn());
    lockCaps(elsewhere, true);
    EXPECT_TRUE(keyboard->capsLockOn());
    lockCaps(elsewhere, false);
    XCloseDisplay(elsewhere);
}
#endif

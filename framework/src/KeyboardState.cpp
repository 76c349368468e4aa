#include "framework/KeyboardState.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>

#if defined(TARVEX_WITH_XKB) && QT_CONFIG(xcb)
#include <optional>

// Last: the X headers define names such as None and KeyPress as macros.
#include <X11/XKBlib.h>
#define TARVEX_READS_X_SERVER 1
#endif

namespace framework {

namespace {

const QString ledFolder = QStringLiteral("/sys/class/leds");

QStringList readableCapsLockLights()
{
    QStringList lights;
    for (const QString& name : QDir(ledFolder).entryList({QStringLiteral("*::capslock")}, QDir::Dirs | QDir::System)) {
        const QString brightness = ledFolder + '/' + name + QStringLiteral("/brightness");
        if (QFileInfo(brightness).isReadable()) lights << brightness;
    }
    return lights;
}

#ifdef TARVEX_READS_X_SERVER
// The effective modifiers hold Lock while Caps Lock is locked and while its
// key is down, whichever client the key went to. Nothing when the server
// does not answer.
std::optional<bool> xLockOn(Display* display)
{
    XkbStateRec state{};
    if (XkbGetState(display, XkbUseCoreKbd, &state) != Success) return std::nullopt;
    return (state.mods & LockMask) != 0;
}

// Qt's own connection to the X server, when the program runs on X11 and the
// server answers keyboard state requests.
Display* lockReportingDisplay()
{
    if (!qGuiApp || QGuiApplication::platformName() != QLatin1String("xcb")) return nullptr;
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    Display* display = x11 ? x11->display() : nullptr;
    return display && xLockOn(display) ? display : nullptr;
}
#endif

class SystemKeyboardState final : public KeyboardState {
public:
    SystemKeyboardState()
    {
#ifdef TARVEX_READS_X_SERVER
        display_ = lockReportingDisplay();
        if (display_) return;
#endif
        lights_ = readableCapsLockLights();
    }

    CapsLockSource source() const
    {
#ifdef TARVEX_READS_X_SERVER
        if (display_) return CapsLockSource::XServer;
#endif
        return lights_.isEmpty() ? CapsLockSource::Nothing : CapsLockSource::KeyboardLights;
    }

    bool capsLockOn() const override
    {
#ifdef TARVEX_READS_X_SERVER
        if (display_) return xLockOn(display_).value_or(false);
#endif
        for (const QString& path : lights_) {
            QFile light(path);
            if (light.open(QIODevice::ReadOnly) && light.readAll().trimmed().toInt() != 0) return true;
        }
        return false;
    }

private:
#ifdef TARVEX_READS_X_SERVER
    Display* display_ = nullptr;
#endif
    QStringList lights_;
};

}  // namespace

std::unique_ptr<KeyboardState> systemKeyboardState() { return std::make_unique<SystemKeyboardState>(); }

CapsLockSource systemCapsLockSource() { return SystemKeyboardState().source(); }

}  // namespace framework

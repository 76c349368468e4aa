#include "framework/KeyboardState.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QObject>

namespace framework {

namespace {

const QString ledFolder = QStringLiteral("/sys/class/leds");

QStringList capsLockLights()
{
    QStringList lights;
    for (const QString& name : QDir(ledFolder).entryList({QStringLiteral("*::capslock")}, QDir::Dirs | QDir::System))
        lights << ledFolder + '/' + name + QStringLiteral("/brightness");
    return lights;
}

class SystemKeyboardState final : public QObject, public KeyboardState {
public:
    SystemKeyboardState() : lights_(capsLockLights())
    {
        if (qGuiApp) qGuiApp->installEventFilter(this);
    }

    bool capsLockOn() const override { return keyHeld_ || (lights_.isEmpty() ? toggledByKeys_ : anyLightOn()); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const auto type = event->type();
        if (type == QEvent::KeyPress || type == QEvent::KeyRelease) {
            const auto* key = static_cast<QKeyEvent*>(event);
            // The event reaches the window first, then each widget on its way:
            // count it at the window only.
            if (watched->isWindowType() && key->key() == Qt::Key_CapsLock && !key->isAutoRepeat()) {
                keyHeld_ = type == QEvent::KeyPress;
                if (keyHeld_) toggledByKeys_ = !toggledByKeys_;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool anyLightOn() const
    {
        for (const QString& path : lights_) {
            QFile light(path);
            if (light.open(QIODevice::ReadOnly) && light.readAll().trimmed().toInt() != 0) return true;
        }
        return false;
    }

    QStringList lights_;
    bool keyHeld_ = false;
    bool toggledByKeys_ = false;
};

}  // namespace

std::unique_ptr<KeyboardState> systemKeyboardState() { return std::make_unique<SystemKeyboardState>(); }

}  // namespace framework

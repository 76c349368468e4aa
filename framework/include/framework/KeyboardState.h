// Whether Caps Lock is on, as the platform reports it.
#pragma once

#include <memory>

namespace framework {

class KeyboardState {
public:
    virtual ~KeyboardState() = default;
    // True while Caps Lock is toggled on or its key is held down.
    virtual bool capsLockOn() const = 0;
};

// Where systemKeyboardState() reads Caps Lock from.
enum class CapsLockSource {
    XServer,         // the X server's keyboard state, whichever window changed it
    KeyboardLights,  // the Caps Lock lights under /sys/class/leds: the lock, not the key
    Nothing,         // nothing to read: Caps Lock always reads as off
};

// The X server's keyboard state on X11; elsewhere the keyboard lights where
// the system exposes them and they can be read. Where neither can be read
// (say, on Wayland or the offscreen platform without such lights) Caps Lock
// reads as off: no hint is better than a wrong one, and the key presses the
// program receives cannot tell, since Caps Lock may have been on before the
// program started or been pressed in another program's window.
// Needs a running QGuiApplication.
std::unique_ptr<KeyboardState> systemKeyboardState();

// The source systemKeyboardState() reads from on this system.
CapsLockSource systemCapsLockSource();

}  // namespace framework

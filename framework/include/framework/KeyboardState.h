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

// The keyboard lights where the system exposes them; elsewhere the program
// follows the Caps Lock key presses it receives itself, from the start of the
// program on. Needs a running QGuiApplication.
std::unique_ptr<KeyboardState> systemKeyboardState();

}  // namespace framework

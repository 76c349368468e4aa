// A response table binds (control id, event) pairs to a dialog's member
// functions. Each dialog class keeps its whole table in one array.
#pragma once

namespace framework {

enum class ControlEvent {
    Clicked,      // a button or check box was clicked
    TextChanged,  // an edit's text changed, by the user or by the program
    GainedFocus,  // a control received the keyboard focus
    Command,      // a menu item sent its command id (the id needs no control)
};

template <class Owner>
struct Response {
    int controlId;
    ControlEvent event;
    void (Owner::*handler)();
};

}  // namespace framework

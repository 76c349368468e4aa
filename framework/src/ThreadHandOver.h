// Calls on a widget from any thread. Widgets belong to the user-interface
// thread, so a call from another thread hands its work over to that one.
#pragma once

#include "framework/UserInterfaceThread.h"

#include <QObject>
#include <QPointer>

#include <optional>
#include <utility>

namespace framework {

// Off the user-interface thread: leaves `action` to that thread, which runs
// it only while `target` still exists, and returns true. On that thread:
// false, and the caller acts at once itself.
template <class Action>
bool handedToUserInterfaceThread(const QObject* target, Action&& action)
{
    if (isUserInterfaceThread()) return false;
    postToUserInterfaceThread([guard = QPointer<const QObject>(target), action = std::forward<Action>(action)] {
        if (guard) action();
    });
    return true;
}

// For a caller off the user-interface thread: waits for that thread to run
// `read` and gives its answer, an empty one when no application runs.
template <class Read>
auto readOnUserInterfaceThread(const Read& read) -> decltype(read())
{
    decltype(read()) answer{};
    askOnUserInterfaceThread([&] {
        answer = read();
        return 0;
    });
    return answer;
}

// Off the user-interface thread: waits for that thread to run `read` and
// gives its answer, an empty one when `target` is gone by then. On that
// thread: nothing, and the caller reads at once itself.
template <class Read>
auto askedOfUserInterfaceThread(const QObject* target, const Read& read) -> std::optional<decltype(read())>
{
    if (isUserInterfaceThread()) return std::nullopt;
    const QPointer<const QObject> guard(target);
    return readOnUserInterfaceThread([&] { return guard ? read() : decltype(read()){}; });
}

}  // namespace framework

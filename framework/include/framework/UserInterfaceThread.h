// Widgets live on the user-interface thread only. A worker reaches them by
// handing work over: a question it waits for, or an action it leaves behind.
#pragma once

#include <functional>
#include <optional>

namespace framework {

// Whether the calling thread is the one the application's widgets live on.
bool isUserInterfaceThread();

// Runs `question` on the user-interface thread and waits for its answer.
// Nothing, and `question` is not run, when the caller is the user-interface
// thread itself (it would wait for itself forever) or no application runs.
std::optional<int> askOnUserInterfaceThread(const std::function<int()>& question);

// Leaves `action` to the user-interface thread and returns at once; on that
// thread itself the action runs at once.
void postToUserInterfaceThread(std::function<void()> action);

}  // namespace framework

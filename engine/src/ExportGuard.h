#pragma once

#include <utility>

namespace tarvex {

// Runs the body of an exported function. An exception unwinding into a C
// caller ends its process, so whatever the body throws (no memory for a path,
// an exception from the caller's own progress callback) ends the call here
// with `failure`. The body's locals, the key material among them, are
// destroyed on the way out as on any other return.
template <typename Result, typename Body>
Result guardExport(Result failure, Body&& body) noexcept
{
    try {
        return std::forward<Body>(body)();
    } catch (...) {
        return failure;
    }
}

// The same for an export without a result.
template <typename Body>
void guardExport(Body&& body) noexcept
{
    try {
        std::forward<Body>(body)();
    } catch (...) {}
}

}  // namespace tarvex

#pragma once

#include <cstddef>

// Counts the heap allocations of the whole process, the engine library
// included, so a benchmark can show what a transform allocates.
namespace allocations {
std::size_t count();
}

#pragma once

#include <cstddef>
#include <cstring>

namespace tarvex {

// Zeroes memory in a way the optimiser may not drop even when the memory is
// never read again (key material at the end of a call): the barrier tells it
// that the zeroed bytes may still be looked at.
inline void secureWipe(void* memory, std::size_t length)
{
    if (length == 0) return;  // an empty area may have no address at all
    std::memset(memory, 0, length);
    __asm__ __volatile__("" : : "r"(memory) : "memory");
}

}  // namespace tarvex

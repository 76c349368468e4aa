#pragma once

#include <cstddef>

namespace tarvex {

// Zeroes memory through volatile writes, which the optimiser may not drop even
// when the memory is never read again (key material at the end of a call).
inline void secureWipe(void* memory, std::size_t length)
{
    volatile unsigned char* byte = static_cast<volatile unsigned char*>(memory);
    while (length--) *byte++ = 0;
}

}  // namespace tarvex

#pragma once

// The taken slots of a block for the x86 vector planners. Each planner
// includes this where its own target options are in force; the anonymous
// namespace keeps every includer's build apart, so no build for one
// instruction set can stand in for another's at link time.
#include <immintrin.h>

#include <cstdint>

#include "BatchSearch.h"

namespace tarvex {
namespace {

// Each slot's bit in a 256-bit set.
struct SlotBits {
    alignas(32) uint64_t words[256][4];
};

constexpr SlotBits kSlotBits = [] {
    SlotBits bits{};
    for (int slot = 0; slot < 256; ++slot) bits.words[slot][slot >> 6] = uint64_t(1) << (slot & 63);
    return bits;
}();

// The taken slots twice: a byte each for the check of a single slot, and one
// bit each in a vector for the check of a whole batch. Reading a vector
// straight after narrower stores to the same place would stall.
struct VectorTakenSet : TakenFlags {
    __m256i vector;

    void clear()
    {
        TakenFlags::clear();
        vector = _mm256_setzero_si256();
    }
    void add(uint32_t slot)
    {
        TakenFlags::add(slot);
        vector = _mm256_or_si256(vector, _mm256_load_si256(reinterpret_cast<const __m256i*>(kSlotBits.words[slot])));
    }
};

}  // namespace
}  // namespace tarvex

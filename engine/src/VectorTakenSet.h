#pragma once

// The taken slots of a block for the x86 vector planners. Each planner
// includes this where its own target options are in force; the anonymous
// namespace keeps every includer's build apart, so no build for one
// instruction set can stand in for another's at link time.
#include <immintrin.h>

#include <cstdint>
#include <cstring>

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

// One bit per slot, twice: in words for the check of a single slot, and in a
// vector for the check of a whole batch. Reading the words as a vector
// straight after a word was stored would stall.
struct VectorTakenSet {
    uint64_t words[4];
    __m256i vector;

    void clear()
    {
        std::memset(words, 0, sizeof words);
        vector = _mm256_setzero_si256();
    }
    bool has(uint32_t slot) const { return (words[slot >> 6] >> (slot & 63)) & 1; }
    void add(uint32_t slot)
    {
        words[slot >> 6] |= uint64_t(1) << (slot & 63);
        vector = _mm256_or_si256(vector, _mm256_load_si256(reinterpret_cast<const __m256i*>(kSlotBits.words[slot])));
    }
    uint32_t lowestFree() const
    {
        for (uint32_t w = 0;; ++w)
            if (~words[w]) return w * 64 + static_cast<uint32_t>(__builtin_ctzll(~words[w]));
    }
};

}  // namespace
}  // namespace tarvex

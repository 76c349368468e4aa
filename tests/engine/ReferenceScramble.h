#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "ReferenceGenerator.h"

// The scrambling of one chunk written out step by step, one generator step at
// a time, as a model for the engine's batched search: positions come from
// hi mod block length, a taken slot is searched for at most 10 x length more
// steps and then replaced by the lowest free slot, run keys reload every
// (key & 31) bytes with (run & 15) steps, and block lengths alternate between
// key bytes 0 and 1.
inline void referenceScramble(const uint8_t* key, std::vector<uint8_t>& chunk, ReferenceGenerator& g, bool encrypt,
                              int* lowestFreeFallbacks = nullptr)
{
    auto runOf = [](uint8_t byte) { return (byte & 31) == 0 ? 1 : byte & 31; };
    auto blockLength = [&g](uint8_t byte) {
        for (int steps = std::max(byte & 15, 1); steps > 0; --steps) g.step();
        return static_cast<int>(g.hi() % 128 + 128);
    };
    const int n = static_cast<int>(chunk.size());
    int run = runOf(key[2]), runIndex = 0, blockIndex = 0, offset = 0;
    int length = std::min(blockLength(key[0]), n);
    int position = 0;
    while (offset < n) {
        std::vector<bool> taken(256, false);
        std::vector<uint8_t> block(length);
        for (int i = 0; i < length; ++i) {
            if (--run == 0) {
                runIndex = (runIndex + 1) % 14;
                run = runOf(key[2 + runIndex]);
                for (int steps = run & 15; steps > 0; --steps) position = static_cast<int>(g.step() >> 14) % length;
            } else {
                position = static_cast<int>(g.step() >> 14) % length;
            }
            auto isTaken = [&] { return position >= length || taken[position]; };
            if (isTaken()) {
                for (int tries = 10 * length; tries > 0 && isTaken(); --tries)
                    position = static_cast<int>(g.step() >> 14) % length;
                if (isTaken()) {
                    position = static_cast<int>(std::find(taken.begin(), taken.end(), false) - taken.begin());
                    if (lowestFreeFallbacks) ++*lowestFreeFallbacks;
                }
            }
            if (encrypt) block[position] = chunk[offset + i];
            else block[i] = chunk[offset + position];
            taken[position] = true;
        }
        std::copy(block.begin(), block.end(), chunk.begin() + offset);
        blockIndex ^= 1;
        offset += length;
        length = std::min(blockLength(key[blockIndex]), n - offset);
    }
}

#pragma once

#include <algorithm>
#include <cstdint>

#include "BlockModulo.h"
#include "Scramble.h"

namespace tarvex {

constexpr uint32_t kMaxScrambleBlock = 255;
// A slot number no block has; it always counts as free and ends every scan.
constexpr uint32_t kSentinelSlot = kMaxScrambleBlock + 1;

// Which slots of the current scramble block already hold a byte.
class SlotMarks {
public:
    void clear();
    void mark(uint32_t slot) { taken_[slot] = true; }
    // Slots at or beyond the block's length count as taken.
    bool isTaken(uint32_t slot, uint32_t slots) const { return slot >= slots || taken_[slot]; }
    uint32_t lowestFree() const;
    // Indexed by slot, the sentinel slot included.
    const bool* flags() const { return taken_; }

private:
    bool taken_[kSentinelSlot + 1];
};

// The positions a block's bytes may take come, in order, from one run of
// generator steps: entry k is hi mod the block length after k + 1 steps. The
// stream is computed ahead, many steps side by side, because the search for a
// free slot would otherwise wait on every single step.
class PositionStream {
public:
    // Starts after the generator's current state, for one block.
    void start(uint32_t state, const BlockModulo& modulo);

    // Takes `steps` steps whose positions are not used.
    void skip(uint32_t steps);

    // Takes steps until one names a free slot, at most maxSteps, and returns
    // that slot; without a free slot in reach, the lowest free slot, with all
    // maxSteps steps taken.
    uint32_t takeFreeSlot(const SlotMarks& marks, uint32_t maxSteps)
    {
        const bool* taken = marks.flags();
        while (maxSteps > 0) {
            if (next_ == computed_) computeAhead();
            uint32_t i = next_;
            while (taken[slots_[i]]) ++i;  // the sentinel behind the last entry stops it
            const uint32_t reach = next_ + std::min(maxSteps, computed_ - next_);
            if (i < reach) return takeUpTo(i);
            maxSteps -= reach - next_;
            takeUpTo(reach - 1);
        }
        return marks.lowestFree();
    }

    // The generator's state after the steps taken so far.
    uint32_t state() const { return state_; }

private:
    static constexpr uint32_t kAhead = 256;
    void computeAhead();

    // Takes the steps up to and including entry i; returns its slot.
    uint32_t takeUpTo(uint32_t i)
    {
        next_ = i + 1;
        state_ = states_[i];
        return slots_[i];
    }

    const BlockModulo* modulo_ = nullptr;
    uint32_t state_ = 0;     // after the last step taken
    uint32_t computed_ = 0;  // entries computed ahead
    uint32_t next_ = 0;      // next entry to take
    alignas(32) uint32_t states_[kAhead];
    alignas(32) uint32_t slots_[kAhead + 1];
};

}  // namespace tarvex

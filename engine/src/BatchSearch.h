#pragma once

// The search for a byte's slot, shared by every block planner; only the way a
// batch of candidates is worked out and checked differs between them. A file
// that builds the search for a vector unit includes this header where its
// target options are in force (and the headers below before that), so that
// the search and the vector code inline into one another.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>

#include "BlockModulo.h"
#include "BlockPlanner.h"
#include "Scramble.h"
#include "ScramblePlan.h"

namespace tarvex {

constexpr uint32_t kCandidateBatch = 64;

// 64 consecutive candidates of a block's generator run: their states and
// their slots, as bytes or as words, whichever the planner's vectors make
// more cheaply.
template <class Slot>
struct CandidateBatch {
    alignas(64) uint32_t states[kCandidateBatch];
    alignas(64) Slot slots[kCandidateBatch];
};

// Candidate k of a batch lies k + 1 steps after the state the batch continues
// from, so all 64 can be worked out side by side.
struct BatchJumps {
    alignas(64) uint32_t multipliers[kCandidateBatch];
    alignas(64) uint32_t increments[kCandidateBatch];
};

inline constexpr BatchJumps kBatchJumps = [] {
    BatchJumps jumps{};
    for (uint32_t k = 0; k < kCandidateBatch; ++k) {
        jumps.multipliers[k] = jumpOf(static_cast<int>(k) + 1).multiplier;
        jumps.increments[k] = jumpOf(static_cast<int>(k) + 1).increment;
    }
    return jumps;
}();

namespace {

// The taken slots of a block, a byte each: one load checks a slot. In every
// includer's own build, like the search.
struct TakenFlags {
    uint8_t flags[kMaxScrambleBlock + 1];

    void clear() { std::memset(flags, 0, sizeof flags); }
    bool has(uint32_t slot) const { return flags[slot]; }
    void add(uint32_t slot) { flags[slot] = 1; }
    // Called only while some slot of the block is free.
    uint32_t lowestFree() const
    {
        return static_cast<uint32_t>(std::find(flags, flags + kMaxScrambleBlock, 0) - flags);
    }
};

}  // namespace

// The candidates of a block are numbered from its first step on and come in
// batches of 64; the batch after the current one is worked out while the
// current one is searched.
//
// A byte takes the first candidate whose slot is free, and the next byte
// searches on from the candidate after it. So one loop runs over the
// candidates that were free when it came to the batch, checks each against
// the live taken set without a branch (a repeat of a slot taken since is
// passed over), and counts a byte placed for each one still free. It stops
// only where a reload skips candidates or may keep a position, at the
// block's end, and where a byte's search may run out of its budget.
// The search keeps its counters in locals: as members of an object they would
// go through memory on every byte.
//
// Batches provides:
//   Batch, the CandidateBatch it fills;
//   Taken, the block's taken slots: clear(), add(slot), has(slot), lowestFree();
//   compute(batch, before, modulo), the 64 candidates after state `before`;
//   freeAmong(batch, taken), bit k set where candidate k names a free slot.
template <class Batches>
void planBatched(const RunKeys& runKeys, uint32_t slots, RunState& run, uint32_t& state, uint8_t* planned)
{
    const BlockModulo modulo(slots);
    typename Batches::Taken taken;
    taken.clear();
    typename Batches::Batch batches[2];
    auto* current = &batches[0];
    auto* ahead = &batches[1];
    uint32_t before = state;  // the state the current batch continues from
    Batches::compute(*current, before, modulo);
    Batches::compute(*ahead, current->states[kCandidateBatch - 1], modulo);
    uint32_t base = 0;    // the number of the current batch's first candidate
    uint32_t cursor = 0;  // the next candidate to take, in the current batch

    // Takes every candidate before number `to`.
    const auto moveTo = [&](uint32_t to) __attribute__((always_inline))
    {
        while (to - base >= kCandidateBatch) {
            before = current->states[kCandidateBatch - 1];
            std::swap(current, ahead);
            base += kCandidateBatch;
            Batches::compute(*ahead, current->states[kCandidateBatch - 1], modulo);
        }
        cursor = to - base;
    };

    // The slot of each byte of the block, in byte order.
    uint8_t positions[kMaxScrambleBlock];
    uint32_t placed = 0;
    const uint32_t fullBudget = 1 + kCollisionStepsPerSlot * slots;
    uint32_t first = 0;  // the number of the candidate the current byte's search starts from
    // The byte after a reload that keeps a position in vain: its search looks
    // at one candidate fewer. None yet.
    uint32_t shortSearchFor = kMaxScrambleBlock;
    const auto budget = [&] { return placed == shortSearchFor ? fullBudget - 1 : fullBudget; };
    RunState local = run;

    // Sets up the bytes from `placed` on, up to the next reload or the
    // block's end, and returns the count `placed` then reaches. A reload
    // skips candidates, or keeps the previous position, which is placed here.
    const auto nextStretch = [&]() __attribute__((always_inline))->uint32_t
    {
        for (;;) {
            uint32_t count = 0;
            if (local.run == 1) {
                const uint32_t steps = reloadRun(runKeys, local);
                if (steps == 0) {
                    // A run of 16 keeps the previous position when it is free here.
                    const uint32_t kept = placed ? positions[placed - 1] : local.position;
                    if (kept < slots && !taken.has(kept)) {
                        taken.add(kept);
                        positions[placed++] = static_cast<uint8_t>(kept);
                        if (placed == slots) return placed;
                        continue;
                    }
                    shortSearchFor = placed;
                } else {
                    first += steps - 1;
                }
                count = 1;
            }
            uint32_t end = placed + count;
            for (;;) {
                const uint32_t plain = std::min(static_cast<uint32_t>(local.run) - 1, slots - end);
                local.run -= static_cast<int>(plain);
                end += plain;
                // A reload of one step searches like any other byte, so the
                // stretch goes on through it.
                if (end == slots || nextReloadSteps(runKeys, local) != 1) return end;
                reloadRun(runKeys, local);
                ++end;
            }
        }
    };

    // Places the current byte by looking at one candidate at a time, from the
    // cursor on, for a search that may run out of its budget.
    const auto placeByCounting = [&]() __attribute__((always_inline))
    {
        uint32_t slot;
        for (;;) {
            const uint32_t number = base + cursor;
            if (number - first >= budget()) {
                slot = taken.lowestFree();
                break;
            }
            slot = current->slots[cursor];
            moveTo(number + 1);
            if (!taken.has(slot)) break;
        }
        taken.add(slot);
        positions[placed++] = static_cast<uint8_t>(slot);
        first = base + cursor;
    };

    uint32_t goal = nextStretch();
    uint32_t scanFrom = first;  // the candidate the search goes on from
    while (placed < slots) {
        moveTo(scanFrom);
        if (slots < kVectorPlannerFrom || first + budget() <= base + kCandidateBatch) {
            // This byte's budget may end in this batch: rare, except in the
            // short block that may end a chunk.
            placeByCounting();
            if (placed == goal && placed < slots) goal = nextStretch();
            scanFrom = first;
            continue;
        }
        uint64_t open = Batches::freeAmong(*current, taken) & (~uint64_t(0) << cursor);
        scanFrom = base + kCandidateBatch;
        // `first` counted from this batch's start (wrapping when it lies
        // before), which the loop keeps in a register.
        uint32_t after = first - base;
        while (open) {
            const uint32_t k = static_cast<uint32_t>(__builtin_ctzll(open));
            open &= open - 1;
            const uint32_t slot = current->slots[k];
            const bool fresh = !taken.has(slot);
            taken.add(slot);
            positions[placed] = static_cast<uint8_t>(slot);
            placed += fresh;
            // A conditional move, not a branch, which the repeats would mislead.
            after = fresh ? k + 1 : after;
            if (placed == goal) {
                if (placed == slots) break;
                first = base + after;
                goal = nextStretch();
                after = first - base;
                if (after >= kCandidateBatch) {
                    // The reload skipped past this batch.
                    scanFrom = first;
                    break;
                }
                open &= ~uint64_t(0) << after;
            }
        }
        first = base + after;
    }
    moveTo(first);
    local.position = positions[slots - 1];
    run = local;
    state = cursor > 0 ? current->states[cursor - 1] : before;
    std::memcpy(planned, positions, slots);
}

}  // namespace tarvex

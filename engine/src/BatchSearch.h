#pragma once

// The search for a byte's slot, shared by every block planner; only the way a
// batch of candidates is worked out and checked differs between them. A file
// that builds the search for a vector unit includes this header where its
// target options are in force (and the headers below before that), so that
// the search and the vector code inline into one another.
#include <cstdint>
#include <utility>

#include "BlockModulo.h"
#include "BlockPlanner.h"
#include "Scramble.h"

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

// The candidates of a block are numbered from its first step on and come in
// batches of 64; the batch after the current one is worked out while the
// current one is searched. Slots only ever become taken inside a block, so a
// candidate taken when its batch came up is taken for good; one free then is
// checked again against the live set before it is used. The search keeps its
// counters in locals: as members of an object they would go through memory on
// every byte.
//
// Batches provides:
//   Batch, the CandidateBatch it fills;
//   Taken, the block's taken slots: clear(), add(slot), has(slot), lowestFree();
//   compute(batch, before, modulo), the 64 candidates after state `before`;
//   freeAmong(batch, taken), bit k set where candidate k names a free slot.
template <class Batches, bool Encrypt>
void planBatched(const uint8_t* keyBlock, uint32_t slots, RunState& run, uint32_t& state, uint8_t* sources)
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
    uint64_t wasFree = Batches::freeAmong(*current, taken);
    uint32_t base = 0;    // the number of the current batch's first candidate
    uint32_t cursor = 0;  // the next candidate to take, in the current batch

    // Takes every candidate before number `to`.
    const auto moveTo = [&](uint32_t to) __attribute__((always_inline))
    {
        while (to - base >= kCandidateBatch) {
            before = current->states[kCandidateBatch - 1];
            std::swap(current, ahead);
            base += kCandidateBatch;
            wasFree = Batches::freeAmong(*current, taken);
            Batches::compute(*ahead, current->states[kCandidateBatch - 1], modulo);
        }
        cursor = to - base;
    };

    RunState local = run;
    for (uint32_t i = 0; i < slots; ++i) {
        uint32_t budget = 1 + kCollisionStepsPerSlot * slots;
        bool search = true;
        if (--local.run == 0) {
            const uint32_t steps = reloadRun(keyBlock, local);
            if (steps == 0) {
                // A run of 16 keeps the previous position when it is free here.
                budget = kCollisionStepsPerSlot * slots;
                search = local.position >= slots || taken.has(local.position);
            } else {
                moveTo(base + cursor + steps - 1);
            }
        }
        if (search) {
            const uint32_t limit = base + cursor + budget;
            for (;;) {
                const uint64_t open = cursor < kCandidateBatch ? wasFree & (~uint64_t(0) << cursor) : 0;
                const uint32_t reached = base + (open ? static_cast<uint32_t>(__builtin_ctzll(open)) : kCandidateBatch);
                if (reached >= limit) {
                    // The budget ran out on taken slots: the lowest free slot.
                    moveTo(limit);
                    local.position = taken.lowestFree();
                    break;
                }
                if (!open) {
                    moveTo(reached);
                    continue;
                }
                cursor = reached - base + 1;
                const uint32_t slot = current->slots[reached - base];
                if (!taken.has(slot)) {
                    local.position = slot;
                    break;
                }
            }
        }
        if constexpr (Encrypt) sources[local.position] = static_cast<uint8_t>(i);
        else sources[i] = static_cast<uint8_t>(local.position);
        taken.add(local.position);
    }
    run = local;
    state = cursor > 0 ? current->states[cursor - 1] : before;
}

}  // namespace tarvex

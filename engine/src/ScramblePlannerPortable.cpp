#include <algorithm>
#include <cstdint>
#include <cstring>

#include "BatchSearch.h"
#include "BlockModulo.h"
#include "BlockPlanner.h"
#include "Scramble.h"
#include "ScramblePlan.h"

namespace tarvex {

namespace {

constexpr uint32_t kLanes = 8;
using Lanes = uint32_t __attribute__((vector_size(kLanes * sizeof(uint32_t))));

struct PortableBatches {
    // Slots as words: narrowing the lanes to bytes would take them apart one
    // by one.
    using Batch = CandidateBatch<uint32_t>;

    // A batch's check takes one load per candidate.
    using Taken = TakenFlags;

    // Eight lanes side by side, in the processor's own vectors where it has
    // them. Baseline x86-64 has no 32-bit vector multiplication, which
    // costs the batch a third of its time; a second build uses the one that
    // SSE4.1 adds, as ARM's vectors have.
#if defined(__x86_64__)
    __attribute__((target_clones("sse4.1", "default"), noinline))
#endif
    static void
    compute(Batch& out, uint32_t before, const BlockModulo& modulo)
    {
        const uint32_t divisor = modulo.divisor();
        for (uint32_t first = 0; first < kCandidateBatch; first += kLanes) {
            Lanes multiplier, increment;
            std::memcpy(&multiplier, kBatchJumps.multipliers + first, sizeof multiplier);
            std::memcpy(&increment, kBatchJumps.increments + first, sizeof increment);
            const Lanes state = (before * multiplier + increment) & ScrambleGenerator::kStateMask;
            std::memcpy(out.states + first, &state, sizeof state);
            const Lanes hi = state >> 14;
            if (divisor >= BlockModulo::kNarrowFrom) {
                const Lanes slot = hi - ((hi * modulo.narrowReciprocal()) >> 24) * divisor;
                std::memcpy(out.slots + first, &slot, sizeof slot);
            } else {
                for (uint32_t k = 0; k < kLanes; ++k) out.slots[first + k] = modulo(hi[k]);
            }
        }
    }

    // Eight candidates' flags at a time, gathered into a word and packed to
    // eight bits by one multiplication, so no chain of 64 dependent steps.
    static uint64_t freeAmong(const Batch& candidates, const Taken& taken)
    {
        uint64_t free = 0;
        for (uint32_t first = 0; first < kCandidateBatch; first += 8) {
            uint64_t flags = 0;
            for (uint32_t k = 0; k < 8; ++k) flags |= uint64_t(taken.flags[candidates.slots[first + k]]) << (8 * k);
            // Byte k (0 or 1) lands on bit 56 + k.
            const uint64_t packed = ((flags ^ 0x0101010101010101u) * 0x0102040810204080u) >> 56;
            free |= packed << first;
        }
        return free;
    }
};

}  // namespace

void planBlockPortably(const RunKeys& runKeys, uint32_t slots, RunState& run, uint32_t& state, uint8_t* positions)
{
    planBatched<PortableBatches>(runKeys, slots, run, state, positions);
}

}  // namespace tarvex

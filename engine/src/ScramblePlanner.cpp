#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "BlockPlanner.h"
#include "Progress.h"
#include "Scramble.h"
#include "ScramblePlan.h"
#include "SecureWipe.h"

namespace tarvex {

namespace {

// Read once, when the library is loaded.
Planner chosenPlanner = choosePlanner(std::getenv("TARVEX_PLANNER"));

#if defined(__x86_64__)
// Without this instruction the compiler's write prefetch is a read prefetch,
// which leaves the line shared with the other core and gains nothing.
const bool writePrefetchRuns = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("prfchw");
}();

void prefetchLineForWriting(const uint8_t* line)
{
    if (writePrefetchRuns) asm volatile("prefetchw %0" : : "m"(*line));
}
#else
void prefetchLineForWriting(const uint8_t* line) { __builtin_prefetch(line, 1); }
#endif

// When a second core applies the plans, it read this part of the plan last.
// Asking for its lines back before the block is planned keeps the block's
// stores, at its end, from waiting for them.
void claimForWriting(const uint8_t* from, uint32_t length)
{
    constexpr uintptr_t kLine = 64;
    const auto end = reinterpret_cast<uintptr_t>(from) + length;
    for (uintptr_t line = reinterpret_cast<uintptr_t>(from) & ~(kLine - 1); line < end; line += kLine)
        prefetchLineForWriting(reinterpret_cast<const uint8_t*>(line));
}

BlockPlanner blockPlannerOf(Planner planner)
{
    switch (planner) {
#if defined(__x86_64__)
    case Planner::Avx512: return planBlockWide;
    case Planner::Avx2: return planBlockAvx2;
#endif
    default: return planBlockPortably;
    }
}

}  // namespace

const char* plannerName(Planner planner)
{
    switch (planner) {
    case Planner::Avx2: return "avx2";
    case Planner::Avx512: return "avx512";
    default: return "portable";
    }
}

bool plannerRuns(Planner planner)
{
    switch (planner) {
#if defined(__x86_64__)
    case Planner::Avx512: return wideBlockPlannerRuns();
    case Planner::Avx2: return avx2BlockPlannerRuns();
#endif
    case Planner::Portable: return true;
    default: return false;
    }
}

Planner choosePlanner(const char* request)
{
    if (request) {
        for (Planner planner : kPlanners)
            if (std::strcmp(request, plannerName(planner)) == 0 && plannerRuns(planner)) return planner;
    }
    for (Planner planner : {Planner::Avx512, Planner::Avx2})
        if (plannerRuns(planner)) return planner;
    return Planner::Portable;
}

Planner activePlanner() { return chosenPlanner; }

void setActivePlanner(Planner planner) { chosenPlanner = planner; }

void planScramble(const uint8_t* keyBlock, int32_t length, int direction, uint32_t& state, ScramblePlan& plan)
{
    planScramble(keyBlock, length, direction, state, plan, chosenPlanner);
}

void planScramble(const uint8_t* keyBlock, int32_t length, int direction, uint32_t& state, ScramblePlan& plan,
                  Planner planner)
{
    const BlockPlanner planLongBlock = blockPlannerOf(planner);
    ScrambleGenerator generator;
    generator.setState(state);
    RunKeys runKeys(keyBlock);
    // A zero-step reload on a chunk's first byte has no earlier position to
    // keep; both directions then start from slot 0.
    RunState run{runKeys.lengths[0], 0, 0};
    int blockKeyIndex = 0;
    int32_t offset = 0;
    int32_t blockLength = std::min(generator.drawBlockLength(keyBlock[0]), length);

    plan.length = length;
    plan.blockCount = 0;
    plan.direction = direction;
    while (offset < length) {
        const auto slots = static_cast<uint32_t>(blockLength);
        const BlockPlanner planBlock = slots >= kVectorPlannerFrom ? planLongBlock : planBlockPortably;
        claimForWriting(plan.positions + offset, slots);
        uint32_t blockState = generator.state();
        planBlock(runKeys, slots, run, blockState, plan.positions + offset);
        generator.setState(blockState);
        plan.blockLengths[plan.blockCount++] = static_cast<uint8_t>(slots);

        blockKeyIndex ^= 1;
        offset += blockLength;
        blockLength = generator.drawBlockLength(keyBlock[blockKeyIndex]);
        if (offset + blockLength > length) blockLength = length - offset;
    }
    state = generator.state();
    secureWipe(&runKeys, sizeof runKeys);
}

void applyScramble(const ScramblePlan& plan, uint8_t* chunk, long double increment)
{
    uint8_t block[kMaxScrambleBlock];
    const uint8_t* positions = plan.positions;
    for (int32_t b = 0; b < plan.blockCount; ++b) {
        const uint32_t slots = plan.blockLengths[b];
        if (plan.direction) {
            for (uint32_t j = 0; j < slots; ++j) block[positions[j]] = chunk[j];
        } else {
            for (uint32_t j = 0; j < slots; ++j) block[j] = chunk[positions[j]];
        }
        std::memcpy(chunk, block, slots);
        chunk += slots;
        positions += slots;
        advanceProgress(increment);
    }
    secureWipe(block, sizeof block);
}

long double scrambleProgressIncrement(int64_t total)
{
    float blockEstimate = static_cast<float>(static_cast<double>(total) * (1.0 / 191.5));
    if (!(blockEstimate > 0.0f)) blockEstimate = 1.0f;
    return 82.0L / blockEstimate;
}

void wipePlan(ScramblePlan& plan) { secureWipe(&plan, sizeof plan); }

}  // namespace tarvex

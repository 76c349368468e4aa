#pragma once

#include <cstdint>

namespace tarvex {

// What runs on from one block of a chunk to the next while it is planned.
struct RunState {
    int run;            // bytes left before the next run-key reload
    int runKeyIndex;    // which run key was loaded last
    uint32_t position;  // the previous byte's slot, which a zero-step reload keeps
};

// Plans one block of `slots` bytes: writes each byte's slot to positions, from
// the generator `state` on (left after the last step the block took). Both
// directions use the same slots.
using BlockPlanner = void (*)(const uint8_t* keyBlock, uint32_t slots, RunState& run, uint32_t& state,
                              uint8_t* positions);

// 64 candidate slots at a time, in the vectors the compiler makes of plain
// code; any processor, any block length.
void planBlockPortably(const uint8_t* keyBlock, uint32_t slots, RunState& run, uint32_t& state, uint8_t* positions);

#if defined(__x86_64__)
// The same plan with vectors: 64 candidate slots at a time, checked against
// the taken slots at once. Only for blocks of kVectorPlannerFrom slots or
// more, and only where the processor has the instructions: 512-bit vectors
// (wideBlockPlannerRuns) or 256-bit ones (avx2BlockPlannerRuns).
void planBlockWide(const uint8_t* keyBlock, uint32_t slots, RunState& run, uint32_t& state, uint8_t* positions);
bool wideBlockPlannerRuns();
void planBlockAvx2(const uint8_t* keyBlock, uint32_t slots, RunState& run, uint32_t& state, uint8_t* positions);
bool avx2BlockPlannerRuns();
#endif
// Their slots come from the narrow reciprocal, which holds from here on.
constexpr uint32_t kVectorPlannerFrom = 64;

// The rules every planner shares.
constexpr int kRunKeyOffset = 2;
constexpr int kRunKeyCount = 14;
constexpr uint32_t kCollisionStepsPerSlot = 10;

inline int runLength(uint8_t runKey)
{
    const int run = runKey & 31;
    return run == 0 ? 1 : run;
}

// The generator steps the next reload will take.
inline uint32_t nextReloadSteps(const uint8_t* keyBlock, const RunState& state)
{
    const int next = state.runKeyIndex + 1 == kRunKeyCount ? 0 : state.runKeyIndex + 1;
    return static_cast<uint32_t>(runLength(keyBlock[kRunKeyOffset + next]) & 15);
}

// Moves to the next run key; returns the generator steps the reload takes.
inline uint32_t reloadRun(const uint8_t* keyBlock, RunState& state)
{
    if (++state.runKeyIndex == kRunKeyCount) state.runKeyIndex = 0;
    state.run = runLength(keyBlock[kRunKeyOffset + state.runKeyIndex]);
    return static_cast<uint32_t>(state.run & 15);
}

}  // namespace tarvex

#pragma once

#include <cstdint>

namespace tarvex {

// What runs on from one block of a chunk to the next while it is planned.
struct RunState {
    int run;            // bytes left before the next run-key reload
    int runKeyIndex;    // which run key was loaded last
    uint32_t position;  // the previous byte's slot, which a zero-step reload keeps
};

// The rules every planner shares.
constexpr int kRunKeyOffset = 2;
constexpr int kRunKeyCount = 14;
constexpr uint32_t kCollisionStepsPerSlot = 10;

// The run keys of a key block, read once per chunk: the run each one loads
// and the generator steps its reload takes, in a form a reload looks up.
struct RunKeys {
    uint8_t lengths[kRunKeyCount];
    uint8_t steps[kRunKeyCount];

    explicit RunKeys(const uint8_t* keyBlock)
    {
        for (int index = 0; index < kRunKeyCount; ++index) {
            const int run = keyBlock[kRunKeyOffset + index] & 31;
            lengths[index] = static_cast<uint8_t>(run == 0 ? 1 : run);
            steps[index] = static_cast<uint8_t>(lengths[index] & 15);
        }
    }
    static int after(int index) { return index + 1 == kRunKeyCount ? 0 : index + 1; }
};

// The generator steps the next reload will take.
inline uint32_t nextReloadSteps(const RunKeys& keys, const RunState& state)
{
    return keys.steps[RunKeys::after(state.runKeyIndex)];
}

// Moves to the next run key; returns the generator steps the reload takes.
inline uint32_t reloadRun(const RunKeys& keys, RunState& state)
{
    state.runKeyIndex = RunKeys::after(state.runKeyIndex);
    state.run = keys.lengths[state.runKeyIndex];
    return keys.steps[state.runKeyIndex];
}

// Plans one block of `slots` bytes: writes each byte's slot to positions, from
// the generator `state` on (left after the last step the block took). Both
// directions use the same slots.
using BlockPlanner = void (*)(const RunKeys& runKeys, uint32_t slots, RunState& run, uint32_t& state,
                              uint8_t* positions);

// 64 candidate slots at a time, in the vectors the compiler makes of plain
// code; any processor, any block length.
void planBlockPortably(const RunKeys& runKeys, uint32_t slots, RunState& run, uint32_t& state, uint8_t* positions);

#if defined(__x86_64__)
// The same plan with vectors: 64 candidate slots at a time, checked against
// the taken slots at once. Only for blocks of kVectorPlannerFrom slots or
// more, and only where the processor has the instructions: 512-bit vectors
// (wideBlockPlannerRuns) or 256-bit ones (avx2BlockPlannerRuns).
void planBlockWide(const RunKeys& runKeys, uint32_t slots, RunState& run, uint32_t& state, uint8_t* positions);
bool wideBlockPlannerRuns();
void planBlockAvx2(const RunKeys& runKeys, uint32_t slots, RunState& run, uint32_t& state, uint8_t* positions);
bool avx2BlockPlannerRuns();
#endif
// Their slots come from the narrow reciprocal, which holds from here on.
constexpr uint32_t kVectorPlannerFrom = 64;

}  // namespace tarvex

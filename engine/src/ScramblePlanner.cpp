#include <algorithm>
#include <cstring>

#include "BlockModulo.h"
#include "BlockPlanner.h"
#include "Progress.h"
#include "Scramble.h"
#include "ScramblePlan.h"
#include "SecureWipe.h"
#include "SlotSearch.h"

namespace tarvex {

namespace {

// Chosen once, when the library is loaded.
const bool useWidePlanner = wideBlockPlannerRuns();

}  // namespace

void planBlockPortably(const uint8_t* keyBlock, uint32_t slots, int direction, RunState& run, uint32_t& state,
                       uint8_t* sources)
{
    const BlockModulo modulo(slots);
    SlotMarks marks;
    marks.clear();
    PositionStream positions;
    positions.start(state, modulo);

    uint32_t position = run.position;
    for (uint32_t i = 0; i < slots; ++i) {
        // A byte's position takes one step, or the steps of a run-key reload,
        // then as many more as finding a free slot needs.
        uint32_t searchSteps = 1 + kCollisionStepsPerSlot * slots;
        bool search = true;
        if (--run.run == 0) {
            const uint32_t steps = reloadRun(keyBlock, run);
            if (steps == 0) {
                // A run of 16 keeps the previous position when it is free here.
                searchSteps = kCollisionStepsPerSlot * slots;
                search = marks.isTaken(position, slots);
            } else {
                positions.skip(steps - 1);
            }
        }
        if (search) position = positions.takeFreeSlot(marks, searchSteps);

        if (direction) sources[position] = static_cast<uint8_t>(i);
        else sources[i] = static_cast<uint8_t>(position);
        marks.mark(position);
    }
    run.position = position;
    state = positions.state();
}

void planScramble(const uint8_t* keyBlock, int32_t length, int direction, uint32_t& state, ScramblePlan& plan,
                  BlockPlanning planning)
{
    const bool wide = useWidePlanner && planning == BlockPlanning::Fastest;
    ScrambleGenerator generator;
    generator.setState(state);
    // A zero-step reload on a chunk's first byte has no earlier position to
    // keep; both directions then start from slot 0.
    RunState run{runLength(keyBlock[kRunKeyOffset]), 0, 0};
    int blockKeyIndex = 0;
    int32_t offset = 0;
    int32_t blockLength = std::min(generator.drawBlockLength(keyBlock[0]), length);

    plan.length = length;
    plan.blockCount = 0;
    while (offset < length) {
        const auto slots = static_cast<uint32_t>(blockLength);
        const BlockPlanner planBlock = wide && slots >= kWidePlannerFrom ? planBlockWide : planBlockPortably;
        uint32_t blockState = generator.state();
        planBlock(keyBlock, slots, direction, run, blockState, plan.sources + offset);
        generator.setState(blockState);
        plan.blockLengths[plan.blockCount++] = static_cast<uint8_t>(slots);

        blockKeyIndex ^= 1;
        offset += blockLength;
        blockLength = generator.drawBlockLength(keyBlock[blockKeyIndex]);
        if (offset + blockLength > length) blockLength = length - offset;
    }
    state = generator.state();
}

void applyScramble(const ScramblePlan& plan, uint8_t* chunk, long double increment)
{
    uint8_t block[kMaxScrambleBlock];
    const uint8_t* sources = plan.sources;
    for (int32_t b = 0; b < plan.blockCount; ++b) {
        const uint32_t slots = plan.blockLengths[b];
        for (uint32_t j = 0; j < slots; ++j) block[j] = chunk[sources[j]];
        std::memcpy(chunk, block, slots);
        chunk += slots;
        sources += slots;
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

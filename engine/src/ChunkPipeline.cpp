#include "ChunkPipeline.h"

#include <sched.h>

#include <algorithm>
#include <system_error>

#include "BlockCipher.h"
#include "ScramblePlan.h"
#include "SecureWipe.h"

namespace tarvex {

struct PlannedChunk {
    ScramblePlan plan;
    uint32_t generatorAfter = 0;
};

namespace {

// The plan being applied and those worked out ahead of it. The planning
// thread bounds both layers; several plans ahead let it go on while the
// applying thread pauses between windows, to read the next one and to wait
// for the last one's write. Module-wide like the other working state, so a
// transform allocates none of it.
constexpr int kPlanSlots = 8;
PlannedChunk plannedChunks[kPlanSlots];

}  // namespace

// Asked on every call: the processors a thread may use can change while the
// process runs, and a new thread inherits the caller's.
bool ChunkPipeline::plansAhead()
{
    cpu_set_t allowed;
    if (sched_getaffinity(0, sizeof allowed, &allowed) == 0) return CPU_COUNT(&allowed) >= 2;
    return std::thread::hardware_concurrency() >= 2;
}

ChunkPipeline::ChunkPipeline(const KeyMaterial& key, int64_t total, int direction, int layerChoice,
                             int64_t chunkEstimate)
    : key_(key),
      total_(total),
      direction_(direction),
      layerChoice_(layerChoice),
      chunkEstimate_(chunkEstimate),
      chunkCount_((total + kChunkSize - 1) / kChunkSize)
{
    const bool scrambles = layerChoice != 1;
    if (scrambles && chunkCount_ > 1 && plansAhead()) {
        const uint32_t generatorState = scrambleGenerator.state();
        try {
            planner_ = std::thread([this, generatorState] { planAhead(generatorState); });
        } catch (const std::system_error&) {
            // No thread to be had: the chunks are planned one by one here.
        }
    }
}

ChunkPipeline::~ChunkPipeline()
{
    if (!planner_.joinable()) return;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    planner_.join();
    // Only the slots this transform used: a file of a few chunks wipes no more.
    for (int64_t slot = 0; slot < std::min<int64_t>(planned_, kPlanSlots); ++slot) {
        wipePlan(plannedChunks[slot].plan);
        plannedChunks[slot].generatorAfter = 0;
    }
}

void ChunkPipeline::transform(uint8_t* chunk, int32_t length)
{
    const bool scrambles = layerChoice_ != 1;
    const bool enciphers = layerChoice_ != 2;
    if (direction_) {
        if (scrambles) scramble(chunk, length);
        if (enciphers) cipherChunk(chunk, length, direction_, layerChoice_, chunkEstimate_);
    } else {
        if (enciphers) cipherChunk(chunk, length, direction_, layerChoice_, chunkEstimate_);
        if (scrambles) scramble(chunk, length);
    }
    ++nextChunk_;
}

void ChunkPipeline::scramble(uint8_t* chunk, int32_t length)
{
    if (!planner_.joinable()) {
        scrambleChunk(key_.keyBlock(), chunk, length, total_, direction_);
        return;
    }
    const PlannedChunk& planned = waitForPlan(nextChunk_);
    applyScramble(planned.plan, chunk, scrambleProgressIncrement(total_));
    scrambleGenerator.setState(planned.generatorAfter);
    releasePlan(nextChunk_);
}

// The planning thread: the generator runs on from where key preparation left
// it, through the chunks in order, at most two plans ahead of their use.
void ChunkPipeline::planAhead(uint32_t state)
{
    for (int64_t index = 0; index < chunkCount_; ++index) {
        {
            std::unique_lock<std::mutex> lock(mutex_);
            changed_.wait(lock, [&] { return stopping_ || index - released_ < kPlanSlots; });
            if (stopping_) return;
        }
        PlannedChunk& planned = plannedChunks[index % kPlanSlots];
        const auto length = static_cast<int32_t>(std::min<int64_t>(kChunkSize, total_ - index * kChunkSize));
        planScramble(key_.keyBlock(), length, direction_, state, planned.plan);
        planned.generatorAfter = state;
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            planned_ = index + 1;
        }
        changed_.notify_all();
    }
}

const PlannedChunk& ChunkPipeline::waitForPlan(int64_t index)
{
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [&] { return planned_ > index; });
    return plannedChunks[index % kPlanSlots];
}

void ChunkPipeline::releasePlan(int64_t index)
{
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        released_ = index + 1;
    }
    changed_.notify_all();
}

}  // namespace tarvex

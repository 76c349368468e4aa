#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "ChunkTransform.h"

namespace tarvex {

struct PlannedChunk;

// The chunks of one transform call, in order, through the layers that
// layerChoice selects: scrambling then block cipher when encrypting, the
// reverse when decrypting. Where the machine has a second processor and the
// data more than one chunk, a second thread works out the scrambling plan of
// the next chunk while this one is applied and enciphered; the plans depend
// only on the key, the lengths and the generator, so the bytes, the progress
// reports and the generator's end state are the same either way. Progress is
// always reported on the calling thread, and the thread ends before the
// pipeline does.
class ChunkPipeline {
public:
    // `total` is the length of the whole data; every chunk but the last is
    // kChunkSize bytes long.
    ChunkPipeline(const KeyMaterial& key, int64_t total, int direction, int layerChoice, int64_t chunkEstimate);
    ~ChunkPipeline();
    ChunkPipeline(const ChunkPipeline&) = delete;
    ChunkPipeline& operator=(const ChunkPipeline&) = delete;

    // Transforms the next chunk of the data in place.
    void transform(uint8_t* chunk, int32_t length);

    // Whether a second thread plans ahead: the calling thread may use a
    // second processor.
    static bool plansAhead();

private:
    void scramble(uint8_t* chunk, int32_t length);
    void planAhead(uint32_t generatorState);
    const PlannedChunk& waitForPlan(int64_t index);
    void releasePlan(int64_t index);

    const KeyMaterial& key_;
    const int64_t total_;
    const int direction_;
    const int layerChoice_;
    const int64_t chunkEstimate_;
    const int64_t chunkCount_;
    int64_t nextChunk_ = 0;

    // Shared with the planning thread, under mutex_.
    std::mutex mutex_;
    std::condition_variable changed_;
    int64_t planned_ = 0;   // chunks whose plans are ready
    int64_t released_ = 0;  // chunks whose plans have been used
    bool stopping_ = false;
    std::thread planner_;
};

}  // namespace tarvex

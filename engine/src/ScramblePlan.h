#pragma once

#include <cstdint>

namespace tarvex {

constexpr int32_t kMaxPlannedChunk = 65536;
// Blocks are at least 128 bytes long, except the one that ends a chunk.
constexpr int32_t kMaxPlannedBlocks = kMaxPlannedChunk / 128 + 1;

// Where every byte of a chunk goes. The positions, the block lengths and the
// generator's use depend only on the key, the chunk's length and the
// generator, never on the data, so a chunk's whole permutation is worked out
// first and then applied in one pass.
struct ScramblePlan {
    int32_t length = 0;
    int32_t blockCount = 0;
    uint8_t blockLengths[kMaxPlannedBlocks];
    // For each block, the byte that each output offset takes: source[offset +
    // sources[offset + j]] lands at offset + j.
    uint8_t sources[kMaxPlannedChunk];
};

// Which way blocks are planned: the fastest this processor has, or the way
// that runs on every processor (both give the same plans).
enum class BlockPlanning { Fastest, Portable };

// Works out the permutation of a chunk of `length` bytes (at most
// kMaxPlannedChunk) for one direction, starting from the generator state
// `state` and leaving in it the state after the chunk.
void planScramble(const uint8_t* keyBlock, int32_t length, int direction, uint32_t& state, ScramblePlan& plan,
                  BlockPlanning planning = BlockPlanning::Fastest);

// Moves the chunk's bytes as planned, block by block, and adds `increment` to
// the progress after each block.
void applyScramble(const ScramblePlan& plan, uint8_t* chunk, long double increment);

// The progress one block adds: 82 blocks' worth spread over the expected
// number of blocks of `total` bytes.
long double scrambleProgressIncrement(int64_t total);

// Clears a plan, which holds positions derived from the key.
void wipePlan(ScramblePlan& plan);

}  // namespace tarvex

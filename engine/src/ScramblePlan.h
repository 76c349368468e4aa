#pragma once

#include <cstdint>

namespace tarvex {

constexpr int32_t kMaxPlannedChunk = 65536;
constexpr uint32_t kMaxScrambleBlock = 255;
// Blocks are at least 128 bytes long, except the one that ends a chunk.
constexpr int32_t kMaxPlannedBlocks = kMaxPlannedChunk / 128 + 1;

// Where every byte of a chunk goes. The positions, the block lengths and the
// generator's use depend only on the key, the chunk's length and the
// generator, never on the data, so a chunk's whole permutation is worked out
// first and then applied in one pass.
struct ScramblePlan {
    int32_t length = 0;
    int32_t blockCount = 0;
    int direction = 0;  // 1 encrypting, 0 decrypting
    uint8_t blockLengths[kMaxPlannedBlocks];
    // For each block, the slot of each of its bytes: byte offset + j moves to
    // offset + positions[offset + j] encrypting, and comes back from there
    // decrypting.
    uint8_t positions[kMaxPlannedChunk];
};

// The ways of planning blocks; all give the same plans. Portable runs on
// every processor, the others need x86-64 vector instructions.
enum class Planner { Portable, Avx2, Avx512 };
constexpr Planner kPlanners[] = {Planner::Portable, Planner::Avx2, Planner::Avx512};

// "portable", "avx2" or "avx512".
const char* plannerName(Planner planner);

// Whether this processor can run the planner.
bool plannerRuns(Planner planner);

// The planner named by `request` (as TARVEX_PLANNER gives it) when this
// processor can run it; otherwise, or without a request, the fastest one it
// can run.
Planner choosePlanner(const char* request);

// The planner that planScramble uses unless told otherwise: chosen once, when
// the library is loaded, from TARVEX_PLANNER. Benchmarks can change it between
// transforms, to one this processor runs; it must not change while one runs.
Planner activePlanner();
void setActivePlanner(Planner planner);

// Works out the permutation of a chunk of `length` bytes (at most
// kMaxPlannedChunk) for one direction, starting from the generator state
// `state` and leaving in it the state after the chunk.
void planScramble(const uint8_t* keyBlock, int32_t length, int direction, uint32_t& state, ScramblePlan& plan);
// The same with a given planner, which this processor must be able to run.
void planScramble(const uint8_t* keyBlock, int32_t length, int direction, uint32_t& state, ScramblePlan& plan,
                  Planner planner);

// Moves the chunk's bytes as planned, block by block, and adds `increment` to
// the progress after each block.
void applyScramble(const ScramblePlan& plan, uint8_t* chunk, long double increment);

// The progress one block adds: 82 blocks' worth spread over the expected
// number of blocks of `total` bytes.
long double scrambleProgressIncrement(int64_t total);

// Clears a plan, which holds positions derived from the key.
void wipePlan(ScramblePlan& plan);

}  // namespace tarvex

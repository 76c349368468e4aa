#pragma once

#include <cstdint>

namespace tarvex {

// The scrambling generator: s = (s * 31416021 + 1) mod 2^28. The state is kept
// as one 32-bit word equal to hi * 16384 + lo, so a seed of any sign survives a
// save and reseed unchanged.
class ScrambleGenerator {
public:
    static constexpr uint32_t kMultiplier = 1917u * 16384u + 7893u;
    static constexpr uint32_t kStateMask = 0x0FFFFFFFu;

    void seed(int32_t value) { state_ = static_cast<uint32_t>(value); }
    uint32_t state() const { return state_; }
    void setState(uint32_t state) { state_ = state; }
    void step() { state_ = (state_ * kMultiplier + 1u) & kStateMask; }
    int32_t hi() const { return static_cast<int32_t>(state_) >> 14; }
    int32_t lo() const { return static_cast<int32_t>(state_ & 0x3FFFu); }
    // hi * 16384 + lo as a signed 32-bit number.
    int32_t saved() const { return static_cast<int32_t>(state_); }

    // One step; 1 to 127.
    uint8_t drawKeyByte()
    {
        step();
        return static_cast<uint8_t>(hi() % 127 + 1);
    }

    // The low four bits of the key byte (at least 1) steps; 128 to 255.
    int32_t drawBlockLength(uint8_t keyByte)
    {
        int steps = keyByte & 15;
        if (steps == 0) steps = 1;
        while (steps--) step();
        return hi() % 128 + 128;
    }

private:
    uint32_t state_ = 0;
};

extern ScrambleGenerator scrambleGenerator;

// The generator `steps` steps ahead of a state s is multiplier * s +
// increment, masked to the state's 28 bits: many steps can be taken side by
// side.
struct GeneratorJump {
    uint32_t multiplier;
    uint32_t increment;
};

constexpr GeneratorJump jumpOf(int steps)
{
    uint32_t multiplier = 1, increment = 0;
    for (int k = 0; k < steps; ++k) {
        multiplier *= ScrambleGenerator::kMultiplier;
        increment = increment * ScrambleGenerator::kMultiplier + 1;
    }
    return {multiplier, increment};
}

// 88 prepared bytes, zero bytes behind them.
constexpr int kKeyBlockSize = 120;
constexpr int kPreparedKeyLength = 88;
constexpr int kBlockCipherKeyOffset = 16;

// Fills keyBlock from the key text (null counts as empty) and leaves the
// generator seeded and advanced for the first chunk.
void prepareKey(const char* keyText, int layerChoice, uint8_t (&keyBlock)[kKeyBlockSize]);

// Permutes the bytes of a chunk inside blocks of 128 to 255 bytes; `total` is
// the length of the whole data and only steers the progress estimate.
void scrambleChunk(const uint8_t* keyBlock, uint8_t* chunk, int32_t length, int64_t total, int direction);

// Clears what scrambleChunk kept of the last chunk's permutation.
void wipeChunkPlan();

}  // namespace tarvex

#include "SlotSearch.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace tarvex {

namespace {

constexpr int kLanes = 8;
using Lanes = uint32_t __attribute__((vector_size(kLanes * sizeof(uint32_t))));

constexpr std::array<GeneratorJump, kLanes> kFirstJumps = [] {
    std::array<GeneratorJump, kLanes> jumps{};
    for (int k = 0; k < kLanes; ++k) jumps[k] = jumpOf(k + 1);
    return jumps;
}();
constexpr GeneratorJump kLaneJump = jumpOf(kLanes);

}  // namespace

void SlotMarks::clear() { std::memset(taken_, 0, sizeof taken_); }

uint32_t SlotMarks::lowestFree() const
{
    return static_cast<uint32_t>(std::find(taken_, taken_ + kSentinelSlot, false) - taken_);
}

void PositionStream::start(uint32_t state, const BlockModulo& modulo)
{
    modulo_ = &modulo;
    state_ = state;
    computed_ = next_ = 0;
}

// Where the processor has 256-bit integer vectors, a second build of this
// function uses them; the library picks one when it is loaded.
#if defined(__x86_64__)
__attribute__((target_clones("avx2", "default")))
#endif
void PositionStream::computeAhead()
{
    const uint32_t from = state_;
    Lanes state;
    for (int k = 0; k < kLanes; ++k)
        state[k] = (from * kFirstJumps[k].multiplier + kFirstJumps[k].increment) & ScrambleGenerator::kStateMask;

    const uint32_t divisor = modulo_->divisor();
    if (divisor >= BlockModulo::kNarrowFrom) {
        // Quotients by the narrow reciprocal keep every lane within 32 bits.
        const uint32_t reciprocal = modulo_->narrowReciprocal();
        for (uint32_t i = 0; i < kAhead; i += kLanes) {
            const Lanes hi = state >> 14;
            const Lanes slot = hi - ((hi * reciprocal) >> 24) * divisor;
            std::memcpy(&states_[i], &state, sizeof state);
            std::memcpy(&slots_[i], &slot, sizeof slot);
            state = (state * kLaneJump.multiplier + kLaneJump.increment) & ScrambleGenerator::kStateMask;
        }
    } else {
        for (uint32_t i = 0; i < kAhead; i += kLanes) {
            std::memcpy(&states_[i], &state, sizeof state);
            for (int k = 0; k < kLanes; ++k) slots_[i + k] = (*modulo_)(state[k] >> 14);
            state = (state * kLaneJump.multiplier + kLaneJump.increment) & ScrambleGenerator::kStateMask;
        }
    }
    slots_[kAhead] = kSentinelSlot;
    computed_ = kAhead;
    next_ = 0;
}

void PositionStream::skip(uint32_t steps)
{
    while (steps > 0) {
        if (next_ == computed_) computeAhead();
        const uint32_t taken = std::min(steps, computed_ - next_);
        next_ += taken;
        steps -= taken;
        state_ = states_[next_ - 1];
    }
}

}  // namespace tarvex

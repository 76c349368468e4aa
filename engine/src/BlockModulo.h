#pragma once

#include <cstdint>

namespace tarvex {

// x mod d for the generator's hi (0 to 16383) and a block length d of 1 to
// 255, by multiplication with a reciprocal fixed once per block: the per-byte
// division would otherwise dominate the scrambling layer.
class BlockModulo {
public:
    // Block lengths from here on have a reciprocal that keeps hi * reciprocal
    // within 32 bits, for vector lanes of that width.
    static constexpr uint32_t kNarrowFrom = 64;

    explicit BlockModulo(uint32_t divisor)
        : divisor_(divisor),
          reciprocal_((uint64_t(1) << 32) / divisor + 1),
          narrowReciprocal_(static_cast<uint32_t>((uint32_t(1) << 24) / divisor + 1))
    {}

    uint32_t operator()(uint32_t x) const
    {
        const uint32_t quotient = static_cast<uint32_t>((x * reciprocal_) >> 32);
        return x - quotient * divisor_;
    }

    uint32_t divisor() const { return divisor_; }
    // x / d is (x * narrowReciprocal()) >> 24 when d >= kNarrowFrom.
    uint32_t narrowReciprocal() const { return narrowReciprocal_; }

private:
    uint32_t divisor_;
    uint64_t reciprocal_;
    uint32_t narrowReciprocal_;
};

}  // namespace tarvex

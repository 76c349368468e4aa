#pragma once

#include <cstdint>

namespace tarvex {

// x mod d for the generator's hi (0 to 16383) and a block length d of 1 to
// 255, by multiplication with a reciprocal fixed once per block: the per-byte
// division would otherwise dominate the scrambling layer.
class BlockModulo {
public:
    explicit BlockModulo(uint32_t divisor)
        : divisor_(divisor), reciprocal_((uint64_t(1) << 32) / divisor + 1) {}

    uint32_t operator()(uint32_t x) const {
        uint32_t quotient = static_cast<uint32_t>((x * reciprocal_) >> 32);
        return x - quotient * divisor_;
    }

private:
    uint32_t divisor_;
    uint64_t reciprocal_;
};

}  // namespace tarvex

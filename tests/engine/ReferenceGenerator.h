#pragma once

#include <cstdint>

// The generator's closed form, s = (s * 31416021 + 1) mod 2^28 in 64-bit
// arithmetic, as a model independent of the engine's 32-bit formulation.
class ReferenceGenerator {
public:
    explicit ReferenceGenerator(int32_t seed) : state_(static_cast<uint64_t>(int64_t(seed)) & kModulusMask) {}

    uint32_t step()
    {
        state_ = (state_ * 31416021u + 1u) & kModulusMask;
        return static_cast<uint32_t>(state_);
    }
    uint32_t hi() const { return static_cast<uint32_t>(state_ >> 14); }
    uint8_t keyByte()
    {
        step();
        return static_cast<uint8_t>(hi() % 127 + 1);
    }
    // The byte the last of |signed value| (at least one) draws gives.
    uint8_t keyByteFor(uint8_t steering)
    {
        int draws = static_cast<int8_t>(steering);
        if (draws < 0) draws = -draws;
        if (draws == 0) draws = 1;
        uint8_t byte = 0;
        while (draws--) byte = keyByte();
        return byte;
    }
    uint32_t state() const { return static_cast<uint32_t>(state_); }

private:
    static constexpr uint64_t kModulusMask = (uint64_t(1) << 28) - 1;
    uint64_t state_;
};

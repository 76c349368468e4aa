#pragma once

#include <cstdint>

#include "Scramble.h"

namespace tarvex {

constexpr int32_t kChunkSize = 65536;

// The key material of one transform call: prepared from the key text, and
// wiped together with the working cipher tables however the call ends.
class KeyMaterial {
public:
    KeyMaterial(const char* keyText, int layerChoice);
    ~KeyMaterial();
    KeyMaterial(const KeyMaterial&) = delete;
    KeyMaterial& operator=(const KeyMaterial&) = delete;

    const uint8_t* keyBlock() const { return keyBlock_; }

private:
    uint8_t keyBlock_[kKeyBlockSize];
};

}  // namespace tarvex

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

// One chunk through the layers that layerChoice selects: scrambling then block
// cipher when encrypting, the reverse when decrypting.
void transformChunk(const KeyMaterial& key, uint8_t* chunk, int32_t length, int64_t total, int direction,
                    int layerChoice, int64_t chunkEstimate);

}  // namespace tarvex

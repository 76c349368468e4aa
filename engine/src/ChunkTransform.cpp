#include "ChunkTransform.h"

#include "BlockCipher.h"
#include "SecureWipe.h"

namespace tarvex {

KeyMaterial::KeyMaterial(const char* keyText, int layerChoice)
{
    prepareKey(keyText, layerChoice, keyBlock_);
    if (layerChoice != 2) keySchedule(keyBlock_ + kBlockCipherKeyOffset, kBlockCipherKeyLength);
}

KeyMaterial::~KeyMaterial()
{
    secureWipe(keyBlock_, sizeof keyBlock_);
    wipeWorkingTables();
}

void transformChunk(const KeyMaterial& key, uint8_t* chunk, int32_t length, int64_t total, int direction,
                    int layerChoice, int64_t chunkEstimate)
{
    const bool scramble = layerChoice != 1;
    const bool encipher = layerChoice != 2;
    if (direction) {
        if (scramble) scrambleChunk(key.keyBlock(), chunk, length, total, direction);
        if (encipher) cipherChunk(chunk, length, direction, layerChoice, chunkEstimate);
    } else {
        if (encipher) cipherChunk(chunk, length, direction, layerChoice, chunkEstimate);
        if (scramble) scrambleChunk(key.keyBlock(), chunk, length, total, direction);
    }
}

}  // namespace tarvex

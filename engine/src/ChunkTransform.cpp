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
    wipeChunkPlan();
}

}  // namespace tarvex

#include <algorithm>
#include <cstring>

#include "ChunkPipeline.h"
#include "ExportGuard.h"
#include "tarvex.h"

namespace tarvex {
namespace {
// Where the last buffer transform left the scrambling generator.
int32_t savedGeneratorState = 0;

void transformBuffer(const char* key, const unsigned char* source, int32_t length, unsigned char* target, int direction,
                     int layerChoice, int firstPiece)
{
    // The key schedule leaves the generator alone, so reseeding after it is
    // the same as reseeding straight after key preparation.
    const KeyMaterial keyMaterial(key, layerChoice);
    if (!firstPiece) scrambleGenerator.seed(savedGeneratorState);

    if (length > 0 && source && target) {
        // Transforming in the target itself makes any overlap of the two areas safe.
        if (target != source) std::memmove(target, source, static_cast<size_t>(length));
        int32_t piece = std::min(kChunkSize, length);
        const int64_t chunkEstimate = length / piece;
        ChunkPipeline pipeline(keyMaterial, length, direction, layerChoice, chunkEstimate);
        for (int32_t done = 0; done < length; done += piece) {
            piece = std::min(kChunkSize, length - done);
            pipeline.transform(target + done, piece);
        }
    }
    // Only a completed transform moves the chain on: after one the progress
    // callback cut short, the next piece continues from the one before.
    savedGeneratorState = scrambleGenerator.saved();
}
}  // namespace
}  // namespace tarvex

extern "C" __attribute__((visibility("default"))) void
tarvexTransformBuffer(const char* key, const unsigned char* source, int32_t length, unsigned char* target,
                      int direction, int layerChoice, int firstPiece)
{
    tarvex::guardExport(
        [&] { tarvex::transformBuffer(key, source, length, target, direction, layerChoice, firstPiece); });
}

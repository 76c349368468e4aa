#include "RepairPass.h"

#include "ReadAt.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "tarvex.h"

namespace repair {

namespace {

// What one chunk needs: its bytes as they are, or turned one way with the
// engine.
struct ChunkStep {
    enum class Kind { Keep, Transform };
    Kind kind = Kind::Keep;
    int direction = TARVEX_ENCRYPT;
};

int64_t chunkCountOf(int64_t size) { return (size + kChunkSize - 1) / kChunkSize; }

int forwardOf(const RunSettings& run) { return run.encrypting ? TARVEX_ENCRYPT : TARVEX_DECRYPT; }

ChunkStep stepFor(int64_t index, const DamagedFile& file, const RunSettings& run)
{
    using Kind = ChunkStep::Kind;
    const int forward = forwardOf(run);
    const bool isOutput = index < file.chunksTransformed;
    // The plaintext is the run's input after an encryption and its output
    // after a decryption; the transformed file is its output.
    const bool wantsOutput = run.goal == Goal::Transformed || !run.encrypting;
    if (isOutput == wantsOutput) return {Kind::Keep, forward};
    return {Kind::Transform, isOutput ? (run.encrypting ? TARVEX_DECRYPT : TARVEX_ENCRYPT) : forward};
}

// The last chunk that needs the engine, -1 for none. Every chunk before it
// takes part in the chain of buffer transforms, needed or not.
int64_t lastChunkForTheEngine(const DamagedFile& file, const RunSettings& run)
{
    for (int64_t index = chunkCountOf(file.size) - 1; index >= 0; --index)
        if (stepFor(index, file, run).kind != ChunkStep::Kind::Keep) return index;
    return -1;
}

// A chunk as the run left it: from the record where its window covers it.
bool readChunk(const DamagedFile& file, unsigned char* data, int64_t start, size_t length)
{
    if (file.window && start >= file.windowStart &&
        start - file.windowStart < static_cast<int64_t>(file.window->size())) {
        std::memcpy(data, file.window->data() + (start - file.windowStart), length);
        return true;
    }
    return readAt(file.descriptor, data, length, static_cast<off_t>(start));
}

}  // namespace

Decision decisionWithoutCopy(const DamagedFile& file)
{
    const bool exact = file.countIsExact || file.chunksTransformed >= chunkCountOf(file.size);
    return exact ? Decision::JournalCount : Decision::UncertainWithoutCopy;
}

bool needsRewriting(const DamagedFile& file, const RunSettings& run)
{
    return file.window || lastChunkForTheEngine(file, run) >= 0;
}

PassOutcome writeRepaired(const DamagedFile& file, const RunSettings& run, ReplacementFile& output,
                          const ProgressSink& progress)
{
    const int64_t chunkCount = chunkCountOf(file.size);
    const int64_t lastForTheEngine = lastChunkForTheEngine(file, run);
    std::vector<unsigned char> chunk(kChunkSize);
    std::vector<unsigned char> spare(kChunkSize);

    for (int64_t index = 0; index < chunkCount; ++index) {
        const int64_t start = index * kChunkSize;
        const auto length = static_cast<int32_t>(std::min(kChunkSize, file.size - start));
        const auto byteCount = static_cast<size_t>(length);
        if (!readChunk(file, chunk.data(), start, byteCount)) return PassOutcome::CannotRead;
        const ChunkStep step = stepFor(index, file, run);
        const int firstPiece = index == 0;
        if (step.kind == ChunkStep::Kind::Transform) {
            tarvexTransformBuffer(run.key, chunk.data(), length, chunk.data(), step.direction, run.layerChoice,
                                  firstPiece);
        } else if (index < lastForTheEngine) {
            // Only the generator's steps matter here, and they do not depend
            // on the bytes.
            tarvexTransformBuffer(run.key, spare.data(), length, spare.data(), step.direction, run.layerChoice,
                                  firstPiece);
        }
        if (!output.write(chunk.data(), byteCount)) return PassOutcome::CannotWrite;
        if (progress) progress(static_cast<int>((index + 1) * 100 / chunkCount));
    }
    if (progress && chunkCount == 0) progress(100);
    return PassOutcome::Done;
}

}  // namespace repair

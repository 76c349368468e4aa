#include "RepairPass.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <vector>

#include "tarvex.h"

namespace repair {

namespace {

// What one chunk needs: its bytes as they are, turned one way with the
// engine, or rebuilt from the undo copy.
struct ChunkStep {
    enum class Kind { Keep, Transform, FromCopy };
    Kind kind = Kind::Keep;
    int direction = TARVEX_ENCRYPT;
};

int64_t chunkCountOf(int64_t size) { return (size + kChunkSize - 1) / kChunkSize; }

int forwardOf(const RunSettings& run) { return run.encrypting ? TARVEX_ENCRYPT : TARVEX_DECRYPT; }

ChunkStep stepFor(int64_t index, const DamagedFile& file, const RunSettings& run)
{
    using Kind = ChunkStep::Kind;
    const int forward = forwardOf(run);
    if (index == file.chunksTransformed && file.copyAtCount) return {Kind::FromCopy, forward};
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

bool readAt(int descriptor, unsigned char* data, size_t length, off_t offset)
{
    while (length > 0) {
        const ssize_t got = pread(descriptor, data, length, offset);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        data += got;
        length -= static_cast<size_t>(got);
        offset += got;
    }
    return true;
}

// How the chunk the run was rewriting came to hold `found`: still the
// original, already the transform, or a write cut short between the two.
// Bytes that are neither mean that `transformed` is not what the run wrote.
std::optional<Decision> judgeChunk(const unsigned char* found, const unsigned char* original,
                                   const unsigned char* transformed, size_t length)
{
    if (std::memcmp(found, original, length) == 0) return Decision::JournalCount;
    if (std::memcmp(found, transformed, length) == 0) return Decision::OneMoreChunk;
    for (size_t at = 0; at < length; ++at)
        if (found[at] != original[at] && found[at] != transformed[at]) return std::nullopt;
    return Decision::RestoredHalfWritten;
}

}  // namespace

Decision decisionWithoutCopy(const DamagedFile& file)
{
    const bool exact = file.countIsExact || file.chunksTransformed >= chunkCountOf(file.size);
    return exact ? Decision::JournalCount : Decision::UncertainWithoutCopy;
}

bool needsRewriting(const DamagedFile& file, const RunSettings& run) { return lastChunkForTheEngine(file, run) >= 0; }

PassResult writeRepaired(const DamagedFile& file, const RunSettings& run, ReplacementFile& output,
                         const ProgressSink& progress)
{
    const int64_t chunkCount = chunkCountOf(file.size);
    const int64_t lastForTheEngine = lastChunkForTheEngine(file, run);
    PassResult result;
    result.decision = decisionWithoutCopy(file);
    std::vector<unsigned char> chunk(kChunkSize);
    std::vector<unsigned char> spare(kChunkSize);

    for (int64_t index = 0; index < chunkCount; ++index) {
        const int64_t start = index * kChunkSize;
        const auto length = static_cast<int32_t>(std::min(kChunkSize, file.size - start));
        const auto byteCount = static_cast<size_t>(length);
        if (!readAt(file.descriptor, chunk.data(), byteCount, static_cast<off_t>(start))) {
            result.outcome = PassOutcome::CannotRead;
            return result;
        }
        const ChunkStep step = stepFor(index, file, run);
        const int firstPiece = index == 0;
        switch (step.kind) {
        case ChunkStep::Kind::Keep:
            // Only the generator's steps matter here, and they do not depend
            // on the bytes.
            if (index < lastForTheEngine)
                tarvexTransformBuffer(run.key, spare.data(), length, spare.data(), step.direction, run.layerChoice,
                                      firstPiece);
            break;
        case ChunkStep::Kind::Transform:
            tarvexTransformBuffer(run.key, chunk.data(), length, chunk.data(), step.direction, run.layerChoice,
                                  firstPiece);
            break;
        case ChunkStep::Kind::FromCopy: {
            const unsigned char* original = file.copyAtCount->bytes.data();
            tarvexTransformBuffer(run.key, original, length, spare.data(), step.direction, run.layerChoice, firstPiece);
            const auto decision = judgeChunk(chunk.data(), original, spare.data(), byteCount);
            if (!decision) {
                result.outcome = PassOutcome::KeyDoesNotFit;
                return result;
            }
            result.decision = *decision;
            const bool wantsOriginal = run.goal == Goal::Plaintext && run.encrypting;
            std::memcpy(chunk.data(), wantsOriginal ? original : spare.data(), byteCount);
            break;
        }
        }
        if (!output.write(chunk.data(), byteCount)) {
            result.outcome = PassOutcome::CannotWrite;
            return result;
        }
        if (progress) progress(static_cast<int>((index + 1) * 100 / chunkCount));
    }
    if (progress && chunkCount == 0) progress(100);
    return result;
}

}  // namespace repair

#include "InPlaceRun.h"

#include <algorithm>
#include <vector>

#include "ChunkPipeline.h"
#include "FileIo.h"
#include "Progress.h"
#include "SecureWipe.h"
#include "WindowRecordFormat.h"
#include "tarvex.h"

namespace tarvex {

namespace {

// The window holds plaintext on one side of the transform: wiped however the
// run ends, the progress callback's exception included.
class WindowBuffer {
public:
    explicit WindowBuffer(int64_t size) : bytes_(static_cast<size_t>(size)) {}
    ~WindowBuffer() { secureWipe(bytes_.data(), bytes_.size()); }
    WindowBuffer(const WindowBuffer&) = delete;
    WindowBuffer& operator=(const WindowBuffer&) = delete;
    uint8_t* data() { return bytes_.data(); }

private:
    std::vector<uint8_t> bytes_;
};

int64_t chunksIn(int64_t bytes) { return (bytes + kChunkSize - 1) / kChunkSize; }

}  // namespace

int rewriteInPlace(const KeyMaterial& key, int descriptor, int64_t size, Journal& journal, int direction,
                   int layerChoice, Durability durability)
{
    progressTotal = 0.0f;
    const int64_t chunkEstimate = std::max<int64_t>(size / kChunkSize, 1);
    const int64_t windowSize = std::min<int64_t>(size, windowrecord::kWindowBytes);
    WindowBuffer window(windowSize);
    ChunkPipeline pipeline(key, size, direction, layerChoice, chunkEstimate);

    for (int64_t start = 0; start < size; start += windowSize) {
        const int64_t length = std::min(windowSize, size - start);
        const int64_t firstChunk = start / kChunkSize;
        const auto offset = static_cast<off_t>(start);
        if (!readAllAt(descriptor, window.data(), static_cast<size_t>(length), offset)) return TARVEX_ERR_IO;
        // The record holds only enciphered bytes: the old ones of a
        // decryption, which the repair rolls back to, the new ones of an
        // encryption, which it rolls forward to.
        if (!direction && !journal.keepWindow(firstChunk, start, window.data(), length)) return TARVEX_ERR_IO;
        for (int64_t done = 0; done < length; done += kChunkSize)
            pipeline.transform(window.data() + done,
                               static_cast<int32_t>(std::min<int64_t>(kChunkSize, length - done)));
        if (direction && !journal.keepWindow(firstChunk, start, window.data(), length)) return TARVEX_ERR_IO;

        if (!writeAllAt(descriptor, window.data(), static_cast<size_t>(length), offset)) return TARVEX_ERR_IO;
        if (durability == Durability::Synced && !syncData(descriptor)) return TARVEX_ERR_IO;
        if (!journal.count(firstChunk, chunksIn(start + length), size)) return TARVEX_ERR_IO;
    }
    return TARVEX_OK;
}

}  // namespace tarvex

#include "InPlaceRun.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <exception>
#include <memory>
#include <thread>
#include <utility>

#include "ChunkPipeline.h"
#include "FileIo.h"
#include "Progress.h"
#include "SecureWipe.h"
#include "WindowRecordFormat.h"
#include "tarvex.h"

namespace tarvex {

namespace {

// Memory for a window, its pages put in place in one call where the system
// offers it: touched one by one they would cost a page fault each, which on
// some virtual machines comes to tens of milliseconds a run. It holds
// plaintext, so it is wiped before it goes.
class WindowMemory {
public:
    explicit WindowMemory(int64_t size)
        : size_(static_cast<size_t>(size)), bytes_(std::make_unique_for_overwrite<uint8_t[]>(size_))
    {
#if defined(MADV_POPULATE_WRITE)
        const auto page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
        const auto start = reinterpret_cast<uintptr_t>(bytes_.get());
        const uintptr_t first = (start + page - 1) & ~(page - 1);
        const uintptr_t end = (start + size_) & ~(page - 1);
        // Only a hint: refused, the pages come in one fault at a time.
        if (end > first) madvise(reinterpret_cast<void*>(first), end - first, MADV_POPULATE_WRITE);
#endif
    }
    ~WindowMemory() { secureWipe(bytes_.get(), size_); }
    WindowMemory(const WindowMemory&) = delete;
    WindowMemory& operator=(const WindowMemory&) = delete;

    uint8_t* data() const { return bytes_.get(); }
    bool empty() const { return size_ == 0; }

private:
    size_t size_;
    std::unique_ptr<uint8_t[]> bytes_;
};

// A window's bytes, and for a decryption the bytes it held before, which its
// record keeps. They hold plaintext on one side of the transform: wiped
// however the run ends, the progress callback's exception included.
class WindowSlot {
public:
    WindowSlot(int64_t size, bool keepsOriginal) : bytes_(size), original_(keepsOriginal ? size : 0) {}

    uint8_t* data() { return bytes_.data(); }
    const uint8_t* data() const { return bytes_.data(); }
    // The enciphered bytes of the window: the original ones of a decryption,
    // the new ones of an encryption.
    const uint8_t* enciphered() const { return original_.empty() ? bytes_.data() : original_.data(); }
    void keepOriginal(int64_t length) { std::copy_n(bytes_.data(), length, original_.data()); }

private:
    WindowMemory bytes_;
    WindowMemory original_;
};

int64_t chunksIn(int64_t bytes) { return (bytes + kChunkSize - 1) / kChunkSize; }

// Puts one window on the disk, in order: its record, which holds only
// enciphered bytes (the old ones of a decryption, which the repair rolls back
// to, the new ones of an encryption, which it rolls forward to); the window;
// its journal lines.
struct WindowWrite {
    int descriptor;
    int64_t size;
    Journal& journal;
    Durability durability;

    bool operator()(const WindowSlot& slot, int64_t start, int64_t length) const
    {
        const int64_t firstChunk = start / kChunkSize;
        const auto offset = static_cast<off_t>(start);
        return journal.keepWindow(firstChunk, start, slot.enciphered(), length) &&
               writeAllAt(descriptor, slot.data(), static_cast<size_t>(length), offset) &&
               (durability == Durability::Unsynced || syncData(descriptor)) &&
               journal.count(firstChunk, chunksIn(start + length), size);
    }
};

// The write of the previous window, on its own thread while this one is
// transformed: the syncs wait for the disk, not for the processor. Joined
// however the run ends; what the write threw is thrown again on this thread.
class BackgroundWrite {
public:
    BackgroundWrite() = default;
    ~BackgroundWrite()
    {
        if (thread_.joinable()) thread_.join();
    }
    BackgroundWrite(const BackgroundWrite&) = delete;
    BackgroundWrite& operator=(const BackgroundWrite&) = delete;

    void start(const WindowWrite& write, const WindowSlot& slot, int64_t start, int64_t length)
    {
        thread_ = std::thread([this, &write, &slot, start, length] {
            try {
                written_ = write(slot, start, length);
            } catch (...) {
                thrown_ = std::current_exception();
            }
        });
    }

    // Whether the last window started is on the disk and counted.
    bool finished()
    {
        if (thread_.joinable()) thread_.join();
        if (thrown_) std::rethrow_exception(std::exchange(thrown_, nullptr));
        return written_;
    }

private:
    std::thread thread_;
    bool written_ = true;
    std::exception_ptr thrown_;
};

}  // namespace

int rewriteInPlace(const KeyMaterial& key, int descriptor, int64_t size, Journal& journal, int direction,
                   int layerChoice, Durability durability)
{
    progressTotal = 0.0f;
    const int64_t chunkEstimate = std::max<int64_t>(size / kChunkSize, 1);
    const int64_t windowSize = std::min<int64_t>(size, windowrecord::kWindowBytes);
    const int64_t windowCount = windowSize > 0 ? (size + windowSize - 1) / windowSize : 0;
    // Two windows in turn: one transformed while the other is written.
    WindowSlot first(windowSize, !direction);
    WindowSlot second(windowCount > 1 ? windowSize : 0, !direction);
    WindowSlot* slots[2] = {&first, &second};
    ChunkPipeline pipeline(key, size, direction, layerChoice, chunkEstimate);
    const WindowWrite write{descriptor, size, journal, durability};
    BackgroundWrite writing;

    for (int64_t window = 0; window < windowCount; ++window) {
        WindowSlot& slot = *slots[window % 2];
        const int64_t start = window * windowSize;
        const int64_t length = std::min(windowSize, size - start);
        if (!readAllAt(descriptor, slot.data(), static_cast<size_t>(length), static_cast<off_t>(start)))
            return TARVEX_ERR_IO;
        if (!direction) slot.keepOriginal(length);
        for (int64_t done = 0; done < length; done += kChunkSize)
            pipeline.transform(slot.data() + done, static_cast<int32_t>(std::min<int64_t>(kChunkSize, length - done)));
        // A window is touched only once the one before it is counted.
        if (!writing.finished()) return TARVEX_ERR_IO;
        writing.start(write, slot, start, length);
    }
    return writing.finished() ? TARVEX_OK : TARVEX_ERR_IO;
}

}  // namespace tarvex

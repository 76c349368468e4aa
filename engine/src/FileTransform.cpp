#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "ChunkPipeline.h"
#include "ExportGuard.h"
#include "FileTransform.h"
#include "InPlaceRun.h"
#include "Journal.h"
#include "KeyCheck.h"
#include "Progress.h"
#include "SecureWipe.h"
#include "tarvex.h"

namespace tarvex {

namespace {

static_assert(sizeof(long) >= 8, "stream positions must hold sizes of 2 GiB and more");

// The chunk being transformed by a run into another file.
alignas(64) uint8_t chunkBuffer[kChunkSize];

class Stream {
public:
    Stream(const char* name, const char* mode) : file_(std::fopen(name, mode))
    {
        // Whole chunks go straight between the file and the chunk buffer.
        if (file_) std::setvbuf(file_, nullptr, _IONBF, 0);
    }
    ~Stream()
    {
        if (file_) std::fclose(file_);
    }
    Stream(const Stream&) = delete;
    Stream& operator=(const Stream&) = delete;

    explicit operator bool() const { return file_ != nullptr; }
    std::FILE* get() const { return file_; }

    bool close()
    {
        std::FILE* file = file_;
        file_ = nullptr;
        return std::fclose(file) == 0;
    }

private:
    std::FILE* file_;
};

bool isRegularFile(const char* name)
{
    std::error_code error;
    return std::filesystem::is_regular_file(name, error);
}

bool equalIgnoringAsciiCase(const char* a, const char* b)
{
    for (; *a && *b; ++a, ++b) {
        if (std::toupper(static_cast<unsigned char>(*a)) != std::toupper(static_cast<unsigned char>(*b))) return false;
    }
    return *a == *b;
}

bool reachOneFile(const char* a, const char* b)
{
    std::error_code error;
    return std::filesystem::equivalent(a, b, error);
}

// Equal names transform in place. Names that differ only in letter case are
// one file on a case-insensitive file system and two files here otherwise.
bool isInPlace(const char* source, const char* target)
{
    if (std::strcmp(source, target) == 0) return true;
    return equalIgnoringAsciiCase(source, target) && reachOneFile(source, target);
}

int64_t measure(std::FILE* file)
{
    if (std::fseek(file, 0, SEEK_END) != 0) return -1;
    const long size = std::ftell(file);
    if (size < 0 || std::fseek(file, 0, SEEK_SET) != 0) return -1;
    return size;
}

// A target that was longer than the source would keep stale bytes behind the
// transformed data.
bool cutToLength(const char* target, int64_t size)
{
    std::error_code error;
    const auto targetSize = std::filesystem::file_size(target, error);
    if (error) return false;
    if (targetSize <= static_cast<uintmax_t>(size)) return true;
    std::filesystem::resize_file(target, static_cast<uintmax_t>(size), error);
    return !error;
}

// Wipes the chunk buffer when a transform leaves it, also when an exception
// from the progress callback cuts a chunk short.
class ChunkBufferWipe {
public:
    ChunkBufferWipe() = default;
    ~ChunkBufferWipe() { secureWipe(chunkBuffer, sizeof chunkBuffer); }
    ChunkBufferWipe(const ChunkBufferWipe&) = delete;
    ChunkBufferWipe& operator=(const ChunkBufferWipe&) = delete;
};

int transformStreams(const KeyMaterial& key, Stream& input, Stream& output, int direction, int layerChoice,
                     int64_t& size)
{
    const ChunkBufferWipe wipe;
    size = measure(input.get());
    if (size < 0) return TARVEX_ERR_IO;

    progressTotal = 0.0f;
    const int64_t chunkEstimate = std::max<int64_t>(size / kChunkSize, 1);
    int64_t position = 0;
    ChunkPipeline pipeline(key, size, direction, layerChoice, chunkEstimate);
    while (position < size) {
        const int32_t length = static_cast<int32_t>(std::min<int64_t>(size - position, kChunkSize));
        if (std::fread(chunkBuffer, 1, static_cast<size_t>(length), input.get()) != static_cast<size_t>(length))
            return TARVEX_ERR_IO;
        pipeline.transform(chunkBuffer, length);
        if (std::fwrite(chunkBuffer, 1, static_cast<size_t>(length), output.get()) != static_cast<size_t>(length) ||
            std::fflush(output.get()) != 0)
            return TARVEX_ERR_IO;
        position += length;
    }
    const bool inputClosed = input.close();
    const bool outputClosed = output.close();
    return inputClosed && outputClosed ? TARVEX_OK : TARVEX_ERR_IO;
}

// The in-place run, on the target's descriptor. Nothing is touched unless its
// journal and record could be made.
int transformInPlace(const char* key, const char* source, Stream& input, Stream& output, int direction, int layerChoice,
                     Durability durability)
{
    const uint64_t keyCheck = keyCheckOf(key, layerChoice);
    const KeyMaterial keyMaterial(key, layerChoice);
    const int64_t size = measure(output.get());
    if (size < 0) return TARVEX_ERR_IO;
    Journal journal;
    if (!journal.create(direction, source, keyCheck, durability)) return TARVEX_ERR_UNPROTECTED;
    const int result =
        rewriteInPlace(keyMaterial, fileno(output.get()), size, journal, direction, layerChoice, durability);
    if (result != TARVEX_OK) return result;
    const bool inputClosed = input.close();
    const bool outputClosed = output.close();
    if (!inputClosed || !outputClosed) return TARVEX_ERR_IO;
    return journal.finish() ? TARVEX_OK : TARVEX_ERR_IO;
}

}  // namespace

// An exception thrown in here (no memory for a path, the progress callback)
// leaves the files as an early return at that point does: the journal and
// its record stay, and a window is counted only once it is on the disk.
int transformFile(const char* key, const char* source, const char* target, int direction, int layerChoice,
                  Durability durability)
{
    if (!source || !isRegularFile(source)) return TARVEX_ERR_OPEN_SOURCE;
    Stream input(source, "rb");
    if (!input) return TARVEX_ERR_OPEN_SOURCE;
    if (!target) return TARVEX_ERR_APPEND_TARGET;

    const bool inPlace = isInPlace(source, target);
    if (!inPlace) {
        // Creates a missing target and leaves an existing one as it is, also
        // when another name of the source itself was given.
        std::FILE* probe = std::fopen(target, "a");
        if (!probe) return TARVEX_ERR_APPEND_TARGET;
        std::fclose(probe);
    }
    Stream output(target, "rb+");
    if (!output) return TARVEX_ERR_UPDATE_TARGET;
    // Another name of the source itself (a relative and an absolute path, a
    // link) is rewritten in place as well, and so gets the journal and record
    // of an in-place run: cut short, it must not be left half done unseen.
    if (inPlace || reachOneFile(source, target))
        return transformInPlace(key, source, input, output, direction, layerChoice, durability);

    const KeyMaterial keyMaterial(key, layerChoice);
    int64_t size = 0;
    const int result = transformStreams(keyMaterial, input, output, direction, layerChoice, size);
    if (result != TARVEX_OK) return result;
    return cutToLength(target, size) ? TARVEX_OK : TARVEX_ERR_IO;
}

}  // namespace tarvex

extern "C" __attribute__((visibility("default"))) int
tarvexTransformFile(const char* key, const char* source, const char* target, int direction, int layerChoice)
{
    return tarvex::guardExport<int>(TARVEX_ERR_INTERNAL, [&] {
        return tarvex::transformFile(key, source, target, direction, layerChoice, tarvex::Durability::Synced);
    });
}

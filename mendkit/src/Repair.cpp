#include "Repair.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "Console.h"
#include "tarvex.h"

namespace mendkit {

namespace {

constexpr int64_t kChunkSize = 65536;

class File {
public:
    explicit File(std::FILE* stream) : stream_(stream) {}
    ~File()
    {
        if (stream_) std::fclose(stream_);
    }
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    explicit operator bool() const { return stream_ != nullptr; }
    std::FILE* get() const { return stream_; }

    // Closes now and tells whether everything buffered reached the file.
    bool close()
    {
        std::FILE* stream = stream_;
        stream_ = nullptr;
        return std::fclose(stream) == 0;
    }

private:
    std::FILE* stream_;
};

// A stream on `descriptor` once the open that could not wait is done:
// reading and writing wait again, as on any file.
std::FILE* streamWaitingAgain(int descriptor, const char* mode)
{
    const int flags = fcntl(descriptor, F_GETFL);
    std::FILE* stream = nullptr;
    if (flags >= 0 && fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK) == 0) stream = fdopen(descriptor, mode);
    if (!stream) close(descriptor);
    return stream;
}

// Opening a named pipe for reading waits for a writer, so BrokenFile is opened
// without waiting and kept only when it is a regular file: a pipe, a device or
// a directory is no file to repair.
std::FILE* openBrokenFile(const char* name)
{
    const int descriptor = open(name, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) return nullptr;
    struct stat status;
    if (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        close(descriptor);
        return nullptr;
    }
    return streamWaitingAgain(descriptor, "rb");
}

// Created or emptied like fopen "wb" does, but a named pipe without a reader
// fails at once instead of waiting for one.
std::FILE* openFixedFile(const char* name)
{
    const int descriptor = open(name, O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK | O_CLOEXEC, 0666);
    if (descriptor < 0) return nullptr;
    return streamWaitingAgain(descriptor, "wb");
}

bool isRegularFile(const char* name)
{
    std::error_code error;
    return std::filesystem::is_regular_file(name, error);
}

int64_t measure(std::FILE* stream)
{
    if (std::fseek(stream, 0, SEEK_END) != 0) return -1;
    const long size = std::ftell(stream);
    if (size < 0 || std::fseek(stream, 0, SEEK_SET) != 0) return -1;
    return size;
}

// A half-written FixedFile must not pass for a repaired one. Only a regular
// file is removed: the name may well be a device.
void discardFixedFile(const char* name)
{
    if (isRegularFile(name)) std::remove(name);
}

// How many leading bytes of chunk `index` the interrupted run had finished.
int64_t finishedBytesOfChunk(const RepairRequest& request, int64_t index, int64_t chunkLength)
{
    const int64_t wholeChunks = request.countsBytes ? request.finished / kChunkSize : request.finished;
    if (index < wholeChunks) return chunkLength;
    if (request.countsBytes && index == wholeChunks) return std::min(request.finished % kChunkSize, chunkLength);
    return 0;
}

enum class CopyResult { Done, ReadFailed, WriteFailed };

// Copies BrokenFile into FixedFile chunk by chunk, turning back the finished
// part. The pieces are chained (the first starts the generator afresh, each
// later one continues it) so they meet the interrupted run's generator
// sequence chunk for chunk.
CopyResult copyTurningBack(const RepairRequest& request, File& broken, File& fixed)
{
    const int64_t size = measure(broken.get());
    if (size < 0) return CopyResult::ReadFailed;

    // An empty file still counts as one chunk, of no bytes.
    const int64_t chunkCount = std::max<int64_t>((size + kChunkSize - 1) / kChunkSize, 1);
    const int turnBack = request.run == InterruptedRun::Encryption ? TARVEX_DECRYPT : TARVEX_ENCRYPT;
    std::vector<unsigned char> chunk(kChunkSize);

    for (int64_t index = 0; index < chunkCount; ++index) {
        const int64_t length = std::min(size - index * kChunkSize, kChunkSize);
        const auto byteCount = static_cast<size_t>(length);
        if (std::fread(chunk.data(), 1, byteCount, broken.get()) != byteCount) return CopyResult::ReadFailed;

        const int64_t finished = finishedBytesOfChunk(request, index, length);
        if (finished > 0) {
            tarvexTransformBuffer(request.key, chunk.data(), static_cast<int32_t>(finished), chunk.data(), turnBack,
                                  request.layerChoice, index == 0);
        }
        if (std::fwrite(chunk.data(), 1, byteCount, fixed.get()) != byteCount) return CopyResult::WriteFailed;
        printFixingProgress(request.fixedFile, percentComplete(index + 1, chunkCount));
    }
    return fixed.close() ? CopyResult::Done : CopyResult::WriteFailed;
}

}  // namespace

int repair(const RepairRequest& request)
{
    File broken(openBrokenFile(request.brokenFile));
    if (!broken) {
        printCannotOpen(request.brokenFile);
        return kFailureStatus;
    }
    File fixed(openFixedFile(request.fixedFile));
    if (!fixed) {
        printCannotOpen(request.fixedFile);
        return kFailureStatus;
    }

    switch (copyTurningBack(request, broken, fixed)) {
    case CopyResult::Done: break;
    case CopyResult::ReadFailed:
        printCannotRead(request.brokenFile);
        if (fixed) fixed.close();
        discardFixedFile(request.fixedFile);
        return kFailureStatus;
    case CopyResult::WriteFailed:
        printCannotWrite(request.fixedFile);
        if (fixed) fixed.close();
        discardFixedFile(request.fixedFile);
        return kFailureStatus;
    }

    if (request.run == InterruptedRun::Decryption) {
        // FixedFile is now wholly enciphered; one ordinary in-place run
        // decrypts it (with its own journal, should that run be cut short).
        const std::string line = decryptingLine(request.fixedFile);
        printDecryptingStarted(line);
        if (tarvexTransformFile(request.key, request.fixedFile, request.fixedFile, TARVEX_DECRYPT,
                                request.layerChoice) != TARVEX_OK) {
            printCannotDecrypt(request.fixedFile);
            return kFailureStatus;
        }
        printDecryptingDone(line, request.brokenFile);
    }
    printFinished();
    return 0;
}

}  // namespace mendkit

#include "UndoCopyReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "Descriptor.h"
#include "UndoCopyFormat.h"

namespace repair {

namespace {

bool readAll(int descriptor, unsigned char* data, size_t length)
{
    while (length > 0) {
        const ssize_t got = read(descriptor, data, length);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        data += got;
        length -= static_cast<size_t>(got);
    }
    return true;
}

}  // namespace

ChunkCopy readUndoCopy(const std::string& undoPath, int64_t chunkIndex, int64_t chunkStart, int64_t chunkLength)
{
    ChunkCopy copy;
    const Descriptor file(open(undoPath.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
    if (file.get() < 0) {
        copy.state = errno == ENOENT ? ChunkCopy::State::Absent : ChunkCopy::State::Unreadable;
        return copy;
    }
    struct stat status;
    if (fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode)) {
        copy.state = ChunkCopy::State::Unreadable;
        return copy;
    }
    // A copy of the chunk at the count has exactly the chunk's length; any
    // other size is another chunk's copy, or one cut short.
    const auto expectedSize = static_cast<off_t>(chunkLength + static_cast<int64_t>(undocopy::kTrailerSize));
    if (status.st_size != expectedSize) {
        copy.state = ChunkCopy::State::Unusable;
        return copy;
    }
    std::vector<unsigned char> record(static_cast<size_t>(expectedSize));
    if (!readAll(file.get(), record.data(), record.size())) {
        copy.state = ChunkCopy::State::Unreadable;
        return copy;
    }
    const auto fields = undocopy::readWholeCopy(record.data(), record.size());
    if (!fields || fields->chunkIndex != static_cast<uint64_t>(chunkIndex) ||
        fields->chunkStart != static_cast<uint64_t>(chunkStart)) {
        copy.state = ChunkCopy::State::Unusable;
        return copy;
    }
    record.resize(static_cast<size_t>(chunkLength));
    copy.state = ChunkCopy::State::Usable;
    copy.bytes = std::move(record);
    return copy;
}

}  // namespace repair

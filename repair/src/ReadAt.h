#pragma once

#include <unistd.h>

#include <cerrno>
#include <cstddef>

namespace repair {

// Reads exactly `length` bytes at `offset`, resuming after interruptions and
// short reads. False on an error or at the file's end.
inline bool readAt(int descriptor, unsigned char* data, size_t length, off_t offset)
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

}  // namespace repair

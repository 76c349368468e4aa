#include "FileIo.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace tarvex {

bool readAllAt(int descriptor, uint8_t* data, size_t length, off_t offset)
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

bool writeAllAt(int descriptor, const uint8_t* data, size_t length, off_t offset)
{
    while (length > 0) {
        const ssize_t written = pwrite(descriptor, data, length, offset);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        data += written;
        length -= static_cast<size_t>(written);
        offset += written;
    }
    return true;
}

bool syncData(int descriptor)
{
    while (fdatasync(descriptor) != 0) {
        if (errno != EINTR) return false;
    }
    return true;
}

bool syncAll(int descriptor)
{
    while (fsync(descriptor) != 0) {
        if (errno != EINTR) return false;
    }
    return true;
}

bool syncCurrentFolder()
{
    const int folder = open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) return false;
    const bool synced = fsync(folder) == 0;
    return close(folder) == 0 && synced;
}

}  // namespace tarvex

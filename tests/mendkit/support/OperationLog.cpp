#include "OperationLog.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <optional>

extern "C" {
int __real_open(const char* path, int flags, ...);
ssize_t __real_pwrite(int descriptor, const void* data, size_t length, off_t offset);
ssize_t __real_write(int descriptor, const void* data, size_t length);
int __real_ftruncate(int descriptor, off_t length);
int __real_fsync(int descriptor);
int __real_fdatasync(int descriptor);
int __real_unlink(const char* path);
}

namespace mendkit_test {

namespace {

namespace fs = std::filesystem;

struct Recording {
    fs::path folder;
    std::vector<Operation> operations;
    std::string failingSuffix;
    int64_t allowedBytes = 0;
    std::string exitSuffix;
    int syncsBeforeExit = 0;
    int exitStatus = 0;
};
std::optional<Recording> recording;

// The name of a file in the watched folder, or nothing.
std::optional<std::string> watchedName(const fs::path& path)
{
    std::error_code error;
    const fs::path absolute = fs::absolute(path, error);
    if (error || absolute.parent_path() != recording->folder) return std::nullopt;
    return absolute.filename().string();
}

std::optional<std::string> watchedName(int descriptor)
{
    if (!recording) return std::nullopt;
    std::error_code error;
    const fs::path path = fs::read_symlink("/proc/self/fd/" + std::to_string(descriptor), error);
    if (error) return std::nullopt;
    return watchedName(path);
}

void log(Operation::Kind kind, const std::string& file, int64_t offset = 0, const void* data = nullptr,
         size_t length = 0)
{
    const auto* bytes = static_cast<const unsigned char*>(data);
    recording->operations.push_back({kind, file, offset, std::vector<unsigned char>(bytes, bytes + length)});
}

// How many of `length` bytes a write to `file` may put down before the disk
// is "full".
size_t writable(const std::string& file, size_t length)
{
    if (recording->failingSuffix.empty() || !file.ends_with(recording->failingSuffix)) return length;
    const int64_t left = std::max<int64_t>(recording->allowedBytes, 0);
    const size_t allowed = std::min<size_t>(length, static_cast<size_t>(left));
    recording->allowedBytes -= static_cast<int64_t>(allowed);
    return allowed;
}

// Syncs of the watched folder and of files in it.
int logSync(int descriptor, int result)
{
    if (result != 0 || !recording) return result;
    struct stat status;
    if (fstat(descriptor, &status) != 0) return result;
    if (S_ISDIR(status.st_mode)) {
        std::error_code error;
        const auto path = std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(descriptor), error);
        if (!error && path == recording->folder) log(Operation::Kind::SyncFolder, "");
    } else if (const auto name = watchedName(descriptor)) {
        log(Operation::Kind::Sync, *name);
        if (!recording->exitSuffix.empty() && name->ends_with(recording->exitSuffix) &&
            --recording->syncsBeforeExit == 0)
            _exit(recording->exitStatus);
    }
    return result;
}

}  // namespace

OperationLog::OperationLog(const fs::path& folder)
{
    recording = Recording{fs::canonical(folder), {}, {}, 0, {}, 0, 0};
}

OperationLog::~OperationLog() { recording.reset(); }

const std::vector<Operation>& OperationLog::operations() const { return recording->operations; }

void OperationLog::exitAfterSync(const std::string& suffix, int count, int status)
{
    recording->exitSuffix = suffix;
    recording->syncsBeforeExit = count;
    recording->exitStatus = status;
}

void OperationLog::failWritesTo(const std::string& suffix, int64_t allowed)
{
    recording->failingSuffix = suffix;
    recording->allowedBytes = allowed;
}

}  // namespace mendkit_test

using mendkit_test::logSync;
using mendkit_test::Operation;
using mendkit_test::watchedName;

extern "C" {

int __wrap_open(const char* path, int flags, ...)
{
    mode_t mode = 0;
    if (flags & O_CREAT) {
        va_list arguments;
        va_start(arguments, flags);
        mode = static_cast<mode_t>(va_arg(arguments, int));
        va_end(arguments);
    }
    const int descriptor = __real_open(path, flags, mode);
    // The engine creates its files exclusively: a created name is a new one.
    if (descriptor >= 0 && (flags & O_CREAT) && (flags & O_EXCL)) {
        if (const auto name = watchedName(descriptor)) mendkit_test::log(Operation::Kind::Create, *name);
    }
    return descriptor;
}

ssize_t __wrap_pwrite(int descriptor, const void* data, size_t length, off_t offset)
{
    const auto name = watchedName(descriptor);
    if (!name) return __real_pwrite(descriptor, data, length, offset);
    const size_t allowed = mendkit_test::writable(*name, length);
    if (allowed == 0 && length > 0) {
        errno = ENOSPC;
        return -1;
    }
    const ssize_t written = __real_pwrite(descriptor, data, allowed, offset);
    if (written > 0) mendkit_test::log(Operation::Kind::Write, *name, offset, data, static_cast<size_t>(written));
    return written;
}

ssize_t __wrap_write(int descriptor, const void* data, size_t length)
{
    const auto name = watchedName(descriptor);
    if (!name) return __real_write(descriptor, data, length);
    const size_t allowed = mendkit_test::writable(*name, length);
    if (allowed == 0 && length > 0) {
        errno = ENOSPC;
        return -1;
    }
    // Appending or not, the write lands where the file's offset is after it.
    const ssize_t written = __real_write(descriptor, data, allowed);
    if (written > 0) {
        const off_t end = lseek(descriptor, 0, SEEK_CUR);
        mendkit_test::log(Operation::Kind::Write, *name, end - written, data, static_cast<size_t>(written));
    }
    return written;
}

int __wrap_ftruncate(int descriptor, off_t length)
{
    const int result = __real_ftruncate(descriptor, length);
    if (result == 0) {
        if (const auto name = watchedName(descriptor)) mendkit_test::log(Operation::Kind::Truncate, *name, length);
    }
    return result;
}

int __wrap_fsync(int descriptor) { return logSync(descriptor, __real_fsync(descriptor)); }

int __wrap_fdatasync(int descriptor) { return logSync(descriptor, __real_fdatasync(descriptor)); }

int __wrap_unlink(const char* path)
{
    const auto name = mendkit_test::recording ? watchedName(std::filesystem::path(path)) : std::nullopt;
    const int result = __real_unlink(path);
    if (result == 0 && name) mendkit_test::log(Operation::Kind::Unlink, *name);
    return result;
}
}

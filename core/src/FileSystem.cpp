#include "core/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <memory>

namespace core {

namespace {

struct DirectoryCloser {
    void operator()(DIR* directory) const { closedir(directory); }
};
using Directory = std::unique_ptr<DIR, DirectoryCloser>;

Directory openDirectory(const std::string& path)
{
    if (path.empty()) return nullptr;
    return Directory(opendir(path.c_str()));
}

class Descriptor {
public:
    explicit Descriptor(int descriptor) : descriptor_(descriptor) {}
    ~Descriptor()
    {
        if (descriptor_ >= 0) close(descriptor_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return descriptor_; }

private:
    int descriptor_;
};

enum class EntryType { RegularFile, Folder, Other };

// The entry's own type, a link being a link: the listing gives it for most
// file systems, the others are asked without following links.
EntryType typeOf(DIR* directory, const dirent& entry)
{
    switch (entry.d_type) {
    case DT_REG: return EntryType::RegularFile;
    case DT_DIR: return EntryType::Folder;
    case DT_UNKNOWN: break;
    default: return EntryType::Other;
    }
    struct stat status {};
    if (fstatat(dirfd(directory), entry.d_name, &status, AT_SYMLINK_NOFOLLOW) != 0) return EntryType::Other;
    if (S_ISREG(status.st_mode)) return EntryType::RegularFile;
    if (S_ISDIR(status.st_mode)) return EntryType::Folder;
    return EntryType::Other;
}

bool isDotOrDotDot(const char* name)
{
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

}  // namespace

bool opensAsRegularFile(const std::string& path)
{
    if (!isRegularFile(path)) return false;
    // O_NONBLOCK: a pipe swapped in after the check must not hang the open;
    // fstat then tells what was really opened.
    const Descriptor file(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (file.get() < 0) return false;
    struct stat status {};
    return fstat(file.get(), &status) == 0 && S_ISREG(status.st_mode);
}

bool opensAsFolder(const std::string& path) { return openDirectory(path) != nullptr; }

std::optional<std::vector<FolderEntry>> listFolder(const std::string& folder)
{
    const Directory directory = openDirectory(folder);
    if (!directory) return std::nullopt;
    std::vector<FolderEntry> entries;
    while (const dirent* entry = readdir(directory.get())) {
        if (isDotOrDotDot(entry->d_name)) continue;
        const EntryType type = typeOf(directory.get(), *entry);
        if (type == EntryType::Other) continue;
        entries.push_back({entry->d_name, type == EntryType::Folder});
    }
    return entries;
}

std::string resolvedPath(const std::string& path)
{
    if (path.empty()) return {};
    // With no buffer given, realpath allocates one as long as the path needs.
    const std::unique_ptr<char, decltype(&std::free)> resolved(realpath(path.c_str(), nullptr), &std::free);
    return resolved ? std::string(resolved.get()) : std::string();
}

bool isFileSystemRoot(const std::string& path) { return resolvedPath(path) == "/"; }

std::optional<std::string> readStream(const std::string& path)
{
    if (path.empty()) return std::nullopt;
    const Descriptor stream(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY));
    if (stream.get() < 0) return std::nullopt;
    struct stat status {};
    if (fstat(stream.get(), &status) != 0 || S_ISDIR(status.st_mode)) return std::nullopt;
    std::string content;
    char piece[65536];
    for (;;) {
        const ssize_t got = read(stream.get(), piece, sizeof piece);
        if (got == 0) return content;
        if (got < 0) {
            if (errno == EINTR) continue;
            return std::nullopt;
        }
        content.append(piece, static_cast<std::size_t>(got));
    }
}

bool writeDurably(int descriptor, std::string_view bytes)
{
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t done = write(descriptor, bytes.data() + written, bytes.size() - written);
        if (done < 0 && errno == EINTR) continue;
        if (done <= 0) return false;
        written += static_cast<std::size_t>(done);
    }
    return fsync(descriptor) == 0;
}

bool isRegularFile(const std::string& path)
{
    struct stat status {};
    return !path.empty() && stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

bool isOwnRegularFile(const std::string& path)
{
    struct stat status {};
    return !path.empty() && lstat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) && status.st_uid == geteuid();
}

std::optional<FileTime> lastWriteTime(const std::string& path)
{
    struct stat status {};
    if (path.empty() || stat(path.c_str(), &status) != 0) return std::nullopt;
    return FileTime{static_cast<long long>(status.st_mtim.tv_sec), status.st_mtim.tv_nsec};
}

bool setLastWriteTime(const std::string& path, FileTime time)
{
    const timespec times[2] = {{0, UTIME_OMIT}, {static_cast<time_t>(time.seconds), time.nanoseconds}};
    return !path.empty() && utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
}

bool removeRegularFile(const std::string& path) { return isRegularFile(path) && unlink(path.c_str()) == 0; }

bool sameFile(const std::string& first, const std::string& second)
{
    struct stat firstStatus {};
    struct stat secondStatus {};
    if (first.empty() || second.empty()) return false;
    if (stat(first.c_str(), &firstStatus) != 0 || stat(second.c_str(), &secondStatus) != 0) return false;
    return firstStatus.st_dev == secondStatus.st_dev && firstStatus.st_ino == secondStatus.st_ino;
}

}  // namespace core

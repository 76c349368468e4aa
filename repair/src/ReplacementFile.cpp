#include "ReplacementFile.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>

namespace repair {

namespace {

namespace fs = std::filesystem;

std::string folderOf(const std::string& path)
{
    const fs::path parent = fs::path(path).parent_path();
    return parent.empty() ? std::string(".") : parent.string();
}

}  // namespace

bool syncFolder(const std::string& folder)
{
    const int descriptor = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) return false;
    const bool synced = fsync(descriptor) == 0;
    close(descriptor);
    return synced;
}

ReplacementFile::~ReplacementFile() { discard(); }

bool ReplacementFile::create(const std::string& target, const std::string& tag)
{
    target_ = target;
    std::string pattern = folderOf(target) + "/." + tag + ".repair-XXXXXX";
    descriptor_ = mkostemp(pattern.data(), O_CLOEXEC);
    if (descriptor_ < 0) return false;
    temporary_ = pattern;
    struct stat status;
    if (fstat(descriptor_, &status) != 0) {
        discard();
        return false;
    }
    device_ = status.st_dev;
    inode_ = status.st_ino;
    return true;
}

bool ReplacementFile::write(const unsigned char* data, size_t length)
{
    while (length > 0) {
        const ssize_t written = ::write(descriptor_, data, length);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        data += written;
        length -= static_cast<size_t>(written);
    }
    return true;
}

bool ReplacementFile::finish(const struct stat& target)
{
    // As root the repair may be mending another user's file: it stays theirs.
    if ((target.st_uid != geteuid() || target.st_gid != getegid()) &&
        fchown(descriptor_, target.st_uid, target.st_gid) != 0 && errno != EPERM)
        return false;
    if (fchmod(descriptor_, target.st_mode & 07777) != 0) return false;
    const timespec times[2] = {target.st_atim, target.st_mtim};
    if (futimens(descriptor_, times) != 0) return false;
    return fsync(descriptor_) == 0;
}

std::string ReplacementFile::temporaryName() const { return fs::path(temporary_).filename().string(); }

ReplacementFile::Replacement ReplacementFile::replaceTarget()
{
    const bool closed = close(descriptor_) == 0;
    descriptor_ = -1;
    if (!closed || std::rename(temporary_.c_str(), target_.c_str()) != 0) return Replacement::Failed;
    temporary_.clear();
    return syncFolder(folderOf(target_)) ? Replacement::Lasting : Replacement::NotLasting;
}

void ReplacementFile::discard()
{
    if (descriptor_ >= 0) close(descriptor_);
    descriptor_ = -1;
    if (!temporary_.empty()) unlink(temporary_.c_str());
    temporary_.clear();
}

}  // namespace repair

#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <string>

namespace repair {

// A new content for a file, written beside it under a temporary name and put
// in its place in one step, so that the file is either wholly the old or
// wholly the new whenever the process stops.
class ReplacementFile {
public:
    ReplacementFile() = default;
    ~ReplacementFile();  // removes the temporary file unless it took the target's place
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    // Creates "<target's folder>/.<tag>.repair-XXXXXX", a name that no journal
    // or recovery list pattern matches.
    bool create(const std::string& target, const std::string& tag);

    bool write(const unsigned char* data, size_t length);

    // Gives the new content the target's permissions, owner and time stamps
    // and puts it on the disk.
    bool finish(const struct stat& target);

    // The temporary file's identity, which it keeps once it is the target.
    dev_t device() const { return device_; }
    ino_t inode() const { return inode_; }
    std::string temporaryName() const;

    enum class Replacement {
        Failed,      // the target is as it was
        Lasting,     // the target is the new content, on the disk
        NotLasting,  // the target is the new content, but the folder could not be flushed
    };
    // Renames the temporary file over the target and makes the rename last.
    Replacement replaceTarget();

    // Removes the temporary file.
    void discard();

private:
    std::string target_;
    std::string temporary_;
    int descriptor_ = -1;
    dev_t device_ = 0;
    ino_t inode_ = 0;
};

// Flushes a folder's entries (a rename, a removal) to the disk.
bool syncFolder(const std::string& folder);

}  // namespace repair

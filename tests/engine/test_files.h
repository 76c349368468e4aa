#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace testfiles {

using Bytes = std::vector<uint8_t>;

Bytes readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, const Bytes& bytes);
Bytes randomBytes(size_t length, uint32_t seed);

// A fresh folder that is also the current directory while the object lives,
// because in-place runs keep their journal in the current directory.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    // Names of the journals ("TX?<n>.adt") now in the folder.
    std::vector<std::string> journals() const;

private:
    std::filesystem::path path_;
    std::filesystem::path previous_;
};

}  // namespace testfiles

namespace testfiles {

// Runs `body` in a forked child and returns its exit status (or -1 when the
// child did not exit normally), so a test can change limits or its user.
int runInChild(int (*body)(void*), void* context);

// Ends the calling child as an unprivileged user when it runs as root, so that
// file permissions apply to it. False when that was not possible.
bool dropRootPrivileges();

}  // namespace testfiles

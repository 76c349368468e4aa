#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace testsupport {

using Bytes = std::vector<unsigned char>;

// A fresh folder under the system's temporary folder (or under `parent`),
// removed with everything in it when the object goes.
class TempFolder {
public:
    TempFolder() : TempFolder(std::filesystem::temp_directory_path()) {}
    explicit TempFolder(const std::filesystem::path& parent);
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// Both throw when the file cannot be read or written.
Bytes readFile(const std::filesystem::path& name);
void writeFile(const std::filesystem::path& name, const Bytes& bytes);
Bytes randomBytes(size_t count, uint32_t seed);

}  // namespace testsupport

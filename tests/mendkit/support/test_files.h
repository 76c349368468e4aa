#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace mendkit_test {

using Bytes = std::vector<unsigned char>;

// A fresh folder under the system's temporary folder, removed with everything
// in it when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

Bytes readFile(const std::filesystem::path& name);
void writeFile(const std::filesystem::path& name, const Bytes& bytes);
Bytes randomBytes(size_t count, uint32_t seed);

// The first `count` bytes of `head` followed by the rest of `tail`: the state
// of a file whose in-place run had finished `count` bytes.
Bytes splice(const Bytes& head, const Bytes& tail, size_t count);

// `bytes` passed through the engine's file transform into another file.
Bytes transformThroughFile(const char* key, const Bytes& bytes, int direction, int layerChoice);

}  // namespace mendkit_test

#include "test_files.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

#include "tarvex.h"

namespace mendkit_test {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "mendkit-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
    path_ = std::filesystem::canonical(pattern);
}

TempDir::~TempDir() {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
}

Bytes readFile(const std::filesystem::path& name) {
    std::ifstream in(name, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + name.string());
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFile(const std::filesystem::path& name, const Bytes& bytes) {
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + name.string());
}

Bytes randomBytes(size_t count, uint32_t seed) {
    std::mt19937 generator(seed);
    std::uniform_int_distribution<int> byte(0, 255);
    Bytes bytes(count);
    for (auto& b : bytes) b = static_cast<unsigned char>(byte(generator));
    return bytes;
}

Bytes splice(const Bytes& head, const Bytes& tail, size_t count) {
    Bytes result(head.begin(), head.begin() + static_cast<std::ptrdiff_t>(count));
    result.insert(result.end(), tail.begin() + static_cast<std::ptrdiff_t>(count), tail.end());
    return result;
}

Bytes transformThroughFile(const char* key, const Bytes& bytes, int direction, int layerChoice) {
    const TempDir folder;
    writeFile(folder.file("in"), bytes);
    if (tarvexTransformFile(key, folder.file("in").c_str(), folder.file("out").c_str(), direction,
                            layerChoice) != TARVEX_OK)
        throw std::runtime_error("the engine failed to transform a test file");
    return readFile(folder.file("out"));
}

}  // namespace mendkit_test

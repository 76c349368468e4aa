#include "TestFiles.h"

#include <cstdlib>
#include <fstream>
#include <random>
#include <stdexcept>

namespace testsupport {

TempFolder::TempFolder(const std::filesystem::path& parent)
{
    std::string pattern = (parent / "tarvex-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
    path_ = std::filesystem::canonical(pattern);
}

TempFolder::~TempFolder()
{
    std::error_code error;
    std::filesystem::remove_all(path_, error);
}

Bytes readFile(const std::filesystem::path& name)
{
    std::ifstream in(name, std::ios::binary | std::ios::ate);
    if (!in) throw std::runtime_error("cannot read " + name.string());
    Bytes bytes(static_cast<size_t>(in.tellg()));
    in.seekg(0);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!in) throw std::runtime_error("cannot read " + name.string());
    return bytes;
}

void writeFile(const std::filesystem::path& name, const Bytes& bytes)
{
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + name.string());
}

Bytes randomBytes(size_t count, uint32_t seed)
{
    std::mt19937 generator(seed);
    std::uniform_int_distribution<int> byte(0, 255);
    Bytes bytes(count);
    for (auto& b : bytes) b = static_cast<unsigned char>(byte(generator));
    return bytes;
}

}  // namespace testsupport

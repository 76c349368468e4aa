#include "test_files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>

namespace testfiles {

Bytes readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in) << "cannot read " << path;
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void writeFile(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out) << "cannot write " << path;
}

Bytes randomBytes(size_t length, uint32_t seed) {
    std::mt19937 random(seed);
    Bytes bytes(length);
    for (auto& byte : bytes) byte = static_cast<uint8_t>(random());
    return bytes;
}

ScratchFolder::ScratchFolder() : previous_(std::filesystem::current_path()) {
    std::string pattern = (std::filesystem::temp_directory_path() / "tarvex-test-XXXXXX").string();
    const char* made = mkdtemp(pattern.data());
    if (!made) throw std::runtime_error("mkdtemp failed");
    path_ = made;
    std::filesystem::current_path(path_);
}

ScratchFolder::~ScratchFolder() {
    std::filesystem::current_path(previous_);
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::vector<std::string> ScratchFolder::journals() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_)) {
        const std::string name = entry.path().filename().string();
        if (name.size() > 7 && name.rfind("TX", 0) == 0 && name.ends_with(".adt")) names.push_back(name);
    }
    return names;
}

}  // namespace testfiles

#include <sys/wait.h>
#include <unistd.h>

namespace testfiles {

int runInChild(int (*body)(void*), void* context) {
    const pid_t child = fork();
    if (child == 0) _exit(body(context));
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

bool dropRootPrivileges() {
    if (geteuid() != 0) return true;
    constexpr gid_t kNobodyGroup = 65534;
    constexpr uid_t kNobody = 65534;
    return setgid(kNobodyGroup) == 0 && setuid(kNobody) == 0;
}

}  // namespace testfiles

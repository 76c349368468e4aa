// What every fuzz target shares: a private folder for the files a reader
// takes by path, made once per process and removed when it ends, and a
// check that stops the process like a crash, so libFuzzer keeps the input.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace fuzz {

class PrivateFolder {
public:
    PrivateFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tarvex-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data())) {
            std::perror("mkdtemp");
            std::abort();
        }
        path_ = pattern;
    }
    ~PrivateFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// The process's private folder.
inline const std::string& folder()
{
    static const PrivateFolder made;
    return made.path();
}

// Writes the input as the whole of `path`, replacing what was there. Never
// through a truncation to nothing: ext4 then writes the file out to the disk
// when it is closed, and the fuzzer would wait for the disk at every input.
inline void writeFile(const std::string& path, const uint8_t* data, size_t size)
{
    const int descriptor = open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    bool written = descriptor >= 0;
    for (size_t done = 0; written && done < size;) {
        const ssize_t got = pwrite(descriptor, data + done, size - done, static_cast<off_t>(done));
        written = got > 0;
        if (written) done += static_cast<size_t>(got);
    }
    if (!written || ftruncate(descriptor, static_cast<off_t>(size)) != 0) {
        std::perror(path.c_str());
        std::abort();
    }
    close(descriptor);
}

// Writes the input to `name` in the private folder; its path.
inline std::string writeInput(const std::string& name, const uint8_t* data, size_t size)
{
    const std::string path = folder() + "/" + name;
    writeFile(path, data, size);
    return path;
}

// A reader broke a promise of its interface: a finding, as a crash is.
#define FUZZ_CHECK(condition)                                                                                          \
    do {                                                                                                               \
        if (!(condition)) {                                                                                            \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);                         \
            std::abort();                                                                                              \
        }                                                                                                              \
    } while (false)

}  // namespace fuzz

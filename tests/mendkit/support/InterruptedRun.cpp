#include "InterruptedRun.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <stdexcept>

#include "ChildProcess.h"
#include "OperationLog.h"
#include "TestFiles.h"
#include "tarvex.h"

namespace mendkit_test {

namespace {

namespace fs = std::filesystem;
using testsupport::writeFile;

constexpr int kStoppedInside = 42;

}  // namespace

bool stopInsideWindow(const fs::path& folder, const std::string& name, const char* key, int direction, int layerChoice,
                      int64_t firstChunk)
{
    const testsupport::Ending ending = testsupport::waitForChild(testsupport::startChild(
        [&] {
            // The journal is synced once when it is made and once per window.
            OperationLog log(fs::current_path());
            log.exitAfterSync(".adt", static_cast<int>(firstChunk / kWindowChunks) + 1, kStoppedInside);
            tarvexTransformFile(key, name.c_str(), name.c_str(), direction, layerChoice);
            return 0;
        },
        {folder, {}}));
    return ending.exited && ending.status == kStoppedInside;
}

void stopWritingFirstWindow(const fs::path& folder, const std::string& name, const char* key, int direction,
                            int layerChoice, const Bytes& start, const Bytes& completed, size_t written)
{
    const size_t window = kWindowChunks * 65536;
    if (start.size() <= window) throw std::invalid_argument("the file must be longer than one window");
    writeFile(folder / name, start);
    if (!stopInsideWindow(folder, name, key, direction, layerChoice, kWindowChunks))
        throw std::runtime_error("the run did not stop where it should");
    const auto journals = filesEndingWith(folder, ".adt");
    if (journals.size() != 1) throw std::runtime_error("the stopped run left no journal");
    fs::resize_file(journals.front(), journalLine(name, 0, 0).size());
    writeInto(folder / name, completed, 0, written);
    writeInto(folder / name, start, written, window - written);
}

std::vector<fs::path> filesEndingWith(const fs::path& folder, const std::string& suffix)
{
    std::vector<fs::path> found;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().filename().string().ends_with(suffix)) found.push_back(entry.path());
    return found;
}

std::string journalLine(const std::string& name, int64_t count, int64_t position)
{
    char numbers[64];
    std::snprintf(numbers, sizeof numbers, "   %5lld   %10lld\n", static_cast<long long>(count),
                  static_cast<long long>(position));
    return name + numbers;
}

void appendText(const fs::path& file, const std::string& text)
{
    std::ofstream out(file, std::ios::binary | std::ios::app);
    out << text;
    if (!out) throw std::runtime_error("cannot append to " + file.string());
}

void writeInto(const fs::path& file, const Bytes& bytes, size_t from, size_t count)
{
    std::fstream out(file, std::ios::binary | std::ios::in | std::ios::out);
    out.seekp(static_cast<std::streamoff>(from));
    out.write(reinterpret_cast<const char*>(bytes.data() + from), static_cast<std::streamsize>(count));
    if (!out) throw std::runtime_error("cannot write into " + file.string());
}

}  // namespace mendkit_test

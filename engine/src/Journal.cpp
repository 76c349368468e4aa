#include "Journal.h"

#include <cerrno>
#include <ctime>

namespace tarvex {

namespace {
// Enough numbers to step past every journal that other runs started in the
// same few minutes; beyond that something else is wrong with the folder.
constexpr int kNameAttempts = 1000;
}  // namespace

Journal::~Journal()
{
    if (stream_) std::fclose(stream_);
}

void Journal::create(int direction, const char* sourceName)
{
    sourceName_ = sourceName;
    const long long now = static_cast<long long>(std::time(nullptr));
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::snprintf(name_, sizeof name_, direction ? "TXE%lld.adt" : "TXD%lld.adt", now + attempt);
        // "x": never take over the journal of another run started in the same second.
        stream_ = std::fopen(name_, "wx");
        if (stream_ || errno != EEXIST) break;
    }
    if (!stream_) {
        name_[0] = '\0';
        return;
    }
    complete_ = writeLine(0, 0);
    if (!complete_) stopRecording();
}

void Journal::record(int64_t chunkCount, int64_t position)
{
    if (!stream_) return;
    if (!writeLine(chunkCount, position) || std::fclose(stream_) != 0) {
        stream_ = nullptr;
        complete_ = false;
        return;
    }
    stream_ = std::fopen(name_, "a");
    if (!stream_) complete_ = false;
}

void Journal::finish()
{
    if (!stream_) return;
    const bool closed = std::fclose(stream_) == 0;
    stream_ = nullptr;
    if (closed && complete_) std::remove(name_);
}

bool Journal::writeLine(int64_t chunkCount, int64_t position)
{
    return std::fprintf(stream_, "%s   %5lld   %10lld\n", sourceName_, static_cast<long long>(chunkCount),
                        static_cast<long long>(position)) > 0;
}

void Journal::stopRecording()
{
    std::fclose(stream_);
    stream_ = nullptr;
}

}  // namespace tarvex

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

void Journal::create(int direction, const char* sourceName, UndoCopyUse undoCopy)
{
    sourceName_ = sourceName;
    const long long now = static_cast<long long>(std::time(nullptr));
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::snprintf(name_, sizeof name_, direction ? "TXE%lld.adt" : "TXD%lld.adt", now + attempt);
        // "x": never take over the journal of another run started in the same second.
        stream_ = std::fopen(name_, "wx");
        if (!stream_) {
            if (errno != EEXIST) break;
            continue;
        }
        if (undoCopy == UndoCopyUse::Omit || undoCopy_.create(name_) != UndoCopy::Creation::NameTaken) break;
        std::fclose(stream_);
        stream_ = nullptr;
        std::remove(name_);
    }
    if (!stream_) {
        name_[0] = '\0';
        return;
    }
    complete_ = writeLine(0, 0) && std::fflush(stream_) == 0;
    if (!complete_) stopRecording();
}

bool Journal::keepOriginal(int64_t chunkIndex, int64_t chunkStart, const uint8_t* bytes, int32_t length)
{
    if (!stream_) return true;
    return undoCopy_.save(chunkIndex, chunkStart, bytes, length);
}

void Journal::record(int64_t chunkCount, int64_t position)
{
    if (!stream_) return;
    const bool written = writeLine(chunkCount, position);
    const bool closed = std::fclose(stream_) == 0;
    stream_ = written && closed ? std::fopen(name_, "a") : nullptr;
    if (!stream_) stopRecording();
}

void Journal::finish()
{
    if (!stream_) return;
    const bool closed = std::fclose(stream_) == 0;
    stream_ = nullptr;
    if (closed && complete_) std::remove(name_);
    undoCopy_.remove();
}

bool Journal::writeLine(int64_t chunkCount, int64_t position)
{
    return std::fprintf(stream_, "%s   %5lld   %10lld\n", sourceName_, static_cast<long long>(chunkCount),
                        static_cast<long long>(position)) > 0;
}

// A journal that stops short of the run no longer tells which chunk the undo
// copy belongs to: the copy goes, and the repair falls back on the count.
void Journal::stopRecording()
{
    if (stream_) std::fclose(stream_);
    stream_ = nullptr;
    complete_ = false;
    undoCopy_.remove();
}

}  // namespace tarvex

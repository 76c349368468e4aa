#include "Journal.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <string>

#include "ChunkTransform.h"
#include "FileIo.h"
#include "WindowRecordFormat.h"

namespace tarvex {

namespace {
// Enough numbers to step past every journal that other runs started in the
// same few minutes; beyond that something else is wrong with the folder.
constexpr int kNameAttempts = 1000;

std::string line(const char* sourceName, int64_t chunkCount, int64_t position)
{
    const char* format = "%s   %5lld   %10lld\n";
    const auto count = static_cast<long long>(chunkCount);
    const auto at = static_cast<long long>(position);
    const int length = std::snprintf(nullptr, 0, format, sourceName, count, at);
    if (length < 0) return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    std::snprintf(text.data(), text.size(), format, sourceName, count, at);
    text.pop_back();
    return text;
}
}  // namespace

Journal::~Journal()
{
    if (descriptor_ >= 0) close(descriptor_);
}

bool Journal::create(int direction, const char* sourceName, uint64_t keyCheck, Durability durability)
{
    sourceName_ = sourceName;
    durability_ = durability;
    // Everything that takes memory comes before a file is made, so that no
    // exception leaves one behind.
    const std::string firstLine = line(sourceName_, 0, 0);
    const long long now = static_cast<long long>(std::time(nullptr));
    for (int attempt = 0; attempt < kNameAttempts && descriptor_ < 0; ++attempt) {
        const std::string stem = (direction ? "TXE" : "TXD") + std::to_string(now + attempt);
        std::string recordName = stem + std::string(windowrecord::kRecordSuffix);
        name_ = stem + std::string(windowrecord::kJournalSuffix);
        // The record comes first: a journal on the disk always has its record.
        if (durability == Durability::Synced) {
            const auto created = record_.create(std::move(recordName), keyCheck);
            if (created == WindowRecord::Creation::NameTaken) continue;
            if (created == WindowRecord::Creation::Failed) return false;
        }
        // Exclusive and never through a link: never another run's journal,
        // nor a file that a planted link points at.
        descriptor_ = open(name_.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (descriptor_ < 0) {
            const bool taken = errno == EEXIST;
            record_.remove();
            if (!taken) return false;
        }
    }
    if (descriptor_ < 0) return false;
    // Before the first line: a repair that finds a line finds the lock.
    const bool locked = flock(descriptor_, LOCK_EX) == 0;
    if (locked && append(firstLine) && (durability_ == Durability::Unsynced || syncCurrentFolder())) return true;
    close(descriptor_);
    descriptor_ = -1;
    unlink(name_.c_str());
    record_.remove();
    return false;
}

bool Journal::keepWindow(int64_t firstChunk, int64_t windowStart, const uint8_t* bytes, int64_t length)
{
    if (durability_ == Durability::Unsynced) return true;
    return record_.save(firstChunk, windowStart, bytes, length);
}

bool Journal::count(int64_t countedBefore, int64_t chunkCount, int64_t size)
{
    std::string lines;
    for (int64_t counted = countedBefore + 1; counted <= chunkCount; ++counted)
        lines += line(sourceName_, counted, std::min(counted * kChunkSize, size));
    return append(lines);
}

bool Journal::finish()
{
    if (unlink(name_.c_str()) != 0) return false;
    close(descriptor_);
    descriptor_ = -1;
    record_.remove();
    // Should the removal not last, the journal counts every chunk: finished.
    if (durability_ == Durability::Synced) syncCurrentFolder();
    return true;
}

bool Journal::append(const std::string& lines)
{
    if (lines.empty()) return false;
    size_t done = 0;
    while (done < lines.size()) {
        const ssize_t written = write(descriptor_, lines.data() + done, lines.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        done += static_cast<size_t>(written);
    }
    return durability_ == Durability::Unsynced || syncData(descriptor_);
}

}  // namespace tarvex

#include "UndoCopy.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "UndoCopyFormat.h"

namespace tarvex {

namespace {

bool writeAllAt(int descriptor, const uint8_t* data, size_t length, off_t offset)
{
    while (length > 0) {
        const ssize_t written = pwrite(descriptor, data, length, offset);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (written == 0) return false;
        data += written;
        length -= static_cast<size_t>(written);
        offset += written;
    }
    return true;
}

}  // namespace

UndoCopy::~UndoCopy()
{
    if (descriptor_ >= 0) close(descriptor_);
}

UndoCopy::Creation UndoCopy::create(const char* journalName)
{
    const std::string_view journal(journalName);
    if (!journal.ends_with(undocopy::kJournalSuffix)) return Creation::Failed;
    const size_t stemLength = journal.size() - undocopy::kJournalSuffix.size();
    if (stemLength + undocopy::kUndoSuffix.size() >= sizeof name_) return Creation::Failed;
    std::memcpy(name_, journalName, stemLength);
    std::memcpy(name_ + stemLength, undocopy::kUndoSuffix.data(), undocopy::kUndoSuffix.size());
    name_[stemLength + undocopy::kUndoSuffix.size()] = '\0';

    // Exclusive, as the journal is: a file already there tells about some
    // other run, and must not pass for this run's copy.
    descriptor_ = open(name_, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (descriptor_ >= 0) return Creation::Created;
    const Creation result = errno == EEXIST ? Creation::NameTaken : Creation::Failed;
    name_[0] = '\0';
    return result;
}

bool UndoCopy::save(int64_t chunkIndex, int64_t chunkStart, const uint8_t* bytes, int32_t length)
{
    if (descriptor_ < 0) return true;
    const undocopy::Fields fields{static_cast<uint64_t>(chunkIndex), static_cast<uint64_t>(chunkStart),
                                  static_cast<uint64_t>(length)};
    unsigned char trailer[undocopy::kTrailerSize];
    undocopy::writeTrailer(bytes, fields, trailer);

    // Overwriting the previous copy in place: until the new trailer is
    // written, the bytes no longer match the old one, so a copy cut short
    // anywhere reads as torn.
    const int64_t recordSize = length + static_cast<int64_t>(undocopy::kTrailerSize);
    const bool saved = writeAllAt(descriptor_, bytes, static_cast<size_t>(length), 0) &&
                       writeAllAt(descriptor_, trailer, sizeof trailer, length) &&
                       (recordSize >= recordSize_ || ftruncate(descriptor_, recordSize) == 0);
    if (saved) {
        recordSize_ = recordSize;
        return true;
    }
    close(descriptor_);
    descriptor_ = -1;
    // Without a copy the repair falls back on the journal's count; a torn
    // copy that stayed would tell it, wrongly, that this chunk is untouched.
    const bool removed = unlink(name_) == 0 || errno == ENOENT;
    name_[0] = '\0';
    return removed;
}

void UndoCopy::remove()
{
    if (name_[0] == '\0') return;
    if (descriptor_ >= 0) close(descriptor_);
    descriptor_ = -1;
    unlink(name_);
    name_[0] = '\0';
}

}  // namespace tarvex

#include "WindowRecord.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "FileIo.h"
#include "WindowRecordFormat.h"

namespace tarvex {

WindowRecord::~WindowRecord()
{
    if (descriptor_ >= 0) close(descriptor_);
}

WindowRecord::Creation WindowRecord::create(std::string name, uint64_t keyCheck)
{
    // Exclusive: a file already there tells about some other run, and must
    // not pass for this run's record.
    descriptor_ = open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (descriptor_ < 0) return errno == EEXIST ? Creation::NameTaken : Creation::Failed;
    name_ = std::move(name);
    unsigned char header[windowrecord::kHeaderSize];
    windowrecord::writeHeader(keyCheck, header);
    size_ = static_cast<int64_t>(sizeof header);
    if (writeAllAt(descriptor_, header, sizeof header, 0) && syncData(descriptor_)) return Creation::Created;
    remove();
    return Creation::Failed;
}

bool WindowRecord::save(int64_t firstChunk, int64_t windowStart, const uint8_t* bytes, int64_t length)
{
    if (descriptor_ < 0) return false;
    const windowrecord::Fields fields{static_cast<uint64_t>(firstChunk), static_cast<uint64_t>(windowStart),
                                      static_cast<uint64_t>(length)};
    unsigned char trailer[windowrecord::kTrailerSize];
    windowrecord::writeTrailer(bytes, fields, trailer);

    // Overwriting the previous window in place: until all of the new one is
    // written, bytes and trailer do not match, so a record cut short anywhere
    // reads as torn.
    const auto offset = static_cast<off_t>(windowrecord::kWindowOffset);
    const int64_t size = static_cast<int64_t>(windowrecord::kWindowOffset + windowrecord::kTrailerSize) + length;
    if (!writeAllAt(descriptor_, bytes, static_cast<size_t>(length), offset) ||
        !writeAllAt(descriptor_, trailer, sizeof trailer, offset + static_cast<off_t>(length)))
        return false;
    // A shorter window moves the trailer: the new size must last with the
    // bytes, or the repair would look for the trailer at the old end.
    const bool shrinks = size < size_;
    if (shrinks && ftruncate(descriptor_, static_cast<off_t>(size)) != 0) return false;
    size_ = size;
    return shrinks ? syncAll(descriptor_) : syncData(descriptor_);
}

bool WindowRecord::remove()
{
    if (descriptor_ >= 0) close(descriptor_);
    descriptor_ = -1;
    if (name_.empty()) return true;
    const bool removed = unlink(name_.c_str()) == 0 || errno == ENOENT;
    name_.clear();
    return removed;
}

}  // namespace tarvex

#include "WindowRecordReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <limits>

#include "Descriptor.h"
#include "ReadAt.h"
#include "WindowRecordFormat.h"

namespace repair {

namespace {

// Where a run puts a window: at its first chunk's start, in a file whose
// size an off_t holds. The fields come from the file, and a checksum anyone
// can compute proves nothing about them: a place that wraps (a first chunk
// of 2^48 at position 0) or lies beyond every file is none of a run's.
bool isRunsPlace(const windowrecord::Fields& fields)
{
    constexpr uint64_t kLargestPosition = std::numeric_limits<int64_t>::max();
    return fields.length <= kLargestPosition && fields.windowStart <= kLargestPosition - fields.length &&
           fields.windowStart % 65536 == 0 && fields.firstChunk == fields.windowStart / 65536;
}

}  // namespace

WindowRecordContent readWindowRecord(const std::string& recordPath)
{
    using State = WindowRecordContent::State;
    namespace format = windowrecord;
    WindowRecordContent record;
    const Descriptor file(open(recordPath.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
    if (file.get() < 0) {
        record.state = errno == ENOENT ? State::Absent : State::Unreadable;
        return record;
    }
    struct stat status;
    if (fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode)) {
        record.state = State::Unreadable;
        return record;
    }
    // Larger than any record a run writes: none of ours, and not read whole.
    constexpr auto kLargest = static_cast<off_t>(format::kWindowOffset + format::kWindowBytes + format::kTrailerSize);
    unsigned char header[format::kHeaderSize];
    if (status.st_size > kLargest || status.st_size < static_cast<off_t>(sizeof header)) {
        record.state = State::Foreign;
        return record;
    }
    if (!readAt(file.get(), header, sizeof header, 0)) {
        record.state = State::Unreadable;
        return record;
    }
    const auto keyCheck = format::readHeader(header, sizeof header);
    if (!keyCheck) {
        record.state = State::Foreign;
        return record;
    }
    record.state = State::Present;
    record.keyCheck = *keyCheck;
    if (status.st_size <= static_cast<off_t>(format::kWindowOffset)) return record;

    std::vector<unsigned char> window(static_cast<size_t>(status.st_size) - format::kWindowOffset);
    if (!readAt(file.get(), window.data(), window.size(), static_cast<off_t>(format::kWindowOffset))) {
        record.state = State::Unreadable;
        return record;
    }
    const auto fields = format::readWholeWindow(window.data(), window.size());
    if (!fields || !isRunsPlace(*fields)) return record;
    record.hasWindow = true;
    record.firstChunk = static_cast<int64_t>(fields->firstChunk);
    record.windowStart = static_cast<int64_t>(fields->windowStart);
    window.resize(static_cast<size_t>(fields->length));
    record.bytes = std::move(window);
    return record;
}

}  // namespace repair

#pragma once

#include <cstdint>
#include <string>

namespace tarvex {

// The window record beside an in-place run's journal (see
// WindowRecordFormat.h): the enciphered bytes of the window being rewritten,
// so that the repair can finish or undo the window exactly, whichever of its
// writes a crash or a power cut kept.
//
// The repair may trust this: a window is not touched before its whole record
// is on the disk, and a record that was being replaced when the run stopped
// reads as torn, which tells that its window was not touched.
class WindowRecord {
public:
    WindowRecord() = default;
    ~WindowRecord();
    WindowRecord(const WindowRecord&) = delete;
    WindowRecord& operator=(const WindowRecord&) = delete;

    enum class Creation { Created, NameTaken, Failed };

    // Creates the record `name` (exclusively, never through a link) with its
    // header, which carries `keyCheck`, on the disk; its folder entry is not
    // yet synced. NameTaken: a file of that name exists and is another run's.
    Creation create(std::string name, uint64_t keyCheck);

    // Makes `bytes` the record of the window of `length` bytes from
    // `windowStart`, whose first chunk is `firstChunk`, and puts it on the
    // disk. False when that failed: the window must then not be touched.
    bool save(int64_t firstChunk, int64_t windowStart, const uint8_t* bytes, int64_t length);

    // Deletes the record; false when it could not be deleted.
    bool remove();

private:
    std::string name_;
    int descriptor_ = -1;
    int64_t size_ = 0;
};

}  // namespace tarvex

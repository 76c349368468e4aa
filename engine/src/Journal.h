#pragma once

#include <cstdint>
#include <string>

#include "WindowRecord.h"

namespace tarvex {

// Whether an in-place run puts what its repair needs on the disk in order.
// Every run through the exports does; running without exists so that the
// cost can be measured.
enum class Durability { Synced, Unsynced };

// The crash journal of an in-place transform: one line per finished chunk
// ("<source>   <count>   <position>"), in the current directory, so that an
// interrupted run can be repaired from its last line; and beside it the
// window record (WindowRecord.h).
//
// Order on the disk: the record's header and the journal's first line, with
// both folder entries, before any chunk is touched; a window's record before
// the window is touched; the window's data before its lines. The journal is
// kept open and locked for the whole run, so that no repair takes it for the
// trace of a run that stopped.
class Journal {
public:
    Journal() = default;
    ~Journal();
    Journal(const Journal&) = delete;
    Journal& operator=(const Journal&) = delete;

    // Creates the record "TXE<n>.undo" and then the journal "TXE<n>.adt"
    // (encrypting) or "TXD<n>.undo" and "TXD<n>.adt" (decrypting), n the
    // current time in seconds or, when one of the names is taken, the next
    // number with both free. False when they cannot be made: nothing is left.
    bool create(int direction, const char* sourceName, uint64_t keyCheck, Durability durability);

    // Before the window of `length` bytes from `windowStart` is touched: its
    // enciphered bytes go to the record and on the disk. False when the
    // window must not be touched.
    bool keepWindow(int64_t firstChunk, int64_t windowStart, const uint8_t* bytes, int64_t length);

    // Once the chunks up to `chunkCount` are on the disk: a line for each
    // chunk after `countedBefore`, positions cut at `size`, on the disk.
    // False when they could not be written: the run must stop.
    bool count(int64_t countedBefore, int64_t chunkCount, int64_t size);

    // The transform completed and its file is on the disk: the journal and
    // the record go. False when the journal could not be removed. A journal
    // that stays (or comes back after a power cut) counts every chunk, which
    // tells the repair that the run was finished.
    bool finish();

private:
    bool append(const std::string& lines);

    std::string name_;
    const char* sourceName_ = nullptr;
    int descriptor_ = -1;
    Durability durability_ = Durability::Synced;
    WindowRecord record_;
};

}  // namespace tarvex

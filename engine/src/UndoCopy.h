#pragma once

#include <cstdint>

namespace tarvex {

// Whether an in-place run keeps an undo copy beside its journal. Every run
// through the exports keeps one; running without exists so that the copy's
// cost can be measured.
enum class UndoCopyUse { Keep, Omit };

// The original bytes of the chunk an in-place run is about to overwrite, in a
// side file next to the journal ("TXE<n>.undo" beside "TXE<n>.adt"). A run cut
// short while a chunk was half written can then be repaired exactly.
//
// The repair may trust this: while the file exists, the chunk at the
// journal's count was not touched before a whole copy of it had reached the
// operating system. So every copy that cannot be written is removed, and a
// chunk whose failed copy cannot be removed is not touched at all.
class UndoCopy {
public:
    UndoCopy() = default;
    ~UndoCopy();
    UndoCopy(const UndoCopy&) = delete;
    UndoCopy& operator=(const UndoCopy&) = delete;

    enum class Creation { Created, NameTaken, Failed };

    // Creates the empty copy for the journal `journalName`. NameTaken: a file
    // of that name exists, which belongs to no journal of this run. After
    // Failed the run goes on without a copy.
    Creation create(const char* journalName);

    // Makes `bytes` the copy of chunk `chunkIndex`, which starts at
    // `chunkStart` in the file. False when the copy failed and could not be
    // removed either: the chunk must then stay as it is. After a failure the
    // rest of the run goes without a copy.
    bool save(int64_t chunkIndex, int64_t chunkStart, const uint8_t* bytes, int32_t length);

    // Deletes the copy; the run goes on without one.
    void remove();

private:
    char name_[40] = {};
    int descriptor_ = -1;
    int64_t recordSize_ = 0;
};

}  // namespace tarvex

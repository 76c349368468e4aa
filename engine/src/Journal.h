#pragma once

#include <cstdint>
#include <cstdio>

#include "UndoCopy.h"

namespace tarvex {

// The crash journal of an in-place transform: one line per finished chunk
// ("<source>   <count>   <position>"), in the current directory, so that an
// interrupted run can be repaired from its last line; and beside it the undo
// copy of the chunk being rewritten, which tells the repair whether that chunk
// was touched.
class Journal {
public:
    Journal() = default;
    ~Journal();
    Journal(const Journal&) = delete;
    Journal& operator=(const Journal&) = delete;

    // Creates "TXE<n>.adt" (encrypting) or "TXD<n>.adt" (decrypting), n the
    // current time in seconds or, when that name or its undo copy's is taken,
    // the next free number, with its undo copy "TXE<n>.undo", and writes the
    // line for chunk 0, which reaches the operating system before any chunk is
    // touched. Without a journal, or without an undo copy, the transform
    // still runs.
    void create(int direction, const char* sourceName, UndoCopyUse undoCopy);

    // Before chunk `chunkIndex`, starting at `chunkStart`, is overwritten: its
    // original bytes go to the undo copy. False when the chunk must not be
    // touched (see UndoCopy::save).
    bool keepOriginal(int64_t chunkIndex, int64_t chunkStart, const uint8_t* bytes, int32_t length);

    // Appends a line and closes and reopens the file so the line reaches the
    // disk before the next chunk is touched. The undo copy is stale from here
    // on, until the next chunk replaces it.
    void record(int64_t chunkCount, int64_t position);

    // The transform completed: the journal and its undo copy are deleted,
    // unless a line could not be written.
    void finish();

private:
    bool writeLine(int64_t chunkCount, int64_t position);
    void stopRecording();

    char name_[32] = {};
    const char* sourceName_ = nullptr;
    std::FILE* stream_ = nullptr;
    bool complete_ = false;
    UndoCopy undoCopy_;
};

}  // namespace tarvex

#pragma once

#include <cstdint>
#include <cstdio>

namespace tarvex {

// The crash journal of an in-place transform: one line per finished chunk
// ("<source>   <count>   <position>"), in the current directory, so that an
// interrupted run can be repaired from its last line.
class Journal {
public:
    Journal() = default;
    ~Journal();
    Journal(const Journal&) = delete;
    Journal& operator=(const Journal&) = delete;

    // Creates "TXE<n>.adt" (encrypting) or "TXD<n>.adt" (decrypting), n the
    // current time in seconds or, when that name is taken, the next free
    // number, and writes the line for chunk 0. Without a journal the transform
    // still runs.
    void create(int direction, const char* sourceName);

    // Appends a line and closes and reopens the file so the line reaches the
    // disk before the next chunk is touched.
    void record(int64_t chunkCount, int64_t position);

    // The transform completed: the journal is deleted, unless a line could not
    // be written.
    void finish();

private:
    bool writeLine(int64_t chunkCount, int64_t position);
    void stopRecording();

    char name_[32] = {};
    const char* sourceName_ = nullptr;
    std::FILE* stream_ = nullptr;
    bool complete_ = false;
};

}  // namespace tarvex

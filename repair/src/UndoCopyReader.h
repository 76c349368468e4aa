#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace repair {

// What the undo copy beside a journal says about the chunk at its count.
struct ChunkCopy {
    enum class State {
        Absent,      // no copy: a run before copies were kept, or one that could not keep one
        Unusable,    // torn, or of another chunk: the chunk at the count was not touched
        Usable,      // a whole copy of the chunk at the count; `bytes` holds it
        Unreadable,  // there is a copy, but reading it failed
    };
    State state = State::Absent;
    std::vector<unsigned char> bytes;
};

// Reads the copy at `undoPath` for the chunk `chunkIndex` that starts at
// `chunkStart` and is `chunkLength` bytes long.
ChunkCopy readUndoCopy(const std::string& undoPath, int64_t chunkIndex, int64_t chunkStart, int64_t chunkLength);

}  // namespace repair

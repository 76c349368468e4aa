#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace repair {

// What the window record beside a journal holds.
struct WindowRecordContent {
    enum class State {
        Absent,      // no record: a run of an older kind, which kept none
        Foreign,     // no record of this kind (another program's file, an older run's copy)
        Present,     // the run's record: its key check, and its window if a whole one is there
        Unreadable,  // there is a file, but reading it failed
    };
    State state = State::Absent;
    uint64_t keyCheck = 0;
    // A whole window: torn or none yet means the window at the journal's
    // count was not touched.
    bool hasWindow = false;
    int64_t firstChunk = 0;
    int64_t windowStart = 0;
    std::vector<unsigned char> bytes;
};

WindowRecordContent readWindowRecord(const std::string& recordPath);

}  // namespace repair

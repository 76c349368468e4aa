#pragma once

#include <cstdint>
#include <vector>

#include "ReplacementFile.h"
#include "repair/JournalRepair.h"

namespace repair {

constexpr int64_t kChunkSize = 65536;

// The damaged file as the repair found it.
struct DamagedFile {
    int descriptor = -1;  // open for reading
    int64_t size = 0;
    int64_t chunksTransformed = 0;  // the chunks before this are the run's output, from here on its input
    // The window the run was rewriting, from its record: its chunks are
    // taken from here, whatever the file holds there.
    const std::vector<unsigned char>* window = nullptr;
    int64_t windowStart = 0;
    bool countIsExact = false;  // known, rather than taken on the journal's word
};

struct RunSettings {
    const char* key;
    int layerChoice;
    bool encrypting;
    Goal goal;
};

// The decision when no record's window is used: the count, exact when it is
// known to be or when it covers the whole file.
Decision decisionWithoutCopy(const DamagedFile& file);

// Whether the file needs any chunk transformed or replaced to reach the goal.
bool needsRewriting(const DamagedFile& file, const RunSettings& run);

enum class PassOutcome { Done, CannotRead, CannotWrite };

// Writes the file as the goal wants it into `output`, chunk by chunk. The
// buffer transforms are chained chunk after chunk from the first, so that
// each meets the scrambling generator where the interrupted run met it.
PassOutcome writeRepaired(const DamagedFile& file, const RunSettings& run, ReplacementFile& output,
                          const ProgressSink& progress);

}  // namespace repair

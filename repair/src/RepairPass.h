#pragma once

#include <cstdint>

#include "ReplacementFile.h"
#include "UndoCopyReader.h"
#include "repair/JournalRepair.h"

namespace repair {

constexpr int64_t kChunkSize = 65536;

// The damaged file as the repair found it.
struct DamagedFile {
    int descriptor = -1;  // open for reading
    int64_t size = 0;
    int64_t chunksTransformed = 0;  // the chunks before this are the run's output, from here on its input
    // The copy of the chunk at chunksTransformed, when one is usable: that
    // chunk may hold the input, the output or a mix of the two.
    const ChunkCopy* copyAtCount = nullptr;
    bool countIsExact = false;  // without a copy: the chunk at the count is known to be untouched
};

struct RunSettings {
    const char* key;
    int layerChoice;
    bool encrypting;
    Goal goal;
};

// The decision when no undo copy is used: the count, exact when the chunk
// at the count is known to be untouched or there is none.
Decision decisionWithoutCopy(const DamagedFile& file);

// Whether the file needs any chunk transformed or restored to reach the goal.
bool needsRewriting(const DamagedFile& file, const RunSettings& run);

enum class PassOutcome { Done, CannotRead, CannotWrite, KeyDoesNotFit };

struct PassResult {
    PassOutcome outcome = PassOutcome::Done;
    Decision decision = Decision::JournalCount;
};

// Writes the file as the goal wants it into `output`, chunk by chunk. The
// buffer transforms are chained chunk after chunk from the first, so that
// each meets the scrambling generator where the interrupted run met it.
PassResult writeRepaired(const DamagedFile& file, const RunSettings& run, ReplacementFile& output,
                         const ProgressSink& progress);

}  // namespace repair

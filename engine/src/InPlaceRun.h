#pragma once

#include <cstdint>

#include "ChunkTransform.h"
#include "Journal.h"

namespace tarvex {

// Rewrites the `size` bytes of the file open for reading and writing on
// `descriptor` with its own transform, window by window (a few syncs per
// window of WindowRecordFormat.h's size, not per chunk): the window's record
// on the disk, then the window, then its journal lines. Returns a
// TarvexResult; on a failure the run stops before the next window, and the
// journal with its record tells the repair exactly where it stood.
int rewriteInPlace(const KeyMaterial& key, int descriptor, int64_t size, Journal& journal, int direction,
                   int layerChoice, Durability durability);

}  // namespace tarvex

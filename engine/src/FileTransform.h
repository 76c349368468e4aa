#pragma once

#include "Journal.h"

namespace tarvex {

// The file transform behind tarvexTransformFile, whose in-place runs are
// always durable; returns a TarvexResult.
int transformFile(const char* key, const char* source, const char* target, int direction, int layerChoice,
                  Durability durability);

}  // namespace tarvex

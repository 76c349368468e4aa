#pragma once

#include "UndoCopy.h"

namespace tarvex {

// The file transform behind tarvexTransformFile, which always keeps the undo
// copy of an in-place run; returns a TarvexResult.
int transformFile(const char* key, const char* source, const char* target, int direction, int layerChoice,
                  UndoCopyUse undoCopy);

}  // namespace tarvex

// tarvex encrypt and tarvex decrypt.
#pragma once

#include "Options.h"

namespace cli {

// Returns the exit status: 0 when every file was done, 1 when some failed,
// 2 when the command was refused before anything was touched.
int runTransform(const Options& options);

}  // namespace cli

// tarvex repair: the files that interrupted in-place runs left partly
// transformed are repaired from their journals, deciding and reporting as
// mendkit --journal does.
#pragma once

#include "Options.h"

namespace cli {

// Returns the exit status: 0 when every journal's file was repaired, 1 when
// some were not, 2 when the command was refused before anything was touched.
int runRepair(const Options& options);

}  // namespace cli

// The window program's process entry, shared by both builds.
#pragma once

#include "services/BuildVariant.h"

// Returns the process's exit status: -1 when a list file cannot be read, 1
// when the login at start-up is refused, 0 otherwise.
int runWindowProgram(int argc, char** argv, services::BuildVariant variant);

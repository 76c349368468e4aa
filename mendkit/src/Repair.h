#pragma once

#include "CommandLine.h"

namespace mendkit {

// The process exit status of every reported failure.
constexpr int kFailureStatus = -1;

// Writes FixedFile from BrokenFile with the interrupted run's finished part
// turned back, so the whole file is in one state; after an interrupted
// decryption it then decrypts FixedFile in place. Prints progress and any
// failure; returns the process exit status.
int repair(const RepairRequest& request);

}  // namespace mendkit

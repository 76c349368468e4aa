#pragma once

#include "CommandLine.h"

namespace mendkit {

// Repairs in place the file that the journal names, from the journal and its
// undo copy; prints what it decided or why it failed, and returns the process
// exit status.
int repairFromJournal(const JournalRequest& request);

}  // namespace mendkit

#pragma once

#include <string>
#include <vector>

#include "ChildProcess.h"
#include "TestFiles.h"

namespace mendkit_test {

using namespace testsupport;

// The first `count` bytes of `head` followed by the rest of `tail`: the state
// of a file whose in-place run had finished `count` bytes.
Bytes splice(const Bytes& head, const Bytes& tail, size_t count);

// `bytes` passed through the engine's file transform into another file.
Bytes transformThroughFile(const char* key, const Bytes& bytes, int direction, int layerChoice);

// The mendkit binary under test, its standard output read through a pipe.
ProgramRun runMendkit(const std::vector<std::string>& arguments, const ChildOptions& options = {});

// The same, but a mendkit that does not end within a time limit is ended by
// SIGALRM, so a run that would hang fails instead.
ProgramRun runMendkitWithinTimeLimit(const std::vector<std::string>& arguments, const ChildOptions& options = {});

// With standard output on a pseudo-terminal in raw mode, which passes every
// byte on unchanged; also within the time limit.
ProgramRun runMendkitOnTerminal(const std::vector<std::string>& arguments, const ChildOptions& options = {});

}  // namespace mendkit_test

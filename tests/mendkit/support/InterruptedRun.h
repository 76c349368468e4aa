#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "TestFiles.h"

namespace mendkit_test {

using testsupport::Bytes;

// Runs the in-place transform of `name` in `folder` in a child that stops
// inside the transform of chunk `chunk`: after the run wrote the journal line
// before it and the chunk's undo copy, before the chunk itself is written.
// The child ends at once, leaving the files as a kill there would. False when
// the run never got there.
bool stopInsideChunk(const std::filesystem::path& folder, const std::string& name, const char* key, int direction,
                     int layerChoice, int64_t chunk);

// The files in `folder` whose names end with `suffix` (".adt", ".undo").
std::vector<std::filesystem::path> filesEndingWith(const std::filesystem::path& folder, const std::string& suffix);

// A journal line as an in-place run writes it.
std::string journalLine(const std::string& name, int64_t count, int64_t position);
void appendText(const std::filesystem::path& file, const std::string& text);

// Writes `bytes[from, from + count)` into the existing `file` at `from`, as a
// run's write of them would.
void writeInto(const std::filesystem::path& file, const Bytes& bytes, size_t from, size_t count);

}  // namespace mendkit_test

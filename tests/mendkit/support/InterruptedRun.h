#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "TestFiles.h"

namespace mendkit_test {

using testsupport::Bytes;

// Chunks in one window of an in-place run.
constexpr int64_t kWindowChunks = 64;

// Runs the in-place transform of `name` in `folder` in a child that ends
// once the windows before chunk `firstChunk` (a multiple of kWindowChunks)
// are written and counted, before the next window is touched: the record
// holds the window before, if any. The child ends at once, leaving the files
// as a kill there would. False when the run never got there.
bool stopInsideWindow(const std::filesystem::path& folder, const std::string& name, const char* key, int direction,
                      int layerChoice, int64_t firstChunk);

// Puts `name` in `folder` (holding `start`, longer than one window) in the
// state of a run stopped while writing its first window: the window's record
// on the disk, the first `written` bytes rewritten (as in `completed`), the
// journal at 0. Made from a real run stopped where its record holds the
// first window, with the journal and the file put back.
void stopWritingFirstWindow(const std::filesystem::path& folder, const std::string& name, const char* key,
                            int direction, int layerChoice, const Bytes& start, const Bytes& completed, size_t written);

// The files in `folder` whose names end with `suffix` (".adt", ".undo").
std::vector<std::filesystem::path> filesEndingWith(const std::filesystem::path& folder, const std::string& suffix);

// A journal line as an in-place run writes it.
std::string journalLine(const std::string& name, int64_t count, int64_t position);
void appendText(const std::filesystem::path& file, const std::string& text);

// Writes `bytes[from, from + count)` into the existing `file` at `from`, as a
// run's write of them would.
void writeInto(const std::filesystem::path& file, const Bytes& bytes, size_t from, size_t count);

}  // namespace mendkit_test

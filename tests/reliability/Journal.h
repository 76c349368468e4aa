#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace reliability {

// The last line of an in-place run's journal: how many chunks the run had
// finished and where the untouched rest of the file begins.
struct JournalLine {
    std::string text;
    int64_t count = 0;
    int64_t position = 0;
};

// The journal ("TXE<n>.adt" or "TXD<n>.adt") an in-place run left in
// `folder`, if any.
std::optional<std::filesystem::path> findJournal(const std::filesystem::path& folder);

// Its last complete line. A journal whose first line never reached the disk
// reads as count 0 at position 0.
JournalLine lastJournalLine(const std::filesystem::path& journal);

}  // namespace reliability

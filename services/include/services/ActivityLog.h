// The activity log: one line per file a run sent through the engine, kept in
// memory for the life of the program.
#pragma once

#include "services/StringList.h"

#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace services {

// "INITIAL" while the history holds fewer than two keys, then "SAME" or "NEW"
// as its last two keys are equal or not. The key itself never shows.
std::string_view keyWord(const StringList& keyHistory);

// "SOURCE: %s; TARGET: %s; KEY: %s; OPTIONS: %s; dd/mm/yyyy hh:mm:ss" with the
// local date and time, or those placeholders literally when the time could
// not be converted. Paths of any length are kept whole.
std::string logEntry(std::string_view source, std::string_view target, std::string_view keyWord, bool blowFishOnly,
                     const std::optional<std::tm>& localTime);

// The local time now, or nothing when it cannot be converted.
std::optional<std::tm> localTimeNow();

// Records one processed file: its key goes to the history, its entry to the
// log.
void recordProcessedFile(StringList& keyHistory, StringList& activityLog, std::string_view source,
                         std::string_view target, std::string_view key, bool blowFishOnly);

}  // namespace services

#include "services/ActivityLog.h"

#include <cstdio>

namespace services {

namespace {

std::string dateAndTime(const std::optional<std::tm>& localTime)
{
    if (!localTime) return "dd/mm/yyyy hh:mm:ss";
    char text[64];
    std::snprintf(text, sizeof text, "%02d/%02d/%4d %02d:%02d:%02d", localTime->tm_mday, localTime->tm_mon + 1,
                  localTime->tm_year + 1900, localTime->tm_hour, localTime->tm_min, localTime->tm_sec);
    return text;
}

}  // namespace

std::string_view keyWord(const StringList& keyHistory)
{
    const int count = keyHistory.count();
    if (count < 2) return "INITIAL";
    return keyHistory.getAt(count - 1) == keyHistory.getAt(count - 2) ? "SAME" : "NEW";
}

std::string logEntry(std::string_view source, std::string_view target, std::string_view keyWord, bool blowFishOnly,
                     const std::optional<std::tm>& localTime)
{
    std::string entry = "SOURCE: ";
    entry.append(source).append("; TARGET: ").append(target).append("; KEY: ").append(keyWord);
    entry.append("; OPTIONS: ").append(blowFishOnly ? "BlowFishOnly" : "Default").append("; ");
    return entry + dateAndTime(localTime);
}

std::optional<std::tm> localTimeNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (now == static_cast<std::time_t>(-1) || !localtime_r(&now, &local)) return std::nullopt;
    return local;
}

void recordProcessedFile(StringList& keyHistory, StringList& activityLog, std::string_view source,
                         std::string_view target, std::string_view key, bool blowFishOnly)
{
    keyHistory.add(key);
    activityLog.add(logEntry(source, target, keyWord(keyHistory), blowFishOnly, localTimeNow()));
}

}  // namespace services

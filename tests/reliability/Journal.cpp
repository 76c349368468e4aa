#include "Journal.h"

#include <fstream>
#include <iterator>

namespace reliability {

std::optional<std::filesystem::path> findJournal(const std::filesystem::path& folder)
{
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if ((name.starts_with("TXE") || name.starts_with("TXD")) && name.ends_with(".adt")) return entry.path();
    }
    return std::nullopt;
}

JournalLine lastJournalLine(const std::filesystem::path& journal)
{
    std::ifstream in(journal, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

    JournalLine line;
    // npos + 1 is 0: no newline, no complete line.
    const std::string complete = text.substr(0, text.rfind('\n') + 1);
    if (complete.empty()) return line;
    const std::string lines = complete.substr(0, complete.size() - 1);
    line.text = lines.substr(lines.rfind('\n') + 1);

    // The name comes first and may hold blanks; the two numbers close the line.
    const size_t positionStart = line.text.find_last_of(' ') + 1;
    const size_t countEnd = line.text.find_last_not_of(' ', positionStart - 1) + 1;
    const size_t countStart = line.text.find_last_of(' ', countEnd - 1) + 1;
    line.count = std::stoll(line.text.substr(countStart, countEnd - countStart));
    line.position = std::stoll(line.text.substr(positionStart));
    return line;
}

}  // namespace reliability

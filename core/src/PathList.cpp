#include "core/PathList.h"

#include "core/FileSystem.h"

std::vector<std::string> listLines(const std::string& content)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = content.find('\n', start);
        if (end == std::string::npos) end = content.size();
        std::string line = content.substr(start, end - start);
        if (line.ends_with('\r')) line.pop_back();
        if (!line.empty() && !line.starts_with('#')) lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

std::optional<std::vector<std::string>> readPathList(const std::string& name)
{
    const auto content = core::readStream(name);
    if (!content) return std::nullopt;
    return listLines(*content);
}

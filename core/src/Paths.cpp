#include "core/Paths.h"

#include "core/FileSystem.h"

#include <algorithm>

bool equalIgnoringCase(const std::string& first, const std::string& second)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return std::equal(first.begin(), first.end(), second.begin(), second.end(),
                      [&](char a, char b) { return lower(a) == lower(b); });
}

bool isFilePath(const std::string& path) { return core::opensAsRegularFile(path); }

bool isFolderPath(const std::string& path) { return core::opensAsFolder(path); }

std::string fileNamePart(const std::string& path)
{
    const std::size_t separator = path.rfind(core::pathSeparator);
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

std::string folderPart(const std::string& path)
{
    const std::string text = isFolderPath(path) ? core::ensureTrailingSeparator(path) : path;
    const std::size_t separator = text.rfind(core::pathSeparator);
    return separator == std::string::npos ? text : text.substr(0, separator);
}

#include "app/Paths.h"

#include "framework/FileSystem.h"
#include "framework/Platform.h"

#include <algorithm>

bool equalIgnoringCase(const std::string& first, const std::string& second)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return std::equal(first.begin(), first.end(), second.begin(), second.end(),
                      [&](char a, char b) { return lower(a) == lower(b); });
}

bool isFilePath(const std::string& path) { return framework::opensAsRegularFile(path); }

bool isFolderPath(const std::string& path) { return framework::opensAsFolder(path); }

std::string fileNamePart(const std::string& path)
{
    const std::size_t separator = path.rfind(framework::pathSeparator);
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

std::string folderPart(const std::string& path)
{
    const std::string text = isFolderPath(path) ? framework::ensureTrailingSeparator(path) : path;
    const std::size_t separator = text.rfind(framework::pathSeparator);
    return separator == std::string::npos ? text : text.substr(0, separator);
}

// Facts about the machine that the programs ask the platform for. Paths are
// bytes, as the file system holds them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace framework {

// The folder of the running executable.
std::string installFolder();
// The operating system's own folders, which must never be processed, nor
// anything below them.
std::vector<std::string> systemFolders();
// The process's working directory, whole.
std::string currentDirectory();
// Makes `folder` the working directory. Whether it did.
bool setCurrentDirectory(const std::string& folder);
// Appends the path separator unless the text already ends with one.
std::string ensureTrailingSeparator(std::string_view path);

}  // namespace framework

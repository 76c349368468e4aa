// Lists of paths, one a line, as list files on the command line and batch
// files hold them.
#pragma once

#include <optional>
#include <string>
#include <vector>

// The lines of a list of paths: each taken whole up to its line end ("\n" or
// "\r\n"), the last also without one; comment lines starting with '#' and
// empty lines are left out.
std::vector<std::string> listLines(const std::string& content);

// The lines of the list that a file or a stream holds; nothing when it cannot
// be opened or read.
std::optional<std::vector<std::string>> readPathList(const std::string& name);

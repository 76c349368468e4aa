// The window programs' command line: switches, paths and list files.
#pragma once

#include <string>
#include <vector>

struct ProcessState;

enum class CommandLineResult {
    Accepted,
    ListFileUnreadable,  // a list file cannot be opened, or its name is missing
};

// Reads the arguments after the program name, in order, as the bytes the
// shell passed. Paths that name an existing file or folder go to
// state.selectedFiles; switches set the flags.
CommandLineResult readCommandLine(const std::vector<std::string>& arguments, ProcessState& state);

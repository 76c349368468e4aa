#pragma once

#include <string>
#include <vector>

namespace knownanswer {

// What a program run as a child left: its exit status (-1 when it could not
// be started or did not exit) and what it wrote to standard output and error.
struct ChildResult {
    int status = -1;
    std::string output;
};

// Runs `command` (program and arguments) in `folder` and waits for it.
ChildResult runChild(const std::vector<std::string>& command, const std::string& folder);

}  // namespace knownanswer

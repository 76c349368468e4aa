// Runs a program with a time limit and a changed environment, keeping what it
// writes to standard output and standard error apart.
#pragma once

#include <string>
#include <vector>

namespace manual_test {

struct Outcome {
    bool exited = false;
    int status = 0;  // as the parent sees it: -1 reads 255
    int signal = 0;
    std::string output;
    std::string errors;
};

// `environment` entries ("NAME=value") replace or add to the test's own.
// A program still running after `seconds` is ended by SIGALRM.
Outcome runProgram(const std::string& program, const std::vector<std::string>& arguments,
                   const std::vector<std::string>& environment = {}, unsigned seconds = 30);

}  // namespace manual_test

// Runs tarvex (or another program) as a user would: without a terminal, with
// given standard input and a key on a descriptor, or on a pseudo-terminal
// that a script types into.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

namespace cli_test {

struct Outcome {
    bool exited = false;
    int status = 0;
    std::string output;
    std::string errors;
};

struct Input {
    std::string standardInput;
    // Written to descriptor 3 of the program.
    std::string descriptor3;
    // Called with the program's process and its standard error so far,
    // whenever more comes.
    std::function<void(pid_t program, const std::string& errors)> whileRunning;
};

// The program runs in a session of its own, so it has no terminal.
Outcome run(const std::string& program, const std::vector<std::string>& arguments, const Input& input = {});

// On a pseudo-terminal: `respond` sees everything shown so far and returns
// what to type next, or an empty text to wait for more. Standard output and
// standard error both go to the terminal.
struct TerminalOutcome {
    bool exited = false;
    int status = 0;
    std::string shown;
};
TerminalOutcome runOnTerminal(const std::string& program, const std::vector<std::string>& arguments,
                              const std::function<std::string(const std::string& shown)>& respond);

}  // namespace cli_test

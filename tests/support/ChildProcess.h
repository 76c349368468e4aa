#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace testsupport {

// How a child process ended: its exit status (as the parent sees it, so -1
// reads 255), or the signal that killed it.
struct Ending {
    bool exited = false;
    int status = 0;
    int signal = 0;
};

struct ChildOptions {
    std::filesystem::path workingDirectory;  // empty: the parent's
    // Largest file the child may write (disk full beyond); SIGXFSZ is ignored
    // so writes past it fail instead of killing the child.
    std::optional<long> fileSizeLimit;
};

// Starts `body` in a forked child, which exits with body's result.
pid_t startChild(const std::function<int()>& body, const ChildOptions& options = {});
Ending waitForChild(pid_t child);

struct ProgramRun {
    Ending ending;
    std::string output;  // everything written to standard output
};

ProgramRun runProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const ChildOptions& options = {});

}  // namespace testsupport

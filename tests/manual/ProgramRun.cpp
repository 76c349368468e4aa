#include "ProgramRun.h"

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

extern char** environ;

namespace manual_test {

namespace {

std::vector<std::string> mergedEnvironment(const std::vector<std::string>& changes)
{
    auto nameOf = [](const std::string& entry) { return entry.substr(0, entry.find('=')); };
    std::vector<std::string> merged;
    for (char** entry = environ; *entry; ++entry) {
        const std::string text = *entry;
        bool replaced = false;
        for (const std::string& change : changes) replaced = replaced || nameOf(change) == nameOf(text);
        if (!replaced) merged.push_back(text);
    }
    merged.insert(merged.end(), changes.begin(), changes.end());
    return merged;
}

std::vector<char*> pointers(std::vector<std::string>& texts)
{
    std::vector<char*> list;
    for (std::string& text : texts) list.push_back(text.data());
    list.push_back(nullptr);
    return list;
}

// Reads both pipes until both are closed, so neither child stream can fill
// up and block the child.
void drain(int outputEnd, int errorEnd, Outcome& outcome)
{
    pollfd ends[2] = {{outputEnd, POLLIN, 0}, {errorEnd, POLLIN, 0}};
    std::string* sinks[2] = {&outcome.output, &outcome.errors};
    int open = 2;
    while (open > 0) {
        if (poll(ends, 2, -1) < 0) {
            if (errno == EINTR) continue;
            break;
        }
        for (int i = 0; i < 2; ++i) {
            if (ends[i].fd < 0 || ends[i].revents == 0) continue;
            char block[4096];
            const ssize_t got = read(ends[i].fd, block, sizeof block);
            if (got > 0) {
                sinks[i]->append(block, static_cast<size_t>(got));
            } else if (got == 0 || errno != EINTR) {
                close(ends[i].fd);
                ends[i].fd = -1;
                --open;
            }
        }
    }
}

}  // namespace

Outcome runProgram(const std::string& program, const std::vector<std::string>& arguments,
                   const std::vector<std::string>& environment, unsigned seconds)
{
    std::vector<std::string> argumentTexts{program};
    argumentTexts.insert(argumentTexts.end(), arguments.begin(), arguments.end());
    std::vector<std::string> environmentTexts = mergedEnvironment(environment);
    const std::vector<char*> argv = pointers(argumentTexts);
    const std::vector<char*> envp = pointers(environmentTexts);

    int output[2];
    int errors[2];
    if (pipe(output) != 0) throw std::runtime_error("pipe failed");
    if (pipe(errors) != 0) throw std::runtime_error("pipe failed");
    const pid_t child = fork();
    if (child < 0) throw std::runtime_error("fork failed");
    if (child == 0) {
        dup2(output[1], STDOUT_FILENO);
        dup2(errors[1], STDERR_FILENO);
        close(output[0]);
        close(output[1]);
        close(errors[0]);
        close(errors[1]);
        // The alarm outlives exec: a program that waits for ever is ended.
        alarm(seconds);
        execve(program.c_str(), argv.data(), envp.data());
        _exit(127);
    }
    close(output[1]);
    close(errors[1]);

    Outcome outcome;
    drain(output[0], errors[0], outcome);
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) throw std::runtime_error("waitpid failed");
    }
    outcome.exited = WIFEXITED(status);
    if (outcome.exited) outcome.status = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) outcome.signal = WTERMSIG(status);
    return outcome;
}

}  // namespace manual_test

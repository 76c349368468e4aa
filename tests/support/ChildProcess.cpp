#include "ChildProcess.h"

#include <cerrno>
#include <csignal>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testsupport {

namespace {

// Runs in the child only: what must hold before the body starts.
void prepareChild(const ChildOptions& options)
{
    if (!options.workingDirectory.empty() && chdir(options.workingDirectory.c_str()) != 0) _exit(120);
    if (options.fileSizeLimit) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{static_cast<rlim_t>(*options.fileSizeLimit), static_cast<rlim_t>(*options.fileSizeLimit)};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(121);
    }
}

}  // namespace

pid_t startChild(const std::function<int()>& body, const ChildOptions& options)
{
    const pid_t child = fork();
    if (child < 0) throw std::runtime_error("fork failed");
    if (child == 0) {
        prepareChild(options);
        _exit(body());
    }
    return child;
}

Ending waitForChild(pid_t child)
{
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) throw std::runtime_error("waitpid failed");
    }
    Ending ending;
    ending.exited = WIFEXITED(status);
    if (ending.exited) ending.status = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) ending.signal = WTERMSIG(status);
    return ending;
}

ProgramRun runProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const ChildOptions& options)
{
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) throw std::runtime_error("pipe failed");

    const pid_t child = startChild(
        [&] {
            dup2(pipeEnds[1], STDOUT_FILENO);
            close(pipeEnds[0]);
            close(pipeEnds[1]);
            std::vector<char*> argv;
            argv.push_back(const_cast<char*>(program.c_str()));
            for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
            argv.push_back(nullptr);
            execv(program.c_str(), argv.data());
            return 127;
        },
        options);
    close(pipeEnds[1]);

    ProgramRun run;
    char block[4096];
    ssize_t got = 0;
    while ((got = read(pipeEnds[0], block, sizeof block)) != 0) {
        if (got < 0) {
            if (errno == EINTR) continue;
            break;
        }
        run.output.append(block, static_cast<size_t>(got));
    }
    close(pipeEnds[0]);
    run.ending = waitForChild(child);
    return run;
}

}  // namespace testsupport

#include "RepairSupport.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <stdexcept>

#include "tarvex.h"

namespace mendkit_test {

namespace {

// Long enough for any run of these tests, sanitized ones included.
constexpr unsigned kTimeLimitSeconds = 10;

// Runs mendkit with standard output on `output` and collects what arrives on
// `reader` until no writer is left: the end of a pipe, or EIO from a
// terminal's master side. Takes both descriptors.
ProgramRun runWithOutputOn(int output, int reader, const std::vector<std::string>& arguments,
                           const ChildOptions& options)
{
    const pid_t child = startChild(
        [&] {
            // Kept across exec: a mendkit that hangs is ended by SIGALRM.
            alarm(kTimeLimitSeconds);
            dup2(output, STDOUT_FILENO);
            close(output);
            close(reader);
            std::vector<char*> argv;
            argv.push_back(const_cast<char*>(MENDKIT_PATH));
            for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
            argv.push_back(nullptr);
            execv(MENDKIT_PATH, argv.data());
            return 127;
        },
        options);
    close(output);

    ProgramRun run;
    char block[4096];
    for (;;) {
        const ssize_t got = read(reader, block, sizeof block);
        if (got > 0) {
            run.output.append(block, static_cast<size_t>(got));
        } else if (got == 0 || errno != EINTR) {
            break;
        }
    }
    close(reader);
    run.ending = waitForChild(child);
    return run;
}

}  // namespace

Bytes splice(const Bytes& head, const Bytes& tail, size_t count)
{
    Bytes result(head.begin(), head.begin() + static_cast<std::ptrdiff_t>(count));
    result.insert(result.end(), tail.begin() + static_cast<std::ptrdiff_t>(count), tail.end());
    return result;
}

Bytes transformThroughFile(const char* key, const Bytes& bytes, int direction, int layerChoice)
{
    const TempFolder folder;
    writeFile(folder.file("in"), bytes);
    if (tarvexTransformFile(key, folder.file("in").c_str(), folder.file("out").c_str(), direction, layerChoice) !=
        TARVEX_OK)
        throw std::runtime_error("the engine failed to transform a test file");
    return readFile(folder.file("out"));
}

ProgramRun runMendkit(const std::vector<std::string>& arguments, const ChildOptions& options)
{
    return runProgram(MENDKIT_PATH, arguments, options);
}

ProgramRun runMendkitWithinTimeLimit(const std::vector<std::string>& arguments, const ChildOptions& options)
{
    int ends[2];
    if (pipe(ends) != 0) throw std::runtime_error("pipe failed");
    return runWithOutputOn(ends[1], ends[0], arguments, options);
}

ProgramRun runMendkitOnTerminal(const std::vector<std::string>& arguments, const ChildOptions& options)
{
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0) throw std::runtime_error("no pseudo-terminal");
    const char* terminalName = grantpt(master) == 0 && unlockpt(master) == 0 ? ptsname(master) : nullptr;
    const int terminal = terminalName ? open(terminalName, O_RDWR | O_NOCTTY | O_CLOEXEC) : -1;
    // Raw: the terminal passes the bytes on as written instead of turning
    // "\n" into "\r\n".
    termios settings;
    bool ready = terminal >= 0 && tcgetattr(terminal, &settings) == 0;
    if (ready) {
        cfmakeraw(&settings);
        ready = tcsetattr(terminal, TCSANOW, &settings) == 0;
    }
    if (!ready) {
        if (terminal >= 0) close(terminal);
        close(master);
        throw std::runtime_error("cannot set up the pseudo-terminal");
    }
    return runWithOutputOn(terminal, master, arguments, options);
}

}  // namespace mendkit_test

#include "CommandRun.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>

namespace cli_test {

namespace {

constexpr auto timeLimit = std::chrono::seconds(60);

[[noreturn]] void execute(const std::string& program, const std::vector<std::string>& arguments)
{
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
}

void writeAll(int descriptor, const std::string& text)
{
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t done = write(descriptor, text.data() + written, text.size() - written);
        if (done < 0 && errno == EINTR) continue;
        if (done <= 0) return;
        written += static_cast<std::size_t>(done);
    }
}

// Reads the descriptors to their ends, each into its text. Whether the time
// ran out first.
bool drain(std::vector<std::pair<int, std::string*>> sources, const std::function<void()>& onMore)
{
    const auto deadline = std::chrono::steady_clock::now() + timeLimit;
    while (!sources.empty() && std::chrono::steady_clock::now() < deadline) {
        std::vector<pollfd> waiting;
        for (const auto& source : sources) waiting.push_back({source.first, POLLIN, 0});
        if (poll(waiting.data(), waiting.size(), 1000) <= 0) continue;
        for (std::size_t i = waiting.size(); i-- > 0;) {
            if (waiting[i].revents == 0) continue;
            char piece[4096];
            const ssize_t got = read(sources[i].first, piece, sizeof piece);
            if (got > 0) {
                sources[i].second->append(piece, static_cast<std::size_t>(got));
                if (onMore) onMore();
            } else if (got == 0 || errno != EINTR) sources.erase(sources.begin() + static_cast<std::ptrdiff_t>(i));
        }
    }
    return !sources.empty();
}

// A program still going after the time limit is stopped, so that a hang
// fails its test instead of stopping the suite.
void wait(pid_t child, bool timedOut, bool& exited, int& status)
{
    if (timedOut) kill(child, SIGKILL);
    int raw = 0;
    while (waitpid(child, &raw, 0) < 0 && errno == EINTR) {}
    exited = WIFEXITED(raw);
    status = exited ? WEXITSTATUS(raw) : -WTERMSIG(raw);
}

}  // namespace

Outcome run(const std::string& program, const std::vector<std::string>& arguments, const Input& input)
{
    int in[2], out[2], err[2], key[2];
    if (pipe(in) != 0 || pipe(out) != 0 || pipe(err) != 0 || pipe(key) != 0) std::abort();
    const pid_t child = fork();
    if (child == 0) {
        setsid();
        dup2(in[0], STDIN_FILENO);
        dup2(out[1], STDOUT_FILENO);
        dup2(err[1], STDERR_FILENO);
        dup2(key[0], 3);
        for (const int descriptor : {in[0], in[1], out[0], out[1], err[0], err[1], key[0], key[1]}) {
            if (descriptor > 3) close(descriptor);
        }
        execute(program, arguments);
    }
    for (const int descriptor : {in[0], out[1], err[1], key[0]}) close(descriptor);
    // Both inputs are small enough for the pipes: written whole, then closed.
    signal(SIGPIPE, SIG_IGN);
    writeAll(in[1], input.standardInput);
    writeAll(key[1], input.descriptor3);
    close(in[1]);
    close(key[1]);
    Outcome outcome;
    const auto onMore = [&] {
        if (input.whileRunning) input.whileRunning(child, outcome.errors);
    };
    const bool timedOut = drain({{out[0], &outcome.output}, {err[0], &outcome.errors}}, onMore);
    close(out[0]);
    close(err[0]);
    wait(child, timedOut, outcome.exited, outcome.status);
    return outcome;
}

TerminalOutcome runOnTerminal(const std::string& program, const std::vector<std::string>& arguments,
                              const std::function<std::string(const std::string& shown)>& respond)
{
    int terminal = -1;
    const pid_t child = forkpty(&terminal, nullptr, nullptr, nullptr);
    if (child < 0) std::abort();
    if (child == 0) execute(program, arguments);
    TerminalOutcome outcome;
    const auto deadline = std::chrono::steady_clock::now() + timeLimit;
    bool timedOut = true;
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd readable{terminal, POLLIN, 0};
        if (poll(&readable, 1, 1000) <= 0) continue;
        char piece[4096];
        const ssize_t got = read(terminal, piece, sizeof piece);
        // The terminal reports an error once the program has gone.
        if (got <= 0) {
            timedOut = false;
            break;
        }
        outcome.shown.append(piece, static_cast<std::size_t>(got));
        const std::string typed = respond(outcome.shown);
        writeAll(terminal, typed);
    }
    close(terminal);
    wait(child, timedOut, outcome.exited, outcome.status);
    return outcome;
}

}  // namespace cli_test

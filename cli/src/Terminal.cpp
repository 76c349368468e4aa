#include "Terminal.h"

#include <fcntl.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

#include <string.h>

namespace cli {

namespace {

// While the echo is off, a signal that ends the program must put it back,
// or the shell is left typing blind.
int echoDescriptor = -1;
struct termios echoSettings {};

void restoreEchoAndDie(int signal)
{
    tcsetattr(echoDescriptor, TCSANOW, &echoSettings);
    ::signal(signal, SIG_DFL);
    raise(signal);
}

constexpr int endingSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

class EchoOff {
public:
    explicit EchoOff(int descriptor)
    {
        if (tcgetattr(descriptor, &echoSettings) != 0) return;
        echoDescriptor = descriptor;
        struct sigaction action {};
        action.sa_handler = restoreEchoAndDie;
        sigemptyset(&action.sa_mask);
        for (std::size_t i = 0; i < std::size(endingSignals); ++i) sigaction(endingSignals[i], &action, &previous_[i]);
        struct termios silent = echoSettings;
        silent.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        silent.c_lflag |= ECHONL;
        active_ = tcsetattr(descriptor, TCSANOW, &silent) == 0;
    }
    ~EchoOff()
    {
        if (echoDescriptor < 0) return;
        if (active_) tcsetattr(echoDescriptor, TCSANOW, &echoSettings);
        for (std::size_t i = 0; i < std::size(endingSignals); ++i) sigaction(endingSignals[i], &previous_[i], nullptr);
        echoDescriptor = -1;
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

private:
    bool active_ = false;
    struct sigaction previous_[std::size(endingSignals)]{};
};

}  // namespace

std::unique_ptr<Terminal> Terminal::open()
{
    const int descriptor = ::open("/dev/tty", O_RDWR | O_CLOEXEC | O_NOCTTY);
    if (descriptor < 0) return nullptr;
    return std::unique_ptr<Terminal>(new Terminal(descriptor));
}

Terminal::~Terminal() { close(descriptor_); }

void Terminal::write(const std::string& text)
{
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t done = ::write(descriptor_, text.data() + written, text.size() - written);
        if (done < 0 && errno == EINTR) continue;
        if (done <= 0) return;
        written += static_cast<std::size_t>(done);
    }
}

// Byte by byte up to the line end, which is left out: nothing beyond the
// line is taken from the terminal.
bool Terminal::readLineInto(std::string& line)
{
    for (;;) {
        char byte = 0;
        const ssize_t got = read(descriptor_, &byte, 1);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        if (byte == '\n') break;
        line += byte;
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

std::optional<SecretText> Terminal::readHidden(const std::string& prompt)
{
    std::string line;
    line.reserve(256);
    bool complete = false;
    {
        // The echo goes before the prompt shows, so nothing typed after it
        // is ever seen; what was typed ahead is kept, not thrown away.
        const EchoOff hidden(descriptor_);
        write(prompt);
        complete = readLineInto(line);
    }
    std::optional<SecretText> typed;
    if (complete) typed.emplace(line);
    else write("\n");
    explicit_bzero(line.data(), line.size());
    return typed;
}

std::optional<std::string> Terminal::readLine(const std::string& prompt)
{
    write(prompt);
    std::string line;
    if (!readLineInto(line)) {
        write("\n");
        return std::nullopt;
    }
    return line;
}

bool isTerminal(int descriptor) { return isatty(descriptor) == 1; }

}  // namespace cli

// The user's terminal (/dev/tty), apart from standard input and output, so
// that a key can be typed while a list comes through a pipe.
#pragma once

#include "core/SecretText.h"

#include <memory>
#include <optional>
#include <string>

namespace cli {

class Terminal {
public:
    // Nothing when the process has no terminal.
    static std::unique_ptr<Terminal> open();
    ~Terminal();
    Terminal(const Terminal&) = delete;
    Terminal& operator=(const Terminal&) = delete;

    // Shows `prompt` and reads one line without echoing it; nothing at the
    // end of input or when the terminal cannot be read.
    std::optional<SecretText> readHidden(const std::string& prompt);
    // Shows `prompt` and reads one line as typed.
    std::optional<std::string> readLine(const std::string& prompt);

private:
    explicit Terminal(int descriptor) : descriptor_(descriptor) {}
    void write(const std::string& text);
    bool readLineInto(std::string& line);

    int descriptor_;
};

// Whether a descriptor is a terminal.
bool isTerminal(int descriptor);

}  // namespace cli

#include "KeyInput.h"

#include "Terminal.h"

#include "core/KeyBytes.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include <string.h>

namespace cli {

namespace {

// One line of the descriptor, read byte by byte so that nothing after it is
// taken: the same descriptor may carry a list behind the key.
std::optional<SecretText> firstLine(int descriptor)
{
    std::string line;
    line.reserve(256);
    bool readAny = false;
    for (;;) {
        char byte = 0;
        const ssize_t got = read(descriptor, &byte, 1);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            explicit_bzero(line.data(), line.size());
            return std::nullopt;
        }
        if (got == 0 || byte == '\n') break;
        readAny = true;
        line += byte;
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::optional<SecretText> key;
    if (readAny) key.emplace(line);
    explicit_bzero(line.data(), line.size());
    return key;
}

struct TypedKey {
    std::optional<SecretText> text;
    std::string problem;
};

TypedKey typedAtTerminal()
{
    const auto terminal = Terminal::open();
    if (!terminal)
        return {std::nullopt, "no key: there is no terminal to type it at; give --key-fd N or --key-file FILE"};
    auto first = terminal->readHidden("Key: ");
    if (!first) return {std::nullopt, "no key was typed"};
    const auto second = terminal->readHidden("Key again: ");
    if (!second) return {std::nullopt, "no key was typed"};
    if (first->text() != second->text()) return {std::nullopt, "the two keys typed differ"};
    return {std::move(first), {}};
}

TypedKey fromDescriptor(int descriptor)
{
    auto key = firstLine(descriptor);
    if (!key) return {std::nullopt, "no key can be read from descriptor " + std::to_string(descriptor)};
    return {std::move(key), {}};
}

TypedKey fromFile(const std::string& path)
{
    const int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (descriptor < 0) return {std::nullopt, "cannot open the key file " + path + ": " + std::strerror(errno)};
    auto key = firstLine(descriptor);
    close(descriptor);
    if (!key) return {std::nullopt, "no key can be read from " + path};
    return {std::move(key), {}};
}

}  // namespace

KeyInput readKey(const Options& options)
{
    TypedKey typed = options.keyDescriptor ? fromDescriptor(*options.keyDescriptor)
                     : options.keyFile     ? fromFile(*options.keyFile)
                                           : typedAtTerminal();
    if (!typed.text) return {std::nullopt, typed.problem};
    auto key = keyFromUtf8(typed.text->text());
    if (!key) return {std::nullopt, "the key is not UTF-8 text"};
    if (key->size() < shortestKey || key->size() > longestKey) return {std::nullopt, keyLengthRefusal()};
    return {std::move(key), {}};
}

}  // namespace cli

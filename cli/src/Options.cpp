#include "Options.h"

#include <algorithm>
#include <charconv>

namespace cli {

namespace {

constexpr int mostJobs = 1024;

const std::string keyArgumentRefusal =
    "a key is never taken as an argument, where other users can read it: type it at the prompt, or give "
    "--key-fd N or --key-file FILE";

// An option that looks like it hands over a key or a password.
bool looksLikeKeyOption(const std::string& name)
{
    if (name == "--key-fd" || name == "--key-file") return false;
    if (name == "-k" || name == "-p") return true;
    return name.starts_with("--") && (name.find("key") != std::string::npos || name.find("pass") != std::string::npos ||
                                      name.find("secret") != std::string::npos);
}

std::optional<int> number(const std::string& text)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

class Parser {
public:
    explicit Parser(const std::vector<std::string>& arguments) : arguments_(arguments) {}

    ParsedOptions parse()
    {
        if (arguments_.empty()) return failed("a command is missing: encrypt, decrypt or repair");
        const std::string& command = arguments_[0];
        if (command == "--help" || command == "-h") return done(Action::Help);
        if (command == "--version") return done(Action::Version);
        if (command == "encrypt") options_.action = Action::Encrypt;
        else if (command == "decrypt") options_.action = Action::Decrypt;
        else if (command == "repair") options_.action = Action::Repair;
        else return failed("unknown command '" + command + "': encrypt, decrypt or repair");

        bool optionsEnded = false;
        for (next_ = 1; next_ < arguments_.size(); ++next_) {
            const std::string& argument = arguments_[next_];
            if (optionsEnded || argument == "-" || !argument.starts_with('-')) {
                options_.paths.push_back(argument);
            } else if (argument == "--") {
                optionsEnded = true;
            } else if (!readOption(argument)) {
                return {std::nullopt, problem_};
            }
            if (options_.action == Action::Help) return done(Action::Help);
        }
        return checked();
    }

private:
    ParsedOptions failed(std::string problem) { return {std::nullopt, std::move(problem)}; }
    ParsedOptions done(Action action)
    {
        options_.action = action;
        return {options_, {}};
    }

    bool fail(std::string problem)
    {
        problem_ = std::move(problem);
        return false;
    }

    // The value of an option: joined to it ("--jobs=2", "-j2") or the next
    // argument.
    std::optional<std::string> valueOf(const std::string& name, const std::string& joined)
    {
        if (!joined.empty()) return joined;
        if (next_ + 1 >= arguments_.size()) {
            fail(name + " needs a value");
            return std::nullopt;
        }
        return arguments_[++next_];
    }

    bool readOption(const std::string& argument)
    {
        std::string name = argument;
        std::string joined;
        if (argument.starts_with("--")) {
            const std::size_t equals = argument.find('=');
            if (equals != std::string::npos) {
                name = argument.substr(0, equals);
                joined = argument.substr(equals + 1);
                if (joined.empty()) return fail(name + " needs a value");
            }
        } else if (argument.size() > 2) {
            // "-ry" is "-r -y"; "-j2" is "-j 2".
            name = argument.substr(0, 2);
            if (!takesValue(name)) {
                for (std::size_t i = 1; i < argument.size(); ++i) {
                    if (!readOption(std::string("-") + argument[i])) return false;
                }
                return true;
            }
            joined = argument.substr(2);
        }
        if (looksLikeKeyOption(name)) return fail(keyArgumentRefusal);
        return readNamedOption(name, joined);
    }

    static bool takesValue(const std::string& name) { return name == "-o" || name == "-l" || name == "-j"; }

    bool readNamedOption(const std::string& name, const std::string& joined)
    {
        const bool transform = options_.action != Action::Repair;
        if (name == "-h" || name == "--help") {
            options_.action = Action::Help;
        } else if (name == "-b" || name == "--blowfish-only") {
            options_.blowFishOnly = true;
        } else if (name == "--key-fd") {
            const auto value = valueOf(name, joined);
            if (!value) return false;
            const auto descriptor = number(*value);
            if (!descriptor || *descriptor < 0) return fail("--key-fd needs a descriptor number, not '" + *value + "'");
            options_.keyDescriptor = descriptor;
        } else if (name == "--key-file") {
            const auto value = valueOf(name, joined);
            if (!value) return false;
            options_.keyFile = *value;
        } else if (!transform && name == "--finish") {
            options_.finish = true;
        } else if (transform && (name == "-r" || name == "--recursive")) {
            options_.recursive = true;
        } else if (transform && (name == "-y" || name == "--yes")) {
            options_.assumeYes = true;
        } else if (transform && (name == "-q" || name == "--quiet")) {
            options_.progress = ProgressMode::Never;
        } else if (transform && name == "--progress") {
            options_.progress = ProgressMode::Always;
        } else if (transform && (name == "-o" || name == "--output")) {
            const auto value = valueOf(name, joined);
            if (!value) return false;
            if (value->empty()) return fail(name + " needs a file or folder name");
            options_.output = *value;
        } else if (transform && (name == "-l" || name == "--list")) {
            const auto value = valueOf(name, joined);
            if (!value) return false;
            options_.lists.push_back(*value);
        } else if (transform && (name == "-j" || name == "--jobs")) {
            const auto value = valueOf(name, joined);
            if (!value) return false;
            const auto jobs = number(*value);
            if (!jobs || *jobs < 1 || *jobs > mostJobs)
                return fail(name + " needs a number from 1 to " + std::to_string(mostJobs) + ", not '" + *value + "'");
            options_.jobs = *jobs;
        } else {
            return fail("unknown option '" + name + "'");
        }
        return true;
    }

    ParsedOptions checked()
    {
        if (options_.keyDescriptor && options_.keyFile) return failed("--key-fd and --key-file exclude each other");
        const bool listOnStandardInput =
            std::find(options_.lists.begin(), options_.lists.end(), "-") != options_.lists.end();
        if (options_.keyDescriptor == 0 && listOnStandardInput)
            return failed("the key and a list cannot both come from standard input");
        if (options_.action != Action::Repair && options_.paths.empty() && options_.lists.empty())
            return failed("no files given");
        return {options_, {}};
    }

    const std::vector<std::string>& arguments_;
    std::size_t next_ = 0;
    Options options_;
    std::string problem_;
};

}  // namespace

ParsedOptions parseOptions(const std::vector<std::string>& arguments) { return Parser(arguments).parse(); }

}  // namespace cli

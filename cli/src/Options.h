// What the command line asks for.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace cli {

enum class Action { Encrypt, Decrypt, Repair, Help, Version };
enum class ProgressMode { WhenTerminal, Always, Never };

struct Options {
    Action action = Action::Help;
    std::vector<std::string> paths;  // files and folders, or journals for a repair
    std::optional<std::string> output;
    std::vector<std::string> lists;  // "-" is standard input
    bool blowFishOnly = false;
    bool recursive = false;
    bool assumeYes = false;
    bool finish = false;
    std::optional<int> keyDescriptor;
    std::optional<std::string> keyFile;
    int jobs = 0;  // 0: one per processor
    ProgressMode progress = ProgressMode::WhenTerminal;
};

struct ParsedOptions {
    std::optional<Options> options;
    std::string problem;  // why there are none
};

// Reads the arguments after the program's name, as the shell's bytes.
ParsedOptions parseOptions(const std::vector<std::string>& arguments);

}  // namespace cli

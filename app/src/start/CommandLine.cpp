#include "app/CommandLine.h"

#include "app/ProcessState.h"
#include "core/PathList.h"
#include "core/Paths.h"

#include "framework/FileSystem.h"

namespace {

void addIfPath(const std::string& path, ProcessState& state)
{
    if (isFilePath(path) || isFolderPath(path)) state.selectedFiles.add(path);
}

// A list file may be any readable stream: `/f <(find ...)` and `/f
// /dev/stdin` are ordinary ways to hand over a list.
bool readListFile(const std::string& name, ProcessState& state)
{
    const auto lines = readPathList(name);
    if (!lines) return false;
    for (const std::string& line : *lines) addIfPath(line, state);
    return true;
}

bool isListSwitch(const std::string& argument)
{
    return argument == "/f" || argument == "/F" || argument == "/s" || argument == "/S";
}

}  // namespace

CommandLineResult readCommandLine(const std::vector<std::string>& arguments, ProcessState& state)
{
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "/b" || argument == "/B") {
            state.options.useStoredOptions = false;
            state.options.optionBlowFishOnly = true;
        } else if (argument == "/n" || argument == "/N") {
            state.options.useStoredOptions = false;
            state.options.optionNoConfirm = true;
        } else if (argument == "/a" || argument == "/A") {
            // Accepted for compatibility; it changes nothing.
        } else if (isListSwitch(argument)) {
            if (i + 1 >= arguments.size()) return CommandLineResult::ListFileUnreadable;
            const std::string& listFile = arguments[++i];
            if (!readListFile(listFile, state)) return CommandLineResult::ListFileUnreadable;
            // A stream is read once and gone; only a file on disk is deleted.
            if (argument == "/s" || argument == "/S") framework::removeRegularFile(listFile);
        } else {
            addIfPath(argument, state);
        }
    }
    return CommandLineResult::Accepted;
}

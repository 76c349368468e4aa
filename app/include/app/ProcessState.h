// What lives for the whole process, outside the application object: the lists
// of the selection and the runs, the login key, the option flags and the
// folders found at start-up.
#pragma once

#include "services/ProgramSettings.h"
#include "services/StringList.h"

#include <array>
#include <string>
#include <vector>

class TEncryptDialog;

struct ProcessState {
    ProcessState();
    ~ProcessState();
    ProcessState(const ProcessState&) = delete;
    ProcessState& operator=(const ProcessState&) = delete;

    services::StringList selectedFiles;
    services::StringList targetFiles;
    services::StringList processedFiles;
    services::StringList activityLog;
    services::StringList keyHistory;

    // The login password when it serves as the key of every run; empty
    // (all zero) otherwise. Wiped at entry and at exit.
    std::array<char, 256> loginKey{};
    bool hasLoginKey() const { return loginKey[0] != '\0'; }
    void clearLoginKey();

    services::OptionFlags options;
    std::string programFolder;
    std::string helpFilePath;
    std::vector<std::string> systemFolders;
    // The main dialog while it exists; null before and after.
    TEncryptDialog* mainDialog = nullptr;
};

// What lives for the whole process, outside the application object: the lists
// of the selection and the runs, the login key, the option flags and the
// folders found at start-up.
#pragma once

#include "services/ProgramSettings.h"
#include "services/StringList.h"

#include <array>
#include <mutex>
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
    // A run appends to processedFiles, keyHistory and activityLog on its
    // worker while the log viewer may read or clear them: each touch of those
    // lists holds this lock, so no one ever sees a half-made list.
    std::mutex recordsLock;

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

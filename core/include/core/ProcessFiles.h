// A run: every file of a selection sent through the engine with one key, file
// after file, on the caller's thread.
#pragma once

#include "core/SecretText.h"

#include "services/StringList.h"
#include "services/VariantTable.h"

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

// Everything a run needs, copied when it starts so that later changes to the
// selection do not reach it.
struct RunRequest {
    SecretText key;
    services::StringList sources;
    services::StringList targets;
    bool blowFishOnly = false;
    bool confirmOverWrite = true;
};

// The process-wide lists a run fills, and the lock that guards them.
struct RunRecords {
    services::StringList& processedFiles;
    services::StringList& keyHistory;
    services::StringList& activityLog;
    std::mutex& lock;
};

// A file the engine could not transform, with the engine's result.
struct FileFailure {
    int index;  // in the run's sources
    std::string source;
    std::string target;
    int result;
};

// What a run needs of the one who started it: the windows answer with their
// dialogs, the command line with the terminal. Every call comes on the thread
// that runs processFiles. Texts are UTF-8, paths shown with core::shownPath.
class RunHost {
public:
    virtual ~RunHost() = default;
    // Source `index` is about to go through the engine.
    virtual void startFile(int index, const std::string& source) = 0;
    // The running file's share done, 0 to 100, once per change.
    virtual void showProgress(int percent) = 0;
    // Shows the overwrite question and returns an OverwriteAnswer.
    virtual int askOverwrite(const std::string& question) = 0;
    // Asks whether to go on when the recovery list cannot be written.
    virtual bool goOnWithoutRecoveryList(const std::string& question) = 0;
    // The run has ended, the recovery list gone; `failures` holds every file
    // that failed, in run order.
    virtual void runEnded(const std::vector<FileFailure>& failures) = 0;
};

// The engine's progress for the running file: passes the value, clamped to
// 0..100, to the running host; an unchanged value does nothing.
int progressCallback(int32_t progress);

// Why a file failed, in the user's words, from the engine's result.
std::string failureReason(int result, const std::string& target);
// The whole report of a run's failures: the variant's heading, then one line
// per file with its reason.
std::string failureReport(const std::vector<FileFailure>& failures, const services::VariantTexts& variant);

void processFiles(const RunRequest& request, RunRecords records, const services::VariantTexts& variant, RunHost& host);

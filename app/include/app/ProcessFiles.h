// A run: every file of a selection sent through the engine with one key, on
// the worker's thread, file after file, while the window stays live.
#pragma once

#include "app/SecretText.h"

#include "services/BuildVariant.h"
#include "services/StringList.h"

#include <QString>

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

// What a run needs of the window. Called on the worker's thread; each call
// hands its work to the window's own thread.
class RunWindow {
public:
    virtual ~RunWindow() = default;
    virtual void showCaption(const QString& caption) = 0;
    virtual void showProgress(int percent) = 0;
    // Shows the overwrite question and returns an OverwriteAnswer.
    virtual int askOverwrite(const QString& question) = 0;
    // Asks whether to go on when the recovery list cannot be written.
    virtual bool goOnWithoutRecoveryList(const QString& question) = 0;
    // Tells the user which files failed, and why.
    virtual void reportFailures(const QString& text) = 0;
};

// The engine's progress for the running file: sets the bar to the value,
// clamped to 0..100; an unchanged value does nothing.
int progressCallback(int32_t progress);

void processFiles(const RunRequest& request, RunRecords records, const services::VariantTexts& variant,
                  RunWindow& window);

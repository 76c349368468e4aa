// What a run needs of the window, in the window's own text, and the run bound
// to it. Called on the worker's thread; each call hands its work to the
// window's own thread.
#pragma once

#include "core/ProcessFiles.h"

#include "services/BuildVariant.h"

#include <QString>

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

// processFiles with the window as its host: the caption names the running
// file, and the program's title comes back when the run ends.
void processFiles(const RunRequest& request, RunRecords records, const services::VariantTexts& variant,
                  RunWindow& window);

// How a run reaches the main window from its worker: the caption, the bar,
// the overwrite question and the failure report, each carried out on the
// window's own thread.
#pragma once

#include "app/ProcessFiles.h"

struct ProcessState;

class MainWindowRun : public RunWindow {
public:
    explicit MainWindowRun(ProcessState& state, const services::VariantTexts& variant);

    void showCaption(const QString& caption) override;
    void showProgress(int percent) override;
    int askOverwrite(const QString& question) override;
    bool goOnWithoutRecoveryList(const QString& question) override;
    void reportFailures(const QString& text) override;

private:
    ProcessState& state_;
    const services::VariantTexts& variant_;
};

// How a run reaches the main window from its worker: the caption, the bar,
// the overwrite question and the failure report, each carried out on the
// window's own thread.
#pragma once

#include "app/RunWindow.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <mutex>
#include <optional>

struct ProcessState;

class MainWindowRun : public RunWindow {
public:
    // How often, at most, the caption and the bar change on the screen.
    static constexpr int refreshInterval = 20;

    explicit MainWindowRun(ProcessState& state, const services::VariantTexts& variant);

    // The latest caption and bar value reach the window at the screen's pace:
    // a run of many small files never makes the window fall behind it.
    void showCaption(const QString& caption) override;
    void showProgress(int percent) override;
    int askOverwrite(const QString& question) override;
    bool goOnWithoutRecoveryList(const QString& question) override;
    void reportFailures(const QString& text) override;
    // Shows the latest caption and bar value at once: the run has ended, and
    // the window is to show where it stopped as soon as it counts as ended.
    void refresh();

private:
    void refreshSoon();

    ProcessState& state_;
    const services::VariantTexts& variant_;
    // Lives on the window's thread; a refresh still pending when it goes is dropped.
    QObject refreshContext_;
    std::atomic<bool> refreshPending_{false};
    std::mutex shownLock_;
    std::optional<QString> caption_;
    std::optional<int> progress_;
};

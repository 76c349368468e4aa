// The progress of a run on one line of standard error, redrawn in place: the
// current file, the share of all bytes done, the speed and the time left.
#pragma once

#include "Workers.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace cli {

class ProgressLine : public WorkWatcher {
public:
    // `sizes` holds the byte count of each file of the selection, dealt out
    // to `workers` in turn. Nothing is drawn unless `shown`.
    ProgressLine(const Selection& selection, std::vector<std::uint64_t> sizes, int workers, bool shown);

    void fileStarted(int index) override;
    void fileProgress(int index, int percent) override;
    void noRecoveryList() override;
    void tick() override;
    // Draws the final state and ends the line.
    void finish();

private:
    void draw();
    std::uint64_t bytesDone() const;

    const Selection& selection_;
    std::vector<std::uint64_t> sizes_;
    std::vector<int> percents_;  // per file: -1 not started, else its share done
    std::uint64_t total_ = 0;
    int workers_;
    bool shown_;
    bool drawn_ = false;
    bool recoveryListWarned_ = false;
    int current_ = -1;
    std::chrono::steady_clock::time_point start_;
    std::chrono::steady_clock::time_point lastDrawn_;
};

}  // namespace cli

// The worker of one repair: the file an interrupted in-place run left partly
// transformed is repaired from its journal on a thread of its own, holding the
// engine all the while, so that the window stays live.
#pragma once

#include "core/SecretText.h"

#include "framework/WorkerThread.h"

#include "repair/JournalRepair.h"

struct RepairRequest {
    repair::Journal journal;
    SecretText key;
    int layerChoice = 0;  // 0 both layers, 1 block cipher only
    repair::Goal goal = repair::Goal::Transformed;
};

class RepairThread : public framework::WorkerThread {
public:
    // `progress` is called on the worker's thread with 0 to 100, once per
    // change.
    RepairThread(RepairRequest request, repair::ProgressSink progress);
    // The run body uses the request until it returns: wait for it before the
    // key is wiped.
    ~RepairThread() override;

    const RepairRequest& request() const { return request_; }
    // What the repair came to; waits for the worker's end.
    repair::Result result();

protected:
    int run() override;

private:
    RepairRequest request_;
    repair::ProgressSink progress_;
    repair::Result result_;
};

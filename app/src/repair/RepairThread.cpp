#include "app/RepairThread.h"

#include "core/EngineGate.h"

#include <utility>

RepairThread::RepairThread(RepairRequest request, repair::ProgressSink progress)
    : request_(std::move(request)), progress_(std::move(progress))
{}

RepairThread::~RepairThread() { waitForEnd(); }

repair::Result RepairThread::result()
{
    waitForEnd();
    return result_;
}

int RepairThread::run()
{
    int shown = -1;
    const repair::ProgressSink onChange = [this, &shown](int percent) {
        if (percent == shown) return;
        shown = percent;
        if (progress_) progress_(percent);
    };
    // The repair calls the engine throughout: no other call may overlap it.
    const EngineGate::Pass engine = EngineGate::waitForTurn();
    result_ = repair::repairFromJournal(request_.journal, request_.key.c_str(), request_.layerChoice, request_.goal,
                                        onChange);
    return 0;
}

// Another thread holds the engine, as a run's worker does while it
// transforms a file, until the test lets go.
#pragma once

#include "core/EngineGate.h"

#include <future>
#include <thread>

class EngineHeldElsewhere {
public:
    // Returns once the other thread holds the engine.
    EngineHeldElsewhere()
        : holder_([this] {
              const EngineGate::Pass pass = EngineGate::waitForTurn();
              held_.set_value();
              released_.get_future().wait();
          })
    {
        held_.get_future().wait();
    }
    ~EngineHeldElsewhere() { release(); }
    EngineHeldElsewhere(const EngineHeldElsewhere&) = delete;
    EngineHeldElsewhere& operator=(const EngineHeldElsewhere&) = delete;

    // Lets the engine go and waits until it is free.
    void release()
    {
        if (!holder_.joinable()) return;
        released_.set_value();
        holder_.join();
    }

private:
    std::promise<void> held_;
    std::promise<void> released_;
    std::thread holder_;
};

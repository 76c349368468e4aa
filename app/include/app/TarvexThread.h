// The worker of one run: it carries its own copies of the key and the lists
// and runs processFiles on its own thread.
#pragma once

#include "app/RunWindow.h"

#include "framework/WorkerThread.h"

class TTarvexThread : public framework::WorkerThread {
public:
    TTarvexThread(RunRequest request, RunRecords records, const services::VariantTexts& variant, RunWindow& window);
    ~TTarvexThread() override;

protected:
    int run() override;

private:
    RunRequest request_;
    RunRecords records_;
    const services::VariantTexts& variant_;
    RunWindow& window_;
};

#include "app/TarvexThread.h"

#include <utility>

TTarvexThread::TTarvexThread(RunRequest request, RunRecords records, const services::VariantTexts& variant,
                             RunWindow& window)
    : request_(std::move(request)), records_(records), variant_(variant), window_(window)
{}

// The run body uses the request until it returns: wait for it before the
// key is wiped.
TTarvexThread::~TTarvexThread() { waitForEnd(); }

int TTarvexThread::run()
{
    processFiles(request_, records_, variant_, window_);
    return 0;
}

// A run shared among worker processes. The engine keeps its state for the
// whole process, so each worker is a process of its own with its own engine;
// the files are dealt out in turn, and every file is written the same
// whatever the number of workers.
#pragma once

#include "Selection.h"

#include "core/ProcessFiles.h"
#include "core/SecretText.h"

#include "services/VariantTable.h"

#include <cstdint>
#include <string>
#include <vector>

namespace cli {

struct WorkRequest {
    const Selection& selection;
    const SecretText& key;
    bool blowFishOnly;
    int workers;
};

// What the workers tell the one who waits for them, as it happens.
class WorkWatcher {
public:
    virtual ~WorkWatcher() = default;
    virtual void fileStarted(int index) = 0;
    virtual void fileProgress(int index, int percent) = 0;
    // A worker could not write its recovery list and went on without one.
    virtual void noRecoveryList() = 0;
    // Called about every quarter of a second while the run goes on.
    virtual void tick() = 0;
};

// A file that was not transformed, and why, in the user's words.
struct WorkFailure {
    int index;
    std::string reason;
    bool cutShort = false;  // the file's worker stopped while it ran
};

// Runs every file of the selection; the failures, in the selection's order.
std::vector<WorkFailure> runWorkers(const WorkRequest& request, const services::VariantTexts& variant,
                                    WorkWatcher& watcher);

}  // namespace cli

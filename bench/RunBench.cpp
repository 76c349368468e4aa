// A run through processFiles next to a direct engine call on the same bytes:
// what the per-file work around the engine (the progress path, the records)
// costs.
#include "RunBench.h"

#include "app/RunWindow.h"

#include "services/StringList.h"

#include <mutex>

namespace {

// The window's part of a run, minus the window: every update is counted, as
// the real window would queue it.
class CountingRunWindow : public RunWindow {
public:
    long long updates = 0;
    void showCaption(const QString&) override { ++updates; }
    void showProgress(int) override { ++updates; }
    int askOverwrite(const QString&) override { return 402; }
    bool goOnWithoutRecoveryList(const QString&) override { return true; }
    void reportFailures(const QString&) override { ++updates; }
};

}  // namespace

long long runThroughProcessFiles(const char* key, const std::string& source, const std::string& target)
{
    RunRequest request;
    request.key = SecretText(key);
    request.sources.add(source);
    request.targets.add(target);
    request.confirmOverWrite = false;
    services::StringList processed, keyHistory, activityLog;
    std::mutex lock;
    CountingRunWindow window;
    processFiles(request, {processed, keyHistory, activityLog, lock},
                 services::variantTexts(services::BuildVariant::Encrypt), window);
    return window.updates;
}

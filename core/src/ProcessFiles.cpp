#include "core/ProcessFiles.h"

#include "core/EngineGate.h"
#include "core/FileSystem.h"
#include "core/LocalText.h"
#include "core/OverwriteDecision.h"
#include "core/Paths.h"
#include "core/RecoveryList.h"
#include "core/TargetFiles.h"

#include "services/ActivityLog.h"

#include <algorithm>
#include <atomic>
#include <ctime>
#include <memory>

namespace {

// The engine calls back through a plain function: the host of the one
// running file, and the value it was last given, live here. The engine gate
// makes sure only one run uses them.
std::atomic<RunHost*> progressHost{nullptr};
std::atomic<int> shownProgress{-1};

class ProgressHostScope {
public:
    explicit ProgressHostScope(RunHost& host)
    {
        shownProgress = -1;
        progressHost = &host;
    }
    ~ProgressHostScope() { progressHost = nullptr; }
    ProgressHostScope(const ProgressHostScope&) = delete;
    ProgressHostScope& operator=(const ProgressHostScope&) = delete;
};

// A run of several files keeps its list of targets on disk; without one the
// user decides whether to go on.
bool prepareRecoveryList(const RunRequest& request, RunHost& host, std::unique_ptr<RecoveryList>& list)
{
    const int count = request.sources.count();
    if (count <= 1) return true;
    std::vector<std::string> targets;
    for (int i = 0; i < count; ++i) targets.push_back(targetNameFor(request.sources, request.targets, i));
    list = RecoveryList::create(targets, std::time(nullptr));
    if (list) return true;
    return host.goOnWithoutRecoveryList(
        core::fillIn(core::localText("ProcessFiles", "The recovery list cannot be written in the current folder\n%s\n\n"
                                                     "Should the run be cut short, nothing would tell which files it "
                                                     "left half done.\n\nGo on without it ?"),
                     {core::shownPath(core::currentDirectory())}));
}

}  // namespace

std::string failureReason(int result, const std::string& target)
{
    switch (result) {
    case TARVEX_ERR_OPEN_SOURCE: return core::localText("ProcessFiles", "the file cannot be read");
    case TARVEX_ERR_APPEND_TARGET:
    case TARVEX_ERR_UPDATE_TARGET:
        return core::fillIn(core::localText("ProcessFiles", "%s cannot be written"), {core::shownPath(target)});
    case TARVEX_ERR_IO:
        return core::localText("ProcessFiles", "reading or writing failed part way (is the disk full?)");
    case TARVEX_ERR_UNPROTECTED:
        return core::fillIn(core::localText("ProcessFiles", "left untouched: no journal can be written in the current "
                                                            "folder %s, and without one a run cut short could not be "
                                                            "repaired"),
                            {core::shownPath(core::currentDirectory())});
    default: return core::localText("ProcessFiles", "the engine ran short of memory or system resources");
    }
}

std::string failureReport(const std::vector<FileFailure>& failures, const services::VariantTexts& variant)
{
    std::string text = std::string(variant.runFailures) + '\n';
    for (const FileFailure& failure : failures)
        text += '\n' + core::shownPath(failure.source) + ": " + failureReason(failure.result, failure.target);
    return text;
}

int progressCallback(int32_t progress)
{
    const int clamped = std::clamp<int32_t>(progress, 0, 100);
    if (shownProgress.exchange(clamped) == clamped) return 0;
    if (RunHost* host = progressHost.load()) host->showProgress(clamped);
    return 0;
}

void processFiles(const RunRequest& request, RunRecords records, const services::VariantTexts& variant, RunHost& host)
{
    const int count = request.sources.count();
    {
        const std::lock_guard<std::mutex> guard(records.lock);
        records.processedFiles.clear();
    }
    std::unique_ptr<RecoveryList> recoveryList;
    if (!prepareRecoveryList(request, host, recoveryList)) return;

    const ProgressHostScope progress(host);
    OverwriteDecision decision([&host](const std::string& question) { return host.askOverwrite(question); });
    std::vector<FileFailure> failures;
    for (int i = 0; i < count; ++i) {
        const std::string source = request.sources.getAt(i);
        const std::string target = targetNameFor(request.sources, request.targets, i);
        if (request.confirmOverWrite) {
            const OverwriteOutcome outcome = decision.decide(target);
            if (outcome == OverwriteOutcome::Skip) continue;
            if (outcome == OverwriteOutcome::Stop) break;
        }
        {
            const std::lock_guard<std::mutex> guard(records.lock);
            records.processedFiles.add(source);
        }
        host.startFile(i, source);

        const bool inPlace = equalIgnoringCase(source, target);
        const auto lastWrite = inPlace ? core::lastWriteTime(source) : std::nullopt;
        int result = 0;
        {
            const EngineGate::Pass engine = EngineGate::waitForTurn();
            engine.setProgressCallback(&progressCallback);
            result = engine.transformFile(request.key.c_str(), source.c_str(), target.c_str(), variant.engineDirection,
                                          request.blowFishOnly ? 1 : 0);
        }
        if (lastWrite) core::setLastWriteTime(source, *lastWrite);
        if (result != TARVEX_OK) failures.push_back({i, source, target, result});

        {
            const std::lock_guard<std::mutex> guard(records.lock);
            services::recordProcessedFile(records.keyHistory, records.activityLog, source, target, request.key.text(),
                                          request.blowFishOnly);
        }
        progressCallback(0);
    }
    recoveryList.reset();
    host.runEnded(failures);
}

#include "app/ProcessFiles.h"

#include "app/EngineGate.h"
#include "app/OverwriteDecision.h"
#include "app/Paths.h"
#include "app/RecoveryList.h"
#include "app/TargetFiles.h"

#include "services/ActivityLog.h"

#include "framework/FileSystem.h"
#include "framework/PathText.h"
#include "framework/Platform.h"

#include <algorithm>
#include <atomic>
#include <ctime>
#include <memory>

namespace {

using services::toQString;

// The engine calls back through a plain function: the window of the one
// running file, and the value its bar shows, live here. The engine gate
// makes sure only one run uses them.
std::atomic<RunWindow*> progressWindow{nullptr};
std::atomic<int> shownProgress{-1};

class ProgressWindowScope {
public:
    explicit ProgressWindowScope(RunWindow& window)
    {
        shownProgress = -1;
        progressWindow = &window;
    }
    ~ProgressWindowScope() { progressWindow = nullptr; }
    ProgressWindowScope(const ProgressWindowScope&) = delete;
    ProgressWindowScope& operator=(const ProgressWindowScope&) = delete;
};

QString failureReason(int result, const std::string& target)
{
    switch (result) {
    case TARVEX_ERR_OPEN_SOURCE: return QStringLiteral("the file cannot be read");
    case TARVEX_ERR_APPEND_TARGET:
    case TARVEX_ERR_UPDATE_TARGET: return QStringLiteral("%1 cannot be written").arg(framework::displayPath(target));
    case TARVEX_ERR_IO: return QStringLiteral("reading or writing failed part way (is the disk full?)");
    case TARVEX_ERR_UNPROTECTED:
        return QStringLiteral("left untouched: no journal can be written in the current folder %1, "
                              "and without one a run cut short could not be repaired")
            .arg(framework::displayPath(framework::currentDirectory()));
    default: return QStringLiteral("the engine ran short of memory or system resources");
    }
}

struct Failure {
    std::string source;
    std::string target;
    int result;
};

QString failureText(const std::vector<Failure>& failures, const services::VariantTexts& variant)
{
    QString text = toQString(variant.runFailures) + '\n';
    for (const Failure& failure : failures) {
        text += '\n' + framework::displayPath(failure.source) + QStringLiteral(": ") +
                failureReason(failure.result, failure.target);
    }
    return text;
}

// A run of several files keeps its list of targets on disk; without one the
// user decides whether to go on.
bool prepareRecoveryList(const RunRequest& request, RunWindow& window, std::unique_ptr<RecoveryList>& list)
{
    const int count = request.sources.count();
    if (count <= 1) return true;
    std::vector<std::string> targets;
    for (int i = 0; i < count; ++i) targets.push_back(targetNameFor(request.sources, request.targets, i));
    list = RecoveryList::create(targets, std::time(nullptr));
    if (list) return true;
    return window.goOnWithoutRecoveryList(
        QStringLiteral("The recovery list cannot be written in the current folder\n%1\n\n"
                       "Should the run be cut short, nothing would tell which files it left half done.\n\n"
                       "Go on without it ?")
            .arg(framework::displayPath(framework::currentDirectory())));
}

}  // namespace

int progressCallback(int32_t progress)
{
    const int clamped = std::clamp<int32_t>(progress, 0, 100);
    if (shownProgress.exchange(clamped) == clamped) return 0;
    if (RunWindow* window = progressWindow.load()) window->showProgress(clamped);
    return 0;
}

void processFiles(const RunRequest& request, RunRecords records, const services::VariantTexts& variant,
                  RunWindow& window)
{
    const int count = request.sources.count();
    {
        const std::lock_guard<std::mutex> guard(records.lock);
        records.processedFiles.clear();
    }
    std::unique_ptr<RecoveryList> recoveryList;
    if (!prepareRecoveryList(request, window, recoveryList)) return;

    const ProgressWindowScope progress(window);
    OverwriteDecision decision([&window](const QString& question) { return window.askOverwrite(question); });
    std::vector<Failure> failures;
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
        window.showCaption(toQString(variant.processingCaption).replace("%s", framework::displayPath(source)));

        const bool inPlace = equalIgnoringCase(source, target);
        const auto lastWrite = inPlace ? framework::lastWriteTime(source) : std::nullopt;
        int result = 0;
        {
            const EngineGate::Pass engine = EngineGate::waitForTurn();
            engine.setProgressCallback(&progressCallback);
            result = engine.transformFile(request.key.c_str(), source.c_str(), target.c_str(), variant.engineDirection,
                                          request.blowFishOnly ? 1 : 0);
        }
        if (lastWrite) framework::setLastWriteTime(source, *lastWrite);
        if (result != TARVEX_OK) failures.push_back({source, target, result});

        {
            const std::lock_guard<std::mutex> guard(records.lock);
            services::recordProcessedFile(records.keyHistory, records.activityLog, source, target, request.key.text(),
                                          request.blowFishOnly);
        }
        progressCallback(0);
    }
    recoveryList.reset();
    window.showCaption(toQString(variant.programTitle));
    if (!failures.empty()) window.reportFailures(failureText(failures, variant));
}

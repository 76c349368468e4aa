#include "Workers.h"

#include "core/OverwriteDecision.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <mutex>

namespace cli {

namespace {

// What a worker says to the waiting process: one record a write, small
// enough that the pipe never interleaves two.
struct Report {
    enum Kind : int32_t { Started, Progress, Failed, NoRecoveryList };
    int32_t kind;
    int32_t index;  // in the whole selection
    int32_t value;  // a percentage, or the engine's result
};

void send(int pipe, const Report& report)
{
    while (write(pipe, &report, sizeof report) < 0 && errno == EINTR) {}
}

// The worker's side of a run: everything goes down the pipe.
class PipeHost : public RunHost {
public:
    PipeHost(int pipe, std::vector<int> indexes) : pipe_(pipe), indexes_(std::move(indexes)) {}

    void startFile(int index, const std::string&) override
    {
        current_ = indexes_[static_cast<std::size_t>(index)];
        send(pipe_, {Report::Started, current_, 0});
    }
    // The line is redrawn a few times a second: more reports would cost the
    // run a write for every percent of every small file.
    void showProgress(int percent) override
    {
        const auto now = std::chrono::steady_clock::now();
        if (now - lastProgress_ < progressInterval) return;
        lastProgress_ = now;
        send(pipe_, {Report::Progress, current_, percent});
    }
    // The overwrite question was settled before the workers began.
    int askOverwrite(const std::string&) override { return AnswerCancel; }
    bool goOnWithoutRecoveryList(const std::string&) override
    {
        send(pipe_, {Report::NoRecoveryList, -1, 0});
        return true;
    }
    void runEnded(const std::vector<FileFailure>& failures) override
    {
        for (const FileFailure& failure : failures)
            send(pipe_, {Report::Failed, indexes_[static_cast<std::size_t>(failure.index)], failure.result});
    }

private:
    static constexpr auto progressInterval = std::chrono::milliseconds(50);

    int pipe_;
    std::vector<int> indexes_;
    int32_t current_ = -1;
    std::chrono::steady_clock::time_point lastProgress_;
};

// Worker `worker` of `workers` takes every workers-th file from its own
// number on.
std::vector<int> shareOf(int worker, int workers, int count)
{
    std::vector<int> indexes;
    for (int i = worker; i < count; i += workers) indexes.push_back(i);
    return indexes;
}

[[noreturn]] void work(const WorkRequest& request, const services::VariantTexts& variant, int pipe,
                       std::vector<int> indexes)
{
    RunRequest run;
    run.key = request.key;
    run.blowFishOnly = request.blowFishOnly;
    run.confirmOverWrite = false;
    for (const int index : indexes) {
        run.sources.add(request.selection.sources.getAt(index));
        run.targets.add(request.selection.targets.getAt(index));
    }
    services::StringList processed, keyHistory, activityLog;
    std::mutex lock;
    PipeHost host(pipe, std::move(indexes));
    processFiles(run, {processed, keyHistory, activityLog, lock}, variant, host);
    run.key.wipe();
    // The parent's buffers and handlers are not the worker's to run.
    _exit(0);
}

struct Worker {
    pid_t pid;
    std::vector<int> indexes;
};

// While the workers run, a signal that would end the command goes on to
// them, and the command waits for them to stop: it then names the files they
// left, instead of dying without a word.
pid_t* forwardedWorkers = nullptr;
volatile sig_atomic_t forwardedCount = 0;

void forwardToWorkers(int signal)
{
    for (sig_atomic_t i = 0; i < forwardedCount; ++i) kill(forwardedWorkers[i], signal);
}

constexpr int stoppingSignals[] = {SIGINT, SIGTERM, SIGHUP};

class SignalsToWorkers {
public:
    explicit SignalsToWorkers(int workers) : pids_(static_cast<std::size_t>(workers))
    {
        forwardedWorkers = pids_.data();
        forwardedCount = 0;
        struct sigaction action {};
        action.sa_handler = forwardToWorkers;
        sigemptyset(&action.sa_mask);
        for (std::size_t i = 0; i < std::size(stoppingSignals); ++i)
            sigaction(stoppingSignals[i], &action, &previous_[i]);
    }
    ~SignalsToWorkers()
    {
        for (std::size_t i = 0; i < std::size(stoppingSignals); ++i)
            sigaction(stoppingSignals[i], &previous_[i], nullptr);
        forwardedCount = 0;
        forwardedWorkers = nullptr;
    }
    SignalsToWorkers(const SignalsToWorkers&) = delete;
    SignalsToWorkers& operator=(const SignalsToWorkers&) = delete;

    // Forks with the signals held, so that none is lost or handled twice
    // between the fork and the worker's own handling: the worker takes them
    // as any program does, the command forwards them from then on.
    pid_t startWorker()
    {
        sigset_t stopping, before;
        sigemptyset(&stopping);
        for (const int signal : stoppingSignals) sigaddset(&stopping, signal);
        sigprocmask(SIG_BLOCK, &stopping, &before);
        const pid_t pid = fork();
        if (pid == 0) {
            for (const int signal : stoppingSignals) ::signal(signal, SIG_DFL);
        } else if (pid > 0) {
            pids_[static_cast<std::size_t>(forwardedCount)] = pid;
            forwardedCount = forwardedCount + 1;
        }
        sigprocmask(SIG_SETMASK, &before, nullptr);
        return pid;
    }

private:
    std::vector<pid_t> pids_;
    struct sigaction previous_[std::size(stoppingSignals)]{};
};

// Why a worker that did not end by itself stopped.
std::string endingOf(int status)
{
    if (WIFSIGNALED(status)) return "the worker process was ended by signal " + std::to_string(WTERMSIG(status));
    return "the worker process failed with status " + std::to_string(WEXITSTATUS(status));
}

class Collector {
public:
    Collector(const Selection& selection, WorkWatcher& watcher)
        : selection_(selection), results_(static_cast<std::size_t>(selection.sources.count())), watcher_(watcher)
    {}

    void take(const Report& report)
    {
        if (report.kind == Report::NoRecoveryList) {
            watcher_.noRecoveryList();
            return;
        }
        if (report.index < 0 || static_cast<std::size_t>(report.index) >= results_.size()) return;
        FileResult& result = results_[static_cast<std::size_t>(report.index)];
        switch (report.kind) {
        case Report::Started:
            result.started = true;
            watcher_.fileStarted(report.index);
            break;
        case Report::Progress: watcher_.fileProgress(report.index, report.value); break;
        case Report::Failed: result.reason = failureReason(report.value, selection_.targets.getAt(report.index)); break;
        default: break;
        }
    }

    // A worker that died left the file it was running unfinished, and those
    // after it untouched; the files it started before were done.
    void workerDied(const std::vector<int>& indexes, const std::string& ending)
    {
        bool runningSeen = false;
        for (auto index = indexes.rbegin(); index != indexes.rend(); ++index) {
            FileResult& result = results_[static_cast<std::size_t>(*index)];
            if (!result.started) {
                result.reason = ending + " before it reached the file";
            } else if (!runningSeen) {
                runningSeen = true;
                if (result.reason.empty()) {
                    result.reason = ending + " while it ran";
                    result.cutShort = true;
                }
            }
        }
    }

    std::vector<WorkFailure> failures() const
    {
        std::vector<WorkFailure> failures;
        for (std::size_t i = 0; i < results_.size(); ++i) {
            if (!results_[i].reason.empty())
                failures.push_back({static_cast<int>(i), results_[i].reason, results_[i].cutShort});
        }
        return failures;
    }

private:
    struct FileResult {
        bool started = false;
        std::string reason;  // why the file failed; empty when it did not
        bool cutShort = false;
    };

    const Selection& selection_;
    std::vector<FileResult> results_;
    WorkWatcher& watcher_;
};

}  // namespace

std::vector<WorkFailure> runWorkers(const WorkRequest& request, const services::VariantTexts& variant,
                                    WorkWatcher& watcher)
{
    const int count = request.selection.sources.count();
    const int workers = std::clamp(request.workers, 1, std::max(count, 1));
    Collector collector(request.selection, watcher);
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) {
        for (int worker = 0; worker < workers; ++worker)
            collector.workerDied(shareOf(worker, workers, count), "no worker process could be started");
        return collector.failures();
    }
    std::fflush(nullptr);
    std::vector<Worker> started;
    SignalsToWorkers signals(workers);
    for (int worker = 0; worker < workers; ++worker) {
        std::vector<int> indexes = shareOf(worker, workers, count);
        const pid_t pid = signals.startWorker();
        if (pid == 0) {
            close(ends[0]);
            work(request, variant, ends[1], std::move(indexes));
        }
        if (pid < 0) {
            collector.workerDied(indexes, "no worker process could be started");
            continue;
        }
        started.push_back({pid, std::move(indexes)});
    }
    close(ends[1]);

    std::vector<char> pending;
    for (;;) {
        pollfd readable{ends[0], POLLIN, 0};
        const int ready = poll(&readable, 1, 250);
        watcher.tick();
        if (ready < 0 && errno != EINTR) break;
        if (ready <= 0) continue;
        char piece[4096];
        const ssize_t got = read(ends[0], piece, sizeof piece);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        pending.insert(pending.end(), piece, piece + got);
        std::size_t used = 0;
        for (; pending.size() - used >= sizeof(Report); used += sizeof(Report)) {
            Report report{};
            std::memcpy(&report, pending.data() + used, sizeof report);
            collector.take(report);
        }
        pending.erase(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(used));
    }
    close(ends[0]);
    for (const Worker& worker : started) {
        int status = 0;
        while (waitpid(worker.pid, &status, 0) < 0 && errno == EINTR) {}
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) collector.workerDied(worker.indexes, endingOf(status));
    }
    return collector.failures();
}

}  // namespace cli

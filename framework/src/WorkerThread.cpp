#include "framework/WorkerThread.h"

#include <QDeadlineTimer>
#include <QThread>
#include <QtGlobal>

#include <atomic>
#include <exception>

namespace framework {

class WorkerThread::Thread : public QThread {
public:
    explicit Thread(WorkerThread& owner) : owner_(owner) {}

    std::atomic<bool> started{false};
    std::atomic<int> exitCode{0};

protected:
    void run() override
    {
        // An exception must not cross the thread's edge, where it would end
        // the process without a word.
        try {
            exitCode = owner_.run();
        } catch (const std::exception& exception) {
            exitCode = -1;
            qCritical("A worker thread ended with an exception: %s", exception.what());
        } catch (...) {
            exitCode = -1;
            qCritical("A worker thread ended with an exception of unknown kind");
        }
    }

private:
    WorkerThread& owner_;
};

WorkerThread::WorkerThread() : thread_(std::make_unique<Thread>(*this)) {}

WorkerThread::~WorkerThread() { thread_->wait(); }

void WorkerThread::start()
{
    if (!thread_->started.exchange(true)) thread_->start();
}

WorkerThread::Status WorkerThread::status() const
{
    if (!thread_->started) return Status::NotStarted;
    return thread_->isRunning() ? Status::Running : Status::Ended;
}

int WorkerThread::exitCode() const { return thread_->exitCode; }

bool WorkerThread::waitForEnd(int milliseconds)
{
    return thread_->wait(milliseconds < 0 ? QDeadlineTimer(QDeadlineTimer::Forever) : QDeadlineTimer(milliseconds));
}

}  // namespace framework

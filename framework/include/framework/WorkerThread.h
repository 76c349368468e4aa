// A thread that carries one long piece of work while the user interface
// stays live: started once, asked whether it is still running, and ended by
// its run body returning.
#pragma once

#include <memory>

namespace framework {

class WorkerThread {
public:
    enum class Status { NotStarted, Running, Ended };

    WorkerThread();
    // Waits for the run body to return: a worker object never outlives its
    // thread's use of it.
    virtual ~WorkerThread();
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Starts run() on a thread of its own; a second call does nothing.
    void start();
    // Whether the run body has returned yet, as the system tells it now.
    Status status() const;
    bool isRunning() const { return status() == Status::Running; }
    // What run() returned; 0 until it has.
    int exitCode() const;
    // Waits up to `milliseconds` (forever when negative) for the run body to
    // return; whether it has.
    bool waitForEnd(int milliseconds = -1);

protected:
    // The work, on the worker's own thread; the result is the exit code.
    virtual int run() = 0;

private:
    class Thread;
    std::unique_ptr<Thread> thread_;
};

}  // namespace framework

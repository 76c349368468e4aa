#include "framework/UserInterfaceThread.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

#include <utility>

namespace framework {

bool isUserInterfaceThread()
{
    const QCoreApplication* application = QCoreApplication::instance();
    return application && QThread::currentThread() == application->thread();
}

std::optional<int> askOnUserInterfaceThread(const std::function<int()>& question)
{
    QCoreApplication* application = QCoreApplication::instance();
    if (!application || QThread::currentThread() == application->thread()) return std::nullopt;
    // A blocking queued call is delivered by whichever event loop the
    // user-interface thread runs, a modal one included. The answer stays
    // empty when the application goes before the question could run.
    std::optional<int> answer;
    QMetaObject::invokeMethod(
        application, [&] { answer = question(); }, Qt::BlockingQueuedConnection);
    return answer;
}

void postToUserInterfaceThread(std::function<void()> action)
{
    QCoreApplication* application = QCoreApplication::instance();
    // Without an application there is no widget the action could be for.
    if (!application) return;
    if (QThread::currentThread() == application->thread()) {
        action();
        return;
    }
    QMetaObject::invokeMethod(application, std::move(action), Qt::QueuedConnection);
}

}  // namespace framework

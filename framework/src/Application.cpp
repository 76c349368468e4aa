#include "framework/Application.h"

#include "framework/Dialog.h"
#include "framework/FrameWindow.h"
#include "framework/Modal.h"

#include <QApplication>
#include <QCoreApplication>

#include <cstdio>
#include <utility>

namespace framework {

namespace {

// Platforms that draw nowhere a person could see a message box.
bool hasDisplay()
{
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

}  // namespace

Application::Application() = default;

Application::~Application() = default;

bool Application::start()
{
    startError_.clear();
    initMainWindow();
    if (endStatus_) return false;
    if (!mainWindow_) {
        startError_ = QCoreApplication::translate("Application", "The main window could not be set up.");
        return false;
    }
    // The client's set-up may end the process: then nothing is shown.
    if (!mainWindow_->create()) {
        startError_ = mainWindow_->client()->createError();
        return false;
    }
    if (endStatus_) return false;
    mainWindow_->show();
    return true;
}

int Application::run()
{
    if (!start()) {
        destroyMainWindow();
        if (endStatus_) return *endStatus_;
        reportStartError();
        return startFailureStatus;
    }
    looping_ = true;
    const int loopResult = QApplication::exec();
    looping_ = false;
    destroyMainWindow();
    return endStatus_.value_or(loopResult);
}

void Application::reportStartError() const
{
    const QString program = QCoreApplication::applicationName();
    std::fprintf(stderr, "%s: cannot start: %s\n", qPrintable(program), qPrintable(startError_));
    if (hasDisplay()) {
        showMessage(nullptr, {startError_, program, MessageIcon::Stop, MessageButtons::Ok});
    }
}

void Application::endProcess(int status)
{
    endStatus_ = status;
    if (mainWindow_) mainWindow_->hide();
    // Before the loop there is nothing to leave, and telling the application
    // to quit then would end every modal loop that runs afterwards at once.
    if (looping_) QApplication::exit(status);
}

void Application::setMainWindow(std::unique_ptr<FrameWindow> window) { mainWindow_ = std::move(window); }

void Application::destroyMainWindow() { mainWindow_.reset(); }

}  // namespace framework

#include "framework/Application.h"

#include "framework/FrameWindow.h"

#include <QApplication>

#include <utility>

namespace framework {

Application::Application() = default;

Application::~Application() = default;

bool Application::start()
{
    initMainWindow();
    if (!mainWindow_ || endStatus_) return false;
    // The client's set-up may end the process: then nothing is shown.
    if (!mainWindow_->create() || endStatus_) return false;
    mainWindow_->show();
    return true;
}

int Application::run()
{
    if (!start()) {
        destroyMainWindow();
        return endStatus_.value_or(1);
    }
    const int loopResult = QApplication::exec();
    destroyMainWindow();
    return endStatus_.value_or(loopResult);
}

void Application::endProcess(int status)
{
    endStatus_ = status;
    if (mainWindow_) mainWindow_->hide();
    QApplication::exit(status);
}

void Application::setMainWindow(std::unique_ptr<FrameWindow> window) { mainWindow_ = std::move(window); }

void Application::destroyMainWindow() { mainWindow_.reset(); }

}  // namespace framework

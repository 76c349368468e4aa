// The application object: sets up its main window, then runs the event loop.
#pragma once

#include <QString>

#include <memory>
#include <optional>

namespace framework {

class FrameWindow;

class Application {
public:
    // The status of a process whose main window could not be set up.
    static constexpr int startFailureStatus = 2;

    Application();
    virtual ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Sets up and shows the main window without entering the event loop.
    // False when the window could not be created (startError() says why) or
    // the process was ended during its set-up.
    bool start();
    // start(), then the event loop until the main window has closed. Returns
    // the loop's result, the status given to endProcess(), or
    // startFailureStatus once the failure has been reported on standard error
    // and, where a display exists, in a message box.
    int run();

    FrameWindow* mainWindow() const { return mainWindow_.get(); }
    // Ends the process's run with `status` before or instead of the loop.
    void endProcess(int status);
    std::optional<int> endStatus() const { return endStatus_; }
    // Why the main window could not be set up; empty when it could.
    const QString& startError() const { return startError_; }

protected:
    virtual void initMainWindow() = 0;
    void setMainWindow(std::unique_ptr<FrameWindow> window);
    // Destroys the main window now (its destructor runs before ours).
    void destroyMainWindow();

private:
    void reportStartError() const;

    std::unique_ptr<FrameWindow> mainWindow_;
    std::optional<int> endStatus_;
    QString startError_;
    bool looping_ = false;
};

}  // namespace framework

// The application object: sets up its main window, then runs the event loop.
#pragma once

#include <memory>
#include <optional>

namespace framework {

class FrameWindow;

class Application {
public:
    Application();
    virtual ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Sets up and shows the main window without entering the event loop.
    // False when the window could not be created or the process was ended
    // during its set-up.
    bool start();
    // start(), then the event loop until the main window has closed. Returns
    // the loop's result, or the status given to endProcess().
    int run();

    FrameWindow* mainWindow() const { return mainWindow_.get(); }
    // Ends the process's run with `status` before or instead of the loop.
    void endProcess(int status);
    std::optional<int> endStatus() const { return endStatus_; }

protected:
    virtual void initMainWindow() = 0;
    void setMainWindow(std::unique_ptr<FrameWindow> window);
    // Destroys the main window now (its destructor runs before ours).
    void destroyMainWindow();

private:
    std::unique_ptr<FrameWindow> mainWindow_;
    std::optional<int> endStatus_;
};

}  // namespace framework

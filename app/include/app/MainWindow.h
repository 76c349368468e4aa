// The frame around the main dialog; it stores its position when destroyed.
#pragma once

#include "framework/FrameWindow.h"

namespace services {
class ProgramSettings;
}
class TEncryptDialog;

class TMainWindow : public framework::FrameWindow {
public:
    TMainWindow(const QString& title, TEncryptDialog* client, services::ProgramSettings& settings);
    ~TMainWindow() override;

private:
    services::ProgramSettings& settings_;
};

#include "app/MainWindow.h"

#include "app/EncryptDialog.h"

#include "services/ProgramSettings.h"

TMainWindow::TMainWindow(const QString& title, TEncryptDialog* client, services::ProgramSettings& settings)
    : FrameWindow(title, client), settings_(settings)
{}

TMainWindow::~TMainWindow()
{
    // A frame that never showed (a refused login) stood nowhere worth keeping.
    if (const auto position = normalPosition()) settings_.saveFramePosition({position->x(), position->y()});
}

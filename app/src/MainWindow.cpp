#include "app/MainWindow.h"

#include "app/EncryptDialog.h"

#include "services/ProgramSettings.h"

TMainWindow::TMainWindow(const QString& title, TEncryptDialog* client, services::ProgramSettings& settings)
    : FrameWindow(title, client), settings_(settings)
{
}

TMainWindow::~TMainWindow()
{
    const QPoint position = normalPosition();
    settings_.saveFramePosition({position.x(), position.y()});
}

// Saves a picture of a program's real main window, for the README:
//   screenshot_main_window <sealwin|unsealwin> <file.png>
// Runs on the offscreen platform with a throw-away configuration folder.
#include "app/EncryptApp.h"
#include "app/EncryptDialog.h"
#include "app/ProcessState.h"

#include "framework/FrameWindow.h"
#include "framework/KeyboardState.h"

#include <QApplication>
#include <QPainter>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: screenshot_main_window <sealwin|unsealwin> <file.png>\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir configuration;
    qputenv("XDG_CONFIG_HOME", configuration.path().toLocal8Bit());
    QApplication application(argc, argv);
    const bool decrypt = std::strcmp(argv[1], "unsealwin") == 0;

    ProcessState state;
    const auto keyboard = framework::systemKeyboardState();
    TEncryptApp program(
        state, services::variantTexts(decrypt ? services::BuildVariant::Decrypt : services::BuildVariant::Encrypt),
        *keyboard);
    if (!program.start()) return 1;
    TEncryptDialog* dialog = program.mainDialog();
    dialog->setText(TEncryptDialog::SourceField, decrypt ? "/home/ann/reports/q3.ods" : "/home/ann/reports");
    dialog->setText(TEncryptDialog::KeyField, "correct horse battery");
    QApplication::processEvents();

    // The client area inside a plain title bar, as a window manager would draw it.
    const QPixmap client = program.mainWindow()->grab();
    constexpr int titleHeight = 26;
    QPixmap shot(client.width() + 2, client.height() + titleHeight + 1);
    shot.fill(QColor(0x3c, 0x4a, 0x5c));
    QPainter painter(&shot);
    painter.drawPixmap(1, titleHeight, client);
    painter.setPen(Qt::white);
    QFont title(QStringLiteral("Sans Serif"));
    title.setPixelSize(13);
    title.setBold(true);
    painter.setFont(title);
    painter.drawText(QRect(10, 0, shot.width() - 20, titleHeight), Qt::AlignVCenter | Qt::AlignLeft,
                     program.mainWindow()->windowTitle());
    painter.end();
    return shot.save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
}

// Saves a picture of a program's real main window, for the README:
//   screenshot_main_window <sealwin|unsealwin> <file.png> [dark]
// Runs on the offscreen platform with a throw-away configuration folder;
// QT_SCALE_FACTOR scales it as a scaled screen would, and "dark" gives it the
// colours a dark desktop theme would.
#include "app/EncryptApp.h"
#include "app/EncryptDialog.h"
#include "app/ProcessState.h"

#include "framework/FrameWindow.h"
#include "framework/KeyboardState.h"

#include <QApplication>
#include <QPainter>
#include <QPalette>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>

namespace {

QPalette darkPalette()
{
    QPalette palette;
    const QColor window(0x2b, 0x2d, 0x31), base(0x1e, 0x1f, 0x22), text(0xe6, 0xe6, 0xe6);
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::AlternateBase, window);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Button, window.lighter(130));
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::Highlight, QColor(0x3d, 0x7a, 0xd6));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Light, window.lighter(160));
    palette.setColor(QPalette::Midlight, window.lighter(130));
    palette.setColor(QPalette::Mid, window.darker(120));
    palette.setColor(QPalette::Dark, window.darker(150));
    palette.setColor(QPalette::Shadow, Qt::black);
    palette.setColor(QPalette::PlaceholderText, text.darker(160));
    return palette;
}

}  // namespace

int main(int argc, char** argv)
{
    const bool dark = argc == 4 && std::strcmp(argv[3], "dark") == 0;
    if (argc != 3 && !dark) {
        std::fprintf(stderr, "usage: screenshot_main_window <sealwin|unsealwin> <file.png> [dark]\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir configuration;
    qputenv("XDG_CONFIG_HOME", configuration.path().toLocal8Bit());
    QApplication application(argc, argv);
    const bool decrypt = std::strcmp(argv[1], "unsealwin") == 0;
    if (dark) QApplication::setPalette(darkPalette());

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
    // Sizes below are in the screen's logical pixels; a scaled screen has more.
    const QPixmap client = program.mainWindow()->grab();
    const qreal scale = client.devicePixelRatio();
    const QSize clientSize = client.deviceIndependentSize().toSize();
    constexpr int titleHeight = 26;
    QPixmap shot(QSize(clientSize.width() + 2, clientSize.height() + titleHeight + 1) * scale);
    shot.setDevicePixelRatio(scale);
    shot.fill(QColor(0x3c, 0x4a, 0x5c));
    QPainter painter(&shot);
    painter.drawPixmap(1, titleHeight, client);
    painter.setPen(Qt::white);
    QFont title(QStringLiteral("Sans Serif"));
    title.setPixelSize(13);
    title.setBold(true);
    painter.setFont(title);
    painter.drawText(QRect(10, 0, clientSize.width() - 18, titleHeight), Qt::AlignVCenter | Qt::AlignLeft,
                     program.mainWindow()->windowTitle());
    painter.end();
    return shot.save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
}

#include "app/ProcessEntry.h"

#include "app/CommandLine.h"
#include "app/EncryptApp.h"
#include "app/ProcessState.h"

#include "framework/KeyboardState.h"

#include <QApplication>

int runWindowProgram(int argc, char** argv, services::BuildVariant variant)
{
    ProcessState state;
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    // Before the window system is touched: a bad list file shows no window.
    if (readCommandLine(arguments, state) == CommandLineResult::ListFileUnreadable) return -1;

    QApplication application(argc, argv);
    const auto keyboard = framework::systemKeyboardState();
    int status = 0;
    {
        TEncryptApp program(state, services::variantTexts(variant), *keyboard);
        program.run();
        if (program.endStatus() == 1) status = 1;
    }
    state.clearLoginKey();
    return status;
}

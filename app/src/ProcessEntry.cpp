#include "app/ProcessEntry.h"

#include "app/CommandLine.h"
#include "app/EncryptApp.h"
#include "app/ProcessState.h"

#include "framework/KeyboardState.h"

#include <QApplication>

#include <string>
#include <vector>

namespace {

using services::toQString;

}  // namespace

int runWindowProgram(int argc, char** argv, services::BuildVariant variant)
{
    ProcessState state;
    // The arguments stay the bytes the shell passed: a file name need not be
    // valid text.
    const std::vector<std::string> arguments(argv + std::min(argc, 1), argv + argc);
    // Before the window system is touched: a bad list file shows no window.
    if (readCommandLine(arguments, state) == CommandLineResult::ListFileUnreadable) return -1;

    QApplication application(argc, argv);
    const services::VariantTexts& texts = services::variantTexts(variant);
    QApplication::setApplicationName(toQString(texts.internalName));
    QApplication::setApplicationVersion(toQString(texts.fileVersion));
    const auto keyboard = framework::systemKeyboardState();
    int status = 0;
    {
        TEncryptApp program(state, texts, *keyboard);
        const int result = program.run();
        // Only a refused login and a failed start end otherwise than with 0.
        if (program.endStatus() == 1 || !program.startError().isEmpty()) status = result;
    }
    state.clearLoginKey();
    return status;
}

#include "app/ProcessEntry.h"

#include "app/CommandLine.h"
#include "app/EncryptApp.h"
#include "app/ProcessState.h"

#include "framework/KeyboardState.h"

#include "manual/Manuals.h"

#include <QApplication>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

using services::toQString;

manual::Program manualProgram(services::BuildVariant variant)
{
    switch (variant) {
    case services::BuildVariant::Encrypt: return manual::Program::Sealwin;
    case services::BuildVariant::Decrypt: break;
    }
    return manual::Program::Unsealwin;
}

void printText(const std::string& text) { std::fwrite(text.data(), 1, text.size(), stdout); }

// --help and --version, answered without a window, so they work where no
// display is. Only as the sole argument: anything else may be a path.
bool answeredWithoutWindow(int argc, char** argv, services::BuildVariant variant)
{
    if (argc != 2) return false;
    if (std::strcmp(argv[1], "--help") == 0) {
        printText(manual::usageText(manualProgram(variant)));
        return true;
    }
    if (std::strcmp(argv[1], "--version") == 0) {
        const services::VariantTexts& texts = services::variantTexts(variant);
        printText(std::string(texts.programName) + ' ' + std::string(texts.fileVersion) + '\n');
        return true;
    }
    return false;
}

}  // namespace

int runWindowProgram(int argc, char** argv, services::BuildVariant variant)
{
    if (answeredWithoutWindow(argc, argv, variant)) return 0;
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
    // Ties the windows to the desktop entry, its name and its icon.
    QApplication::setDesktopFileName(toQString(texts.desktopEntry));
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

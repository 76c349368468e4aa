// A folder of many small files encrypted into a target folder through the
// real Sealwin window (offscreen), next to the engine called for the same
// files in a loop: what the run around the engine costs per file, and
// whether that cost stays flat as the number of files grows.
//   tarvex_window_bench [FILES...]   (default: 1000 and 10000 files of 4 KiB)
//   xvfb-run env QT_QPA_PLATFORM=xcb tarvex_window_bench   (on an X server)
#include "app/EncryptApp.h"
#include "app/EncryptDialog.h"
#include "app/PassWordDialog.h"
#include "app/ProcessState.h"
#include "app/TarvexThread.h"

#include "framework/Dialog.h"
#include "framework/FrameWindow.h"
#include "framework/KeyboardState.h"
#include "framework/Modal.h"

#include "tarvex.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

const char* const kKey = "a benchmark key of moderate length";
constexpr std::size_t kFileBytes = 4096;

class NoCapsLock : public framework::KeyboardState {
public:
    bool capsLockOn() const override { return false; }
};

// Confirms the key when asked; any message is a fault of the set-up, told and
// answered with its first button.
class KeyConfirmingUser : public framework::ScriptedUser {
public:
    void useMessage(QMessageBox& box, const framework::MessageRequest& request) override
    {
        std::fprintf(stderr, "unexpected message: %s\n", qPrintable(request.text));
        if (!box.buttons().isEmpty()) box.buttons().front()->click();
    }
    void useDialog(framework::Dialog& dialog) override
    {
        dialog.setText(TPassWordDialog::ConfirmField, QString::fromLatin1(kKey));
        dialog.press(framework::ResultOk);
    }
    void leftOpen(const QString& title) override { std::fprintf(stderr, "left open: %s\n", qPrintable(title)); }
    std::vector<std::string> answerFileDialog(const framework::FileDialogRequest&) override { return {}; }
};

void makeFiles(const fs::path& folder, int count)
{
    fs::create_directories(folder);
    std::mt19937 random(7);
    std::vector<char> bytes(kFileBytes);
    for (int i = 0; i < count; ++i) {
        for (char& byte : bytes) byte = static_cast<char>(random());
        std::ofstream(folder / ("file" + std::to_string(i) + ".bin"), std::ios::binary)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
}

[[noreturn]] void fail(const char* what)
{
    std::fprintf(stderr, "tarvex_window_bench: %s\n", what);
    std::exit(1);
}

double seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

double engineLoop(const fs::path& sources, const fs::path& targets)
{
    fs::create_directories(targets);
    const auto start = Clock::now();
    for (const auto& entry : fs::directory_iterator(sources)) {
        const std::string target = (targets / entry.path().filename()).string();
        if (tarvexTransformFile(kKey, entry.path().c_str(), target.c_str(), 1, 0) != TARVEX_OK)
            fail("the engine failed on a file");
    }
    return seconds(start);
}

// From the Encrypt button to the window showing its own title again.
double windowRun(const fs::path& sources, const fs::path& targets)
{
    fs::create_directories(targets);
    ProcessState state;
    NoCapsLock keyboard;
    const services::VariantTexts& variant = services::variantTexts(services::BuildVariant::Encrypt);
    TEncryptApp app(state, variant, keyboard);
    if (!app.start()) fail("Sealwin did not start");
    TEncryptDialog* dialog = app.mainDialog();
    KeyConfirmingUser user;
    const framework::ScopedScriptedUser installed(user);
    dialog->setPathText(TEncryptDialog::SourceField, sources.string());
    dialog->setPathText(TEncryptDialog::TargetField, targets.string() + "/");
    dialog->setText(TEncryptDialog::KeyField, QString::fromLatin1(kKey));
    dialog->setChecked(TEncryptDialog::ConfirmOverwriteBox, false);

    const QString title = app.mainWindow()->windowTitle();
    const auto start = Clock::now();
    dialog->press(TEncryptDialog::RunButton);
    if (!dialog->currentWorker()) fail("the Encrypt button started no run");
    while (dialog->currentWorker()->isRunning() || app.mainWindow()->windowTitle() != title)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    return seconds(start);
}

long peakResidentKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv)
{
    // Offscreen unless told otherwise: under xvfb-run, QT_QPA_PLATFORM=xcb
    // measures a real X server too.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir configuration;
    QTemporaryDir work(QDir::tempPath() + "/tarvex-window-bench-XXXXXX");
    if (!configuration.isValid() || !work.isValid()) return 1;
    qputenv("XDG_CONFIG_HOME", configuration.path().toLocal8Bit());
    QApplication application(argc, argv);
    // Runs write their recovery list into the working folder.
    fs::current_path(work.path().toStdString());

    std::vector<int> counts;
    for (int i = 1; i < argc; ++i) counts.push_back(std::atoi(argv[i]));
    if (counts.empty()) counts = {1000, 10000};

    std::printf("%8s %14s %14s %8s %14s %16s\n", "files", "engine loop s", "window run s", "ratio", "window ms/file",
                "peak memory KiB");
    for (const int count : counts) {
        const fs::path root = fs::path(work.path().toStdString()) / std::to_string(count);
        makeFiles(root / "sources", count);
        const double engine = engineLoop(root / "sources", root / "engine");
        const double window = windowRun(root / "sources", root / "window");
        std::printf("%8d %14.3f %14.3f %8.2f %14.3f %16ld\n", count, engine, window, window / engine,
                    1000 * window / count, peakResidentKiB());
        std::fflush(stdout);
        fs::remove_all(root);
    }
    std::printf("goal: ratio 1.5 or less, and the time per file flat as the count grows\n");
    return 0;
}

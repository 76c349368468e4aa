#include "app/EncryptApp.h"

#include "app/EncryptDialog.h"
#include "app/InstallLayout.h"
#include "app/MainWindow.h"
#include "app/ProcessState.h"

#include "core/LocalText.h"

#include "framework/Platform.h"
#include "framework/SplashWindow.h"

#include <QCoreApplication>
#include <QFile>
#include <QLocale>

namespace {

using services::toQString;

}  // namespace

TEncryptApp::TEncryptApp(ProcessState& state, const services::VariantTexts& variant,
                         const framework::KeyboardState& keyboard)
    : state_(state),
      translations_(QFile::decodeName(translationsFolder(framework::installFolder()).c_str()), QStringLiteral("tarvex"),
                    QLocale::system().uiLanguages()),
      translatedVariant_(variant),
      variant_(translatedVariant_.texts()),
      keyboard_(keyboard),
      settings_(variant)
{
    // The run logic's texts go through the same translators as the windows'.
    core::setTextTranslator([](const char* context, const char* english) {
        return QCoreApplication::translate(context, english).toStdString();
    });
}

TEncryptApp::~TEncryptApp()
{
    // The frame stores its position through settings_: destroy it first.
    destroyMainWindow();
    delete splash_.data();
}

TEncryptDialog* TEncryptApp::mainDialog() const { return state_.mainDialog; }

void TEncryptApp::initMainWindow()
{
    const framework::ResourceSet resources(toQString(variant_.resourceRoot));
    splash_ = new framework::SplashWindow(resources.bitmap(variant_.splashBitmap), QSize(400, 300), splashTimeout);
    splash_->showCentred();

    auto* dialog = new TEncryptDialog(*this, state_, variant_, settings_, keyboard_);
    auto frame = std::make_unique<TMainWindow>(toQString(variant_.programTitle), dialog, settings_);

    // The install folder may be longer than any fixed field: it is kept whole.
    state_.programFolder = framework::installFolder();
    state_.helpFilePath =
        helpFilePath(state_.programFolder, variant_.helpFileName, translations_.language().toStdString());
    state_.systemFolders = framework::systemFolders();

    frame->setWindowIcon(resources.icon(variant_.frameIcon));
    const services::StoredOptions stored = settings_.readStoredOptions();
    if (const auto position = services::storedFramePosition(stored)) frame->move(position->x, position->y);
    services::applyStoredOptions(stored, state_.options);
    setMainWindow(std::move(frame));
}

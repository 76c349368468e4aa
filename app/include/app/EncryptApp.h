// The window program's application object: the user's language, splash
// picture, main dialog in its frame, the program's folders and its stored
// options.
#pragma once

#include "services/BuildVariant.h"
#include "services/ProgramSettings.h"
#include "services/TranslatedVariant.h"

#include "framework/Application.h"
#include "framework/SplashWindow.h"
#include "framework/Translations.h"

#include <QPointer>

namespace framework {
class KeyboardState;
}
struct ProcessState;
class TEncryptDialog;

class TEncryptApp : public framework::Application {
public:
    static constexpr int splashTimeout = 1000;

    // `variant` holds the English texts; the program shows them in the user's
    // language where it has a translation for it.
    TEncryptApp(ProcessState& state, const services::VariantTexts& variant, const framework::KeyboardState& keyboard);
    ~TEncryptApp() override;

    TEncryptDialog* mainDialog() const;
    framework::SplashWindow* splash() const { return splash_; }

protected:
    void initMainWindow() override;

private:
    ProcessState& state_;
    framework::Translations translations_;
    services::TranslatedVariantTexts translatedVariant_;
    const services::VariantTexts& variant_;
    const framework::KeyboardState& keyboard_;
    services::ProgramSettings settings_;
    QPointer<framework::SplashWindow> splash_;
};

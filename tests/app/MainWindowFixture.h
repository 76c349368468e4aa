// A window program started as its process entry would, on real widgets
// (offscreen), with the settings in an empty configuration folder and a
// scripted user answering every modal request.
#pragma once

#include "support/ScriptedUserQueue.h"
#include "support/TestConfiguration.h"

#include "app/EncryptApp.h"
#include "app/EncryptDialog.h"
#include "app/ProcessState.h"

#include "framework/KeyboardState.h"
#include "framework/RegistryStore.h"

#include <memory>
#include <optional>

class FakeKeyboard : public framework::KeyboardState {
public:
    bool capsLock = false;
    bool capsLockOn() const override { return capsLock; }
};

class MainWindow : public WithEmptyConfiguration {
protected:
    // Starts a program as its process entry would, with `arguments` read.
    TEncryptDialog* start(services::BuildVariant variant = services::BuildVariant::Encrypt)
    {
        app = std::make_unique<TEncryptApp>(state, services::variantTexts(variant), keyboard);
        EXPECT_TRUE(app->start());
        return app->mainDialog();
    }
    // Ends the program as the user would, and starts it again.
    TEncryptDialog* restart(services::BuildVariant variant = services::BuildVariant::Encrypt)
    {
        app.reset();
        state.options = {};
        return start(variant);
    }
    std::optional<framework::RegistryKey> settingsKey(services::BuildVariant variant = services::BuildVariant::Encrypt)
    {
        const std::string_view path = services::variantTexts(variant).settingsKeyPath;
        return framework::RegistryKey::openOrCreate(QString::fromUtf8(path.data(), qsizetype(path.size())));
    }

    ScriptedUserQueue user;
    framework::ScopedScriptedUser installed{user};
    FakeKeyboard keyboard;
    ProcessState state;
    std::unique_ptr<TEncryptApp> app;
};

// Dialog 5, "Authorisation": a user ID and password that lock both programs.
// At start-up (enter mode) the typed pair is checked against the stored one;
// from the pop-up menu the pair is created, replaced or removed. Optionally
// the password becomes the key of every run (the process's login key).
#pragma once

#include "app/ProcessState.h"
#include "core/SecretText.h"

#include "framework/Dialog.h"
#include "services/BuildVariant.h"
#include "services/ProgramSettings.h"

#include <QByteArray>

class TAuthorisationDialog : public framework::Dialog {
public:
    enum Control { UserIdField = 101, PasswordField = 102, UsePasswordAsKeyBox = 103 };
    static constexpr int fieldLimit = 255;

    TAuthorisationDialog(QWidget* parent, const framework::ResourceSet& resources,
                         const services::VariantTexts& variant, ProcessState& state,
                         services::ProgramSettings& settings);
    ~TAuthorisationDialog() override;

    // True: check the typed pair against the stored one (start-up). False,
    // the default: create, change or remove the pair. Set before running.
    void setEnterMode(bool enter) { enterMode_ = enter; }
    bool enterMode() const { return enterMode_; }
    // Whether the dialog let the user in: a matching pair in enter mode, or a
    // damaged pair replaced by a new one there.
    bool authorised() const { return authorised_; }

protected:
    void setupWindow() override;

private:
    // What the dialog does, chosen from the mode and the stored pair.
    enum class Task { Create, Change, Enter, Repair };

    void okClicked();
    void checkEntry(std::string_view encodedPassword, std::string_view encodedUserId, const SecretText& key);
    void storeNew(bool userIdTyped, bool passwordTyped, std::string_view encodedPassword,
                  std::string_view encodedUserId, const SecretText& key);
    SecretText takeTypedText(int id);
    void setLoginKey(const SecretText& key);
    void say(const QString& text, const QString& caption, framework::MessageIcon icon);

    const services::VariantTexts& variant_;
    ProcessState& state_;
    services::ProgramSettings& settings_;
    bool enterMode_ = false;
    bool authorised_ = false;
    Task task_ = Task::Create;
    QByteArray storedUserId_;
    QByteArray storedPassword_;
};

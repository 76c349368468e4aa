#include "app/AuthorisationDialog.h"

#include "app/EncryptDialog.h"
#include "app/EngineBusy.h"
#include "app/KeyText.h"
#include "app/PassWordDialog.h"
#include "core/EngineGate.h"

#include "services/Credentials.h"

#include <QCoreApplication>

#include <algorithm>
#include <array>
#include <cstring>

#include <string.h>

namespace {

using framework::ControlEvent;
using framework::MessageIcon;
using Response = framework::Response<TAuthorisationDialog>;

QString createCaption()
{
    return QCoreApplication::translate("AuthorisationDialog", "  Authorisation - Create User ID and Password");
}
QString changeCaption()
{
    return QCoreApplication::translate("AuthorisationDialog", "  Authorisation - Change User ID and Password");
}
QString enterCaption()
{
    return QCoreApplication::translate("AuthorisationDialog", "  Authorisation - Enter User ID and Password");
}
QString clearanceCaption() { return QCoreApplication::translate("AuthorisationDialog", "  Security Clearance"); }
// Typed over the password edit, so that the typed text leaves no trace there.
const QString filler =
    QStringLiteral("Here is a long run of filler words that hides what was typed here. Now it is all gone!!!");

using services::toQString;

void wipe(QByteArray& bytes)
{
    if (!bytes.isEmpty()) explicit_bzero(bytes.data(), std::size_t(bytes.size()));
    bytes.clear();
}

// One credential's encoding, in a zero-terminated area that is wiped when it
// goes.
struct Encoded {
    std::array<char, services::credentialSize> bytes{};
    ~Encoded() { explicit_bzero(bytes.data(), bytes.size()); }
    std::string_view area() const { return {bytes.data(), bytes.size()}; }
    std::string_view prefix() const { return services::encodedPrefix(area()); }
};

}  // namespace

TAuthorisationDialog::TAuthorisationDialog(QWidget* parent, const framework::ResourceSet& resources,
                                           const services::VariantTexts& variant, ProcessState& state,
                                           services::ProgramSettings& settings)
    : Dialog(parent, resources, QStringLiteral("5")), variant_(variant), state_(state), settings_(settings)
{}

TAuthorisationDialog::~TAuthorisationDialog()
{
    if (isCreated()) setText(PasswordField, QString());
    wipe(storedUserId_);
    wipe(storedPassword_);
}

void TAuthorisationDialog::setupWindow()
{
    static constexpr std::array responses{
        Response{framework::ResultOk, ControlEvent::Clicked, &TAuthorisationDialog::okClicked},
    };
    bindResponses<TAuthorisationDialog>(this, responses);
    setTextLimit(UserIdField, fieldLimit);
    setTextLimit(PasswordField, fieldLimit);
    focusControl(UserIdField);

    std::optional<QByteArray> userId = settings_.readCredential(QStringLiteral("userid"));
    std::optional<QByteArray> password = settings_.readCredential(QStringLiteral("password"));
    const services::StoredPair pair = services::classifyStoredPair(userId, password);
    if (pair == services::StoredPair::None) {
        task_ = Task::Create;
    } else if (!enterMode_) {
        // A damaged pair can be replaced or removed here like a sound one.
        task_ = Task::Change;
    } else if (pair == services::StoredPair::Complete) {
        task_ = Task::Enter;
        storedUserId_ = *userId;
        storedPassword_ = *password;
    } else {
        // Neither a lock-out for good nor a silent end of the protection: the
        // user is told and must set a new pair before the program opens.
        task_ = Task::Repair;
    }
    if (userId) wipe(*userId);
    if (password) wipe(*password);
    setWindowTitle(task_ == Task::Create || task_ == Task::Repair ? createCaption()
                   : task_ == Task::Change                        ? changeCaption()
                                                                  : enterCaption());
    if (task_ == Task::Repair) {
        say(QCoreApplication::translate("AuthorisationDialog",
                                        "The stored User ID and Password are damaged and can no longer be checked.\n\n"
                                        "Choose a new User ID and Password to protect Tarvex again."),
            toQString(variant_.authorisationCaption), MessageIcon::Exclamation);
    }
}

SecretText TAuthorisationDialog::takeTypedText(int id)
{
    QString typed = text(id);
    SecretText bytes = keyFromTypedText(typed);
    std::fill(typed.begin(), typed.end(), QChar(u'\0'));
    return bytes;
}

void TAuthorisationDialog::say(const QString& message, const QString& caption, MessageIcon icon)
{
    framework::showMessage(this, {message, caption, icon, framework::MessageButtons::Ok});
}

void TAuthorisationDialog::setLoginKey(const SecretText& key)
{
    state_.clearLoginKey();
    if (!isChecked(UsePasswordAsKeyBox)) return;
    // The password is at most 88 bytes, so the terminator always fits.
    const std::size_t kept = std::min(key.size(), state_.loginKey.size() - 1);
    std::memcpy(state_.loginKey.data(), key.c_str(), kept);
}

void TAuthorisationDialog::okClicked()
{
    SecretText userId = takeTypedText(UserIdField);
    SecretText password = takeTypedText(PasswordField);
    setText(PasswordField, filler);
    setText(PasswordField, QString());

    const QString lengthCaption = toQString(variant_.authorisationCaption);
    if (!password.empty() && (password.size() < 8 || password.size() > 88)) {
        say(QCoreApplication::translate("AuthorisationDialog",
                                        "The Password must be between 8 and 88 characters in length"),
            lengthCaption, MessageIcon::Stop);
        return;
    }
    if (!userId.empty() && (userId.size() < 2 || userId.size() > 40)) {
        say(QCoreApplication::translate("AuthorisationDialog",
                                        "The UserID must be between 2 and 40 characters in length"),
            lengthCaption, MessageIcon::Stop);
        return;
    }

    const SecretText key = password;
    Encoded encodedPassword;
    Encoded encodedUserId;
    if (!password.empty()) {
        // A run may hold the engine; the dialog then stays open for a retry.
        const auto pass = tryEngineTurnOrSay(this, variant_);
        if (!pass) return;
        const auto encode = [&](const SecretText& plain, Encoded& into) {
            std::memcpy(into.bytes.data(), plain.c_str(), plain.size());
            auto* bytes = reinterpret_cast<unsigned char*>(into.bytes.data());
            pass->transformBuffer(key.c_str(), bytes, static_cast<int32_t>(plain.size()), bytes, 1, 0, 1);
            if (state_.mainDialog) state_.mainDialog->setProgress(TEncryptDialog::ProgressBar, 0);
        };
        encode(password, encodedPassword);
        if (!userId.empty()) encode(userId, encodedUserId);
    }
    const bool userIdTyped = !userId.empty();
    const bool passwordTyped = !password.empty();
    userId.wipe();
    password.wipe();

    if (task_ == Task::Enter) {
        checkEntry(encodedPassword.prefix(), encodedUserId.prefix(), key);
    } else {
        storeNew(userIdTyped, passwordTyped, encodedPassword.area(), encodedUserId.prefix(), key);
    }
}

void TAuthorisationDialog::checkEntry(std::string_view encodedPassword, std::string_view encodedUserId,
                                      const SecretText& key)
{
    if (!services::credentialMatches(encodedPassword, storedPassword_)) {
        say(QCoreApplication::translate("AuthorisationDialog", "That is not the correct Password"), clearanceCaption(),
            MessageIcon::Exclamation);
        return;
    }
    if (!services::credentialMatches(encodedUserId, storedUserId_)) {
        say(QCoreApplication::translate("AuthorisationDialog", "That is not the correct UserID"), clearanceCaption(),
            MessageIcon::Exclamation);
        return;
    }
    authorised_ = true;
    setLoginKey(key);
    endDialog(framework::ResultOk);
}

void TAuthorisationDialog::storeNew(bool userIdTyped, bool passwordTyped, std::string_view encodedPassword,
                                    std::string_view encodedUserId, const SecretText& key)
{
    const QString failureCaption = toQString(variant_.authorisationCaption);
    if (!userIdTyped && !passwordTyped) {
        if (task_ == Task::Change) {
            const int answer = framework::showMessage(
                this,
                {QCoreApplication::translate("AuthorisationDialog", "Do you want to invalidate password protection ?"),
                 QCoreApplication::translate("AuthorisationDialog", "  No Authorisation For Tarvex ?"),
                 MessageIcon::Question, framework::MessageButtons::YesNo});
            if (answer == framework::ResultYes) {
                state_.clearLoginKey();
                if (!settings_.deleteCredentials()) {
                    say(QCoreApplication::translate("AuthorisationDialog",
                                                    "The User ID and Password could not be removed.\n\n"
                                                    "Tarvex still asks for them at every start."),
                        failureCaption, MessageIcon::Exclamation);
                }
            }
        }
        endDialog(framework::ResultOk);
        return;
    }
    if (!userIdTyped) {
        say(QCoreApplication::translate("AuthorisationDialog", "You must choose a UserID with your Password"),
            clearanceCaption(), MessageIcon::Exclamation);
        return;
    }
    if (!passwordTyped) {
        say(QCoreApplication::translate("AuthorisationDialog", "You must choose a Password with your UserID"),
            clearanceCaption(), MessageIcon::Exclamation);
        return;
    }
    // An encoding that begins with a zero byte would be stored as nothing,
    // and nothing never matches: such a pair would lock its owner out.
    const std::string_view passwordPrefix = services::encodedPrefix(encodedPassword);
    if (passwordPrefix.empty() || encodedUserId.empty()) {
        say(QCoreApplication::translate("AuthorisationDialog",
                                        "This User ID and Password cannot be stored together.\n\n"
                                        "Please choose a different Password."),
            clearanceCaption(), MessageIcon::Exclamation);
        return;
    }

    TPassWordDialog confirmation(this, resources(), key,
                                 QCoreApplication::translate("AuthorisationDialog", "  Confirm Password"));
    if (framework::runModal(confirmation) == framework::ResultOk) {
        services::PadGenerator pad(services::padSeed(encodedPassword));
        QByteArray userIdValue = services::storedCredential(encodedUserId, pad);
        QByteArray passwordValue = services::storedCredential(passwordPrefix, pad);
        const bool stored = settings_.writeCredentials(userIdValue, passwordValue);
        wipe(userIdValue);
        wipe(passwordValue);
        if (stored) {
            setLoginKey(key);
            if (task_ == Task::Repair) authorised_ = true;
        } else {
            state_.clearLoginKey();
            say(QCoreApplication::translate("AuthorisationDialog",
                                            "The new User ID and Password could not be stored.\n\n"
                                            "Tarvex is not protected by a password now."),
                failureCaption, MessageIcon::Exclamation);
        }
    }
    endDialog(framework::ResultOk);
}

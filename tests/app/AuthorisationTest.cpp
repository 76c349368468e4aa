// The authorisation dialog on real widgets (offscreen), driven by a scripted
// user, with the credentials in an empty configuration folder.
#include "support/ScriptedUserQueue.h"
#include "support/TestConfiguration.h"

#include "EngineHeldElsewhere.h"
#include "app/AuthorisationDialog.h"
#include "app/PassWordDialog.h"
#include "app/ProcessState.h"
#include "core/EngineGate.h"

#include "framework/RegistryStore.h"
#include "services/ProgramSettings.h"

#include "tarvex.h"

#include <QDir>
#include <QFile>

#include <algorithm>

#include <cstring>
#include <future>
#include <thread>

using framework::MessageIcon;
using framework::ResultCancel;
using framework::ResultNo;
using framework::ResultOk;
using framework::ResultYes;
using services::BuildVariant;

namespace {

const QString userId = "alice";
const QString password = "open sesame";
const QString clearance = "  Security Clearance";
const QString createCaption = "  Authorisation - Create User ID and Password";
const QString changeCaption = "  Authorisation - Change User ID and Password";
const QString enterCaption = "  Authorisation - Enter User ID and Password";

// The engine's encoding of `text` keyed by `key`, up to its first zero byte.
QByteArray encoded(const QByteArray& text, const QByteArray& key)
{
    QByteArray bytes = text;
    auto* data = reinterpret_cast<unsigned char*>(bytes.data());
    tarvexTransformBuffer(key.constData(), data, int32_t(bytes.size()), data, 1, 0, 1);
    const qsizetype zero = bytes.indexOf('\0');
    return zero < 0 ? bytes : bytes.left(zero);
}

// The pad recurrence worked in 14-bit halves, as the stored form was first
// computed: s = s * (1917 * 2^14 + 7893) + 1 mod 2^28.
struct HalvesPad {
    std::uint32_t high;
    std::uint32_t low;
    explicit HalvesPad(int seed)
    {
        const std::uint32_t s = std::uint32_t(seed) & 0xFFFFFFF;
        high = s >> 14;
        low = s & 0x3FFF;
    }
    char next()
    {
        const std::uint32_t lowProduct = low * 7893 + 1;
        const std::uint32_t newHigh = (high * 7893 + low * 1917 + (lowProduct >> 14)) & 0x3FFF;
        low = lowProduct & 0x3FFF;
        high = newHigh;
        const char byte = char((high & 0xFF) ^ 0x80);
        return byte == 0 ? char(1) : byte;
    }
};

// What a confirmed create must have stored for the pair.
std::pair<QByteArray, QByteArray> expectedPair(const QByteArray& user, const QByteArray& pass)
{
    QByteArray storedUser = encoded(user, pass);
    QByteArray storedPass = encoded(pass, pass);
    const qsizetype middle = storedPass.size() / 2;
    HalvesPad pad(middle < storedPass.size() ? int(static_cast<signed char>(storedPass[middle])) : 0);
    while (storedUser.size() < 256) storedUser.append(pad.next());
    while (storedPass.size() < 256) storedPass.append(pad.next());
    return {storedUser, storedPass};
}

class Authorisation : public WithEmptyConfiguration {
protected:
    void SetUp() override
    {
        WithEmptyConfiguration::SetUp();
        settings.emplace(variant);
        common = framework::RegistryKey::openOrCreate("Software\\Quillon\\Tarvex\\Common");
        ASSERT_TRUE(common);
    }

    // Runs the dialog once; the steps type and press as the user would.
    bool run(bool enter, std::function<void(framework::Dialog&)> steps, QString* caption = nullptr)
    {
        TAuthorisationDialog dialog(nullptr, resources, variant, state, *settings);
        dialog.setEnterMode(enter);
        user.dialogSteps.push_back([steps, caption](framework::Dialog& shown) {
            if (caption) *caption = shown.windowTitle();
            steps(shown);
        });
        framework::runModal(dialog);
        EXPECT_TRUE(user.dialogSteps.empty()) << "a dialog the test expected never showed";
        return dialog.authorised();
    }
    static void type(framework::Dialog& dialog, const QString& id, const QString& pass, bool useAsKey = false)
    {
        dialog.setText(TAuthorisationDialog::UserIdField, id);
        dialog.setText(TAuthorisationDialog::PasswordField, pass);
        dialog.setChecked(TAuthorisationDialog::UsePasswordAsKeyBox, useAsKey);
        dialog.press(ResultOk);
    }
    void confirmWith(const QString& retyped)
    {
        user.dialogSteps.push_back([retyped](framework::Dialog& confirm) {
            EXPECT_EQ(confirm.windowTitle(), "  Confirm Password");
            confirm.setText(TPassWordDialog::ConfirmField, retyped);
            confirm.press(ResultOk);
        });
    }
    void create(const QString& id, const QString& pass, bool useAsKey = false)
    {
        run(false, [&](framework::Dialog& dialog) {
            confirmWith(pass);
            type(dialog, id, pass, useAsKey);
            EXPECT_TRUE(dialog.hasEnded());
        });
        ASSERT_TRUE(common->readBinary("userid"));
    }
    void expectMessage(const QString& text, const QString& caption, MessageIcon icon)
    {
        ASSERT_FALSE(user.messages.empty());
        EXPECT_EQ(user.messages.back().text, text);
        EXPECT_EQ(user.messages.back().caption, caption);
        EXPECT_EQ(user.messages.back().icon, icon);
    }
    bool nothingStored() const { return !common->readBinary("userid") && !common->readBinary("password"); }
    std::string loginKey() const { return state.loginKey.data(); }

    ScriptedUserQueue user;
    framework::ScopedScriptedUser installed{user};
    const services::VariantTexts& variant = services::variantTexts(BuildVariant::Encrypt);
    framework::ResourceSet resources{
        QString::fromUtf8(variant.resourceRoot.data(), qsizetype(variant.resourceRoot.size()))};
    ProcessState state;
    std::optional<services::ProgramSettings> settings;
    std::optional<framework::RegistryKey> common;
};

TEST_F(Authorisation, FirstUseOffersCreateAndAnEmptyOkStoresNothing)
{
    QString caption;
    run(
        false,
        [](framework::Dialog& dialog) {
            EXPECT_EQ(dialog.controls().size(), 7u);
            type(dialog, "", "");
            EXPECT_TRUE(dialog.hasEnded());
        },
        &caption);
    EXPECT_EQ(caption, createCaption);
    EXPECT_TRUE(user.messages.empty());
    EXPECT_TRUE(nothingStored());
}

TEST_F(Authorisation, LengthsAreCheckedPasswordFirstAndTheEditIsWiped)
{
    const QString lengthCaption = "Tarvex Encrypt - Authorisation";
    run(false, [&](framework::Dialog& dialog) {
        // A bad user ID too: the password is looked at first.
        for (const QString& shortOrLong : {QString("seven77"), QString(89, 'p'), QString(255, 'p')}) {
            user.messageAnswers.push_back(ResultOk);
            type(dialog, "x", shortOrLong);
            expectMessage("The Password must be between 8 and 88 characters in length", lengthCaption,
                          MessageIcon::Stop);
            EXPECT_FALSE(dialog.hasEnded());
            EXPECT_EQ(dialog.text(TAuthorisationDialog::PasswordField), "");
            EXPECT_EQ(dialog.text(TAuthorisationDialog::UserIdField), "x");  // the user ID stays
        }
        for (const QString& badId : {QString("x"), QString(41, 'u')}) {
            user.messageAnswers.push_back(ResultOk);
            type(dialog, badId, password);
            expectMessage("The UserID must be between 2 and 40 characters in length", lengthCaption, MessageIcon::Stop);
            EXPECT_FALSE(dialog.hasEnded());
        }
        // The limits themselves are allowed: on to the confirmation.
        user.dialogSteps.push_back([](framework::Dialog& confirm) { confirm.press(ResultCancel); });
        type(dialog, QString(40, 'u'), QString(88, 'p'));
        EXPECT_TRUE(dialog.hasEnded());
    });
    EXPECT_EQ(user.messages.size(), 5u);
    EXPECT_TRUE(nothingStored());
}

TEST_F(Authorisation, AMismatchedConfirmationStaysOpenAndItsCancelStoresNothing)
{
    run(false, [&](framework::Dialog& dialog) {
        user.dialogSteps.push_back([&](framework::Dialog& confirm) {
            user.messageAnswers.push_back(ResultOk);
            confirm.setText(TPassWordDialog::ConfirmField, password + "!");
            confirm.press(ResultOk);
            expectMessage("Key does not match original entry", "Security Warning", MessageIcon::Exclamation);
            EXPECT_FALSE(confirm.hasEnded());
            confirm.press(ResultCancel);
        });
        type(dialog, userId, password, true);
        EXPECT_TRUE(dialog.hasEnded());
    });
    EXPECT_TRUE(nothingStored());
    EXPECT_EQ(loginKey(), "");
}

TEST_F(Authorisation, AConfirmedCreateStoresTheEncodedPairPaddedTo256Bytes)
{
    create(userId, password);
    const auto [expectedUser, expectedPass] = expectedPair(userId.toLatin1(), password.toLatin1());
    const QByteArray storedUser = *common->readBinary("userid");
    const QByteArray storedPass = *common->readBinary("password");
    EXPECT_EQ(storedUser.size(), 256);
    EXPECT_EQ(storedPass.size(), 256);
    EXPECT_FALSE(storedUser.contains('\0'));
    EXPECT_FALSE(storedPass.contains('\0'));
    EXPECT_EQ(storedUser, expectedUser);
    EXPECT_EQ(storedPass, expectedPass);
    EXPECT_FALSE(storedUser.contains(userId.toLatin1()));  // the plain texts are never stored
    EXPECT_FALSE(storedPass.contains(password.toLatin1()));
    EXPECT_EQ(loginKey(), "");

    // Again with the same texts, over the stored pair: the same bytes.
    QString caption;
    run(
        false,
        [&](framework::Dialog& dialog) {
            confirmWith(password);
            type(dialog, userId, password);
        },
        &caption);
    EXPECT_EQ(caption, changeCaption);
    EXPECT_EQ(*common->readBinary("userid"), storedUser);
    EXPECT_EQ(*common->readBinary("password"), storedPass);
}

TEST_F(Authorisation, EnterModeLetsTheRightPairInAfterWrongTries)
{
    create(userId, password);
    QString caption;
    const bool in = run(
        true,
        [&](framework::Dialog& dialog) {
            user.messageAnswers.push_back(ResultOk);
            type(dialog, userId, "not the password");
            expectMessage("That is not the correct Password", clearance, MessageIcon::Exclamation);
            EXPECT_FALSE(dialog.hasEnded());
            user.messageAnswers.push_back(ResultOk);
            type(dialog, "bob", password);
            expectMessage("That is not the correct UserID", clearance, MessageIcon::Exclamation);
            user.messageAnswers.push_back(ResultOk);
            type(dialog, userId, "");
            expectMessage("That is not the correct Password", clearance, MessageIcon::Exclamation);
            EXPECT_FALSE(dialog.hasEnded());
            type(dialog, userId, password);
            EXPECT_TRUE(dialog.hasEnded());
        },
        &caption);
    EXPECT_EQ(caption, enterCaption);
    EXPECT_TRUE(in);
    EXPECT_EQ(loginKey(), "");
    EXPECT_EQ(user.messages.size(), 3u);

    // Cancel lets no one in.
    EXPECT_FALSE(run(true, [](framework::Dialog& dialog) { dialog.press(ResultCancel); }));
}

TEST_F(Authorisation, TheCheckedBoxMakesThePasswordTheLoginKey)
{
    create(userId, password, true);
    EXPECT_EQ(loginKey(), password.toStdString());
    EXPECT_TRUE(run(true, [](framework::Dialog& dialog) { type(dialog, userId, password, true); }));
    EXPECT_EQ(loginKey(), password.toStdString());
    // Unchecked at the next login: the key goes.
    EXPECT_TRUE(run(true, [](framework::Dialog& dialog) { type(dialog, userId, password, false); }));
    EXPECT_EQ(loginKey(), "");
    for (char byte : state.loginKey) ASSERT_EQ(byte, '\0');
}

TEST_F(Authorisation, EmptyOkUnderTheChangeCaptionRemovesThePairOnYesOnly)
{
    create(userId, password, true);
    run(false, [&](framework::Dialog& dialog) {
        user.messageAnswers.push_back(ResultNo);
        type(dialog, "", "");
        expectMessage("Do you want to invalidate password protection ?", "  No Authorisation For Tarvex ?",
                      MessageIcon::Question);
        EXPECT_EQ(user.messages.back().buttons, framework::MessageButtons::YesNo);
        EXPECT_TRUE(dialog.hasEnded());
    });
    EXPECT_FALSE(nothingStored());
    EXPECT_EQ(loginKey(), password.toStdString());
    run(false, [&](framework::Dialog& dialog) {
        user.messageAnswers.push_back(ResultYes);
        type(dialog, "", "");
    });
    EXPECT_TRUE(nothingStored());
    EXPECT_FALSE(settings->userIdStored());
    EXPECT_EQ(loginKey(), "");
}

TEST_F(Authorisation, HalfAPairIsRefusedWithTheMissingHalfNamed)
{
    run(false, [&](framework::Dialog& dialog) {
        user.messageAnswers.push_back(ResultOk);
        type(dialog, userId, "");
        expectMessage("You must choose a Password with your UserID", clearance, MessageIcon::Exclamation);
        user.messageAnswers.push_back(ResultOk);
        type(dialog, "", password);
        expectMessage("You must choose a UserID with your Password", clearance, MessageIcon::Exclamation);
        EXPECT_FALSE(dialog.hasEnded());
        dialog.press(ResultCancel);
    });
    EXPECT_TRUE(nothingStored());
}

TEST_F(Authorisation, ADamagedPairIsReportedAndMustBeSetAgainBeforeTheProgramOpens)
{
    const QString damaged = "The stored User ID and Password are damaged and can no longer be checked.\n\n"
                            "Choose a new User ID and Password to protect Tarvex again.";
    const QByteArray leftover(256, '\x41');
    for (const std::optional<QByteArray>& badPassword :
         {std::optional<QByteArray>(), std::optional<QByteArray>(QByteArray(255, '\x42'))}) {
        user.messages.clear();
        ASSERT_TRUE(common->writeBinary("userid", leftover));
        common->deleteValue("password");
        if (badPassword) {
            ASSERT_TRUE(common->writeBinary("password", *badPassword));
        }
        EXPECT_TRUE(settings->userIdStored());

        // Leaving without a new pair neither opens the program nor drops the lock.
        QString caption;
        user.messageAnswers.push_back(ResultOk);
        EXPECT_FALSE(run(
            true, [](framework::Dialog& dialog) { type(dialog, "", ""); }, &caption));
        EXPECT_EQ(caption, createCaption);
        expectMessage(damaged, "Tarvex Encrypt - Authorisation", MessageIcon::Exclamation);
        EXPECT_EQ(common->readBinary("userid"), leftover);

        // A new pair opens it, and the next start checks that pair.
        user.messageAnswers.push_back(ResultOk);
        EXPECT_TRUE(run(true, [&](framework::Dialog& dialog) {
            confirmWith(password);
            type(dialog, userId, password);
        }));
        const auto [expectedUser, expectedPass] = expectedPair(userId.toLatin1(), password.toLatin1());
        EXPECT_EQ(common->readBinary("userid"), expectedUser);
        EXPECT_EQ(common->readBinary("password"), expectedPass);
        EXPECT_TRUE(run(true, [](framework::Dialog& dialog) { type(dialog, userId, password); }));
    }
}

TEST_F(Authorisation, ABusyEngineRefusesTheEncodingAndKeepsTheDialogOpen)
{
    EngineHeldElsewhere engine;
    run(false, [&](framework::Dialog& dialog) {
        user.messageAnswers.push_back(ResultOk);
        type(dialog, userId, password);
        expectMessage(services::toQString(variant.engineBusy), "Tarvex - Encrypt", MessageIcon::Exclamation);
        EXPECT_FALSE(dialog.hasEnded());
        EXPECT_TRUE(nothingStored());
        engine.release();
        confirmWith(password);
        type(dialog, userId, password);
        EXPECT_TRUE(dialog.hasEnded());
    });
    EXPECT_EQ(common->readBinary("userid"), expectedPair(userId.toLatin1(), password.toLatin1()).first);
}

TEST_F(Authorisation, AFailedWriteIsReportedAndGrantsNoLoginKey)
{
    // The common key's file turns into a folder: nothing can be written.
    const QString file = common->filePath();
    QFile::remove(file);
    ASSERT_TRUE(QDir().mkpath(file));
    run(false, [&](framework::Dialog& dialog) {
        user.messageAnswers.push_back(ResultOk);
        confirmWith(password);
        type(dialog, userId, password, true);
        expectMessage("The new User ID and Password could not be stored.\n\n"
                      "Tarvex is not protected by a password now.",
                      "Tarvex Encrypt - Authorisation", MessageIcon::Exclamation);
    });
    EXPECT_EQ(loginKey(), "");
    QDir(file).removeRecursively();
}

TEST_F(Authorisation, EachProgramCaptionsTheKeyBoxItsOwnWay)
{
    for (const auto& [build, caption] : {std::pair{BuildVariant::Encrypt, "Use Password As Tarvex Key"},
                                         std::pair{BuildVariant::Decrypt, "Use Password as Tarvex Key"}}) {
        const services::VariantTexts& texts = services::variantTexts(build);
        const framework::ResourceSet set(
            QString::fromUtf8(texts.resourceRoot.data(), qsizetype(texts.resourceRoot.size())));
        const auto shape = set.dialogTemplate("5");
        ASSERT_TRUE(shape);
        EXPECT_EQ(shape->caption, "  Authorisation");
        EXPECT_EQ(shape->widthUnits, 240);
        EXPECT_EQ(shape->heightUnits, 60);
        const auto box = std::find_if(shape->controls.begin(), shape->controls.end(),
                                      [](const auto& control) { return control.id == 103; });
        ASSERT_NE(box, shape->controls.end());
        EXPECT_EQ(box->caption, caption);
    }
}

TEST_F(Authorisation, APasswordWhoseEncodingWouldStoreNothingIsRefused)
{
    // A password encoding to a leading zero byte would be stored as nothing,
    // which no later entry can match.
    QString unusable;
    for (int i = 0; i < 20000 && unusable.isEmpty(); ++i) {
        const QString candidate = QString("password%1").arg(i);
        if (encoded(candidate.toLatin1(), candidate.toLatin1()).isEmpty()) unusable = candidate;
    }
    ASSERT_FALSE(unusable.isEmpty());
    run(false, [&](framework::Dialog& dialog) {
        user.messageAnswers.push_back(ResultOk);
        type(dialog, userId, unusable);
        expectMessage("This User ID and Password cannot be stored together.\n\nPlease choose a different Password.",
                      clearance, MessageIcon::Exclamation);
        EXPECT_FALSE(dialog.hasEnded());
        dialog.press(ResultCancel);
    });
    EXPECT_TRUE(nothingStored());
}

}  // namespace

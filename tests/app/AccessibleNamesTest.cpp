// What a screen reader learns of each control of both programs, through the
// accessibility interfaces that the desktop's reader is given.
#include "MainWindowFixture.h"

#include "app/AuthorisationDialog.h"
#include "app/ConfirmDialog.h"
#include "app/LogDialog.h"
#include "app/LogPasswordDialog.h"
#include "app/PassWordDialog.h"

#include "services/ProgramSettings.h"

#include <QAccessible>

#include <algorithm>
#include <functional>
#include <memory>

using framework::Dialog;
using services::BuildVariant;

namespace {

QAccessibleInterface* accessible(QWidget* widget) { return QAccessible::queryAccessibleInterface(widget); }

// The controls a user works with, each with the role and name a reader gets.
std::vector<std::pair<QAccessible::Role, QString>> workedControls(QWidget& dialog)
{
    std::vector<std::pair<QAccessible::Role, QString>> found;
    QAccessibleInterface* root = accessible(&dialog);
    for (int i = 0; root && i < root->childCount(); ++i) {
        QAccessibleInterface* child = root->child(i);
        switch (child->role()) {
        case QAccessible::PushButton:
        case QAccessible::CheckBox:
        case QAccessible::EditableText:
        case QAccessible::ProgressBar:
        case QAccessible::Graphic:
        case QAccessible::List: found.emplace_back(child->role(), child->text(QAccessible::Name)); break;
        default: break;
        }
    }
    return found;
}

class AccessibleNames : public MainWindow {};

}  // namespace

TEST_F(AccessibleNames, EveryControlOfTheMainWindowIsNamedAsItReadsAndTheKeyIsNeverSpoken)
{
    for (const BuildVariant which : {BuildVariant::Encrypt, BuildVariant::Decrypt}) {
        TEncryptDialog* dialog = restart(which);
        ASSERT_NE(dialog, nullptr);
        const QString direction = which == BuildVariant::Encrypt ? "Encrypt" : "Decrypt";
        using Named = std::pair<QString, QAccessible::Role>;
        std::vector<Named> named;
        for (const auto& [role, name] : workedControls(*dialog)) named.emplace_back(name, role);
        std::vector<Named> expected = {
            {direction, QAccessible::EditableText},
            {"Show the selected files", QAccessible::PushButton},
            {"To", QAccessible::EditableText},
            {"Key", QAccessible::EditableText},
            {"Confirm Overwrite", QAccessible::CheckBox},
            {"BlowFish Only", QAccessible::CheckBox},
            {"Save Options", QAccessible::CheckBox},
            {"Progress of the current file", QAccessible::ProgressBar},
            {direction, QAccessible::PushButton},
            {"Close", QAccessible::PushButton},
            {"Browse...", QAccessible::PushButton},
            {"Help", QAccessible::PushButton},
            {"Padlock", QAccessible::Graphic},
        };
        std::sort(named.begin(), named.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(named, expected);

        dialog->setText(TEncryptDialog::KeyField, "a secret key");
        QAccessibleInterface* key = accessible(dialog->control(TEncryptDialog::KeyField));
        EXPECT_TRUE(key->state().passwordEdit);
        EXPECT_FALSE(key->text(QAccessible::Value).contains("secret"));
    }
}

TEST_F(AccessibleNames, TheFieldsOfEveryOtherDialogAreNamedByTheirLabelsOrTheirDialog)
{
    TEncryptDialog* main = start();
    ASSERT_NE(main, nullptr);
    const services::VariantTexts& texts = services::variantTexts(BuildVariant::Encrypt);
    services::ProgramSettings settings(texts);
    const std::function<std::unique_ptr<Dialog>()> dialogs[] = {
        [&] { return std::make_unique<TPassWordDialog>(main, main->resources(), SecretText("a key of mine")); },
        [&] { return std::make_unique<TAuthorisationDialog>(main, main->resources(), texts, state, settings); },
        [&] { return std::make_unique<TLogPasswordDialog>(main, main->resources(), texts); },
        [&] { return std::make_unique<TLogDialog>(main, main->resources(), texts, state); },
        [&] { return std::make_unique<TConfirmDialog>(main, main->resources(), QStringLiteral("Overwrite it?")); },
    };
    std::vector<QString> fieldNames;
    for (const auto& make : dialogs) {
        const std::unique_ptr<Dialog> dialog = make();
        ASSERT_TRUE(dialog->create());
        for (const auto& [role, name] : workedControls(*dialog)) {
            EXPECT_FALSE(name.isEmpty()) << dialog->windowTitle().toStdString() << ": " << role;
            if (role == QAccessible::EditableText || role == QAccessible::List) fieldNames.push_back(name);
        }
    }
    EXPECT_EQ(fieldNames, (std::vector<QString>{"Type it once more to confirm", "User ID", "Password",
                                                "Key For Log Encryption", "Encryption Log"}));
}

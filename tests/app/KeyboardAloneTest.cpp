// Every dialog of both programs used with the keyboard alone: Tab reaches
// every control once, and no two controls of a dialog share an access key.
#include "MainWindowFixture.h"

#include "app/AuthorisationDialog.h"
#include "app/ConfirmDialog.h"
#include "app/FilesDialog.h"
#include "app/LogDialog.h"
#include "app/LogPasswordDialog.h"
#include "app/PassWordDialog.h"

#include "services/ProgramSettings.h"
#include "services/StringList.h"

#include <QApplication>
#include <QRegularExpression>
#include <QTest>

#include <functional>
#include <memory>
#include <set>

using framework::ControlKind;
using framework::Dialog;
using services::BuildVariant;

namespace {

bool takesFocus(ControlKind kind)
{
    switch (kind) {
    case ControlKind::Edit:
    case ControlKind::PasswordEdit:
    case ControlKind::ListBox:
    case ControlKind::PushButton:
    case ControlKind::DefaultPushButton:
    case ControlKind::CheckBox: return true;
    default: return false;
    }
}

// Tabs once round the dialog from its first control, with real key presses
// on whatever has the focus, and says what it met on the way.
std::vector<QWidget*> tabRound(QWidget* first)
{
    first->setFocus(Qt::TabFocusReason);
    std::vector<QWidget*> met{QApplication::focusWidget()};
    for (int presses = 0; presses < 40; ++presses) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        if (QApplication::focusWidget() == met.front()) break;
        met.push_back(QApplication::focusWidget());
    }
    return met;
}

void expectEveryControlByTabAndDistinctAccessKeys(Dialog& dialog)
{
    const std::string name = dialog.windowTitle().toStdString();
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog)) << name;

    std::vector<QWidget*> expected;
    std::multiset<QChar> accessKeys;
    static const QRegularExpression accessKey(QStringLiteral("&([^&])"));
    for (const Dialog::ControlView& control : dialog.controls()) {
        if (!takesFocus(control.kind) || control.id == -1) continue;
        QWidget* widget = dialog.control(control.id);
        if (widget->isEnabled() && widget->isVisible()) expected.push_back(widget);
        if (control.kind != ControlKind::Edit && control.kind != ControlKind::PasswordEdit &&
            control.kind != ControlKind::ListBox) {
            const QRegularExpressionMatch found = accessKey.match(control.text);
            if (found.hasMatch()) accessKeys.insert(found.captured(1).at(0).toLower());
        }
    }
    ASSERT_FALSE(expected.empty()) << name;
    const std::vector<QWidget*> met = tabRound(expected.front());
    EXPECT_EQ(std::set<QWidget*>(met.begin(), met.end()), std::set<QWidget*>(expected.begin(), expected.end())) << name;
    EXPECT_EQ(met.size(), expected.size()) << name << ": a control met twice in one round";
    for (const QChar key : accessKeys)
        EXPECT_EQ(accessKeys.count(key), 1u) << name << ": access key " << key.toLatin1();
    dialog.hide();
}

class KeyboardAlone : public MainWindow {};

}  // namespace

TEST_F(KeyboardAlone, TabReachesEveryControlOfEveryDialogAndNoAccessKeyIsShared)
{
    for (const BuildVariant which : {BuildVariant::Encrypt, BuildVariant::Decrypt}) {
        TEncryptDialog* main = restart(which);
        ASSERT_NE(main, nullptr);
        expectEveryControlByTabAndDistinctAccessKeys(*main);

        const services::VariantTexts& texts = services::variantTexts(which);
        services::ProgramSettings settings(texts);
        services::StringList files;
        files.add("/home/ann/one.txt");
        files.add("/home/ann/two.txt");
        const std::function<std::unique_ptr<Dialog>()> dialogs[] = {
            [&] { return std::make_unique<TPassWordDialog>(main, main->resources(), SecretText("a key of mine")); },
            [&] { return std::make_unique<TAuthorisationDialog>(main, main->resources(), texts, state, settings); },
            [&] { return std::make_unique<TLogPasswordDialog>(main, main->resources(), texts); },
            [&] { return std::make_unique<TLogDialog>(main, main->resources(), texts, state); },
            [&] { return std::make_unique<TConfirmDialog>(main, main->resources(), QStringLiteral("Overwrite?")); },
            [&] { return std::make_unique<TFilesDialog>(main, main->resources(), texts, files); },
        };
        for (const auto& make : dialogs) {
            const std::unique_ptr<Dialog> dialog = make();
            ASSERT_TRUE(dialog->create());
            expectEveryControlByTabAndDistinctAccessKeys(*dialog);
        }
    }
}

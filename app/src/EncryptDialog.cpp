#include "app/EncryptDialog.h"

#include "app/ProcessState.h"

#include "services/ProgramSettings.h"

#include "framework/Application.h"
#include "framework/HelpViewer.h"
#include "framework/KeyboardState.h"
#include "framework/Platform.h"

#include <QGuiApplication>
#include <QPainter>

#include <array>

namespace {

using framework::ControlEvent;
using Response = framework::Response<TEncryptDialog>;

QString toQString(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// Where the 85 by 120 picture of the picture area is drawn.
constexpr QPoint picturePosition(312, 136);
constexpr QSize pictureSize(85, 120);

}  // namespace

TEncryptDialog::TEncryptDialog(framework::Application& application, ProcessState& state,
                               const services::VariantTexts& variant, services::ProgramSettings& settings,
                               const framework::KeyboardState& keyboard)
    : Dialog(nullptr, framework::ResourceSet(toQString(variant.resourceRoot)), QStringLiteral("MYDIALOG")),
      application_(application),
      state_(state),
      variant_(variant),
      settings_(settings),
      keyboard_(keyboard)
{
}

void TEncryptDialog::setupWindow()
{
    static constexpr std::array responses{
        Response{CloseButton, ControlEvent::Clicked, &TEncryptDialog::closeButtonClicked},
        Response{HelpButton, ControlEvent::Clicked, &TEncryptDialog::helpButtonClicked},
        Response{SourceField, ControlEvent::GainedFocus, &TEncryptDialog::sourceFieldFocused},
        Response{TargetField, ControlEvent::GainedFocus, &TEncryptDialog::targetFieldFocused},
        Response{KeyField, ControlEvent::GainedFocus, &TEncryptDialog::keyFieldFocused},
    };
    bindResponses<TEncryptDialog>(this, responses);
    for (int field : {SourceField, TargetField, KeyField}) setTextLimit(field, fieldLimit);
    // The current directory may change while the program is in the background.
    QObject::connect(qGuiApp, &QGuiApplication::applicationStateChanged, this, [this] { showCurrentFolder(); });

    startDialogTimer(KeyHintTimer, keyHintInterval);
    if (!passStartupLogin()) {
        application_.endProcess(1);
        return;
    }
    applyLoginKeyToKeyField();
    showCurrentFolder();
    applyStartupSelection();
    setOptionBoxes();
}

// The credential check comes with the authorisation dialog. Until it exists a
// program whose user ID is stored cannot check it, and must not open.
bool TEncryptDialog::passStartupLogin() { return !settings_.userIdStored(); }

void TEncryptDialog::applyLoginKeyToKeyField()
{
    if (state_.hasLoginKey()) setText(KeyField, QString());
    setReadOnly(KeyField, state_.hasLoginKey());
    if (QWidget* field = control(KeyField)) field->update();
}

void TEncryptDialog::applyStartupSelection()
{
    const int count = state_.selectedFiles.count();
    if (count > 1) {
        setText(SourceField, toQString(variant_.filesSelected).replace("%d", QString::number(count)));
        singlePathMode_ = false;
        focusControl(KeyField);
    } else if (count == 1) {
        setText(SourceField, QString::fromStdString(state_.selectedFiles.getAt(0)));
        singlePathMode_ = true;
    }
}

void TEncryptDialog::setOptionBoxes()
{
    const services::OptionFlags& options = state_.options;
    setChecked(ConfirmOverwriteBox, !options.optionNoConfirm);
    setChecked(BlowFishOnlyBox, options.optionBlowFishOnly);
    setChecked(SaveOptionsBox, options.optionSaveOptions);
}

void TEncryptDialog::showCurrentFolder()
{
    const QString folder = framework::currentDirectory();
    setText(CurrentFolderLine, folder.size() > shownFolderLength ? folder.left(shownFolderLength) + "..." : folder);
}

void TEncryptDialog::updateKeyHint()
{
    if (state_.hasLoginKey()) setText(KeyHintLine, QStringLiteral("Login Password !"));
    else if (keyboard_.capsLockOn()) setText(KeyHintLine, QStringLiteral("CAPS LOCK ON !"));
    else setText(KeyHintLine, QString());
}

void TEncryptDialog::dialogTimerTick(int id)
{
    if (id == KeyHintTimer) updateKeyHint();
}

void TEncryptDialog::paint(QPainter& painter)
{
    if (shownPicture_ == 0) return;
    painter.drawPixmap(picturePosition, resources().bitmap(shownPicture_), QRect(QPoint(0, 0), pictureSize));
}

void TEncryptDialog::closeButtonClicked()
{
    if (isChecked(SaveOptionsBox)) settings_.saveOptions(isChecked(ConfirmOverwriteBox), isChecked(BlowFishOnlyBox));
    stopDialogTimer(KeyHintTimer);
    closeWindow();
}

void TEncryptDialog::helpButtonClicked() { framework::showHelpFile(control(HelpButton), state_.helpFilePath); }

void TEncryptDialog::sourceFieldFocused()
{
    lastFocusedEdit_ = FocusedEdit::Source;
    if (state_.selectedFiles.count() == 0) singlePathMode_ = true;
}

void TEncryptDialog::targetFieldFocused() { lastFocusedEdit_ = FocusedEdit::Target; }

void TEncryptDialog::keyFieldFocused() { lastFocusedEdit_ = FocusedEdit::Key; }

#include "app/LogPasswordDialog.h"

#include "app/KeyText.h"

#include <QCoreApplication>

#include <array>
#include <utility>

namespace {

using framework::ControlEvent;
using Response = framework::Response<TLogPasswordDialog>;

}  // namespace

TLogPasswordDialog::TLogPasswordDialog(QWidget* parent, const framework::ResourceSet& resources,
                                       const services::VariantTexts& variant, QString caption, bool blowFishOnly)
    : Dialog(parent, resources, QString::number(variant.logPasswordTemplate)),
      caption_(std::move(caption)),
      startsBlowFishOnly_(blowFishOnly)
{}

// The typed key goes with the dialog.
TLogPasswordDialog::~TLogPasswordDialog() { setText(KeyField, QString()); }

void TLogPasswordDialog::setupWindow()
{
    static constexpr std::array responses{
        Response{framework::ResultOk, ControlEvent::Clicked, &TLogPasswordDialog::okClicked},
        Response{framework::ResultCancel, ControlEvent::Clicked, &TLogPasswordDialog::cancelClicked},
    };
    bindResponses<TLogPasswordDialog>(this, responses);
    key_.wipe();
    blowFishOnly_ = startsBlowFishOnly_;
    setText(KeyField, QString());
    setChecked(BlowFishOnlyBox, startsBlowFishOnly_);
    setTextLimit(KeyField, fieldLimit);
    if (!caption_.isEmpty()) setWindowTitle(caption_);
    focusControl(KeyField);
}

void TLogPasswordDialog::okClicked()
{
    blowFishOnly_ = isChecked(BlowFishOnlyBox);
    key_ = keyFromTypedText(text(KeyField));
    if (key_.size() >= shortestKey && key_.size() <= longestKey) {
        endDialog(framework::ResultOk);
        return;
    }
    key_.wipe();
    framework::showMessage(
        this, {QCoreApplication::translate(
                   "LogPasswordDialog",
                   "That is not a valid password.\nThe password must be between 8 and 88 characters long."),
               QCoreApplication::translate("LogPasswordDialog", "Invalid Password"), framework::MessageIcon::Stop,
               framework::MessageButtons::Ok});
}

void TLogPasswordDialog::cancelClicked()
{
    key_.wipe();
    endDialog(framework::ResultCancel);
}

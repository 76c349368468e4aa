#include "app/PassWordDialog.h"

#include "app/KeyText.h"

#include <QCoreApplication>

#include <array>
#include <utility>

namespace {

using framework::ControlEvent;
using Response = framework::Response<TPassWordDialog>;

}  // namespace

TPassWordDialog::TPassWordDialog(QWidget* parent, const framework::ResourceSet& resources,
                                 const SecretText& originalKey, QString caption)
    : Dialog(parent, resources, QStringLiteral("201")), originalKey_(originalKey), caption_(std::move(caption))
{}

// The retyped text goes with the dialog.
TPassWordDialog::~TPassWordDialog() { setText(ConfirmField, QString()); }

void TPassWordDialog::setupWindow()
{
    static constexpr std::array responses{
        Response{framework::ResultOk, ControlEvent::Clicked, &TPassWordDialog::okClicked},
    };
    bindResponses<TPassWordDialog>(this, responses);
    setTextLimit(ConfirmField, fieldLimit);
    if (!caption_.isEmpty()) setWindowTitle(caption_);
    focusControl(ConfirmField);
}

void TPassWordDialog::okClicked()
{
    const SecretText retyped = keyFromTypedText(text(ConfirmField));
    if (retyped.text() == originalKey_.text()) {
        endDialog(framework::ResultOk);
        return;
    }
    framework::showMessage(this, {QCoreApplication::translate("PassWordDialog", "Key does not match original entry"),
                                  QCoreApplication::translate("PassWordDialog", "Security Warning"),
                                  framework::MessageIcon::Exclamation, framework::MessageButtons::Ok});
}

#include "app/ConfirmDialog.h"

#include "core/OverwriteDecision.h"

#include <QCoreApplication>

#include <array>
#include <utility>

namespace {

using framework::ControlEvent;
using Response = framework::Response<TConfirmDialog>;

}  // namespace

TConfirmDialog::TConfirmDialog(QWidget* parent, const framework::ResourceSet& resources, QString promptText)
    : Dialog(parent, resources, QStringLiteral("400")), promptText_(std::move(promptText))
{}

void TConfirmDialog::setupWindow()
{
    static constexpr std::array responses{
        Response{AnswerYesToAll, ControlEvent::Clicked, &TConfirmDialog::yesToAllClicked},
        Response{AnswerYes, ControlEvent::Clicked, &TConfirmDialog::yesClicked},
        Response{AnswerNo, ControlEvent::Clicked, &TConfirmDialog::noClicked},
        Response{AnswerCancel, ControlEvent::Clicked, &TConfirmDialog::cancelClicked},
    };
    bindResponses<TConfirmDialog>(this, responses);
    setText(QuestionText, promptText_);
    describePictures(QCoreApplication::translate("ConfirmDialog", "Padlock"));
}

void TConfirmDialog::reject() { endDialog(AnswerCancel); }

void TConfirmDialog::yesToAllClicked() { endDialog(AnswerYesToAll); }
void TConfirmDialog::yesClicked() { endDialog(AnswerYes); }
void TConfirmDialog::noClicked() { endDialog(AnswerNo); }
void TConfirmDialog::cancelClicked() { endDialog(AnswerCancel); }

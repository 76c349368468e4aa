// Dialog 400: the overwrite question, with Yes, Yes To All, No and Cancel.
#pragma once

#include "framework/Dialog.h"

class TConfirmDialog : public framework::Dialog {
public:
    enum Control { QuestionText = 4444 };

    TConfirmDialog(QWidget* parent, const framework::ResourceSet& resources, QString promptText);

protected:
    void setupWindow() override;
    // Esc must never overwrite a file: it answers Cancel.
    void reject() override;

private:
    void yesToAllClicked();
    void yesClicked();
    void noClicked();
    void cancelClicked();

    QString promptText_;
};

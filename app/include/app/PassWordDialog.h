// Dialog 201, "Confirm Key": a typed key or password is typed a second time,
// so that a slip of the fingers is caught before anything is encrypted with it.
#pragma once

#include "core/SecretText.h"

#include "framework/Dialog.h"

class TPassWordDialog : public framework::Dialog {
public:
    enum Control { ConfirmField = 202 };
    static constexpr int fieldLimit = 255;

    // `caption` replaces the template's title when given.
    TPassWordDialog(QWidget* parent, const framework::ResourceSet& resources, const SecretText& originalKey,
                    QString caption = {});
    ~TPassWordDialog() override;

protected:
    void setupWindow() override;

private:
    void okClicked();

    SecretText originalKey_;
    QString caption_;
};

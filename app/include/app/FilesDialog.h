// Dialog 1 and the "..." button that shows it: the selection the next run
// will process, in selection order.
#pragma once

#include "services/BuildVariant.h"
#include "services/StringList.h"

#include "framework/Dialog.h"

#include <memory>

class TFilesDialog : public framework::Dialog {
public:
    enum Control { OkButton = 1, FilesList = 101 };

    TFilesDialog(QWidget* parent, const framework::ResourceSet& resources, const services::VariantTexts& variant,
                 const services::StringList& selectedFiles);

protected:
    void setupWindow() override;

private:
    void okClicked();

    const services::VariantTexts& variant_;
    const services::StringList& selectedFiles_;
};

class TEllipsisButton {
public:
    TEllipsisButton(QWidget* owner, const framework::ResourceSet& resources, const services::VariantTexts& variant,
                    const services::StringList& selectedFiles);
    ~TEllipsisButton();

    // Shows the selection in a new list dialog, modally; the one of the
    // click before goes.
    void clicked();

private:
    QWidget* owner_;
    const framework::ResourceSet& resources_;
    const services::VariantTexts& variant_;
    const services::StringList& selectedFiles_;
    std::unique_ptr<TFilesDialog> filesDialog_;
};

#include "app/FilesDialog.h"

#include "core/Paths.h"

#include "framework/PathText.h"

#include <array>

namespace {

using framework::ControlEvent;
using Response = framework::Response<TFilesDialog>;

}  // namespace

TFilesDialog::TFilesDialog(QWidget* parent, const framework::ResourceSet& resources,
                           const services::VariantTexts& variant, const services::StringList& selectedFiles)
    : Dialog(parent, resources, QStringLiteral("1")), variant_(variant), selectedFiles_(selectedFiles)
{}

void TFilesDialog::setupWindow()
{
    static constexpr std::array responses{
        Response{OkButton, ControlEvent::Clicked, &TFilesDialog::okClicked},
    };
    bindResponses<TFilesDialog>(this, responses);
    clearList(FilesList);

    const int count = selectedFiles_.count();
    setWindowTitle(services::selectionSummary(variant_, count));

    QStringList entries;
    for (int i = 0; i < count; ++i) {
        const std::string entry = selectedFiles_.getAt(i);
        // The first entry may be left from a path that no longer names a file.
        if (i == 0 && !isFilePath(entry)) continue;
        entries << framework::displayPath(entry);
    }
    setListItems(FilesList, entries);
}

void TFilesDialog::okClicked() { endDialog(framework::ResultOk); }

TEllipsisButton::TEllipsisButton(QWidget* owner, const framework::ResourceSet& resources,
                                 const services::VariantTexts& variant, const services::StringList& selectedFiles)
    : owner_(owner), resources_(resources), variant_(variant), selectedFiles_(selectedFiles)
{}

TEllipsisButton::~TEllipsisButton() = default;

void TEllipsisButton::clicked()
{
    filesDialog_.reset();
    filesDialog_ = std::make_unique<TFilesDialog>(owner_, resources_, variant_, selectedFiles_);
    framework::runModal(*filesDialog_);
}

#include "app/BrowseButton.h"

#include "app/EncryptDialog.h"
#include "app/ProcessState.h"
#include "core/Paths.h"
#include "core/TargetFiles.h"

#include "framework/Modal.h"
#include "framework/Platform.h"

#include <QCoreApplication>

namespace {

using services::toQString;

QString pickerFilter()
{
    return QCoreApplication::translate("BrowseButton",
                                       "All Files(*.*)|*.*|Text Files(*.txt)|*.txt|Word Document Files(*.doc)|*.doc|"
                                       "Zip Files(*.zip)|*.zip|Word Excel Worksheet(*.xls)|*.xls|");
}

}  // namespace

TBrowseButton::TBrowseButton(TEncryptDialog& dialog, ProcessState& state, const services::VariantTexts& variant)
    : dialog_(dialog), state_(state), variant_(variant)
{}

void TBrowseButton::clicked()
{
    const bool targetMode = dialog_.lastFocusedEdit() == TEncryptDialog::FocusedEdit::Target;
    const int sourceCount = targetMode ? state_.selectedFiles.count() : 0;
    // A target may be a new name; what is to be processed must exist.
    const framework::PickedFiles picked =
        framework::chooseFilesToOpen(&dialog_, {toQString(variant_.pickerTitle), pickerFilter(), true, !targetMode});
    if (!picked.names.empty()) {
        // The next pick opens where this one was made. A running transform
        // keeps its folder: its journal and relative names depend on it.
        if (!dialog_.runIsActive()) framework::setCurrentDirectory(picked.folder);
        if (targetMode) pickTarget(picked, sourceCount);
        else pickSources(picked);
    }
    dialog_.showCurrentFolder();
}

void TBrowseButton::pickSources(const framework::PickedFiles& picked)
{
    state_.selectedFiles.clear();
    if (picked.names.size() == 1) {
        // The field becomes the selection, read again when a run starts.
        const std::string path = picked.pathOf(picked.names.front());
        if (isFilePath(path)) state_.selectedFiles.add(path);
        dialog_.selectSinglePath(path);
        return;
    }
    dialog_.setSinglePathMode(false);
    for (const std::string& name : picked.names) state_.selectedFiles.add(picked.pathOf(name));
    dialog_.focusControl(TEncryptDialog::KeyField);
    dialog_.setText(
        TEncryptDialog::SourceField,
        QCoreApplication::translate("BrowseButton", "%1 files selected").arg(static_cast<int>(picked.names.size())));
}

// One file picked for one source is the target file; otherwise the folder of
// the pick takes every target.
void TBrowseButton::pickTarget(const framework::PickedFiles& picked, int sourceCount)
{
    const bool targetFile = picked.names.size() == 1 && sourceCount <= 1;
    const std::string target = targetFile ? picked.pathOf(picked.names.front()) : picked.folder;
    dialog_.setPathText(TEncryptDialog::TargetField, target);
    // A source in the field is read again at the run's start, with the target
    // field beside it; a list selection takes its targets from the list.
    if (dialog_.singlePathMode()) return;
    if (!targetFile) {
        setTargetDirectory(state_.targetFiles, picked.folder);
        return;
    }
    state_.targetFiles.clear();
    state_.targetFiles.add(target);
}

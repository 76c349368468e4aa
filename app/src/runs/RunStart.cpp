#include "app/RunStart.h"

#include "app/FolderExpansion.h"
#include "core/Paths.h"
#include "core/TargetFiles.h"

#include "framework/FileSystem.h"
#include "framework/Modal.h"
#include "framework/Platform.h"

#include <QCoreApplication>

#include <algorithm>

namespace {

using services::toQString;

void refuse(QWidget* owner, const services::VariantTexts& variant, const QString& text)
{
    framework::showMessage(
        owner, {text, toQString(variant.programTitle), framework::MessageIcon::Stop, framework::MessageButtons::Ok});
}

// Turns the fields into the selection: the source, and the target (in place
// when none is given; spelled as the source when it names the same file).
void rebuildFromFields(const RunStartInputs& inputs, SelectionLists lists)
{
    const std::string& source = inputs.sourceField;
    std::string target = inputs.targetField;
    lists.selectedFiles.clear();
    if (!source.empty()) {
        lists.selectedFiles.add(source);
        if (target.empty() && !isFolderPath(source)) target = source;
        if (!equalIgnoringCase(source, target) && sameFileName(source, target) && framework::sameFile(source, target))
            target = source;
    }
    lists.targetFiles.clear();
    if (isFolderPath(target)) {
        setTargetDirectory(lists.targetFiles, target);
        return;
    }
    lists.targetFiles.add(target);
}

bool isRepeat(const services::StringList& selectedFiles, const services::StringList& processedFiles)
{
    const int count = selectedFiles.count();
    if (count == 0) return false;
    for (int i = 0; i < count; ++i) {
        if (selectedFiles.getAt(i) != processedFiles.getAt(i)) return false;
    }
    return true;
}

}  // namespace

bool sameFileName(const std::string& first, const std::string& second)
{
    return equalIgnoringCase(fileNamePart(first), fileNamePart(second));
}

RunStartResult startRun(const RunStartInputs& inputs, SelectionLists lists, const GuardedFolders& guarded,
                        const services::VariantTexts& variant, QWidget* owner,
                        const std::function<bool(const SecretText&)>& confirmKey)
{
    RunStartResult result;
    if (inputs.runActive) {
        refuse(owner, variant, toQString(variant.stillRunningCannotStart));
        return result;
    }

    // In list mode the selection exists already and the field only names it.
    std::string source;
    bool selectionExists = !inputs.singlePathMode;
    if (inputs.singlePathMode) {
        source = inputs.sourceField;
        rebuildFromFields(inputs, lists);
        selectionExists = isFilePath(source);
        if (!selectionExists && isFolderPath(source)) {
            selectionExists = true;
            lists.selectedFiles.clear();
            // Every start walks the folder afresh and asks its question again.
            if (expandTopLevelFolder(source, lists.selectedFiles, guarded, variant, owner) !=
                ExpansionOutcome::Expanded)
                return result;
        }
    }

    if (lists.selectedFiles.count() > 1) {
        const std::string folder = folderPart(inputs.targetField);
        if (!folder.empty() && isFolderPath(folder)) setTargetDirectory(lists.targetFiles, folder);
    }

    if (isRepeat(lists.selectedFiles, lists.processedFiles)) {
        const int answer = framework::showMessage(
            owner, {toQString(variant.repeatRunQuestion), QCoreApplication::translate("RunStart", "Warning"),
                    framework::MessageIcon::Exclamation, framework::MessageButtons::YesNo});
        if (answer != framework::ResultYes) {
            result.emptySourceField = !inputs.singlePathMode;
            return result;
        }
    }

    if (lists.selectedFiles.count() == 0 && source.empty()) {
        refuse(owner, variant, QCoreApplication::translate("RunStart", "You must select a file to encrypt"));
        return result;
    }
    if (!selectionExists) {
        refuse(owner, variant,
               QCoreApplication::translate("RunStart", "That file does not exist - please select another"));
        return result;
    }
    if (inputs.key.size() < shortestKey || inputs.key.size() > longestKey) {
        refuse(owner, variant, QString::fromStdString(keyLengthRefusal()));
        return result;
    }
    if (!inputs.usingLoginKey && !confirmKey(inputs.key)) return result;

    result.request =
        RunRequest{inputs.key, lists.selectedFiles, lists.targetFiles, inputs.blowFishOnly, inputs.confirmOverWrite};
    return result;
}

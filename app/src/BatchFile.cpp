#include "app/BatchFile.h"

#include "app/FolderExpansion.h"
#include "app/PathList.h"
#include "app/Paths.h"

bool readBatchFile(const std::string& path, BatchSelection selection, const GuardedFolders& guarded,
                   const services::VariantTexts& variant, QWidget* owner)
{
    const auto lines = readPathList(path);
    if (!lines) return false;
    selection.selectedFiles.clear();
    selection.targetFiles.clear();
    for (const std::string& line : *lines) {
        if (isFilePath(line)) {
            selection.selectedFiles.add(line);
        } else if (isFolderPath(line) && expandTopLevelFolder(line, selection.selectedFiles, guarded, variant, owner) ==
                                             ExpansionOutcome::Cancelled) {
            // The user was told the selection is cancelled: none remains.
            selection.selectedFiles.clear();
            break;
        }
    }
    return true;
}

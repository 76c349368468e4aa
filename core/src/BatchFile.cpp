#include "core/BatchFile.h"

#include "core/FolderWalk.h"
#include "core/PathList.h"
#include "core/Paths.h"

bool readBatchFile(const std::string& path, BatchSelection selection, const GuardedFolders& guarded,
                   WalkQuestions& questions)
{
    const auto lines = readPathList(path);
    if (!lines) return false;
    selection.selectedFiles.clear();
    selection.targetFiles.clear();
    for (const std::string& line : *lines) {
        if (isFilePath(line)) {
            selection.selectedFiles.add(line);
        } else if (isFolderPath(line) && expandTopLevelFolder(line, selection.selectedFiles, guarded, questions) ==
                                             ExpansionOutcome::Cancelled) {
            // The user was told the selection is cancelled: none remains.
            selection.selectedFiles.clear();
            break;
        }
    }
    return true;
}

#include "core/FolderWalk.h"

#include "core/FileSystem.h"
#include "core/Paths.h"

FolderWalk::FolderWalk(services::StringList& selectedFiles, const GuardedFolders& guarded, WalkQuestions& questions)
    : selectedFiles_(selectedFiles), guarded_(guarded), questions_(questions)
{}

FolderWalk::Result FolderWalk::walkFolder(const std::string& folder)
{
    if (walkDepth_ + 1 > depthLimit) return Result::TooDeep;
    const auto entries = core::listFolder(folder);
    if (!entries) return Result::Done;

    ++walkDepth_;
    Result result = Result::Done;
    for (const core::FolderEntry& entry : *entries) {
        const std::string path = core::ensureTrailingSeparator(folder) + entry.name;
        if (!entry.isFolder && isFilePath(path)) {
            selectedFiles_.add(path);
            continue;
        }
        if (entry.name.starts_with('.')) continue;
        // Not a folder: a file that cannot be read. It still counts as a
        // subfolder for the question, but there is nothing to enter.
        if (subfolderAnswer_ == WalkQuestions::Answer::Unanswered)
            subfolderAnswer_ = questions_.askAboutSubfolders(folder);
        if (subfolderAnswer_ != WalkQuestions::Answer::Yes || !entry.isFolder) continue;
        if (walkSubfolder(path) == Result::TooDeep) {
            result = Result::TooDeep;
            break;
        }
    }
    --walkDepth_;
    return result;
}

FolderWalk::Result FolderWalk::walkSubfolder(const std::string& subfolder)
{
    if (const auto refusal = checkFolderSafety(subfolder, guarded_)) {
        questions_.refuseSubfolder(*refusal, subfolder);
        return Result::Done;
    }
    return walkFolder(subfolder);
}

ExpansionOutcome expandTopLevelFolder(const std::string& folder, services::StringList& selectedFiles,
                                      const GuardedFolders& guarded, WalkQuestions& questions)
{
    if (const auto refusal = checkFolderSafety(folder, guarded)) {
        questions.refuseFolder(*refusal, folder);
        return ExpansionOutcome::Refused;
    }
    FolderWalk walk(selectedFiles, guarded, questions);
    if (walk.walkFolder(folder) == FolderWalk::Result::TooDeep) {
        questions.cancelForDepth(folder);
        return ExpansionOutcome::Cancelled;
    }
    return ExpansionOutcome::Expanded;
}

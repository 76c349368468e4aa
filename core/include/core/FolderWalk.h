// A folder becomes the files it holds: the folder walk with its subfolder
// question and depth limit, and the expansion of a folder the user selected.
#pragma once

#include "core/FolderSafety.h"

#include "services/StringList.h"

#include <string>

// What a walk asks of the one who started it, and what it tells them.
class WalkQuestions {
public:
    enum class Answer { Yes, No, Unanswered };

    virtual ~WalkQuestions() = default;
    // Whether to enter the subfolders too; asked at the first subfolder met.
    // Unanswered leaves the question open for the next one.
    virtual Answer askAboutSubfolders(const std::string& folder) = 0;
    // A folder the user selected is refused, and left alone.
    virtual void refuseFolder(RefusalKind kind, const std::string& folder) = 0;
    // A subfolder met on the walk is refused; the walk goes on without it.
    virtual void refuseSubfolder(RefusalKind kind, const std::string& subfolder) = 0;
    // The folders nest deeper than the limit: the selection is cancelled.
    virtual void cancelForDepth(const std::string& folder) = 0;
};

class FolderWalk {
public:
    // The selected folder is level 1: a walk may go 8 levels below it.
    static constexpr int depthLimit = 9;
    enum class Result { Done, TooDeep };

    FolderWalk(services::StringList& selectedFiles, const GuardedFolders& guarded, WalkQuestions& questions);

    // Appends the files of `folder` to the selection and, when the user
    // agrees, those of its subfolders, in the order the file system lists
    // them. Links are never followed, dot-folders never entered. TooDeep
    // when the folders nest deeper than the limit; the walk then stops.
    Result walkFolder(const std::string& folder);

private:
    Result walkSubfolder(const std::string& subfolder);

    services::StringList& selectedFiles_;
    const GuardedFolders& guarded_;
    WalkQuestions& questions_;
    WalkQuestions::Answer subfolderAnswer_ = WalkQuestions::Answer::Unanswered;
    int walkDepth_ = 0;
};

enum class ExpansionOutcome { Expanded, Refused, Cancelled };

// Expands a folder the user selected: a refused folder is reported and left
// alone; a walk that goes too deep is reported and cancelled, leaving in the
// selection what it had appended so far.
ExpansionOutcome expandTopLevelFolder(const std::string& folder, services::StringList& selectedFiles,
                                      const GuardedFolders& guarded, WalkQuestions& questions);

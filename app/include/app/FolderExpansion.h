// A folder becomes the files it holds: the folder walk with its subfolder
// question and depth limit, and the expansion of a folder the user selected.
#pragma once

#include "app/FolderSafety.h"

#include "services/BuildVariant.h"
#include "services/StringList.h"

#include <string>

class QWidget;

class FolderWalk {
public:
    // The selected folder is level 1: a walk may go 8 levels below it.
    static constexpr int depthLimit = 9;
    enum class Result { Done, TooDeep };

    // Questions and refusals are shown as message boxes owned by `owner`.
    FolderWalk(services::StringList& selectedFiles, const GuardedFolders& guarded,
               const services::VariantTexts& variant, QWidget* owner);

    // Appends the files of `folder` to the selection and, when the user
    // agrees, those of its subfolders, in the order the file system lists
    // them. Links are never followed, dot-folders never entered. TooDeep
    // when the folders nest deeper than the limit; the walk then stops.
    Result walkFolder(const std::string& folder);

private:
    enum class SubdirectoryAnswer { No = 0, Yes = 1, NotAsked = 2 };

    Result walkSubfolder(const std::string& subfolder);
    void askSubdirectoryQuestion(const std::string& folder);

    services::StringList& selectedFiles_;
    const GuardedFolders& guarded_;
    const services::VariantTexts& variant_;
    QWidget* owner_;
    SubdirectoryAnswer subdirectoryAnswer_ = SubdirectoryAnswer::NotAsked;
    int walkDepth_ = 0;
};

enum class ExpansionOutcome { Expanded, Refused, Cancelled };

// Expands a folder the user selected: a refused folder is reported and left
// alone; a walk that goes too deep is reported and cancelled, leaving in the
// selection what it had appended so far.
ExpansionOutcome expandTopLevelFolder(const std::string& folder, services::StringList& selectedFiles,
                                      const GuardedFolders& guarded, const services::VariantTexts& variant,
                                      QWidget* owner);

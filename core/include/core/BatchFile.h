// Batch files: a selection kept in a text file, one path a line.
#pragma once

#include "core/FolderWalk.h"

#include "services/StringList.h"

#include <string>

struct BatchSelection {
    services::StringList& selectedFiles;
    services::StringList& targetFiles;
};

// Reads the batch file at `path` into a new selection with no targets. Lines
// are read as list files are. A line naming a readable file is taken; one
// naming a folder is expanded as a folder the user selected, with its
// question, refusals and depth limit, and a walk cancelled for its depth
// leaves the whole selection empty; other lines are skipped. False, with the
// selection untouched, when the file cannot be read.
bool readBatchFile(const std::string& path, BatchSelection selection, const GuardedFolders& guarded,
                   WalkQuestions& questions);

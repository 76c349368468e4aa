// The folders a selection must never reach: the system's own folders, the
// folder the program is installed in, and the root of the file system.
#pragma once

#include "services/VariantTable.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class RefusalKind { SystemFolder = 1, ProgramFolder = 2, FileSystemRoot = 3 };

// The folders found at start-up that checkFolderSafety guards.
struct GuardedFolders {
    std::vector<std::string> systemFolders;  // none known: then every folder is refused
    std::string programFolder;               // empty when unknown: then it guards nothing
};

// Whether `folder` may be expanded. Refused: a folder that equals a system
// folder ignoring case or lies below one in the same case, one that equals
// the program folder ignoring case, or the root. A link is judged both as
// written and by the folder it leads to, so it cannot lead a selection past a
// refusal.
std::optional<RefusalKind> checkFolderSafety(const std::string& folder, const GuardedFolders& guarded);

// The text that tells the user why a folder was refused.
std::string_view refusalText(RefusalKind kind, const services::VariantTexts& variant);

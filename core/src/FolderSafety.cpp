#include "core/FolderSafety.h"

#include "core/Paths.h"

#include "core/FileSystem.h"

#include <algorithm>

namespace {

// The folder as the user wrote it and, when it exists, as the file system
// resolves it (links, "." and "..", doubled separators).
std::vector<std::string> formsOf(const std::string& folder)
{
    std::vector<std::string> forms{folder};
    const std::string resolved = core::resolvedPath(folder);
    if (!resolved.empty() && resolved != folder) forms.push_back(resolved);
    return forms;
}

// The system folder itself in any case, or anything below it in the same
// case. Below means below a whole folder name: "/usr-data" is no part of "/usr".
bool isSystemFolder(const std::string& form, const std::vector<std::string>& systemFolders)
{
    if (systemFolders.empty()) return true;
    return std::any_of(systemFolders.begin(), systemFolders.end(), [&](const std::string& systemFolder) {
        return equalIgnoringCase(form, systemFolder) || form.starts_with(core::ensureTrailingSeparator(systemFolder));
    });
}

bool isProgramFolder(const std::string& form, const std::vector<std::string>& programFolderForms)
{
    return std::any_of(programFolderForms.begin(), programFolderForms.end(),
                       [&](const std::string& programForm) { return equalIgnoringCase(form, programForm); });
}

}  // namespace

std::optional<RefusalKind> checkFolderSafety(const std::string& folder, const GuardedFolders& guarded)
{
    const std::vector<std::string> forms = formsOf(folder);
    const std::vector<std::string> programFolderForms =
        guarded.programFolder.empty() ? std::vector<std::string>() : formsOf(guarded.programFolder);
    for (const std::string& form : forms) {
        if (isSystemFolder(form, guarded.systemFolders)) return RefusalKind::SystemFolder;
    }
    for (const std::string& form : forms) {
        if (isProgramFolder(form, programFolderForms)) return RefusalKind::ProgramFolder;
    }
    if (core::isFileSystemRoot(folder)) return RefusalKind::FileSystemRoot;
    return std::nullopt;
}

std::string_view refusalText(RefusalKind kind, const services::VariantTexts& variant)
{
    std::string_view text = variant.rootRefusal;
    if (kind == RefusalKind::SystemFolder) text = variant.systemFolderRefusal;
    else if (kind == RefusalKind::ProgramFolder) text = variant.programFolderRefusal;
    return text;
}

#include "app/FolderSafety.h"

#include "framework/FileSystem.h"
#include "framework/Platform.h"

#include <QStringList>

namespace {

// The folder as the user wrote it and, when it exists, as the file system
// resolves it (links, "." and "..", doubled separators).
QStringList formsOf(const QString& folder)
{
    QStringList forms{folder};
    const QString resolved = framework::resolvedPath(folder);
    if (!resolved.isEmpty() && resolved != folder) forms << resolved;
    return forms;
}

// The system folder itself in any case, or anything below it in the same
// case. Below means below a whole folder name: "/usr-data" is no part of "/usr".
bool isSystemFolder(const QString& form, const QString& systemFolder)
{
    return systemFolder.isEmpty() || form.compare(systemFolder, Qt::CaseInsensitive) == 0 ||
           form.startsWith(framework::ensureTrailingSeparator(systemFolder), Qt::CaseSensitive);
}

bool isProgramFolder(const QString& form, const QStringList& programFolderForms)
{
    for (const QString& programForm : programFolderForms) {
        if (form.compare(programForm, Qt::CaseInsensitive) == 0) return true;
    }
    return false;
}

}  // namespace

std::optional<RefusalKind> checkFolderSafety(const QString& folder, const GuardedFolders& guarded)
{
    const QStringList forms = formsOf(folder);
    const QStringList programFolderForms =
        guarded.programFolder.isEmpty() ? QStringList() : formsOf(guarded.programFolder);
    for (const QString& form : forms) {
        if (isSystemFolder(form, guarded.systemFolder)) return RefusalKind::SystemFolder;
    }
    for (const QString& form : forms) {
        if (isProgramFolder(form, programFolderForms)) return RefusalKind::ProgramFolder;
    }
    if (framework::isFileSystemRoot(folder)) return RefusalKind::FileSystemRoot;
    return std::nullopt;
}

QString refusalText(RefusalKind kind, const services::VariantTexts& variant)
{
    std::string_view text = variant.rootRefusal;
    if (kind == RefusalKind::SystemFolder) text = variant.systemFolderRefusal;
    else if (kind == RefusalKind::ProgramFolder) text = variant.programFolderRefusal;
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

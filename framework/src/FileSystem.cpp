#include "framework/FileSystem.h"

#include <QFile>
#include <QFileInfo>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>

namespace framework {

namespace {

struct DirectoryCloser {
    void operator()(DIR* directory) const { closedir(directory); }
};
using Directory = std::unique_ptr<DIR, DirectoryCloser>;

Directory openDirectory(const QString& path)
{
    if (path.isEmpty()) return nullptr;
    return Directory(opendir(QFile::encodeName(path).constData()));
}

enum class EntryType { RegularFile, Folder, Other };

// The entry's own type, a link being a link: the listing gives it for most
// file systems, the others are asked without following links.
EntryType typeOf(DIR* directory, const dirent& entry)
{
    switch (entry.d_type) {
    case DT_REG: return EntryType::RegularFile;
    case DT_DIR: return EntryType::Folder;
    case DT_UNKNOWN: break;
    default: return EntryType::Other;
    }
    struct stat status {};
    if (fstatat(dirfd(directory), entry.d_name, &status, AT_SYMLINK_NOFOLLOW) != 0) return EntryType::Other;
    if (S_ISREG(status.st_mode)) return EntryType::RegularFile;
    if (S_ISDIR(status.st_mode)) return EntryType::Folder;
    return EntryType::Other;
}

bool isDotOrDotDot(const char* name)
{
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

}  // namespace

bool opensAsRegularFile(const QString& path)
{
    if (path.isEmpty()) return false;
    const QByteArray name = QFile::encodeName(path);
    struct stat named {};
    if (stat(name.constData(), &named) != 0 || !S_ISREG(named.st_mode)) return false;
    // O_NONBLOCK: a pipe swapped in after the check must not hang the open;
    // fstat then tells what was really opened.
    const int descriptor = open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (descriptor < 0) return false;
    struct stat status {};
    const bool regular = fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode);
    close(descriptor);
    return regular;
}

bool opensAsFolder(const QString& path) { return openDirectory(path) != nullptr; }

std::optional<std::vector<FolderEntry>> listFolder(const QString& folder)
{
    const Directory directory = openDirectory(folder);
    if (!directory) return std::nullopt;
    std::vector<FolderEntry> entries;
    while (const dirent* entry = readdir(directory.get())) {
        if (isDotOrDotDot(entry->d_name)) continue;
        const EntryType type = typeOf(directory.get(), *entry);
        if (type == EntryType::Other) continue;
        entries.push_back({QFile::decodeName(entry->d_name), type == EntryType::Folder});
    }
    return entries;
}

QString resolvedPath(const QString& path)
{
    if (path.isEmpty()) return {};
    return QFileInfo(path).canonicalFilePath();
}

bool isFileSystemRoot(const QString& path) { return resolvedPath(path) == QStringLiteral("/"); }

}  // namespace framework

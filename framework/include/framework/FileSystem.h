// What the programs may know of the file system: which paths are files they
// can read, which are folders they can list, what a folder holds, and where
// the file system's root is. Only regular files count as files; links met in
// a folder listing are never followed.
#pragma once

#include <QChar>
#include <QString>

#include <optional>
#include <vector>

namespace framework {

inline constexpr QChar pathSeparator = u'/';

// A regular file that opens for reading. A link that the caller names itself
// counts as what it points to. Directories, devices, pipes and sockets are
// never files, and are never opened to find out.
bool opensAsRegularFile(const QString& path);
// A folder whose listing can be read.
bool opensAsFolder(const QString& path);

struct FolderEntry {
    QString name;
    bool isFolder = false;  // otherwise a regular file
};

// The regular files and real subfolders of `folder`, in the order the file
// system lists them; "." and "..", links, devices, pipes and sockets are left
// out. Nothing when the folder cannot be listed. The working directory is
// left alone.
std::optional<std::vector<FolderEntry>> listFolder(const QString& folder);

// The path with links, "." and ".." and doubled separators resolved; empty
// when it names nothing that exists.
QString resolvedPath(const QString& path);
// Whether the path names the root of the file system, however it is written.
bool isFileSystemRoot(const QString& path);

}  // namespace framework

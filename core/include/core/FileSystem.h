// What the programs and the run logic may know of the file system: which paths are files they
// can read, which are folders they can list, what a folder holds, and where
// the file system's root is. Only regular files count as files; links met in
// a folder listing are never followed. Paths are bytes, exactly as the file
// system holds them: a name need not be valid text.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace core {

inline constexpr char pathSeparator = '/';

// A regular file that opens for reading. A link that the caller names itself
// counts as what it points to. Directories, devices, pipes and sockets are
// never files, and are never opened to find out.
bool opensAsRegularFile(const std::string& path);
// A folder whose listing can be read.
bool opensAsFolder(const std::string& path);

struct FolderEntry {
    std::string name;
    bool isFolder = false;  // otherwise a regular file
};

// The regular files and real subfolders of `folder`, in the order the file
// system lists them; "." and "..", links, devices, pipes and sockets are left
// out. Nothing when the folder cannot be listed. The working directory is
// left alone.
std::optional<std::vector<FolderEntry>> listFolder(const std::string& folder);

// The path with links, "." and ".." and doubled separators resolved; empty
// when it names nothing that exists.
std::string resolvedPath(const std::string& path);
// Whether the path names the root of the file system, however it is written.
bool isFileSystemRoot(const std::string& path);

// Everything a regular file or a stream (a pipe, a socket, a terminal) holds,
// read to its end, so that a list can come from `<(command)` or /dev/stdin.
// Nothing for a folder or for what cannot be opened or read.
std::optional<std::string> readStream(const std::string& path);
// Writes all of `bytes` to an open file and waits until they have reached
// the disk. Whether they did.
bool writeDurably(int descriptor, std::string_view bytes);
// Whether the path names a regular file (a link counts as what it points to).
bool isRegularFile(const std::string& path);
// Deletes a regular file; anything else is left alone. Whether it went.
bool removeRegularFile(const std::string& path);
// Whether the path names a regular file of the user running the program
// itself, not through a link: in a shared folder anything else may have been
// planted by another user.
bool isOwnRegularFile(const std::string& path);

// Whether two paths name one file (the same device and inode), however they
// are spelled. False when either names nothing.
bool sameFile(const std::string& first, const std::string& second);

// A file's last-write time, to the nanosecond.
struct FileTime {
    long long seconds = 0;
    long nanoseconds = 0;
    bool operator==(const FileTime&) const = default;
};
std::optional<FileTime> lastWriteTime(const std::string& path);
// Sets the last-write time and leaves the last-access time alone. Whether it
// was set.
bool setLastWriteTime(const std::string& path, FileTime time);

// The process's working directory, whole.
std::string currentDirectory();
// Makes `folder` the working directory. Whether it did.
bool setCurrentDirectory(const std::string& folder);
// Appends the path separator unless the text already ends with one.
std::string ensureTrailingSeparator(std::string_view path);
// The operating system's own folders, which must never be processed, nor
// anything below them.
std::vector<std::string> systemFolders();
// The folder of the running executable; empty when it cannot be told.
std::string installFolder();

// The path as a person reads it, as UTF-8 text. Bytes that are not valid
// UTF-8, and control characters, are shown as \xHH escapes: never dropped,
// never merged into one replacement mark, so two different names never look
// alike.
std::string shownPath(std::string_view path);

}  // namespace core

// Whether a path names a file the programs may process or a folder they can
// list, and the parts of a path. Paths are whole, however long, and are the
// file system's bytes.
#pragma once

#include <string>

// A regular file that opens for reading. Folders, devices, pipes and sockets
// are never files here, and are never opened to find out.
bool isFilePath(const std::string& path);
// A folder whose listing can be read.
bool isFolderPath(const std::string& path);
// Whether two names are equal when ASCII letters are folded to one case, as
// the engine compares a source with its target.
bool equalIgnoringCase(const std::string& first, const std::string& second);
// What follows the last separator; the whole text when there is none.
std::string fileNamePart(const std::string& path);
// The folder a path names or lies in, without its final separator: "/out" (a
// folder) and "/out/a.txt" (a file) both give "/out", and "/" gives "". Text
// without a separator comes back unchanged.
std::string folderPart(const std::string& path);

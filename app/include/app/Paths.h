// Whether a path names a file the programs may process or a folder they can
// list, and the parts of a path. Paths are whole, however long.
#pragma once

#include <QString>

// A regular file that opens for reading. Folders, devices, pipes and sockets
// are never files here, and are never opened to find out.
bool isFilePath(const QString& path);
// A folder whose listing can be read.
bool isFolderPath(const QString& path);
// What follows the last separator; the whole text when there is none.
QString fileNamePart(const QString& path);
// The folder a path names or lies in, without its final separator: "/out" (a
// folder) and "/out/a.txt" (a file) both give "/out", and "/" gives "". Text
// without a separator comes back unchanged.
QString folderPart(const QString& path);

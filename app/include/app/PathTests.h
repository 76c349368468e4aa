// Whether a path names a file the programs may process, or a folder they can
// list.
#pragma once

#include <QString>

// A regular file that opens for reading. Folders, devices, pipes and sockets
// are never files here, and are never opened to find out.
bool isFilePath(const QString& path);
// A folder whose listing can be read.
bool isFolderPath(const QString& path);

// Facts about the machine that the programs ask the platform for.
#pragma once

#include <QString>

namespace framework {

// The folder of the running executable.
QString installFolder();
// The operating system's own folder, which must never be processed.
QString systemFolder();
// The process's working directory, whole.
QString currentDirectory();
// Appends the path separator unless the text already ends with one.
QString ensureTrailingSeparator(const QString& path);

}  // namespace framework

#include "app/Paths.h"

#include "framework/FileSystem.h"
#include "framework/Platform.h"

bool isFilePath(const QString& path) { return framework::opensAsRegularFile(path); }

bool isFolderPath(const QString& path) { return framework::opensAsFolder(path); }

QString fileNamePart(const QString& path)
{
    const qsizetype separator = path.lastIndexOf(framework::pathSeparator);
    return separator < 0 ? path : path.mid(separator + 1);
}

QString folderPart(const QString& path)
{
    const QString text = isFolderPath(path) ? framework::ensureTrailingSeparator(path) : path;
    const qsizetype separator = text.lastIndexOf(framework::pathSeparator);
    return separator < 0 ? text : text.left(separator);
}

#include "app/PathTests.h"

#include <QFile>

#include <dirent.h>
#include <sys/stat.h>

bool isFilePath(const QString& path)
{
    if (path.isEmpty()) return false;
    struct stat status {};
    if (stat(QFile::encodeName(path).constData(), &status) != 0 || !S_ISREG(status.st_mode)) return false;
    QFile file(path);
    return file.open(QIODevice::ReadOnly);
}

bool isFolderPath(const QString& path)
{
    if (path.isEmpty()) return false;
    DIR* listing = opendir(QFile::encodeName(path).constData());
    if (!listing) return false;
    closedir(listing);
    return true;
}

#include "framework/Platform.h"

#include "framework/FileSystem.h"

#include <QCoreApplication>
#include <QDir>

#include <cerrno>
#include <string>
#include <unistd.h>

namespace framework {

QString installFolder() { return QCoreApplication::applicationDirPath(); }

QString systemFolder() { return QStringLiteral("/usr"); }

QString currentDirectory()
{
    // getcwd takes a fixed buffer: grow it until the whole path fits.
    std::string buffer(256, '\0');
    while (getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE) return {};
        buffer.resize(buffer.size() * 2);
    }
    return QString::fromLocal8Bit(buffer.c_str());
}

QString ensureTrailingSeparator(const QString& path)
{
    return path.endsWith(pathSeparator) ? path : path + pathSeparator;
}

}  // namespace framework

#include "framework/RegistryStore.h"

#include <QDir>
#include <QFile>
#include <QSettings>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace framework {

// Values are stored as "<type>:<data>" texts, so that a number read back is a
// number and binary bytes come back exact whatever the INI format does.
namespace {

const QString numberTag = QStringLiteral("dword:");
const QString textTag = QStringLiteral("sz:");
const QString binaryTag = QStringLiteral("binary:");

// The store holds encoded credentials: only the user may list or read it.
constexpr mode_t folderMode = 0700;
constexpr mode_t fileMode = 0600;

QString configurationBase()
{
    const QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    return base.isEmpty() ? QDir::homePath() + QStringLiteral("/.config") : base;
}

// A missing folder is created 0700, so it is never open to others, not even
// for a moment; an existing one is tightened to 0700 when `tighten` says so.
bool makeFolder(const QString& path, bool tighten)
{
    const QByteArray name = QFile::encodeName(path);
    if (mkdir(name.constData(), folderMode) != 0 && errno != EEXIST) return false;
    struct stat status {};
    if (stat(name.constData(), &status) != 0 || !S_ISDIR(status.st_mode)) return false;
    return !tighten || (status.st_mode & 07777) == folderMode || chmod(name.constData(), folderMode) == 0;
}

// The folders of the configuration base are the user's to set: only the
// missing ones are made. The store's own folders below it are tightened too.
bool makeFolders(const QString& base, const QStringList& storeFolders)
{
    const QString cleanBase = QDir::cleanPath(base);
    QString path = cleanBase.startsWith('/') ? QString() : QStringLiteral(".");
    for (const QString& folder : cleanBase.split('/', Qt::SkipEmptyParts)) {
        path += '/' + folder;
        if (!makeFolder(path, false)) return false;
    }
    for (const QString& folder : storeFolders) {
        path += '/' + folder;
        if (!makeFolder(path, true)) return false;
    }
    return true;
}

// Created 0600 whatever the umask, tightened to 0600 when it is wider; an
// existing file is never truncated.
bool makeFile(const QString& path)
{
    const int descriptor =
        open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, fileMode);
    if (descriptor < 0) return false;
    struct stat status {};
    const bool made = fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode) &&
                      ((status.st_mode & 07777) == fileMode || fchmod(descriptor, fileMode) == 0);
    close(descriptor);
    return made;
}

// Makes the key's folders and file, or makes them the user's alone again.
// QSettings writes a new file and renames it over the key, giving it the
// mode of the file it replaces: with the file there and 0600 first, no write
// ever leaves it, or its temporary copy, open to others.
bool makePrivate(const QString& base, const QString& filePath)
{
    QStringList storeFolders = filePath.mid(base.size() + 1).split('/');
    storeFolders.removeLast();
    return makeFolders(base, storeFolders) && makeFile(filePath);
}

bool settingsWritten(QSettings& settings)
{
    settings.sync();
    return settings.status() == QSettings::NoError;
}

}  // namespace

QString RegistryKey::storeFolder() { return configurationBase() + QStringLiteral("/Tarvex/registry"); }

std::optional<RegistryKey> RegistryKey::openOrCreate(const QString& keyPath)
{
    QStringList parts;
    for (const QString& part : keyPath.split('\\', Qt::SkipEmptyParts)) {
        if (part == "." || part == "..") return std::nullopt;
        parts << part;
    }
    if (parts.isEmpty()) return std::nullopt;
    RegistryKey key(configurationBase(), storeFolder() + '/' + parts.join('/') + QStringLiteral(".ini"));
    if (!makePrivate(key.base_, key.filePath_)) return std::nullopt;
    return key;
}

RegistryKey::RegistryKey(QString base, QString filePath) : base_(std::move(base)), filePath_(std::move(filePath)) {}

std::optional<QString> RegistryKey::readTagged(const QString& name, const QString& tag) const
{
    QSettings settings(filePath_, QSettings::IniFormat);
    const QVariant stored = settings.value(name);
    if (!stored.isValid()) return std::nullopt;
    const QString text = stored.toString();
    if (!text.startsWith(tag)) return std::nullopt;
    return text.mid(tag.size());
}

bool RegistryKey::writeTagged(const QString& name, const QString& tagged)
{
    if (!makePrivate(base_, filePath_)) return false;
    QSettings settings(filePath_, QSettings::IniFormat);
    settings.setValue(name, tagged);
    return settingsWritten(settings);
}

std::optional<std::int32_t> RegistryKey::readNumber(const QString& name) const
{
    const auto data = readTagged(name, numberTag);
    if (!data) return std::nullopt;
    bool ok = false;
    const std::uint32_t value = data->toUInt(&ok);
    if (!ok) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::optional<QString> RegistryKey::readText(const QString& name) const { return readTagged(name, textTag); }

std::optional<QByteArray> RegistryKey::readBinary(const QString& name) const
{
    const auto data = readTagged(name, binaryTag);
    if (!data) return std::nullopt;
    return QByteArray::fromHex(data->toLatin1());
}

bool RegistryKey::writeNumber(const QString& name, std::int32_t value)
{
    return writeTagged(name, numberTag + QString::number(static_cast<std::uint32_t>(value)));
}

bool RegistryKey::writeText(const QString& name, const QString& value) { return writeTagged(name, textTag + value); }

bool RegistryKey::writeBinary(const QString& name, const QByteArray& value)
{
    return writeTagged(name, binaryTag + QString::fromLatin1(value.toHex()));
}

bool RegistryKey::writeBinaries(const std::vector<std::pair<QString, QByteArray>>& values)
{
    if (!makePrivate(base_, filePath_)) return false;
    QSettings settings(filePath_, QSettings::IniFormat);
    for (const auto& [name, value] : values) settings.setValue(name, binaryTag + QString::fromLatin1(value.toHex()));
    return settingsWritten(settings);
}

bool RegistryKey::deleteValue(const QString& name)
{
    if (!makePrivate(base_, filePath_)) return false;
    QSettings settings(filePath_, QSettings::IniFormat);
    settings.remove(name);
    return settingsWritten(settings);
}

}  // namespace framework

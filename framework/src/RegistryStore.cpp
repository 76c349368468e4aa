#include "framework/RegistryStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include <utility>

namespace framework {

// Values are stored as "<type>:<data>" texts, so that a number read back is a
// number and binary bytes come back exact whatever the INI format does.
namespace {

const QString numberTag = QStringLiteral("dword:");
const QString textTag = QStringLiteral("sz:");
const QString binaryTag = QStringLiteral("binary:");

bool settingsWritten(QSettings& settings)
{
    settings.sync();
    return settings.status() == QSettings::NoError;
}

}  // namespace

QString RegistryKey::storeFolder()
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty()) base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/Tarvex/registry");
}

std::optional<RegistryKey> RegistryKey::openOrCreate(const QString& keyPath)
{
    QStringList parts;
    for (const QString& part : keyPath.split('\\', Qt::SkipEmptyParts)) {
        if (part == "." || part == "..") return std::nullopt;
        parts << part;
    }
    if (parts.isEmpty()) return std::nullopt;
    const QString filePath = storeFolder() + '/' + parts.join('/') + QStringLiteral(".ini");
    if (!QDir().mkpath(QFileInfo(filePath).path())) return std::nullopt;
    QFile file(filePath);
    // Append mode creates a missing file and never disturbs an existing one.
    if (!file.open(QIODevice::Append)) return std::nullopt;
    return RegistryKey(filePath);
}

RegistryKey::RegistryKey(QString filePath) : filePath_(std::move(filePath)) {}

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

bool RegistryKey::deleteValue(const QString& name)
{
    QSettings settings(filePath_, QSettings::IniFormat);
    settings.remove(name);
    return settingsWritten(settings);
}

}  // namespace framework

// The per-user registry: keys named by backslash paths ("Software\A\B"),
// each holding named, typed values. Each key lives in its own INI file under
// the user's configuration folder ($XDG_CONFIG_HOME, else ~/.config).
//
// Every read goes to the file and every write is merged into it under a lock
// at once, so two programs using the same key never lose each other's writes.
//
// The store is the user's alone: its folders are 0700 and its files 0600 from
// the moment they are made, whatever the umask, and a store left wider is
// tightened again whenever a key is opened or written. The configuration
// folder that holds it keeps whatever mode the user gave it.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace framework {

class RegistryKey {
public:
    // Opens the per-user key, creating it (empty) when it is missing.
    // Nothing when it can be neither opened nor created.
    static std::optional<RegistryKey> openOrCreate(const QString& keyPath);
    // The folder that holds every per-user key.
    static QString storeFolder();

    const QString& filePath() const { return filePath_; }

    // Each read gives nothing when the value is missing or has another type.
    std::optional<std::int32_t> readNumber(const QString& name) const;
    std::optional<QString> readText(const QString& name) const;
    std::optional<QByteArray> readBinary(const QString& name) const;

    // Each write or deletion reports whether it reached the store.
    bool writeNumber(const QString& name, std::int32_t value);
    bool writeText(const QString& name, const QString& value);
    bool writeBinary(const QString& name, const QByteArray& value);
    // Writes several binary values in one replacement of the key's file:
    // a crash or a full disk leaves either all of them or none.
    bool writeBinaries(const std::vector<std::pair<QString, QByteArray>>& values);
    bool deleteValue(const QString& name);

private:
    RegistryKey(QString base, QString filePath);
    std::optional<QString> readTagged(const QString& name, const QString& tag) const;
    bool writeTagged(const QString& name, const QString& tagged);

    QString base_;  // the configuration folder the store lies in
    QString filePath_;
};

}  // namespace framework

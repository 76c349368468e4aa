// The registry store on any bytes: a key whose INI file holds the input,
// opened and read as the programs read their keys, by each value type. Each
// input is written over the same key's file.
#include <QFile>
#include <QMessageLogContext>
#include <QSettings>
#include <QStringList>

#include <fcntl.h>
#include <sys/stat.h>

#include <cstdlib>
#include <ctime>

#include "FuzzInput.h"
#include "framework/RegistryStore.h"

namespace {

// The values the programs read, and the first few others the file names.
const QStringList kProgramValues = {"confirmOverWrite", "blowFishOnly", "saveOptions", "Right",
                                    "Bottom",           "userid",       "password"};
constexpr qsizetype kOtherValues = 8;
const QString kKeyPath = QStringLiteral("Software\\Fuzz\\Key");

void readEveryType(const framework::RegistryKey& key, const QString& name)
{
    const auto number = key.readNumber(name);
    const auto text = key.readText(name);
    const auto binary = key.readBinary(name);
    // A value has one type at most.
    FUZZ_CHECK(int{number.has_value()} + int{text.has_value()} + int{binary.has_value()} <= 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Once: the store in the private folder with the key's folders made, and
    // Qt's warnings about what the file holds kept quiet (they would slow the
    // fuzzer down to the console's pace).
    static const std::string path = [] {
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
        FUZZ_CHECK(setenv("XDG_CONFIG_HOME", (fuzz::folder() + "/config").c_str(), 1) == 0);
        const auto key = framework::RegistryKey::openOrCreate(kKeyPath);
        FUZZ_CHECK(key.has_value());
        return QFile::encodeName(key->filePath()).toStdString();
    }();
    fuzz::writeFile(path, data, size);
    // QSettings takes a file of the same size and time as the one it read
    // last as unchanged: each input gets a time of its own.
    static time_t inputs = 0;
    const timespec times[2] = {{0, UTIME_OMIT}, {1000000000 + ++inputs, 0}};
    FUZZ_CHECK(utimensat(AT_FDCWD, path.c_str(), times, 0) == 0);

    const auto key = framework::RegistryKey::openOrCreate(kKeyPath);
    FUZZ_CHECK(key.has_value());
    QStringList names = kProgramValues;
    names += QSettings(key->filePath(), QSettings::IniFormat).allKeys().mid(0, kOtherValues);
    for (const QString& name : names)
        if (!name.isEmpty()) readEveryType(*key, name);
    return 0;
}

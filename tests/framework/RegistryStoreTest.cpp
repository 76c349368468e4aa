// The per-user registry store: types kept, keys created, values deleted, two
// processes writing one key at once, and a store no one else may read.
#include "support/TestConfiguration.h"

#include "framework/RegistryStore.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <string>
#include <sys/stat.h>
#include <unistd.h>

using framework::RegistryKey;

using RegistryStore = WithEmptyConfiguration;

namespace {

// The permission bits in octal, "missing" when there is no such path.
std::string modeOf(const QString& path)
{
    struct stat status {};
    if (stat(QFile::encodeName(path).constData(), &status) != 0) return "missing";
    return QString::number(status.st_mode & 07777, 8).rightJustified(4, '0').toStdString();
}

void setMode(const QString& path, mode_t mode) { ASSERT_EQ(chmod(QFile::encodeName(path).constData(), mode), 0); }

// Every folder a key's file lies in, from Tarvex/ down.
QStringList storeFolders(const QString& filePath)
{
    const QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    QStringList folders;
    for (QString folder = QFileInfo(filePath).path(); folder.size() > base.size(); folder = QFileInfo(folder).path())
        folders.prepend(folder);
    return folders;
}

void expectPrivate(const QString& filePath)
{
    const QStringList folders = storeFolders(filePath);
    ASSERT_TRUE(folders.first().endsWith("/Tarvex"));
    for (const QString& folder : folders) EXPECT_EQ(modeOf(folder), "0700") << folder.toStdString();
    EXPECT_EQ(modeOf(filePath), "0600");
}

void makeOpenToOthers(const QString& filePath)
{
    for (const QString& folder : storeFolders(filePath)) setMode(folder, 0755);
    setMode(filePath, 0644);
}

// Lets everything the process creates be open to all while it lives.
class PermissiveUmask {
public:
    PermissiveUmask() : saved_(umask(0)) {}
    ~PermissiveUmask() { umask(saved_); }
    PermissiveUmask(const PermissiveUmask&) = delete;
    PermissiveUmask& operator=(const PermissiveUmask&) = delete;

private:
    mode_t saved_;
};

}  // namespace

TEST_F(RegistryStore, OpeningCreatesTheKeyOnce)
{
    auto key = RegistryKey::openOrCreate("Software\\Quillon\\Tarvex\\Encrypt\\1.3");
    ASSERT_TRUE(key);
    EXPECT_TRUE(key->filePath().endsWith("/Tarvex/registry/Software/Quillon/Tarvex/Encrypt/1.3.ini"));
    EXPECT_TRUE(QFileInfo::exists(key->filePath()));
    ASSERT_TRUE(key->writeNumber("Right", 40));
    // Opening it again keeps what it holds.
    EXPECT_EQ(RegistryKey::openOrCreate("Software\\Quillon\\Tarvex\\Encrypt\\1.3")->readNumber("Right"), 40);
    EXPECT_FALSE(RegistryKey::openOrCreate("Software\\..\\x"));
    EXPECT_FALSE(RegistryKey::openOrCreate(""));
}

TEST_F(RegistryStore, ValuesKeepTheirTypesAndBytes)
{
    auto key = RegistryKey::openOrCreate("Software\\Test");
    ASSERT_TRUE(key);
    QByteArray bytes(256, '\0');
    for (int i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(255 - i);
    ASSERT_TRUE(key->writeNumber("negative", -2));
    ASSERT_TRUE(key->writeNumber("large", 0x7fffffff));
    ASSERT_TRUE(key->writeText("path", "/opt/tarvex; with = signs, \"quotes\"\nand a line"));
    ASSERT_TRUE(key->writeBinary("userid", bytes));

    EXPECT_EQ(key->readNumber("negative"), -2);
    EXPECT_EQ(key->readNumber("large"), 0x7fffffff);
    EXPECT_EQ(key->readText("path"), "/opt/tarvex; with = signs, \"quotes\"\nand a line");
    EXPECT_EQ(key->readBinary("userid"), bytes);
    // A value of another type, or no value, reads as nothing.
    EXPECT_FALSE(key->readNumber("path"));
    EXPECT_FALSE(key->readText("negative"));
    EXPECT_FALSE(key->readBinary("missing"));

    ASSERT_TRUE(key->deleteValue("userid"));
    EXPECT_FALSE(key->readBinary("userid"));
    EXPECT_EQ(key->readNumber("negative"), -2);
}

TEST_F(RegistryStore, TwoProcessesWritingAtOnceLoseNothing)
{
    const QString writer = QCoreApplication::applicationDirPath() + "/registry_writer";
    constexpr int valuesEach = 60;
    QProcess first;
    QProcess second;
    first.start(writer, {"Software\\Shared", "first", QString::number(valuesEach)});
    second.start(writer, {"Software\\Shared", "second", QString::number(valuesEach)});
    ASSERT_TRUE(first.waitForFinished(60000));
    ASSERT_TRUE(second.waitForFinished(60000));
    ASSERT_EQ(first.exitCode(), 0) << first.readAllStandardError().toStdString();
    ASSERT_EQ(second.exitCode(), 0) << second.readAllStandardError().toStdString();

    const auto key = RegistryKey::openOrCreate("Software\\Shared");
    ASSERT_TRUE(key);
    int found = 0;
    for (int i = 0; i < valuesEach; ++i) {
        found += key->readNumber(QStringLiteral("first%1").arg(i)) == i;
        found += key->readNumber(QStringLiteral("second%1").arg(i)) == i;
    }
    EXPECT_EQ(found, 2 * valuesEach);
}

TEST_F(RegistryStore, ANewKeyIsTheUsersAloneWhateverTheUmask)
{
    const PermissiveUmask umask;
    auto key = RegistryKey::openOrCreate("Software\\Quillon\\Tarvex\\Common");
    ASSERT_TRUE(key);
    expectPrivate(key->filePath());
    // Each write replaces the file with a new one, which stays as private.
    ASSERT_TRUE(key->writeBinary("userid", QByteArray(256, 'u')));
    ASSERT_TRUE(key->writeNumber("saveOptions", 1));
    ASSERT_TRUE(key->deleteValue("saveOptions"));
    expectPrivate(key->filePath());
    EXPECT_EQ(key->readBinary("userid"), QByteArray(256, 'u'));
}

TEST_F(RegistryStore, AStoreLeftOpenIsTightenedWhenAKeyIsOpenedOrWritten)
{
    const QString filePath = RegistryKey::storeFolder() + "/Software/Quillon/Tarvex/Common.ini";
    ASSERT_TRUE(QDir().mkpath(QFileInfo(filePath).path()));
    QFile made(filePath);
    ASSERT_TRUE(made.open(QIODevice::WriteOnly));
    ASSERT_TRUE(made.write("[General]\nRight=dword:10\n") > 0);
    made.close();
    makeOpenToOthers(filePath);
    auto key = RegistryKey::openOrCreate("Software\\Quillon\\Tarvex\\Common");
    ASSERT_TRUE(key);
    expectPrivate(filePath);
    EXPECT_EQ(key->readNumber("Right"), 10);

    makeOpenToOthers(filePath);
    ASSERT_TRUE(key->writeNumber("Right", 40));
    expectPrivate(filePath);

    // Made again by the write when the store went in the meantime, as
    // private as when the key was opened.
    const PermissiveUmask umask;
    ASSERT_TRUE(QDir(qEnvironmentVariable("XDG_CONFIG_HOME") + "/Tarvex").removeRecursively());
    ASSERT_TRUE(key->writeNumber("Bottom", 30));
    expectPrivate(filePath);
    EXPECT_EQ(key->readNumber("Bottom"), 30);
}

TEST_F(RegistryStore, TheConfigurationFolderKeepsItsOwnMode)
{
    const QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    const QFile::Permissions saved = QFile::permissions(base);
    setMode(base, 0751);
    auto key = RegistryKey::openOrCreate("Software\\Test");
    const bool written = key && key->writeNumber("value", 1);
    EXPECT_EQ(modeOf(base), "0751");
    QFile::setPermissions(base, saved);
    EXPECT_TRUE(written);
}

TEST_F(RegistryStore, SeveralValuesAreReplacedTogetherOrNotAtAll)
{
    auto key = RegistryKey::openOrCreate("Software\\Test\\Pair");
    ASSERT_TRUE(key);
    ASSERT_TRUE(key->writeBinaries({{"first", QByteArray(256, 'a')}, {"second", QByteArray(256, 'b')}}));
    EXPECT_EQ(key->readBinary("first"), QByteArray(256, 'a'));
    EXPECT_EQ(key->readBinary("second"), QByteArray(256, 'b'));
    // A store that cannot be written keeps the old pair whole.
    if (geteuid() != 0) {
        const QString folder = QFileInfo(key->filePath()).path();
        setMode(folder, 0500);
        EXPECT_FALSE(key->writeBinaries({{"first", QByteArray(256, 'c')}, {"second", QByteArray(256, 'd')}}));
        setMode(folder, 0700);
        EXPECT_EQ(key->readBinary("first"), QByteArray(256, 'a'));
        EXPECT_EQ(key->readBinary("second"), QByteArray(256, 'b'));
    }
}

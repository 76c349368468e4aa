// The per-user registry store: types kept, keys created, values deleted, and
// two processes writing one key at once.
#include "support/TestConfiguration.h"

#include "framework/RegistryStore.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>

using framework::RegistryKey;

using RegistryStore = WithEmptyConfiguration;

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

// Runs GUI tests on the offscreen platform, with the user's configuration in a
// temporary folder that each test may empty, and each test in a private
// working folder.
#include "PrivateWorkingFolder.h"

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir configuration;
    if (!configuration.isValid()) return 1;
    qputenv("XDG_CONFIG_HOME", configuration.path().toLocal8Bit());
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    testsupport::giveEachTestAPrivateWorkingFolder();
    return RUN_ALL_TESTS();
}

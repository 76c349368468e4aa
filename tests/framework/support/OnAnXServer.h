// For the few GUI tests that need a real X server: the test runs itself again
// in a child process on the xcb platform, under an X server of its own.
#pragma once

#include <QCoreApplication>
#include <QGuiApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <gtest/gtest.h>

#include <string>

// Whether the test runs on an X server now.
inline bool onAnXServer() { return QGuiApplication::platformName() == QStringLiteral("xcb"); }

// Runs the current test again under xvfb-run and reports its result; skips
// when xvfb-run is missing.
inline void rerunOnAnXServer()
{
    const QString xvfbRun = QStandardPaths::findExecutable("xvfb-run");
    if (xvfbRun.isEmpty()) GTEST_SKIP() << "xvfb-run is not installed (Debian package xvfb): no X server to test on";
    const auto* test = testing::UnitTest::GetInstance()->current_test_info();
    const QString filter = QStringLiteral("--gtest_filter=%1.%2").arg(test->test_suite_name(), test->name());
    // On a real display Qt loads the desktop's message bus library, whose
    // allocations of a lifetime the leak checker of a sanitizer build takes
    // for leaks of ours.
    QTemporaryFile suppressions;
    ASSERT_TRUE(suppressions.open());
    suppressions.write("leak:libdbus-1.so\n");
    suppressions.flush();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const QString leakOptions = environment.value("LSAN_OPTIONS");
    environment.insert("LSAN_OPTIONS", (leakOptions.isEmpty() ? QString() : leakOptions + ':') +
                                           "suppressions=" + suppressions.fileName());
    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    // -platform outranks the offscreen platform the test main asks for.
    child.start(xvfbRun, {"-a", QCoreApplication::applicationFilePath(), "-platform", "xcb", filter});
    ASSERT_TRUE(child.waitForFinished(60000));
    const std::string output = child.readAll().toStdString();
    ASSERT_EQ(child.exitStatus(), QProcess::NormalExit) << output;
    EXPECT_EQ(child.exitCode(), 0) << output;
    EXPECT_NE(output.find("[  PASSED  ] 1 test."), std::string::npos) << output;
}

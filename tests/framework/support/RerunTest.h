// For the few GUI tests that need a screen the test process was not started
// on: the test runs itself again in a child process, under an X server of its
// own or on a screen scaled up, and reports the child's result.
#pragma once

#include <QCoreApplication>
#include <QGuiApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <gtest/gtest.h>

#include <string>

// Runs the current test again as `program arguments... <this binary> <its
// options> --gtest_filter=<this test>` with `environment` added.
inline void rerunCurrentTest(const QString& program, QStringList arguments, const QStringList& options,
                             QProcessEnvironment environment)
{
    const auto* test = testing::UnitTest::GetInstance()->current_test_info();
    // On a real display Qt loads the desktop's message bus library, whose
    // allocations of a lifetime the leak checker of a sanitizer build takes
    // for leaks of ours.
    QTemporaryFile suppressions;
    ASSERT_TRUE(suppressions.open());
    suppressions.write("leak:libdbus-1.so\n");
    suppressions.flush();
    const QString leakOptions = environment.value("LSAN_OPTIONS");
    environment.insert("LSAN_OPTIONS", (leakOptions.isEmpty() ? QString() : leakOptions + ':') +
                                           "suppressions=" + suppressions.fileName());
    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    const QString self = QCoreApplication::applicationFilePath();
    if (program.isEmpty()) {
        child.setProgram(self);
    } else {
        child.setProgram(program);
        arguments << self;
    }
    arguments << options << QStringLiteral("--gtest_filter=%1.%2").arg(test->test_suite_name(), test->name());
    child.setArguments(arguments);
    child.start();
    ASSERT_TRUE(child.waitForFinished(60000));
    const std::string output = child.readAll().toStdString();
    ASSERT_EQ(child.exitStatus(), QProcess::NormalExit) << output;
    EXPECT_EQ(child.exitCode(), 0) << output;
    EXPECT_NE(output.find("[  PASSED  ] 1 test."), std::string::npos) << output;
}

// Whether the test runs on an X server now.
inline bool onAnXServer() { return QGuiApplication::platformName() == QStringLiteral("xcb"); }

// Runs the current test again under xvfb-run; skips when xvfb-run is missing.
inline void rerunOnAnXServer()
{
    const QString xvfbRun = QStandardPaths::findExecutable("xvfb-run");
    if (xvfbRun.isEmpty()) GTEST_SKIP() << "xvfb-run is not installed (Debian package xvfb): no X server to test on";
    // -platform outranks the offscreen platform the test main asks for.
    rerunCurrentTest(xvfbRun, {"-a"}, {"-platform", "xcb"}, QProcessEnvironment::systemEnvironment());
}

// Runs the current test again on a screen scaled by `factor`.
inline void rerunOnAScaledScreen(const QString& factor)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_SCALE_FACTOR", factor);
    rerunCurrentTest({}, {}, {}, environment);
}

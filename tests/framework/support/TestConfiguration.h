// Gives each test an empty per-user configuration folder.
#pragma once

#include <QDir>

#include <gtest/gtest.h>

class WithEmptyConfiguration : public testing::Test {
protected:
    void SetUp() override { QDir(qEnvironmentVariable("XDG_CONFIG_HOME") + "/Tarvex").removeRecursively(); }
};

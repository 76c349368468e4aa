// The test programs' main: each test in a private working folder.
#include "PrivateWorkingFolder.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    testsupport::giveEachTestAPrivateWorkingFolder();
    return RUN_ALL_TESTS();
}

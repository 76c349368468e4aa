#include <gtest/gtest.h>

#include <vector>

#include "ScratchFolder.h"
#include "tarvex.h"

namespace {

using namespace enginetest;

std::vector<int32_t> reports;

int recordReport(int32_t value)
{
    reports.push_back(value);
    return 0;
}

class Progress : public ::testing::Test {
protected:
    void SetUp() override
    {
        reports.clear();
        tarvexSetProgressCallback(recordReport);
    }
    void TearDown() override
    {
        tarvexSetProgressCallback(nullptr);
        tarvexSetProgressVariable(nullptr);
    }
    void encryptFileOf(size_t length, int layerChoice)
    {
        writeFile("plain", randomBytes(length, 31));
        ASSERT_EQ(tarvexTransformFile("progress key", "plain", "sealed", 1, layerChoice), TARVEX_OK);
    }
    ScratchFolder folder;
};

bool nonDecreasing(const std::vector<int32_t>& values) { return std::is_sorted(values.begin(), values.end()); }

TEST_F(Progress, BlockCipherAloneReportsEveryBlockUpToAHundred)
{
    encryptFileOf(131072, 1);
    EXPECT_EQ(reports.size(), 16384u);
    EXPECT_TRUE(nonDecreasing(reports));
    EXPECT_EQ(reports.front(), 0);
    EXPECT_GE(reports.back(), 99);
    EXPECT_LE(reports.back(), 100);
}

TEST_F(Progress, BothLayersOverAPartialLastChunkEndNearAHundredAndEighteen)
{
    encryptFileOf(100000, 0);
    // 8192 + 4308 cipher blocks, and one report per scramble block of 128 to 255 bytes.
    const size_t cipherReports = 12500;
    ASSERT_GT(reports.size(), cipherReports);
    const size_t scrambleReports = reports.size() - cipherReports;
    EXPECT_GE(scrambleReports, 65536u / 255 + 34464u / 255);
    EXPECT_LE(scrambleReports, 65536u / 128 + 34464u / 128 + 2);
    EXPECT_TRUE(nonDecreasing(reports));
    EXPECT_GE(reports.back(), 115);
    EXPECT_LE(reports.back(), 119);
}

TEST_F(Progress, ScramblingAloneEndsNearEightyTwo)
{
    encryptFileOf(262144, 2);
    EXPECT_GE(reports.back(), 79);
    EXPECT_LE(reports.back(), 85);
}

TEST_F(Progress, EmptySourceReportsNothing)
{
    encryptFileOf(0, 0);
    EXPECT_TRUE(reports.empty());
}

TEST_F(Progress, VariableReceivesValuesAndBufferTransformsContinueFromThem)
{
    int32_t variable = -1;
    EXPECT_EQ(tarvexSetProgressVariable(&variable), &variable);
    encryptFileOf(131072, 1);
    EXPECT_EQ(variable, reports.back());
    const int32_t afterFile = variable;

    Bytes data = randomBytes(65536, 32);
    reports.clear();
    tarvexTransformBuffer("progress key", data.data(), 65536, data.data(), 1, 1, 1);
    EXPECT_EQ(reports.front(), afterFile);
    EXPECT_GE(variable, afterFile + 99);

    // A file transform starts again from zero.
    reports.clear();
    encryptFileOf(65536, 1);
    EXPECT_EQ(reports.front(), 0);
}

TEST_F(Progress, RemovedCallbackIsNoLongerCalled)
{
    EXPECT_EQ(tarvexSetProgressCallback(nullptr), nullptr);
    encryptFileOf(70000, 0);
    EXPECT_TRUE(reports.empty());
}

}  // namespace

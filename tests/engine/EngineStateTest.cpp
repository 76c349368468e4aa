#include <gtest/gtest.h>

#include <cstdio>
#include <stdexcept>
#include <vector>

#include "BlockCipher.h"
#include "Scramble.h"
#include "ScratchFolder.h"
#include "tarvex.h"

namespace tarvex {
namespace {

bool workingTablesAreZero()
{
    const auto* bytes = reinterpret_cast<const uint8_t*>(&workingTables);
    return std::all_of(bytes, bytes + sizeof workingTables, [](uint8_t b) { return b == 0; });
}

TEST(KeyMaterial, WorkingTablesAreWipedWhenEveryKindOfCallEnds)
{
    enginetest::ScratchFolder folder;
    enginetest::writeFile("plain", enginetest::randomBytes(1000, 41));
    std::vector<uint8_t> data(500);

    ASSERT_EQ(tarvexTransformFile("wipe key", "plain", "sealed", 1, 0), TARVEX_OK);
    EXPECT_TRUE(workingTablesAreZero());
    tarvexTransformBuffer("wipe key", data.data(), 500, data.data(), 1, 0, 1);
    EXPECT_TRUE(workingTablesAreZero());
    ASSERT_EQ(tarvexTransformFile("wipe key", "missing", "sealed", 1, 0), TARVEX_ERR_OPEN_SOURCE);
    EXPECT_TRUE(workingTablesAreZero());
}

int throwFromCallback(int32_t) { throw std::runtime_error("the caller gave up"); }

class KeyMaterialWithThrowingCallback : public ::testing::Test {
protected:
    void SetUp() override { tarvexSetProgressCallback(throwFromCallback); }
    void TearDown() override { tarvexSetProgressCallback(nullptr); }
};

TEST_F(KeyMaterialWithThrowingCallback, WorkingTablesAreWipedWhenTheCallbackStopsACall)
{
    enginetest::ScratchFolder folder;
    enginetest::writeFile("plain", enginetest::randomBytes(1000, 42));
    std::vector<uint8_t> data(500);

    EXPECT_EQ(tarvexTransformFile("wipe key", "plain", "plain", 1, 0), TARVEX_ERR_INTERNAL);
    EXPECT_TRUE(workingTablesAreZero());
    tarvexTransformBuffer("wipe key", data.data(), 500, data.data(), 1, 0, 1);
    EXPECT_TRUE(workingTablesAreZero());
}

TEST(BufferTransformInAFreshProcess, ContinuingStartsFromGeneratorStateZero)
{
    std::vector<uint8_t> expected(1000);
    for (size_t i = 0; i < expected.size(); ++i) expected[i] = static_cast<uint8_t>(i * 7);
    uint8_t keyBlock[kKeyBlockSize];
    prepareKey("probe key", 2, keyBlock);
    scrambleGenerator.seed(0);
    scrambleChunk(keyBlock, expected.data(), 1000, 1000, 1);

    FILE* probe = popen(FRESH_PROCESS_PROBE, "r");
    ASSERT_NE(probe, nullptr);
    std::vector<uint8_t> output(1001);
    const size_t got = std::fread(output.data(), 1, output.size(), probe);
    ASSERT_EQ(pclose(probe), 0);
    output.resize(got);
    EXPECT_EQ(output, expected);
}

}  // namespace
}  // namespace tarvex

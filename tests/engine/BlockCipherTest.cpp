#include "BlockCipher.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <set>
#include <vector>

#include "Progress.h"

namespace tarvex {
namespace {

void loadInitialTables() { workingTables = initialTables(); }

std::vector<uint8_t> randomKey(uint32_t seed)
{
    std::mt19937 random(seed);
    std::vector<uint8_t> key(kBlockCipherKeyLength);
    for (auto& byte : key) byte = static_cast<uint8_t>(random());
    return key;
}

TEST(InitialTables, HoldThePiDigitsWithTheBytesOfEachWordReversed)
{
    const CipherTables& t = initialTables();
    EXPECT_EQ(t.p[0], 0x886A3F24u);       // pi digits 243F6A88
    EXPECT_EQ(t.p[1], 0xD308A385u);       // 85A308D3
    EXPECT_EQ(t.p[17], 0x1BFB7989u);      // 8979FB1B
    EXPECT_EQ(t.s[0][0], 0xA60B31D1u);    // D1310BA6
    EXPECT_EQ(t.s[3][255], 0xE672C33Au);  // 3AC372E6, the last of the 1042 words
}

TEST(InitialTables, GiveTheKnownRoundAndBlockValues)
{
    loadInitialTables();
    EXPECT_EQ(roundFunction(0), 0xCE510C4Fu);
    uint32_t left = 0, right = 0;
    encryptBlock(left, right);
    EXPECT_EQ(left, 0x5D5E3241u);
    EXPECT_EQ(right, 0xDBF8932Bu);
    decryptBlock(left, right);
    EXPECT_EQ(left, 0u);
    EXPECT_EQ(right, 0u);
}

TEST(RoundFunction, UsesOnlyTheLowFiveBitsOfTheSecondAndFourthBoxes)
{
    loadInitialTables();
    const uint32_t before = roundFunction(0x01020304);
    workingTables.s[1][0x02] ^= 0xFFFFFFE0u;
    workingTables.s[3][0x04] ^= 0xFFFFFFE0u;
    EXPECT_EQ(roundFunction(0x01020304), before);
    workingTables.s[3][0x04] ^= 0x1u;
    EXPECT_NE(roundFunction(0x01020304), before);
}

class MixedKeyWord : public ::testing::Test {
protected:
    // The word XORed into P[0] by a key whose first four bytes are given.
    uint32_t firstWordFor(std::vector<uint8_t> firstFour)
    {
        std::vector<uint8_t> key(kBlockCipherKeyLength, 0x11);
        std::copy(firstFour.begin(), firstFour.end(), key.begin());
        loadInitialTables();
        mixKeyIntoPArray(key.data(), kBlockCipherKeyLength);
        return workingTables.p[0] ^ initialTables().p[0];
    }
};

TEST_F(MixedKeyWord, IsBigEndianForPlainBytesAndSignExtendsHighOnes)
{
    EXPECT_EQ(firstWordFor({0x41, 0x42, 0x43, 0x44}), 0x41424344u);
    EXPECT_EQ(firstWordFor({0x41, 0xE9, 0x42, 0x43}), 0xFFE94243u);
    EXPECT_EQ(firstWordFor({0x41, 0x42, 0x43, 0xE9}), 0xFFFFFFE9u);
    EXPECT_EQ(firstWordFor({0x80, 0x00, 0x00, 0x00}), 0x80000000u);
}

TEST(MixKey, UsesEachOfTheSeventyTwoBytesOnce)
{
    std::vector<uint8_t> key(kBlockCipherKeyLength);
    for (int i = 0; i < kBlockCipherKeyLength; ++i) key[i] = static_cast<uint8_t>(i + 1);
    loadInitialTables();
    mixKeyIntoPArray(key.data(), kBlockCipherKeyLength);
    for (int i = 0; i < 18; ++i) {
        const uint32_t expected =
            uint32_t(4 * i + 1) << 24 | uint32_t(4 * i + 2) << 16 | uint32_t(4 * i + 3) << 8 | uint32_t(4 * i + 4);
        EXPECT_EQ(workingTables.p[i] ^ initialTables().p[i], expected) << "P[" << i << "]";
    }
}

TEST(KeySchedule, GivesTheSameTablesEveryTime)
{
    const auto key = randomKey(1);
    keySchedule(key.data(), kBlockCipherKeyLength);
    const CipherTables first = workingTables;
    keySchedule(randomKey(2).data(), kBlockCipherKeyLength);
    keySchedule(key.data(), kBlockCipherKeyLength);
    EXPECT_EQ(std::memcmp(&first, &workingTables, sizeof first), 0);
    EXPECT_NE(std::memcmp(&first, &initialTables(), sizeof first), 0);
}

TEST(KeySchedule, IsUndoneByDecryptionForEveryKeyTried)
{
    std::mt19937 random(7);
    for (uint32_t seed = 0; seed < 20; ++seed) {
        keySchedule(randomKey(seed).data(), kBlockCipherKeyLength);
        for (int i = 0; i < 50; ++i) {
            const uint32_t l0 = random(), r0 = random();
            uint32_t l = l0, r = r0;
            encryptBlock(l, r);
            EXPECT_FALSE(l == l0 && r == r0);
            decryptBlock(l, r);
            ASSERT_EQ(l, l0);
            ASSERT_EQ(r, r0);
        }
    }
}

TEST(TailByte, IsAKeyedPermutationOfByteValuesUndoneByItsInverse)
{
    for (uint32_t seed = 0; seed < 10; ++seed) {
        keySchedule(randomKey(seed).data(), kBlockCipherKeyLength);
        std::set<uint8_t> images;
        int unchanged = 0;
        for (int value = 0; value < 256; ++value) {
            const uint8_t encrypted = encryptTailByte(static_cast<uint8_t>(value));
            images.insert(encrypted);
            unchanged += encrypted == value;
            EXPECT_EQ(decryptTailByte(encrypted), value);
        }
        EXPECT_EQ(images.size(), 256u);
        EXPECT_LT(unchanged, 256);
    }
}

class CipherChunk : public ::testing::Test {
protected:
    void SetUp() override
    {
        keySchedule(randomKey(3).data(), kBlockCipherKeyLength);
        progressTotal = 0.0f;
    }
};

TEST_F(CipherChunk, SevenBytesGoThroughTheTailAloneWithoutProgress)
{
    uint8_t chunk[7] = {1, 2, 3, 4, 5, 6, 7};
    cipherChunk(chunk, 7, 1, 0, 1);
    for (int i = 0; i < 7; ++i) EXPECT_EQ(chunk[i], encryptTailByte(static_cast<uint8_t>(i + 1)));
    EXPECT_EQ(progressTotal, 0.0f);
}

TEST_F(CipherChunk, IsEcbWithLittleEndianHalvesAndAPositionFreeTail)
{
    std::vector<uint8_t> chunk = {0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x80, 0x10, 0x20,
                                  0x30, 0x40, 0x50, 0x60, 0x70, 0x80, 0x99, 0x99, 0x42};
    cipherChunk(chunk.data(), static_cast<int32_t>(chunk.size()), 1, 0, 1);

    uint32_t left = 0x40302010, right = 0x80706050;
    encryptBlock(left, right);
    const uint8_t expectedBlock[8] = {uint8_t(left),  uint8_t(left >> 8),  uint8_t(left >> 16),  uint8_t(left >> 24),
                                      uint8_t(right), uint8_t(right >> 8), uint8_t(right >> 16), uint8_t(right >> 24)};
    EXPECT_EQ(std::memcmp(chunk.data(), expectedBlock, 8), 0);
    EXPECT_EQ(std::memcmp(chunk.data() + 8, expectedBlock, 8), 0);
    EXPECT_EQ(chunk[16], chunk[17]);
    EXPECT_EQ(chunk[16], encryptTailByte(0x99));
    EXPECT_EQ(chunk[18], encryptTailByte(0x42));

    cipherChunk(chunk.data(), static_cast<int32_t>(chunk.size()), 0, 0, 1);
    EXPECT_EQ(chunk[0], 0x10);
    EXPECT_EQ(chunk[15], 0x80);
    EXPECT_EQ(chunk[18], 0x42);
}

TEST_F(CipherChunk, ProgressShareIsAHundredAloneAndEighteenBesideScrambling)
{
    std::vector<uint8_t> chunk(65536);
    cipherChunk(chunk.data(), 65536, 1, 1, 2);
    cipherChunk(chunk.data(), 65536, 1, 1, 2);
    EXPECT_NEAR(progressTotal, 100.0f, 0.01f);

    progressTotal = 0.0f;
    cipherChunk(chunk.data(), 65536, 1, 0, 1);
    EXPECT_NEAR(progressTotal, 18.0f, 0.01f);
}

}  // namespace
}  // namespace tarvex

#include "Scramble.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <string>
#include <vector>

#include "BlockModulo.h"
#include "Progress.h"
#include "ReferenceGenerator.h"
#include "ReferenceScramble.h"

namespace tarvex {
namespace {

struct PreparedKey {
    uint8_t block[kKeyBlockSize];
    int32_t generatorAfterPreparation;

    explicit PreparedKey(const std::string& text)
    {
        prepareKey(text.c_str(), 0, block);
        generatorAfterPreparation = scrambleGenerator.saved();
    }
    void scramble(std::vector<uint8_t>& chunk, int direction) const
    {
        scrambleGenerator.seed(generatorAfterPreparation);
        scrambleChunk(block, chunk.data(), static_cast<int32_t>(chunk.size()), static_cast<int64_t>(chunk.size()),
                      direction);
    }
};

std::vector<uint8_t> distinctishBytes(size_t length, uint32_t seed)
{
    std::mt19937 random(seed);
    std::vector<uint8_t> bytes(length);
    for (auto& byte : bytes) byte = static_cast<uint8_t>(random());
    return bytes;
}

// Keys of 32 characters or more stand unexpanded, so characters 2 to 15 are
// the run keys: '0', 'P' and 'p' give runs of 16, which reload without a step.
const std::vector<std::string> kKeys = {
    "an ordinary key",
    "ab0P0p0P0p0P0p0P-the-rest-of-a-long-key",  // zero-step reloads throughout
    "a !0--------------------------long key",   // zero-step reload on a chunk's first byte
    "ab\x81\x90\xA0\xF0\xFF high bytes in the key text",
};

TEST(BlockModulo, AgreesWithDivisionForEveryGeneratorValueAndBlockLength)
{
    for (uint32_t divisor = 1; divisor <= 255; ++divisor) {
        const BlockModulo modulo(divisor);
        for (uint32_t x = 0; x <= 16383; ++x) {
            ASSERT_EQ(modulo(x), x % divisor) << x << " mod " << divisor;
            if (divisor >= BlockModulo::kNarrowFrom) {
                const uint64_t product = uint64_t(x) * modulo.narrowReciprocal();
                ASSERT_LT(product, uint64_t(1) << 32) << x << " / " << divisor;
                ASSERT_EQ(product >> 24, x / divisor) << x << " / " << divisor;
            }
        }
    }
}

TEST(ScrambleChunk, MovesEveryByteWhereTheStepByStepModelDoes)
{
    for (const auto& text : kKeys) {
        const PreparedKey key(text);
        for (size_t length : {1u, 100u, 255u, 256u, 4000u, 65536u}) {
            for (int direction : {1, 0}) {
                auto chunk = distinctishBytes(length, 5);
                auto modelled = chunk;
                key.scramble(chunk, direction);
                ReferenceGenerator generator(key.generatorAfterPreparation);
                referenceScramble(key.block, modelled, generator, direction);
                ASSERT_EQ(chunk, modelled) << "key '" << text << "' length " << length;
                ASSERT_EQ(static_cast<uint32_t>(scrambleGenerator.saved()), generator.state());
            }
        }
    }
}

TEST(ScrambleChunk, UnscramblingRestoresEveryLengthAndKey)
{
    for (const auto& text : kKeys) {
        const PreparedKey key(text);
        for (size_t length : {1u, 2u, 127u, 128u, 255u, 256u, 1000u, 65536u}) {
            const auto original = distinctishBytes(length, static_cast<uint32_t>(length));
            auto chunk = original;
            key.scramble(chunk, 1);
            if (length >= 128) {
                EXPECT_NE(chunk, original) << "key '" << text << "' length " << length;
            }
            key.scramble(chunk, 0);
            ASSERT_EQ(chunk, original) << "key '" << text << "' length " << length;
        }
    }
}

TEST(ScrambleChunk, OnlyMovesBytesAndLeavesEqualBytesAlone)
{
    const PreparedKey key(kKeys[0]);
    const auto original = distinctishBytes(5000, 9);
    auto chunk = original;
    key.scramble(chunk, 1);
    auto sortedOriginal = original, sortedChunk = chunk;
    std::sort(sortedOriginal.begin(), sortedOriginal.end());
    std::sort(sortedChunk.begin(), sortedChunk.end());
    EXPECT_EQ(sortedChunk, sortedOriginal);

    std::vector<uint8_t> same(3000, 0x5A);
    key.scramble(same, 1);
    EXPECT_EQ(same, std::vector<uint8_t>(3000, 0x5A));
}

TEST(ScrambleChunk, PermutesWithinBlocksOf128To255Bytes)
{
    const PreparedKey key(kKeys[0]);
    // The first block holds the leading 128 bytes and ends by byte 255, so
    // those bytes stay among the first 255.
    std::vector<uint8_t> chunk(600, 1);
    std::fill(chunk.begin(), chunk.begin() + 128, 0);
    key.scramble(chunk, 1);
    EXPECT_EQ(std::count(chunk.begin(), chunk.begin() + 255, 0), 128);
}

TEST(ScrambleChunk, GeneratorUseDependsOnLengthNotOnData)
{
    const PreparedKey key(kKeys[1]);
    auto a = distinctishBytes(65536, 1);
    auto b = distinctishBytes(a.size(), 2);
    key.scramble(a, 1);
    const int32_t afterA = scrambleGenerator.saved();
    key.scramble(b, 0);
    EXPECT_EQ(scrambleGenerator.saved(), afterA);
}

TEST(ScrambleChunk, OneByteChunkKeepsItsByteButAdvancesTheGenerator)
{
    const PreparedKey key(kKeys[0]);
    std::vector<uint8_t> chunk = {0xAB};
    key.scramble(chunk, 1);
    EXPECT_EQ(chunk[0], 0xAB);
    EXPECT_NE(scrambleGenerator.saved(), key.generatorAfterPreparation);
}

TEST(ScrambleChunk, ProgressShareAddsUpToAboutEightyTwo)
{
    const PreparedKey key(kKeys[0]);
    std::vector<uint8_t> chunk(65536);
    progressTotal = 0.0f;
    key.scramble(chunk, 1);
    EXPECT_NEAR(progressTotal, 82.0f, 4.0f);
}

}  // namespace
}  // namespace tarvex

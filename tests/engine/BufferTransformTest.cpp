#include <gtest/gtest.h>

#include <cstring>

#include "ScratchFolder.h"
#include "tarvex.h"

namespace {

using namespace enginetest;

const char* const kKey = "buffer key text";

Bytes transformWhole(const Bytes& input, int direction, int layerChoice)
{
    Bytes output(input.size());
    tarvexTransformBuffer(kKey, input.data(), static_cast<int32_t>(input.size()), output.data(), direction, layerChoice,
                          1);
    return output;
}

// Pieces of at most 65536 bytes; firstPiece on the first only, unless every
// piece is told to start afresh.
Bytes transformInPieces(Bytes data, int direction, int layerChoice, bool everyPieceFirst = false)
{
    for (size_t done = 0; done < data.size(); done += 65536) {
        const auto piece = static_cast<int32_t>(std::min<size_t>(65536, data.size() - done));
        tarvexTransformBuffer(kKey, data.data() + done, piece, data.data() + done, direction, layerChoice,
                              everyPieceFirst || done == 0);
    }
    return data;
}

TEST(BufferTransform, RoundTripsInPlaceAndBetweenTwoBuffers)
{
    for (int layerChoice : {0, 1, 2}) {
        for (size_t length : {1u, 7u, 8u, 255u, 65536u, 65537u, 200000u}) {
            const Bytes plain = randomBytes(length, static_cast<uint32_t>(length));
            const Bytes sealed = transformWhole(plain, 1, layerChoice);
            if (length >= 128) {
                EXPECT_NE(sealed, plain);
            }
            EXPECT_EQ(transformWhole(sealed, 0, layerChoice), plain) << layerChoice << " " << length;

            Bytes inPlace = plain;
            tarvexTransformBuffer(kKey, inPlace.data(), static_cast<int32_t>(length), inPlace.data(), 1, layerChoice,
                                  1);
            EXPECT_EQ(inPlace, sealed);
        }
    }
}

TEST(BufferTransform, PiecesEqualOneCallEqualTheFileTransform)
{
    ScratchFolder folder;
    const Bytes plain = randomBytes(200000, 21);
    writeFile("plain", plain);
    for (int direction : {1, 0}) {
        for (int layerChoice : {0, 1, 2}) {
            const Bytes whole = transformWhole(plain, direction, layerChoice);
            EXPECT_EQ(transformInPieces(plain, direction, layerChoice), whole);
            ASSERT_EQ(tarvexTransformFile(kKey, "plain", "target", direction, layerChoice), TARVEX_OK);
            EXPECT_EQ(readFile("target"), whole) << direction << " " << layerChoice;
        }
    }
}

TEST(BufferTransform, RestartingTheGeneratorOnEveryPieceChangesOnlyScrambledData)
{
    const Bytes plain = randomBytes(200000, 22);
    for (int layerChoice : {0, 2}) {
        const Bytes chained = transformInPieces(plain, 1, layerChoice);
        const Bytes restarted = transformInPieces(plain, 1, layerChoice, true);
        EXPECT_TRUE(std::equal(chained.begin(), chained.begin() + 65536, restarted.begin()));
        EXPECT_FALSE(std::equal(chained.begin() + 65536, chained.begin() + 131072, restarted.begin() + 65536));
    }
    EXPECT_EQ(transformInPieces(plain, 1, 1, true), transformInPieces(plain, 1, 1));
}

TEST(BufferTransform, AFileTransformBetweenPiecesDoesNotDisturbTheCarriedState)
{
    ScratchFolder folder;
    const Bytes plain = randomBytes(131072, 23);
    const Bytes expected = transformWhole(plain, 1, 0);

    writeFile("other", randomBytes(3000, 24));
    Bytes data = plain;
    tarvexTransformBuffer(kKey, data.data(), 65536, data.data(), 1, 0, 1);
    ASSERT_EQ(tarvexTransformFile("another key", "other", "other", 1, 0), TARVEX_OK);
    tarvexTransformBuffer(kKey, data.data() + 65536, 65536, data.data() + 65536, 1, 0, 0);
    EXPECT_EQ(data, expected);
}

TEST(BufferTransform, OverlappingAreasGiveTheSameBytesAsSeparateOnes)
{
    const Bytes plain = randomBytes(100000, 25);
    const Bytes expected = transformWhole(plain, 1, 0);
    for (ptrdiff_t shift : {-30000, -1, 1, 30000}) {
        Bytes area(plain.size() + 80000);
        const size_t sourceAt = 40000;
        std::memcpy(area.data() + sourceAt, plain.data(), plain.size());
        uint8_t* target = area.data() + sourceAt + shift;
        tarvexTransformBuffer(kKey, area.data() + sourceAt, static_cast<int32_t>(plain.size()), target, 1, 0, 1);
        EXPECT_TRUE(std::equal(expected.begin(), expected.end(), target)) << "shift " << shift;
    }
}

TEST(BufferTransform, NonPositiveLengthTransformsNothing)
{
    Bytes data = {1, 2, 3};
    tarvexTransformBuffer(kKey, data.data(), 0, data.data(), 1, 0, 1);
    tarvexTransformBuffer(kKey, data.data(), -5, data.data(), 1, 0, 1);
    EXPECT_EQ(data, (Bytes{1, 2, 3}));
}

}  // namespace

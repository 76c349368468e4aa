// The step-by-step model against the engine's exports: the known-answer
// vectors are written from the model, so the two must agree first.
#include <gtest/gtest.h>

#include "ReferenceTransform.h"
#include "ScratchFolder.h"
#include "tarvex.h"

namespace {

using namespace enginetest;

const std::string kKeys[] = {"abcdefgh", "a much longer key, thirty-two+ chars",
                             "xy0P0p0P0p0P0p0P and a run of zero-step reloads", std::string("h\xE9\xFF\x80-ke\xFE", 8)};

Bytes engineBuffer(const std::string& key, Bytes data, int direction, int layerChoice, int firstPiece)
{
    tarvexTransformBuffer(key.c_str(), data.data(), static_cast<int32_t>(data.size()), data.data(), direction,
                          layerChoice, firstPiece);
    return data;
}

TEST(ReferenceTransform, AgreesWithTheEngineOverKeysLayersAndChunkBoundaries)
{
    for (const std::string& key : kKeys) {
        for (int layerChoice : {0, 1, 2, 3}) {
            for (size_t length : {1u, 7u, 9u, 255u, 65536u, 65541u}) {
                const Bytes input = randomBytes(length, static_cast<uint32_t>(length + layerChoice));
                for (int direction : {1, 0}) {
                    const Bytes expected = reference::transformWhole(key, input, direction, layerChoice);
                    ASSERT_EQ(engineBuffer(key, input, direction, layerChoice, 1), expected)
                        << key << " layer " << layerChoice << " length " << length << " direction " << direction;
                }
            }
        }
    }
}

TEST(ReferenceTransform, ContinuesAChainOfPiecesAsTheEngineDoes)
{
    const Bytes input = randomBytes(70000, 5);
    for (int layerChoice : {0, 2}) {
        reference::Continuation continuation;
        size_t done = 0;
        for (size_t piece : {1000u, 65536u, 3464u}) {
            const Bytes part(input.begin() + static_cast<long>(done), input.begin() + static_cast<long>(done + piece));
            const Bytes expected = reference::transform(kKeys[1], part, true, layerChoice, done == 0, continuation);
            ASSERT_EQ(engineBuffer(kKeys[1], part, 1, layerChoice, done == 0), expected) << "piece at " << done;
            done += piece;
        }
    }
}

}  // namespace

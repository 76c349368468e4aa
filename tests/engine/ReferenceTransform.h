#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "ReferenceBlockCipher.h"
#include "ReferenceGenerator.h"
#include "ReferenceScramble.h"

// A whole transform written out step by step, as a model for the engine's
// exports: key preparation, then chunk after chunk the scrambling and the
// block cipher in the order the direction asks for, the generator running on
// from the key through every chunk. Slow and plain on purpose.
namespace reference {

constexpr size_t kChunk = 65536;
constexpr size_t kPrepared = 88;

struct PreparedKey {
    std::vector<uint8_t> block;  // 88 bytes: 16 that steer the scrambling, 72 for the block cipher
    ReferenceGenerator generator;
};

inline int drawsFor(uint8_t byte)
{
    const int magnitude = std::abs(int(int8_t(byte)));
    return magnitude == 0 ? 1 : magnitude;
}

inline PreparedKey prepareKey(const std::string& text, int layerChoice)
{
    std::vector<uint8_t> block;
    if (layerChoice == 1) {
        block.assign(text.begin(), text.begin() + std::min<size_t>(text.size(), 16));
        block.insert(block.end(), text.begin(), text.end());
        if (block.size() > kPrepared) block.resize(kPrepared);
    } else {
        block.assign(text.begin(), text.end());
    }
    // The seed is the last character before any expansion; an empty text has
    // only its terminating zero.
    ReferenceGenerator generator(block.empty() ? 0 : int8_t(block.back()));
    if (block.size() < 32 && layerChoice != 1 && layerChoice != 2) {
        const size_t half = block.size() / 2;
        std::vector<uint8_t> generated;
        for (size_t j = 0; generated.size() < 16 - half; ++j)
            generated.push_back(generator.keyByteFor(half == 0 ? 0 : block[j % half]));
        block.insert(block.begin() + static_cast<long>(half), generated.begin(), generated.end());
    }
    // An empty text leaves byte i unwritten (zero) until the fill writes it.
    for (size_t i = 0; block.size() < kPrepared; ++i)
        block.push_back(generator.keyByteFor(i < block.size() ? block[i] : 0));
    block.resize(kPrepared);
    return {block, generator};
}

// One chunk, both layers as layerChoice asks: 1 the block cipher alone, 2 the
// scrambling alone, anything else both.
inline void transformChunk(const PreparedKey& key, const ReferenceBlockCipher& cipher, ReferenceGenerator& generator,
                           std::vector<uint8_t>& chunk, bool encrypt, int layerChoice)
{
    const bool scrambles = layerChoice != 1, ciphers = layerChoice != 2;
    if (encrypt && scrambles) referenceScramble(key.block.data(), chunk, generator, true);
    if (ciphers) cipher.cipherChunk(chunk.data(), chunk.size(), encrypt);
    if (!encrypt && scrambles) referenceScramble(key.block.data(), chunk, generator, false);
}

// The generator state a buffer transform leaves for the next piece.
struct Continuation {
    int32_t saved = 0;
};

// A buffer transform; a file transform is one over the whole file with
// firstPiece set. With firstPiece clear the generator continues from the
// state the previous piece left.
inline std::vector<uint8_t> transform(const std::string& key, std::vector<uint8_t> data, bool encrypt, int layerChoice,
                                      bool firstPiece, Continuation& continuation)
{
    PreparedKey prepared = prepareKey(key, layerChoice);
    ReferenceGenerator generator = firstPiece ? prepared.generator : ReferenceGenerator(continuation.saved);
    const ReferenceBlockCipher cipher(prepared.block.data() + 16);
    for (size_t offset = 0; offset < data.size(); offset += kChunk) {
        const size_t length = std::min(kChunk, data.size() - offset);
        std::vector<uint8_t> chunk(data.begin() + static_cast<long>(offset),
                                   data.begin() + static_cast<long>(offset + length));
        transformChunk(prepared, cipher, generator, chunk, encrypt, layerChoice);
        std::copy(chunk.begin(), chunk.end(), data.begin() + static_cast<long>(offset));
    }
    continuation.saved = static_cast<int32_t>(generator.state());
    return data;
}

inline std::vector<uint8_t> transformWhole(const std::string& key, std::vector<uint8_t> data, bool encrypt,
                                           int layerChoice)
{
    Continuation unused;
    return transform(key, std::move(data), encrypt, layerChoice, true, unused);
}

}  // namespace reference

#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "PiTables.inc"

// The block cipher written out as plainly as it reads: a 16-round Feistel
// network over the pi tables with the bytes of every word reversed, a round
// function that takes only the low five bits of the second and fourth boxes,
// sign-extended key bytes, a key expansion that starts from 0xAAAAAAAA, and
// little-endian halves. A model for the engine's unrolled, interleaved code.
class ReferenceBlockCipher {
public:
    explicit ReferenceBlockCipher(const uint8_t* key72)
    {
        for (int i = 0; i < 18; ++i) p_[i] = reversed(tarvex::kPiPArray[i]);
        for (int box = 0; box < 4; ++box)
            for (int i = 0; i < 256; ++i) s_[box][i] = reversed(tarvex::kPiSBoxes[box][i]);
        int j = 0;
        for (uint32_t& word : p_) {
            uint32_t mixed = 0xAAAAAAAAu;
            for (int k = 0; k < 4; ++k) mixed = (mixed << 8) | uint32_t(int32_t(int8_t(key72[j++ % 72])));
            word ^= mixed;
        }
        uint32_t l = 0xAAAAAAAAu, r = 0xAAAAAAAAu;
        std::vector<uint32_t*> words;
        for (uint32_t& word : p_) words.push_back(&word);
        for (auto& box : s_)
            for (uint32_t& word : box) words.push_back(&word);
        for (size_t i = 0; i < words.size(); i += 2) {
            encryptBlock(l, r);
            *words[i] = l;
            *words[i + 1] = r;
        }
    }

    uint32_t round(uint32_t x) const
    {
        return ((s_[0][x >> 24] + (s_[1][(x >> 16) & 255] & 31)) ^ s_[2][(x >> 8) & 255]) + (s_[3][x & 255] & 31);
    }

    void encryptBlock(uint32_t& l, uint32_t& r) const
    {
        for (int i = 0; i < 16; ++i) {
            l ^= p_[i];
            r ^= round(l);
            std::swap(l, r);
        }
        std::swap(l, r);
        r ^= p_[16];
        l ^= p_[17];
    }

    void decryptBlock(uint32_t& l, uint32_t& r) const
    {
        for (int i = 17; i >= 2; --i) {
            l ^= p_[i];
            r ^= round(l);
            std::swap(l, r);
        }
        std::swap(l, r);
        r ^= p_[1];
        l ^= p_[0];
    }

    // Whole 8-byte blocks in ECB, then every tail byte through its own
    // substitution.
    void cipherChunk(uint8_t* chunk, size_t n, bool encrypt) const
    {
        const size_t blocks = n / 8;
        for (size_t k = 0; k < blocks; ++k) {
            uint8_t* block = chunk + 8 * k;
            uint32_t l = loadLittle(block), r = loadLittle(block + 4);
            if (encrypt) encryptBlock(l, r);
            else decryptBlock(l, r);
            storeLittle(block, l);
            storeLittle(block + 4, r);
        }
        for (size_t i = 8 * blocks; i < n; ++i) chunk[i] = tailByte(chunk[i], encrypt);
    }

    uint8_t tailByte(uint8_t byte, bool encrypt) const
    {
        uint32_t x = byte >> 4, y = byte & 15;
        for (int step = 0; step < 16; ++step) {
            const int k = encrypt ? step : 15 - step;
            const uint32_t oldX = x;
            x = y ^ (s_[0][k] & 15);
            y = oldX ^ (p_[k] & 15);
        }
        return static_cast<uint8_t>(x | y << 4);
    }

private:
    static uint32_t reversed(uint32_t w) { return w >> 24 | (w >> 8 & 0xFF00) | (w << 8 & 0xFF0000) | w << 24; }
    static uint32_t loadLittle(const uint8_t* b) { return b[0] | b[1] << 8 | b[2] << 16 | uint32_t(b[3]) << 24; }
    static void storeLittle(uint8_t* b, uint32_t w)
    {
        for (int i = 0; i < 4; ++i) b[i] = static_cast<uint8_t>(w >> (8 * i));
    }

    uint32_t p_[18];
    uint32_t s_[4][256];
};

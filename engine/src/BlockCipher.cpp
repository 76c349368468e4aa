#include "BlockCipher.h"

#include <algorithm>
#include <cstring>

#include "PiTables.inc"
#include "Progress.h"
#include "SecureWipe.h"

namespace tarvex {

CipherTables workingTables;

namespace {

constexpr uint32_t reverseBytes(uint32_t word)
{
    return (word >> 24) | ((word >> 8) & 0x0000FF00u) | ((word << 8) & 0x00FF0000u) | (word << 24);
}

constexpr CipherTables buildInitialTables()
{
    CipherTables tables{};
    for (int i = 0; i < 18; ++i) tables.p[i] = reverseBytes(kPiPArray[i]);
    for (int box = 0; box < 4; ++box)
        for (int i = 0; i < 256; ++i) tables.s[box][i] = reverseBytes(kPiSBoxes[box][i]);
    return tables;
}

constexpr CipherTables kInitialTables = buildInitialTables();

// Only the low five bits of the S1 and S3 entries take part.
inline uint32_t mixRound(const CipherTables& t, uint32_t x)
{
    return ((t.s[0][x >> 24] + (t.s[1][(x >> 16) & 0xFF] & 31)) ^ t.s[2][(x >> 8) & 0xFF]) + (t.s[3][x & 0xFF] & 31);
}

inline void encryptPair(const CipherTables& t, uint32_t& left, uint32_t& right)
{
    uint32_t l = left, r = right;
    for (int i = 0; i < 16; i += 2) {
        l ^= t.p[i];
        r ^= mixRound(t, l);
        r ^= t.p[i + 1];
        l ^= mixRound(t, r);
    }
    left = r ^ t.p[17];
    right = l ^ t.p[16];
}

inline void decryptPair(const CipherTables& t, uint32_t& left, uint32_t& right)
{
    uint32_t l = left, r = right;
    for (int i = 17; i > 1; i -= 2) {
        l ^= t.p[i];
        r ^= mixRound(t, l);
        r ^= t.p[i - 1];
        l ^= mixRound(t, r);
    }
    left = r ^ t.p[0];
    right = l ^ t.p[1];
}

inline uint32_t loadLittleEndian(const uint8_t* bytes)
{
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
}

inline void storeLittleEndian(uint8_t* bytes, uint32_t word)
{
    bytes[0] = static_cast<uint8_t>(word);
    bytes[1] = static_cast<uint8_t>(word >> 8);
    bytes[2] = static_cast<uint8_t>(word >> 16);
    bytes[3] = static_cast<uint8_t>(word >> 24);
}

// Several independent blocks side by side keep the processor's table loads
// overlapped; ECB has no chaining that would forbid it.
constexpr int kParallelBlocks = 4;

template <bool Encrypt>
inline void cipherParallelBlocks(const CipherTables& t, uint32_t (&l)[kParallelBlocks], uint32_t (&r)[kParallelBlocks])
{
    const auto key = [&t](int round) { return t.p[Encrypt ? round : 17 - round]; };
#pragma GCC unroll 8
    for (int round = 0; round < 16; round += 2) {
#pragma GCC unroll 4
        for (int b = 0; b < kParallelBlocks; ++b) {
            l[b] ^= key(round);
            r[b] ^= mixRound(t, l[b]) ^ key(round + 1);
            l[b] ^= mixRound(t, r[b]);
        }
    }
    for (int b = 0; b < kParallelBlocks; ++b) {
        const uint32_t left = r[b] ^ key(17);
        r[b] = l[b] ^ key(16);
        l[b] = left;
    }
}

template <bool Encrypt>
void cipherBlockRun(const CipherTables& t, uint8_t* chunk, int32_t blocks)
{
    int32_t k = 0;
    for (; k + kParallelBlocks <= blocks; k += kParallelBlocks) {
        uint8_t* first = chunk + 8 * k;
        uint32_t left[kParallelBlocks], right[kParallelBlocks];
        for (int b = 0; b < kParallelBlocks; ++b) {
            left[b] = loadLittleEndian(first + 8 * b);
            right[b] = loadLittleEndian(first + 8 * b + 4);
        }
        cipherParallelBlocks<Encrypt>(t, left, right);
        for (int b = 0; b < kParallelBlocks; ++b) {
            storeLittleEndian(first + 8 * b, left[b]);
            storeLittleEndian(first + 8 * b + 4, right[b]);
        }
    }
    for (; k < blocks; ++k) {
        uint8_t* block = chunk + 8 * k;
        uint32_t left = loadLittleEndian(block);
        uint32_t right = loadLittleEndian(block + 4);
        if constexpr (Encrypt) encryptPair(t, left, right);
        else decryptPair(t, left, right);
        storeLittleEndian(block, left);
        storeLittleEndian(block + 4, right);
    }
}

// Blocks between two rounds of progress reports. Every block still gets its
// report, in order, but a report that could call out cannot sit between the
// blocks: the compiler would then have to keep nothing in registers.
constexpr int32_t kBlocksPerReportRound = 512;

template <bool Encrypt>
void cipherBlocks(uint8_t* chunk, int32_t blocks, long double increment)
{
    const CipherTables& t = workingTables;
    for (int32_t done = 0; done < blocks; done += kBlocksPerReportRound) {
        const int32_t run = std::min(kBlocksPerReportRound, blocks - done);
        cipherBlockRun<Encrypt>(t, chunk + 8 * done, run);
        advanceProgressTimes(increment, run);
    }
}

}  // namespace

const CipherTables& initialTables() { return kInitialTables; }

void mixKeyIntoPArray(const uint8_t* key, int keyLength)
{
    int j = 0;
    for (uint32_t& word : workingTables.p) {
        uint32_t mixed = 0xAAAAAAAAu;
        for (int k = 0; k < 4; ++k) {
            // Key bytes count as signed: a byte of 0x80 or more sets every bit above it.
            mixed = (mixed << 8) | static_cast<uint32_t>(static_cast<int32_t>(static_cast<int8_t>(key[j])));
            if (++j >= keyLength) j = 0;
        }
        word ^= mixed;
    }
}

void keySchedule(const uint8_t* key, int keyLength)
{
    CipherTables& t = workingTables;
    t = kInitialTables;
    mixKeyIntoPArray(key, keyLength);

    // Each encryption starts from the previous output, with the tables as
    // replaced so far.
    uint32_t left = 0xAAAAAAAAu, right = 0xAAAAAAAAu;
    for (int i = 0; i < 18; i += 2) {
        encryptPair(t, left, right);
        t.p[i] = left;
        t.p[i + 1] = right;
    }
    for (auto& box : t.s) {
        for (int i = 0; i < 256; i += 2) {
            encryptPair(t, left, right);
            box[i] = left;
            box[i + 1] = right;
        }
    }
}

uint32_t roundFunction(uint32_t x) { return mixRound(workingTables, x); }

void encryptBlock(uint32_t& left, uint32_t& right) { encryptPair(workingTables, left, right); }

void decryptBlock(uint32_t& left, uint32_t& right) { decryptPair(workingTables, left, right); }

uint8_t encryptTailByte(uint8_t byte)
{
    uint32_t x = byte >> 4, y = byte & 15;
    for (int k = 0; k < 16; ++k) {
        uint32_t nextX = y ^ (workingTables.s[0][k] & 15);
        y = x ^ (workingTables.p[k] & 15);
        x = nextX;
    }
    return static_cast<uint8_t>(x | y << 4);
}

uint8_t decryptTailByte(uint8_t byte)
{
    uint32_t x = byte >> 4, y = byte & 15;
    for (int k = 15; k >= 0; --k) {
        uint32_t nextX = y ^ (workingTables.s[0][k] & 15);
        y = x ^ (workingTables.p[k] & 15);
        x = nextX;
    }
    return static_cast<uint8_t>(x | y << 4);
}

void cipherChunk(uint8_t* chunk, int32_t length, int direction, int layerChoice, int64_t chunkEstimate)
{
    const int weight = layerChoice == 1 ? 100 : 18;
    const int32_t blocks = length / 8;
    if (blocks > 0) {
        const long double increment = static_cast<long double>(weight) / chunkEstimate / blocks;
        if (direction) cipherBlocks<true>(chunk, blocks, increment);
        else cipherBlocks<false>(chunk, blocks, increment);
    }
    for (int32_t i = blocks * 8; i < length; ++i)
        chunk[i] = direction ? encryptTailByte(chunk[i]) : decryptTailByte(chunk[i]);
}

void wipeWorkingTables() { secureWipe(&workingTables, sizeof workingTables); }

}  // namespace tarvex

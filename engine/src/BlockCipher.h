#pragma once

#include <cstdint>

namespace tarvex {

constexpr int kBlockCipherKeyLength = 72;

struct CipherTables {
    uint32_t p[18];
    uint32_t s[4][256];
};

// Working tables of the current key; zeroed when a transform ends.
extern CipherTables workingTables;

// The tables every key schedule starts from: the digits of pi with the four
// bytes of each word reversed.
const CipherTables& initialTables();

// Builds the working tables from a 72-byte key.
void keySchedule(const uint8_t* key, int keyLength);

// The key schedule's first step: XORs the key, four sign-extended bytes to a
// word, into the working P-array.
void mixKeyIntoPArray(const uint8_t* key, int keyLength);

uint32_t roundFunction(uint32_t x);
void encryptBlock(uint32_t& left, uint32_t& right);
void decryptBlock(uint32_t& left, uint32_t& right);
uint8_t encryptTailByte(uint8_t byte);
uint8_t decryptTailByte(uint8_t byte);

// ECB over the whole 8-byte blocks of a chunk (halves little-endian), then the
// byte-wide transform over the tail; reports progress after every block.
void cipherChunk(uint8_t* chunk, int32_t length, int direction, int layerChoice, int64_t chunkEstimate);

void wipeWorkingTables();

}  // namespace tarvex

#pragma once

// The window record of an in-place run ("TXE<n>.undo" beside "TXE<n>.adt"):
// what the repair needs to put right the window of chunks the run is
// rewriting, whatever part of it reached the disk. It only ever holds
// enciphered bytes: for an encryption the window's new bytes (the repair
// rolls the window forward), for a decryption its old bytes (the repair rolls
// it back).
//
// Layout: a header at offset 0, written once when the run starts; the window
// at kWindowOffset, its bytes followed by a trailer that says which window
// they are and lets a reader tell a whole record from a torn one. Rewriting
// the window never touches the header's block. Numbers are little-endian,
// whatever the machine. The engine writes the record; the repair reads it.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>

namespace windowrecord {

inline constexpr std::string_view kJournalSuffix = ".adt";
inline constexpr std::string_view kRecordSuffix = ".undo";

inline constexpr unsigned char kHeaderMagic[8] = {'T', 'X', 'R', 'E', 'C', '0', '2', '\n'};
inline constexpr unsigned char kWindowMagic[8] = {'T', 'X', 'W', 'I', 'N', '0', '2', '\n'};

// The most bytes one window holds: 64 chunks.
inline constexpr std::size_t kWindowBytes = 64 * 65536;

// magic, key check, checksum of the two.
inline constexpr std::size_t kHeaderSize = 24;
inline constexpr std::size_t kWindowOffset = 4096;
// magic, first chunk's index, window start, length, checksum: eight bytes each.
inline constexpr std::size_t kTrailerSize = 40;
inline constexpr std::size_t kFieldsSize = 32;  // what the checksum covers besides the bytes

// The bytes whose transform with the run's key and layer choice (encrypting,
// as one buffer from a fresh generator) gives the key check.
inline constexpr std::size_t kKeyProbeSize = 64;
inline void keyProbe(unsigned char (&probe)[kKeyProbeSize])
{
    for (std::size_t i = 0; i < kKeyProbeSize; ++i) probe[i] = static_cast<unsigned char>(i * 37 + 11);
}

struct Fields {
    uint64_t firstChunk = 0;   // index of the window's first chunk
    uint64_t windowStart = 0;  // the window's byte position in its file
    uint64_t length = 0;       // bytes in the window
};

namespace detail {

inline void store64(unsigned char* out, uint64_t value)
{
    for (int i = 0; i < 8; ++i) out[i] = static_cast<unsigned char>(value >> (8 * i));
}

inline uint64_t load64(const unsigned char* in)
{
    uint64_t value = 0;
    for (int i = 7; i >= 0; --i) value = value << 8 | in[i];
    return value;
}

inline uint64_t rotateLeft(uint64_t value, int bits) { return value << bits | value >> (64 - bits); }

// Every step is a bijection of the state for a given word, so two inputs that
// differ in one stretch of words (a write cut short) keep different states.
inline uint64_t absorb(uint64_t state, uint64_t word) { return rotateLeft(state ^ word, 31) * 0x9E3779B97F4A7C15ull; }

inline uint64_t finalMix(uint64_t state)
{
    state ^= state >> 33;
    state *= 0xFF51AFD7ED558CCDull;
    state ^= state >> 33;
    state *= 0xC4CEB9FE1A85EC53ull;
    return state ^ (state >> 33);
}

inline uint64_t absorbBytes(uint64_t state, const unsigned char* bytes, std::size_t length)
{
    std::size_t done = 0;
    for (; done + 8 <= length; done += 8) state = absorb(state, load64(bytes + done));
    if (done < length) {
        unsigned char tail[8] = {};
        std::memcpy(tail, bytes + done, length - done);
        state = absorb(state, load64(tail));
    }
    return state;
}

inline void storeFields(unsigned char* out, const Fields& fields)
{
    std::memcpy(out, kWindowMagic, sizeof kWindowMagic);
    store64(out + 8, fields.firstChunk);
    store64(out + 16, fields.windowStart);
    store64(out + 24, fields.length);
}

}  // namespace detail

// Eight bytes that tell whether a key and layer choice are the run's: a
// digest of the key probe's transform.
inline uint64_t keyCheck(const unsigned char (&probeTransformed)[kKeyProbeSize])
{
    return detail::finalMix(detail::absorbBytes(0x4B6579436865636Bull, probeTransformed, kKeyProbeSize));
}

inline void writeHeader(uint64_t keyCheckValue, unsigned char (&header)[kHeaderSize])
{
    std::memcpy(header, kHeaderMagic, sizeof kHeaderMagic);
    detail::store64(header + 8, keyCheckValue);
    detail::store64(header + 16, detail::finalMix(detail::absorbBytes(0x54617276657852ull, header, 16)));
}

// The key check of a whole header; nothing when it is none.
inline std::optional<uint64_t> readHeader(const unsigned char* header, std::size_t size)
{
    if (size < kHeaderSize || std::memcmp(header, kHeaderMagic, sizeof kHeaderMagic) != 0) return std::nullopt;
    if (detail::load64(header + 16) != detail::finalMix(detail::absorbBytes(0x54617276657852ull, header, 16)))
        return std::nullopt;
    return detail::load64(header + 8);
}

// Over the window's bytes and the trailer's fields.
inline uint64_t checksum(const unsigned char* bytes, const Fields& fields)
{
    uint64_t state = detail::absorbBytes(0x54617276657855ull, bytes, static_cast<std::size_t>(fields.length));
    unsigned char stored[kFieldsSize];
    detail::storeFields(stored, fields);
    return detail::finalMix(detail::absorbBytes(state, stored, kFieldsSize));
}

// The trailer that follows `bytes` (fields.length of them).
inline void writeTrailer(const unsigned char* bytes, const Fields& fields, unsigned char (&trailer)[kTrailerSize])
{
    detail::storeFields(trailer, fields);
    detail::store64(trailer + kFieldsSize, checksum(bytes, fields));
}

// The fields of a whole window: `window` is everything from kWindowOffset on,
// the bytes and then the trailer. Nothing when it is torn, cut short or none.
inline std::optional<Fields> readWholeWindow(const unsigned char* window, std::size_t size)
{
    if (size < kTrailerSize) return std::nullopt;
    const unsigned char* trailer = window + size - kTrailerSize;
    if (std::memcmp(trailer, kWindowMagic, sizeof kWindowMagic) != 0) return std::nullopt;
    Fields fields;
    fields.firstChunk = detail::load64(trailer + 8);
    fields.windowStart = detail::load64(trailer + 16);
    fields.length = detail::load64(trailer + 24);
    if (fields.length != size - kTrailerSize) return std::nullopt;
    if (detail::load64(trailer + kFieldsSize) != checksum(window, fields)) return std::nullopt;
    return fields;
}

}  // namespace windowrecord

#pragma once

// The undo copy of an in-place run: the original bytes of the chunk being
// rewritten, followed by a trailer that says which chunk they are and lets a
// reader tell a whole copy from a half-written one. The engine writes it; the
// repair reads it. Numbers are stored little-endian, whatever the machine.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>

namespace undocopy {

// The copy lies beside its journal under the journal's name with this
// suffix in place of the journal's.
inline constexpr std::string_view kJournalSuffix = ".adt";
inline constexpr std::string_view kUndoSuffix = ".undo";

inline constexpr unsigned char kMagic[8] = {'T', 'X', 'U', 'N', 'D', 'O', '1', '\n'};

// magic, chunk index, chunk start, length, checksum: eight bytes each.
inline constexpr std::size_t kTrailerSize = 40;
inline constexpr std::size_t kFieldsSize = 32;  // what the checksum covers besides the bytes

struct Fields {
    uint64_t chunkIndex = 0;
    uint64_t chunkStart = 0;  // the chunk's byte position in its file
    uint64_t length = 0;      // bytes in the copy
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

inline void storeFields(unsigned char* out, const Fields& fields)
{
    std::memcpy(out, kMagic, sizeof kMagic);
    store64(out + 8, fields.chunkIndex);
    store64(out + 16, fields.chunkStart);
    store64(out + 24, fields.length);
}

}  // namespace detail

// Over the copied bytes and the trailer's fields.
inline uint64_t checksum(const unsigned char* bytes, const Fields& fields)
{
    uint64_t state = 0x54617276657855ull;
    std::size_t done = 0;
    for (; done + 8 <= fields.length; done += 8) state = detail::absorb(state, detail::load64(bytes + done));
    if (done < fields.length) {
        unsigned char tail[8] = {};
        std::memcpy(tail, bytes + done, static_cast<std::size_t>(fields.length - done));
        state = detail::absorb(state, detail::load64(tail));
    }
    unsigned char stored[kFieldsSize];
    detail::storeFields(stored, fields);
    for (std::size_t at = 0; at < kFieldsSize; at += 8) state = detail::absorb(state, detail::load64(stored + at));
    return detail::finalMix(state);
}

// The trailer that follows `bytes` (fields.length of them) in the copy.
inline void writeTrailer(const unsigned char* bytes, const Fields& fields, unsigned char (&trailer)[kTrailerSize])
{
    detail::storeFields(trailer, fields);
    detail::store64(trailer + kFieldsSize, checksum(bytes, fields));
}

// The fields of a whole copy: `record` is the copy file's content, the bytes
// and then the trailer. Nothing when the copy is torn, cut short or no copy
// at all.
inline std::optional<Fields> readWholeCopy(const unsigned char* record, std::size_t recordSize)
{
    if (recordSize < kTrailerSize) return std::nullopt;
    const unsigned char* trailer = record + recordSize - kTrailerSize;
    if (std::memcmp(trailer, kMagic, sizeof kMagic) != 0) return std::nullopt;
    Fields fields;
    fields.chunkIndex = detail::load64(trailer + 8);
    fields.chunkStart = detail::load64(trailer + 16);
    fields.length = detail::load64(trailer + 24);
    if (fields.length != recordSize - kTrailerSize) return std::nullopt;
    if (detail::load64(trailer + kFieldsSize) != checksum(record, fields)) return std::nullopt;
    return fields;
}

}  // namespace undocopy

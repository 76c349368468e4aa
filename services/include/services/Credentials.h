// The stored form of the user ID and password: each is the engine's encoding
// of the typed text (up to its first zero byte) followed by pad bytes, so the
// value always fills exactly credentialSize bytes and never holds a zero.
#pragma once

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace services {

inline constexpr std::size_t credentialSize = 256;

// The pad bytes' source: s = (s * 31416021 + 1) mod 2^28, one instance for
// one save.
class PadGenerator {
public:
    explicit PadGenerator(std::int32_t seed);
    // Steps the generator; never zero, so the value keeps no terminator.
    unsigned char next();

private:
    std::uint32_t state_;
};

// The bytes of an encoding that count: those before its first zero byte.
std::string_view encodedPrefix(std::string_view encoded);

// The seed of one save: the byte of the encoded password (zero-terminated in
// a credentialSize area) at half its counted length, as a signed value.
std::int32_t padSeed(std::string_view encodedPassword);

// The prefix followed by pad bytes up to credentialSize.
QByteArray storedCredential(std::string_view prefix, PadGenerator& pad);

// Whether a typed credential's encoding matches the stored value: a
// non-empty prefix equal to the stored value's first bytes.
bool credentialMatches(std::string_view prefix, const QByteArray& stored);

// What the store holds. A "userid" decides whether a start must ask; a
// "userid" without a fitting "password", or either of the wrong size, is
// damaged: it can be neither checked nor ignored.
enum class StoredPair { None, Complete, Damaged };
StoredPair classifyStoredPair(const std::optional<QByteArray>& userId, const std::optional<QByteArray>& password);

}  // namespace services

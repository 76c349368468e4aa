#include "services/Credentials.h"

#include <algorithm>

namespace services {

namespace {

constexpr std::uint32_t stateMask = (1u << 28) - 1;
constexpr std::uint32_t multiplier = 31416021;  // 1917 * 16384 + 7893

}  // namespace

PadGenerator::PadGenerator(std::int32_t seed) : state_(static_cast<std::uint32_t>(seed) & stateMask) {}

unsigned char PadGenerator::next()
{
    // 64-bit product, so the mod 2^28 result equals the 14-bit-halves form.
    state_ = static_cast<std::uint32_t>((std::uint64_t{state_} * multiplier + 1) & stateMask);
    const auto byte = static_cast<unsigned char>(((state_ >> 14) & 0xff) ^ 0x80);
    return byte == 0 ? 1 : byte;
}

std::string_view encodedPrefix(std::string_view encoded)
{
    const auto zero = encoded.find('\0');
    return zero == std::string_view::npos ? encoded : encoded.substr(0, zero);
}

std::int32_t padSeed(std::string_view encodedPassword)
{
    const std::string_view prefix = encodedPrefix(encodedPassword);
    const std::size_t index = prefix.size() / 2;
    // Past the prefix the area holds its terminator.
    const char byte = index < prefix.size() ? prefix[index] : '\0';
    return static_cast<std::int32_t>(static_cast<signed char>(byte));
}

QByteArray storedCredential(std::string_view prefix, PadGenerator& pad)
{
    QByteArray stored(qsizetype(credentialSize), '\0');
    const std::size_t kept = std::min(prefix.size(), credentialSize);
    std::copy_n(prefix.data(), kept, stored.data());
    for (std::size_t i = kept; i < credentialSize; ++i) stored[qsizetype(i)] = static_cast<char>(pad.next());
    return stored;
}

bool credentialMatches(std::string_view prefix, const QByteArray& stored)
{
    if (prefix.empty() || prefix.size() > std::size_t(stored.size())) return false;
    return std::equal(prefix.begin(), prefix.end(), stored.constData());
}

StoredPair classifyStoredPair(const std::optional<QByteArray>& userId, const std::optional<QByteArray>& password)
{
    if (!userId) return StoredPair::None;
    const auto fits = [](const std::optional<QByteArray>& value) {
        return value && std::size_t(value->size()) == credentialSize;
    };
    return fits(userId) && fits(password) ? StoredPair::Complete : StoredPair::Damaged;
}

}  // namespace services

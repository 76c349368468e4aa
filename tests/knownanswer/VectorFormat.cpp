#include "VectorFormat.h"

#include <cstdio>
#include <sstream>

namespace knownanswer {

Bytes inputBytes(uint32_t seed, size_t length)
{
    Bytes bytes(length);
    uint32_t x = seed;
    for (auto& byte : bytes) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        byte = static_cast<uint8_t>(x >> 24);
    }
    return bytes;
}

uint64_t fnv1a64(const Bytes& bytes)
{
    uint64_t hash = 0xCBF29CE484222325ull;
    for (uint8_t byte : bytes) hash = (hash ^ byte) * 0x100000001B3ull;
    return hash;
}

std::string toHex(const Bytes& bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string text;
    text.reserve(2 * bytes.size());
    for (uint8_t byte : bytes) {
        text.push_back(digits[byte >> 4]);
        text.push_back(digits[byte & 15]);
    }
    return text;
}

std::optional<Bytes> fromHex(const std::string& text)
{
    const auto digit = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        return -1;
    };
    if (text.size() % 2 != 0) return std::nullopt;
    Bytes bytes;
    bytes.reserve(text.size() / 2);
    for (size_t i = 0; i < text.size(); i += 2) {
        const int high = digit(text[i]), low = digit(text[i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        bytes.push_back(static_cast<uint8_t>(high << 4 | low));
    }
    return bytes;
}

std::string Case::field(const std::string& key) const
{
    const auto found = fields.find(key);
    return found == fields.end() ? std::string() : found->second;
}

std::optional<Case> parseLine(const std::string& line)
{
    if (line.empty() || line[0] == '#') return std::nullopt;
    std::istringstream words(line);
    Case parsed;
    words >> parsed.kind >> parsed.name;
    std::string word;
    while (words >> word) {
        const size_t equals = word.find('=');
        if (equals == std::string::npos) parsed.fields[word] = "";
        else parsed.fields[word.substr(0, equals)] = word.substr(equals + 1);
    }
    return parsed;
}

namespace {
std::string digestOf(const Bytes& bytes)
{
    char digest[17];
    std::snprintf(digest, sizeof digest, "%016llx", static_cast<unsigned long long>(fnv1a64(bytes)));
    return digest;
}
}  // namespace

std::string expectationOf(const Bytes& bytes)
{
    return bytes.size() <= kLongestWrittenOut ? "output=" + toHex(bytes) : "fnv=" + digestOf(bytes);
}

bool meetsExpectation(const Case& testCase, const Bytes& bytes)
{
    if (testCase.fields.count("output")) return testCase.field("output") == toHex(bytes);
    return testCase.fields.count("fnv") && testCase.field("fnv") == digestOf(bytes);
}

}  // namespace knownanswer

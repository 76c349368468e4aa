#pragma once

// The known-answer files: one case a line, "<kind> <name> field=value ...",
// '#' lines are comments. Byte strings are lowercase hexadecimal; inputs are
// drawn from a seed, so that a file holds only what a case must pin down.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace knownanswer {

using Bytes = std::vector<uint8_t>;

// `length` bytes from xorshift32 started at `seed` (not 0): each byte is the
// top eight bits of the state after one step x ^= x << 13, x ^= x >> 17,
// x ^= x << 5.
Bytes inputBytes(uint32_t seed, size_t length);

// 64-bit FNV-1a: the expected output of a case too long to write out.
uint64_t fnv1a64(const Bytes& bytes);

std::string toHex(const Bytes& bytes);
std::optional<Bytes> fromHex(const std::string& text);

struct Case {
    std::string kind;
    std::string name;
    std::map<std::string, std::string> fields;

    // The field, or an empty text when the case has none.
    std::string field(const std::string& key) const;
};

// The case of a line; nothing for a comment or an empty line.
std::optional<Case> parseLine(const std::string& line);

// Outputs up to this length are written out whole, longer ones as a digest.
constexpr size_t kLongestWrittenOut = 1024;

// "output=<hex>" or "fnv=<16 hex digits>" for these bytes.
std::string expectationOf(const Bytes& bytes);

// Whether the bytes are what the case's output or fnv field expects.
bool meetsExpectation(const Case& testCase, const Bytes& bytes);

}  // namespace knownanswer

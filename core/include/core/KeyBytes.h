// Keys are 8-bit text. Keys typed on the programs' first platform were held
// in its Western European code page, so a key typed here is held the same
// way: files encrypted there with such a key decrypt here with the same
// typing.
#pragma once

#include "core/SecretText.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Shortest and longest key a run accepts, in bytes.
inline constexpr std::size_t shortestKey = 8;
inline constexpr std::size_t longestKey = 88;
// What a user is told of a key of another length.
std::string keyLengthRefusal();

// The code page (1252) byte for a character, or -1 when the page holds none.
int codePageByte(char32_t character);

// The key's bytes for UTF-8 text: one byte per character of the code page,
// and the UTF-8 bytes of any character outside it. Nothing when the text is
// not valid UTF-8.
std::optional<SecretText> keyFromUtf8(std::string_view typed);

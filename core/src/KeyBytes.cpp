#include "core/KeyBytes.h"

#include "core/LocalText.h"

#include <array>
#include <string>

#include <string.h>

namespace {

// The characters of code page 1252 at bytes 0x80 to 0x9F; 0 where the byte
// holds none. Everything else of the page is Latin-1.
constexpr std::array<char32_t, 32> highCharacters{0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                                  0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// The length of the well-formed UTF-8 sequence at the start of `text` and the
// character it holds; a length of 0 when there is none.
std::pair<std::size_t, char32_t> decodeUtf8(std::string_view text)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return {1, lead};
    std::size_t length = 0;
    char32_t character = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        character = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        character = lead & 0x0F;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        character = lead & 0x07;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return {0, 0};
    }
    if (text.size() < length || byte(1) < low || byte(1) > high) return {0, 0};
    for (std::size_t i = 1; i < length; ++i) {
        if (byte(i) < 0x80 || byte(i) > 0xBF) return {0, 0};
        character = (character << 6) | (byte(i) & 0x3F);
    }
    return {length, character};
}

}  // namespace

int codePageByte(char32_t character)
{
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF)) return static_cast<int>(character);
    for (std::size_t i = 0; i < highCharacters.size(); ++i) {
        if (highCharacters[i] != 0 && highCharacters[i] == character) return static_cast<int>(0x80 + i);
    }
    return -1;
}

std::optional<SecretText> keyFromUtf8(std::string_view typed)
{
    std::string bytes;
    bytes.reserve(typed.size());
    bool valid = true;
    for (std::size_t at = 0; at < typed.size();) {
        const auto [length, character] = decodeUtf8(typed.substr(at));
        if (length == 0) {
            valid = false;
            break;
        }
        const int byte = codePageByte(character);
        if (byte >= 0) bytes += static_cast<char>(byte);
        else bytes.append(typed.substr(at, length));
        at += length;
    }
    std::optional<SecretText> key;
    if (valid) key.emplace(bytes);
    explicit_bzero(bytes.data(), bytes.size());
    return key;
}

std::string keyLengthRefusal()
{
    return core::localText(
        "KeyBytes", "You must enter a key that is at least 8 characters in length but no more than 88 characters");
}

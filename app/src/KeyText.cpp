#include "app/KeyText.h"

#include <array>

namespace {

// The characters of code page 1252 at bytes 0x80 to 0x9F; 0 where the byte
// holds none. Everything else of the page is Latin-1.
constexpr std::array<char16_t, 32> highCharacters{0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                                  0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// The code page byte for `c`, or -1 when the page holds no such character.
int codePageByte(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return c;
    for (std::size_t i = 0; i < highCharacters.size(); ++i) {
        if (highCharacters[i] != 0 && highCharacters[i] == c) return static_cast<int>(0x80 + i);
    }
    return -1;
}

}  // namespace

SecretText keyFromTypedText(const QString& typed)
{
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(typed.size()));
    for (qsizetype i = 0; i < typed.size(); ++i) {
        const int byte = codePageByte(typed[i].unicode());
        if (byte >= 0) {
            bytes += static_cast<char>(byte);
            continue;
        }
        // Outside the page: the character's own UTF-8 bytes, a surrogate pair
        // taken whole.
        const qsizetype length = typed[i].isHighSurrogate() && i + 1 < typed.size() ? 2 : 1;
        const QByteArray utf8 = typed.mid(i, length).toUtf8();
        bytes.append(utf8.constData(), static_cast<std::size_t>(utf8.size()));
        i += length - 1;
    }
    SecretText key(bytes);
    explicit_bzero(bytes.data(), bytes.size());
    return key;
}

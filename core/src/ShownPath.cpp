#include "core/FileSystem.h"

#include <cstdio>

namespace core {

namespace {

// Length of the well-formed UTF-8 sequence that starts `text`, or 0 when its
// first byte starts none (overlong forms and surrogates are ill-formed).
std::size_t sequenceLength(std::string_view text)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (text.size() < length) return 0;
    if (byte(1) < low || byte(1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
    }
    return length;
}

bool isControl(unsigned char byte) { return byte < 0x20 || byte == 0x7F; }

}  // namespace

std::string shownPath(std::string_view path)
{
    std::string shown;
    shown.reserve(path.size());
    std::size_t at = 0;
    while (at < path.size()) {
        const auto byte = static_cast<unsigned char>(path[at]);
        const std::size_t length = isControl(byte) ? 0 : sequenceLength(path.substr(at));
        if (length > 0) {
            shown.append(path.substr(at, length));
            at += length;
            continue;
        }
        char escape[5];
        std::snprintf(escape, sizeof escape, "\\x%02X", byte);
        shown += escape;
        ++at;
    }
    return shown;
}

}  // namespace core

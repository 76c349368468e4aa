#include "framework/PathText.h"

#include <QFile>

namespace framework {

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

QString displayPath(std::string_view path)
{
    QString shown;
    shown.reserve(static_cast<qsizetype>(path.size()));
    std::size_t runStart = 0;
    std::size_t at = 0;
    const auto flushRun = [&] {
        shown += QString::fromUtf8(path.data() + runStart, static_cast<qsizetype>(at - runStart));
    };
    while (at < path.size()) {
        const auto byte = static_cast<unsigned char>(path[at]);
        const std::size_t length = isControl(byte) ? 0 : sequenceLength(path.substr(at));
        if (length > 0) {
            at += length;
            continue;
        }
        flushRun();
        shown += QString::asprintf("\\x%02X", byte);
        runStart = ++at;
    }
    flushRun();
    return shown;
}

std::string pathFromText(const QString& text) { return QFile::encodeName(text).toStdString(); }

}  // namespace framework

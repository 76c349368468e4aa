#include "framework/PathText.h"

#include <QFile>

#include <dirent.h>
#include <memory>
#include <optional>
#include <sys/stat.h>

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

bool exists(const std::string& path)
{
    struct stat status {};
    return lstat(path.c_str(), &status) == 0;
}

// The entry of `folder` that shows as `name` when its bytes are read as text,
// when there is exactly one.
std::optional<std::string> onlyEntryShownAs(const std::string& folder, const QString& name)
{
    const std::unique_ptr<DIR, int (*)(DIR*)> listing(opendir(folder.empty() ? "/" : folder.c_str()), &closedir);
    if (!listing) return std::nullopt;
    std::optional<std::string> found;
    while (const dirent* entry = readdir(listing.get())) {
        if (QFile::decodeName(entry->d_name) != name) continue;
        if (found) return std::nullopt;
        found = entry->d_name;
    }
    return found;
}

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

std::string pathFromPickedText(const QString& picked)
{
    const std::string direct = pathFromText(picked);
    if (exists(direct) || !picked.startsWith('/')) return direct;
    // Name by name from the root: each as its text's bytes where that
    // exists, otherwise the one entry of its folder that shows as it.
    std::string resolved;
    for (const QString& name : picked.split('/', Qt::SkipEmptyParts)) {
        std::string next = resolved + '/' + pathFromText(name);
        if (!exists(next)) {
            const auto entry = onlyEntryShownAs(resolved, name);
            if (!entry) return direct;
            next = resolved + '/' + *entry;
        }
        resolved = std::move(next);
    }
    return resolved.empty() ? direct : resolved;
}

}  // namespace framework

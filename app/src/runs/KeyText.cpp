#include "app/KeyText.h"

#include "core/KeyBytes.h"

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

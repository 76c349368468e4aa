#include "CommandLine.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <limits>

#include "tarvex.h"

namespace mendkit {

int64_t readDecimal(const char* text)
{
    while (std::isspace(static_cast<unsigned char>(*text))) ++text;
    const bool negative = *text == '-';
    if (*text == '-' || *text == '+') ++text;

    constexpr int64_t limit = std::numeric_limits<int64_t>::max();
    int64_t value = 0;
    for (; std::isdigit(static_cast<unsigned char>(*text)); ++text) {
        const int digit = *text - '0';
        if (value > (limit - digit) / 10) {
            value = limit;
            break;
        }
        value = value * 10 + digit;
    }
    return negative ? -value : value;
}

std::optional<RepairRequest> parseCommandLine(int argc, const char* const* argv)
{
    if (argc != 6 && argc != 7) return std::nullopt;

    RepairRequest request{};
    switch (argv[1][0]) {
    case 'E':
    case 'e': request.run = InterruptedRun::Encryption; break;
    case 'D':
    case 'd': request.run = InterruptedRun::Decryption; break;
    default: return std::nullopt;
    }

    const char* count = argv[2];
    request.countsBytes = count[0] == '.';
    // A negative count means nothing was finished: the repair then copies.
    request.finished = std::max<int64_t>(readDecimal(request.countsBytes ? count + 1 : count), 0);
    request.brokenFile = argv[3];
    request.fixedFile = argv[4];
    request.key = argv[5];
    // Any sixth argument, not only "/b", selects the block cipher alone.
    request.layerChoice = argc == 7 ? TARVEX_BLOCK_CIPHER_ONLY : TARVEX_BOTH_LAYERS;
    return request;
}

bool isJournalForm(int argc, const char* const* argv) { return argc >= 2 && std::strcmp(argv[1], "--journal") == 0; }

std::optional<JournalRequest> parseJournalForm(int argc, const char* const* argv)
{
    if (!isJournalForm(argc, argv) || argc < 4) return std::nullopt;
    JournalRequest request{argv[2], argv[3], TARVEX_BOTH_LAYERS, false};
    // Each of the two words at most once, in either order.
    bool blockCipherOnly = false;
    for (int at = 4; at < argc; ++at) {
        if (std::strcmp(argv[at], "/b") == 0 && !blockCipherOnly) {
            blockCipherOnly = true;
        } else if (std::strcmp(argv[at], "--finish") == 0 && !request.finish) {
            request.finish = true;
        } else {
            return std::nullopt;
        }
    }
    if (blockCipherOnly) request.layerChoice = TARVEX_BLOCK_CIPHER_ONLY;
    return request;
}

}  // namespace mendkit

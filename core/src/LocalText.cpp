#include "core/LocalText.h"

#include <atomic>

namespace core {

namespace {

// Set once at start, read from the run's worker thread.
std::atomic<TextTranslator> installed{nullptr};

}  // namespace

void setTextTranslator(TextTranslator translator) { installed.store(translator); }

std::string localText(const char* context, const char* english)
{
    const TextTranslator translator = installed.load();
    return translator ? translator(context, english) : std::string(english);
}

std::string fillIn(std::string text, std::initializer_list<std::string> values)
{
    std::size_t from = 0;
    for (const std::string& value : values) {
        const std::size_t at = text.find("%s", from);
        if (at == std::string::npos) break;
        text.replace(at, 2, value);
        from = at + value.size();
    }
    return text;
}

}  // namespace core

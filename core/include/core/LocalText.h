// Texts of the run logic that a user reads, in the user's language where the
// program has one. The window programs install a translator at start; the
// command line installs none and speaks English.
#pragma once

#include <initializer_list>
#include <string>

namespace core {

using TextTranslator = std::string (*)(const char* context, const char* english);

// Installs the translator for every later text; nothing puts the English back.
void setTextTranslator(TextTranslator translator);

// `english` in the user's language (UTF-8), or as it is.
std::string localText(const char* context, const char* english);

// `text` with each "%s" in turn replaced by the next of `values`.
std::string fillIn(std::string text, std::initializer_list<std::string> values);

}  // namespace core

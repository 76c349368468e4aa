// Text made safe for mdoc(7) source: whatever the content holds, no word
// turns into a request, a macro or an escape sequence.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace manual::mdoc {

// The lines of a paragraph as text lines: one sentence a line, as the format
// wants, with backslashes and leading control characters escaped.
std::vector<std::string> textLines(std::string_view paragraph);

// One line of a literal display, escaped the same way but never split.
std::string literalLine(std::string_view line);

// One argument of a macro line: a word that would be read as a macro name or
// a delimiter is protected, one with blanks is quoted.
std::string argument(std::string_view word);

}  // namespace manual::mdoc

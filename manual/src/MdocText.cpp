#include "manual/MdocText.h"

#include <algorithm>
#include <iterator>

namespace manual::mdoc {

namespace {

// Names a macro line would call instead of printing them.
constexpr std::string_view kMacroNames[] = {
    "Ac", "Ad", "An", "Ao", "Ap", "Aq", "Ar", "At", "Bc", "Bf", "Bo", "Bq", "Brc", "Bro", "Brq", "Bsx", "Bt",
    "Bx", "Cd", "Cm", "Dc", "Do", "Dq", "Dv", "Dx", "Ec", "Ef", "Em", "En", "Eo",  "Er",  "Es",  "Ev",  "Ex",
    "Fa", "Fc", "Fl", "Fn", "Fo", "Fr", "Ft", "Fx", "Hf", "Ic", "In", "Lb", "Li",  "Lk",  "Ms",  "Mt",  "Nm",
    "No", "Ns", "Nx", "Oc", "Oo", "Op", "Ot", "Ox", "Pa", "Pc", "Pf", "Po", "Pq",  "Qc",  "Ql",  "Qo",  "Qq",
    "Sc", "So", "Sq", "St", "Sx", "Sy", "Ta", "Tn", "Ux", "Va", "Vt", "Xc", "Xo",  "Xr",
};

bool isMacroName(std::string_view word)
{
    return std::find(std::begin(kMacroNames), std::end(kMacroNames), word) != std::end(kMacroNames);
}

// Characters that open, close or separate within a macro line, and the
// control characters that make a line a request.
bool isSpecialFirst(char c) { return std::string_view("([{}]).,:;?!|'").find(c) != std::string_view::npos; }

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

std::string escapeBackslashes(std::string_view text)
{
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        if (c == '\\') escaped += "\\e";
        else escaped += c;
    }
    return escaped;
}

// A line starting with a dot or an apostrophe would be a request.
std::string protectStart(std::string line)
{
    if (!line.empty() && (line[0] == '.' || line[0] == '\'')) line.insert(0, "\\&");
    return line;
}

bool endsSentence(std::string_view text, std::size_t at)
{
    if (text[at] != '.' && text[at] != '?' && text[at] != '!') return false;
    std::size_t next = at + 1;
    while (next < text.size() && (text[next] == ')' || text[next] == '"' || text[next] == '\'')) ++next;
    return next == text.size() || isBlank(text[next]);
}

}  // namespace

std::vector<std::string> textLines(std::string_view paragraph)
{
    std::vector<std::string> lines;
    std::string line;
    auto finishLine = [&] {
        while (!line.empty() && isBlank(line.back())) line.pop_back();
        if (!line.empty()) lines.push_back(protectStart(escapeBackslashes(line)));
        line.clear();
    };
    for (std::size_t i = 0; i < paragraph.size(); ++i) {
        const char c = paragraph[i];
        if (isBlank(c)) {
            // Runs of blanks, and blanks at a line's start, say nothing.
            if (!line.empty() && !isBlank(line.back())) line += ' ';
            continue;
        }
        line += c;
        if (endsSentence(paragraph, i)) {
            while (i + 1 < paragraph.size() && !isBlank(paragraph[i + 1])) line += paragraph[++i];
            finishLine();
        }
    }
    finishLine();
    return lines;
}

std::string literalLine(std::string_view line) { return protectStart(escapeBackslashes(line)); }

std::string argument(std::string_view word)
{
    if (word.empty()) return "\\&";
    const bool blanks = std::any_of(word.begin(), word.end(), isBlank);
    if (blanks || word.find('"') != std::string_view::npos) {
        std::string quoted = "\"";
        for (const char c : escapeBackslashes(word)) {
            if (c == '"') quoted += "\\(dq";
            else quoted += isBlank(c) ? ' ' : c;
        }
        return quoted + '"';
    }
    std::string escaped = escapeBackslashes(word);
    if (isMacroName(word) || isSpecialFirst(word[0])) escaped.insert(0, "\\&");
    return escaped;
}

}  // namespace manual::mdoc

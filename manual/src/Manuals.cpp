// The --help text: the manual laid out as plain text for a terminal.
#include "manual/Manuals.h"

#include <algorithm>
#include <sstream>

namespace manual {

namespace {

constexpr std::size_t kWidth = 79;
// Terms longer than this put their text on the next line.
constexpr std::size_t kWidestTerm = 18;

std::string wordsText(const Words& words)
{
    std::string text;
    for (const Word& word : words) {
        if (!text.empty() && !word.joined) text += ' ';
        text += word.text;
    }
    return text;
}

std::string groupText(const Group& group)
{
    std::string inner;
    for (const Words& alternative : group.alternatives) {
        if (!inner.empty()) inner += '|';
        inner += wordsText(alternative);
    }
    switch (group.kind) {
    case Group::Kind::Required: break;
    case Group::Kind::Optional: return '[' + inner + ']';
    case Group::Kind::Choice: return '{' + inner + '}';
    }
    return inner;
}

// `text` filled into lines of kWidth columns: the first starts after
// `firstIndent` columns already used, the others after `indent` blanks.
std::string wrap(const std::string& text, std::size_t firstIndent, std::size_t indent)
{
    std::istringstream words(text);
    std::string out;
    std::string word;
    std::size_t column = firstIndent;
    bool lineEmpty = true;
    while (words >> word) {
        if (!lineEmpty && column + 1 + word.size() > kWidth) {
            out += '\n' + std::string(indent, ' ');
            column = indent;
            lineEmpty = true;
        }
        if (!lineEmpty) {
            out += ' ';
            ++column;
        }
        out += word;
        column += word.size();
        lineEmpty = false;
    }
    return out + '\n';
}

std::string itemList(const std::string& title, const std::vector<Item>& items)
{
    if (items.empty()) return {};
    std::size_t termWidth = 0;
    for (const Item& item : items) {
        const std::size_t size = wordsText(item.term).size();
        if (size <= kWidestTerm) termWidth = std::max(termWidth, size);
    }
    const std::size_t textColumn = 2 + termWidth + 2;

    std::string out = '\n' + title + ":\n";
    for (const Item& item : items) {
        const std::string term = "  " + wordsText(item.term);
        if (term.size() + 2 <= textColumn) {
            out += term + std::string(textColumn - term.size(), ' ');
        } else {
            out += term + '\n' + std::string(textColumn, ' ');
        }
        out += wrap(item.text, textColumn, textColumn);
    }
    return out;
}

}  // namespace

std::string synopsisText(const SynopsisLine& line)
{
    std::string text;
    for (const Group& group : line) {
        if (!text.empty()) text += ' ';
        text += groupText(group);
    }
    return text;
}

std::string usageText(const Manual& m)
{
    std::string out;
    const std::string lead = "Usage: ";
    for (std::size_t i = 0; i < m.synopsis.size(); ++i) {
        const std::string start = (i == 0 ? lead : std::string(lead.size(), ' ')) + m.name + ' ';
        out += start + wrap(synopsisText(m.synopsis[i]), start.size(), start.size() + 2);
    }
    out += '\n' + wrap(m.name + " - " + m.summary, 0, 0);
    for (const std::string& paragraph : m.description) out += '\n' + wrap(paragraph, 0, 0);

    out += itemList(m.optionsTitle, m.options);
    out += itemList("Environment", m.environment);
    out += itemList("Files", m.files);
    out += itemList("Exit status", m.exitStatus);

    if (!m.examples.empty()) out += "\nExamples:\n";
    for (const Example& example : m.examples) {
        out += "  " + wrap(example.text, 2, 2);
        for (const std::string& command : example.commands) out += "      " + command + '\n';
    }
    if (!m.caveats.empty()) out += "\nCaveats:\n";
    for (std::size_t i = 0; i < m.caveats.size(); ++i) out += (i == 0 ? "  " : "\n  ") + wrap(m.caveats[i], 2, 2);

    if (!m.seeAlso.empty()) {
        std::string references;
        for (const std::string& name : m.seeAlso) references += (references.empty() ? "" : ", ") + name + "(1)";
        out += '\n' + wrap("See also: " + references, 0, 0);
    }
    return out;
}

}  // namespace manual

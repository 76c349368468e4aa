// The manual page: the same content as mdoc(7) source.
#include "manual/Manuals.h"
#include "manual/MdocText.h"

#include <algorithm>
#include <cctype>
#include <sstream>

namespace manual {

namespace {

std::string macroOf(Style style)
{
    switch (style) {
    case Style::Literal: return "Cm";
    case Style::Placeholder: return "Ar";
    case Style::Path: return "Pa";
    case Style::Variable: return "Ev";
    case Style::Plain: break;
    }
    return "No";
}

// The words as arguments of a macro line. A plain word that opens the line
// needs no macro where the line's own macro already prints plain text.
std::string macroWords(const Words& words, bool plainStartsBare)
{
    std::string out;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const Word& word = words[i];
        if (i > 0) out += word.joined ? " Ns " : " ";
        if (i > 0 || word.style != Style::Plain || !plainStartsBare) out += macroOf(word.style) + ' ';
        out += mdoc::argument(word.text);
    }
    return out;
}

std::string groupLine(const Group& group)
{
    switch (group.kind) {
    case Group::Kind::Required: return '.' + macroWords(group.alternatives.front(), false) + '\n';
    case Group::Kind::Optional: return ".Op " + macroWords(group.alternatives.front(), false) + '\n';
    case Group::Kind::Choice: break;
    }
    std::string line = ".Brq";
    for (std::size_t i = 0; i < group.alternatives.size(); ++i) {
        if (i > 0) line += " Ns | Ns";
        line += ' ' + macroWords(group.alternatives[i], false);
    }
    return line + '\n';
}

std::string text(std::string_view paragraph)
{
    std::string out;
    for (const std::string& line : mdoc::textLines(paragraph)) out += line + '\n';
    return out;
}

std::string paragraphs(const std::vector<std::string>& list)
{
    std::string out;
    for (std::size_t i = 0; i < list.size(); ++i) out += (i == 0 ? "" : ".Pp\n") + text(list[i]);
    return out;
}

std::string tagList(const std::vector<Item>& items)
{
    std::string out = ".Bl -tag -width Ds\n";
    for (const Item& item : items) out += ".It " + macroWords(item.term, true) + '\n' + text(item.text);
    return out + ".El\n";
}

std::string section(const std::string& title, const std::string& body)
{
    return body.empty() ? std::string() : ".Sh " + title + '\n' + body;
}

std::string upperCase(std::string text)
{
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string lowerCase(std::string text)
{
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

std::string manPage(const Manual& m)
{
    std::string out = ".Dd " + std::string(kManualDate) + '\n';
    out += ".Dt " + upperCase(m.name) + " 1\n.Os\n";
    out += ".Sh NAME\n.Nm " + mdoc::argument(m.name) + "\n.Nd";
    std::istringstream summary(m.summary);
    for (std::string word; summary >> word;) out += ' ' + mdoc::argument(word);
    out += '\n';

    std::string synopsis;
    for (const SynopsisLine& line : m.synopsis) {
        synopsis += ".Nm\n";
        for (const Group& group : line) synopsis += groupLine(group);
    }
    out += section("SYNOPSIS", synopsis);

    std::string description = paragraphs(m.description);
    if (!m.options.empty()) {
        description += ".Pp\n" + text("The " + lowerCase(m.optionsTitle) + " are as follows:") + tagList(m.options);
    }
    out += section("DESCRIPTION", description);
    if (!m.environment.empty()) out += section("ENVIRONMENT", tagList(m.environment));
    if (!m.files.empty()) out += section("FILES", tagList(m.files));
    if (!m.exitStatus.empty()) out += section("EXIT STATUS", tagList(m.exitStatus));

    std::string examples;
    for (const Example& example : m.examples) {
        if (!examples.empty()) examples += ".Pp\n";
        examples += text(example.text) + ".Bd -literal -offset indent\n";
        for (const std::string& command : example.commands) examples += mdoc::literalLine(command) + '\n';
        examples += ".Ed\n";
    }
    out += section("EXAMPLES", examples);

    // Sorted, as readers of the section expect.
    std::vector<std::string> references = m.seeAlso;
    std::sort(references.begin(), references.end());
    std::string seeAlso;
    for (std::size_t i = 0; i < references.size(); ++i) {
        seeAlso += ".Xr " + mdoc::argument(references[i]) + " 1" + (i + 1 < references.size() ? " ,\n" : "\n");
    }
    out += section("SEE ALSO", seeAlso);
    out += section("CAVEATS", paragraphs(m.caveats));
    return out;
}

}  // namespace manual

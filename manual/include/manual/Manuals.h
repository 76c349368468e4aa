// The usage of the suite's programs, kept once: each program's --help text
// and its manual page are both drawn from the content below, so the two
// cannot tell different stories.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace manual {

enum class Program { Sealwin, Unsealwin, Mendkit, Tarvex };

inline constexpr std::array<Program, 4> kPrograms{Program::Sealwin, Program::Unsealwin, Program::Mendkit,
                                                  Program::Tarvex};

// How a word of a command line or of a list's term is set.
enum class Style {
    Literal,      // typed as it stands: a switch, a letter
    Placeholder,  // stands for what the user supplies
    Path,         // a file or folder name
    Variable,     // an environment variable
    Plain,        // ordinary text, such as a status number
};

struct Word {
    Style style;
    std::string text;
    bool joined = false;  // follows the word before it without a space
};

using Words = std::vector<Word>;

// A piece of a synopsis line: words as they stand, in brackets as optional,
// or in braces as one of several alternatives.
struct Group {
    enum class Kind { Required, Optional, Choice };
    Kind kind;
    std::vector<Words> alternatives;  // exactly one unless the kind is Choice
};

// One way to call the program; its name comes first and is not repeated here.
using SynopsisLine = std::vector<Group>;

// An entry of a tagged list: an option, a file, an exit status.
struct Item {
    Words term;
    std::string text;
};

struct Example {
    std::string text;
    std::vector<std::string> commands;
};

struct Manual {
    std::string name;
    std::string summary;  // one line, lower case, no full stop
    std::vector<SynopsisLine> synopsis;
    std::vector<std::string> description;  // paragraphs
    std::string optionsTitle;              // "Options", or "Arguments" where most are not optional
    std::vector<Item> options;
    std::vector<Item> environment;
    std::vector<Item> files;
    std::vector<Item> exitStatus;
    std::vector<Example> examples;
    std::vector<std::string> seeAlso;  // other programs, section 1
    std::vector<std::string> caveats;  // paragraphs
};

// The release date the pages carry: fixed text, so a build is reproducible.
inline constexpr std::string_view kManualDate = "December 9, 2026";

const Manual& manualOf(Program program);

// The text a synopsis line shows, without the program's name.
std::string synopsisText(const SynopsisLine& line);

// Plain text for --help, wrapped to 79 columns; it starts with the synopsis
// ("Usage: name ..." and further forms indented beneath it).
std::string usageText(const Manual& manual);
inline std::string usageText(Program program) { return usageText(manualOf(program)); }

// The manual page in section 1, as mdoc(7) source.
std::string manPage(const Manual& manual);
inline std::string manPage(Program program) { return manPage(manualOf(program)); }

}  // namespace manual

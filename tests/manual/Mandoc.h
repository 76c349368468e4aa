// Reading manual pages as mandoc shows them, to compare with other texts.
#pragma once

#include <string>
#include <vector>

namespace manual_test {

// The mandoc program, or empty when the build found none.
std::string mandocPath();

// What a terminal would show of the page, without the overstrikes that set
// bold and underlined text.
std::string renderedPage(const std::string& pageFile);

// The forms of a synopsis: each starts at the block's smallest indentation,
// deeper lines continue it, and runs of blanks count as one.
std::vector<std::string> synopsisForms(const std::vector<std::string>& lines);

// The synopsis forms of a rendered page's SYNOPSIS section.
std::vector<std::string> pageSynopsis(const std::string& rendered);

// The synopsis forms that head a usage text ("Usage: " and the lines up to
// the first empty one).
std::vector<std::string> usageSynopsis(const std::string& usage);

// All runs of blanks, line ends included, as one space.
std::string collapsed(const std::string& text);

}  // namespace manual_test

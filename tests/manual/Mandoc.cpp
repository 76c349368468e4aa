#include "Mandoc.h"

#include "ProgramRun.h"

#include <algorithm>
#include <sstream>
#include <stdexcept>

namespace manual_test {

namespace {

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    return lines;
}

std::size_t indentation(const std::string& line) { return line.find_first_not_of(' '); }

}  // namespace

std::string mandocPath() { return TARVEX_MANDOC; }

std::string renderedPage(const std::string& pageFile)
{
    const Outcome run = runProgram(mandocPath(), {"-Tascii", pageFile});
    if (!run.exited || run.status != 0) throw std::runtime_error("mandoc cannot render " + pageFile);
    std::string plain;
    for (const char c : run.output) {
        if (c == '\b' && !plain.empty()) plain.pop_back();
        else plain += c;
    }
    return plain;
}

std::string collapsed(const std::string& text)
{
    std::istringstream words(text);
    std::string out;
    for (std::string word; words >> word;) out += (out.empty() ? "" : " ") + word;
    return out;
}

std::vector<std::string> synopsisForms(const std::vector<std::string>& lines)
{
    std::size_t start = std::string::npos;
    for (const std::string& line : lines) start = std::min(start, indentation(line));
    std::vector<std::string> forms;
    for (const std::string& line : lines) {
        if (indentation(line) == start || forms.empty()) forms.push_back(collapsed(line));
        else forms.back() += ' ' + collapsed(line);
    }
    return forms;
}

std::vector<std::string> pageSynopsis(const std::string& rendered)
{
    std::vector<std::string> block;
    bool inside = false;
    for (const std::string& line : linesOf(rendered)) {
        const bool heading = !line.empty() && line[0] != ' ';
        if (heading) {
            if (inside) break;
            inside = line == "SYNOPSIS";
        } else if (inside && indentation(line) != std::string::npos) {
            block.push_back(line);
        }
    }
    return synopsisForms(block);
}

std::vector<std::string> usageSynopsis(const std::string& usage)
{
    const std::string lead = "Usage: ";
    if (usage.compare(0, lead.size(), lead) != 0) return {};
    std::vector<std::string> block;
    for (std::string line : linesOf(usage)) {
        if (line.empty()) break;
        if (block.empty()) line.replace(0, lead.size(), lead.size(), ' ');
        block.push_back(line);
    }
    return synopsisForms(block);
}

}  // namespace manual_test

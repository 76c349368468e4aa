#include "core/OverwriteDecision.h"

#include "core/FileSystem.h"
#include "core/LocalText.h"
#include "core/Paths.h"

#include <algorithm>
#include <utility>

std::optional<std::string> checkProgramKind(const std::string& name)
{
    const std::size_t stop = name.rfind('.');
    if (stop == std::string::npos) return std::nullopt;
    std::string extension = name.substr(stop + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
    if (extension == "EXE" || extension == "COM") return core::localText("OverwriteDecision", "an executable file");
    if (extension == "BAT") return core::localText("OverwriteDecision", "a batch file");
    if (extension == "DLL") return core::localText("OverwriteDecision", "an application extension");
    return std::nullopt;
}

OverwriteDecision::OverwriteDecision(Ask ask) : ask_(std::move(ask)) {}

OverwriteOutcome OverwriteDecision::decide(const std::string& target)
{
    if (!isFilePath(target)) return OverwriteOutcome::Proceed;
    const std::string shown = core::shownPath(target);
    if (const auto kind = checkProgramKind(target)) {
        if (yesToAllPrograms_) return OverwriteOutcome::Proceed;
        return answered(
            ask_(core::fillIn(core::localText("OverwriteDecision", "The file %s is %s. Do you want to overwrite it ?"),
                              {shown, *kind})),
            true);
    }
    if (yesToAll_) return OverwriteOutcome::Proceed;
    return answered(ask_(core::fillIn(core::localText("OverwriteDecision",
                                                      "The file %s already exists. Do you want to overwrite it ?"),
                                      {shown})),
                    false);
}

OverwriteOutcome OverwriteDecision::answered(int answer, bool program)
{
    switch (answer) {
    case AnswerYesToAll:
        yesToAll_ = true;
        if (program) yesToAllPrograms_ = true;
        return OverwriteOutcome::Proceed;
    case AnswerYes:
        yesToAll_ = false;
        if (program) yesToAllPrograms_ = false;
        return OverwriteOutcome::Proceed;
    case AnswerNo: return OverwriteOutcome::Skip;
    default:
        // Cancel, and anything else that closed the question: never overwrite
        // a file nobody agreed to.
        return OverwriteOutcome::Stop;
    }
}

// Before a run overwrites an existing target it asks; a target whose name
// marks a program is asked about in its own words, with its own standing
// answer.
#pragma once

#include <functional>
#include <optional>
#include <string>

// The answers of the overwrite prompt, by the ids of its buttons.
enum OverwriteAnswer : int { AnswerYesToAll = 401, AnswerYes = 402, AnswerNo = 403, AnswerCancel = 404 };

// How a program-like name is described ("an executable file" for EXE and
// COM, "a batch file" for BAT, "an application extension" for DLL, in any
// case), judged by the text behind the name's last full stop; nothing for
// any other name.
std::optional<std::string> checkProgramKind(const std::string& name);

enum class OverwriteOutcome { Proceed, Skip, Stop };

// The decision for each target of one run; the standing answers (Yes To All
// for ordinary files, and for programs) live as long as the object.
class OverwriteDecision {
public:
    // Shows the question (UTF-8 text) and returns an OverwriteAnswer.
    using Ask = std::function<int(const std::string& question)>;

    explicit OverwriteDecision(Ask ask);

    OverwriteOutcome decide(const std::string& target);

private:
    OverwriteOutcome answered(int answer, bool program);

    Ask ask_;
    bool yesToAll_ = false;
    bool yesToAllPrograms_ = false;
};

#include "TransformCommand.h"

#include "KeyInput.h"
#include "ProgressLine.h"
#include "Selection.h"
#include "Terminal.h"
#include "Workers.h"

#include "core/FileSystem.h"
#include "core/OverwriteDecision.h"
#include "core/Paths.h"

#include "services/VariantTable.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <iostream>

namespace cli {

namespace {

constexpr int doneStatus = 0;
constexpr int failedStatus = 1;
constexpr int refusedStatus = 2;

void say(const std::string& text) { std::cerr << "tarvex: " << text << '\n'; }

int refused(const std::vector<std::string>& problems)
{
    for (const std::string& problem : problems) say(problem);
    return refusedStatus;
}

// One answer to the overwrite question, typed at the terminal.
int askAtTerminal(Terminal& terminal, const std::string& question)
{
    for (;;) {
        const auto answer = terminal.readLine(question + " [y]es, [a]ll, [n]o, [q]uit: ");
        if (!answer) return AnswerCancel;
        if (*answer == "y" || *answer == "yes") return AnswerYes;
        if (*answer == "a" || *answer == "all") return AnswerYesToAll;
        if (*answer == "n" || *answer == "no") return AnswerNo;
        if (*answer == "q" || *answer == "quit") return AnswerCancel;
    }
}

enum class Overwrites { Settled, Refused, Quit };

// Targets that exist already are asked about before any file is touched, so
// that the workers never wait for an answer. A file answered No leaves the
// selection.
Overwrites settleOverwrites(const Options& options, Selection& selection)
{
    if (options.assumeYes) return Overwrites::Settled;
    std::vector<int> existing;
    for (int i = 0; i < selection.sources.count(); ++i) {
        const std::string target = selection.targets.getAt(i);
        if (target != selection.sources.getAt(i) && isFilePath(target)) existing.push_back(i);
    }
    if (existing.empty()) return Overwrites::Settled;
    const auto terminal = Terminal::open();
    if (!terminal) {
        for (const int i : existing)
            say(core::shownPath(selection.targets.getAt(i)) + " already exists: -y overwrites it");
        return Overwrites::Refused;
    }
    OverwriteDecision decision([&](const std::string& question) { return askAtTerminal(*terminal, question); });
    std::vector<int> skipped;
    for (const int i : existing) {
        const OverwriteOutcome outcome = decision.decide(selection.targets.getAt(i));
        if (outcome == OverwriteOutcome::Stop) return Overwrites::Quit;
        if (outcome == OverwriteOutcome::Skip) skipped.push_back(i);
    }
    for (auto i = skipped.rbegin(); i != skipped.rend(); ++i) {
        selection.sources.removeAt(*i);
        selection.targets.removeAt(*i);
    }
    return Overwrites::Settled;
}

// A key file among the files of the run would be unreadable afterwards, and
// with it every file the run transformed.
std::vector<std::string> keyFileProblems(const Options& options, const Selection& selection)
{
    if (!options.keyFile) return {};
    for (int i = 0; i < selection.sources.count(); ++i) {
        for (const std::string& path : {selection.sources.getAt(i), selection.targets.getAt(i)}) {
            std::error_code error;
            if (std::filesystem::equivalent(*options.keyFile, path, error))
                return {core::shownPath(*options.keyFile) + " holds the key: it cannot be one of the files the run "
                                                            "transforms or writes"};
        }
    }
    return {};
}

int workerCount(const Options& options)
{
    if (options.jobs > 0) return options.jobs;
    const long processors = sysconf(_SC_NPROCESSORS_ONLN);
    return processors > 0 ? static_cast<int>(std::min(processors, 64L)) : 1;
}

std::vector<std::uint64_t> sizesOf(const Selection& selection)
{
    std::vector<std::uint64_t> sizes;
    for (int i = 0; i < selection.sources.count(); ++i) {
        std::error_code error;
        const auto size = std::filesystem::file_size(selection.sources.getAt(i), error);
        sizes.push_back(error ? 0 : size);
    }
    return sizes;
}

bool progressShown(const Options& options)
{
    switch (options.progress) {
    case ProgressMode::Always: return true;
    case ProgressMode::Never: return false;
    case ProgressMode::WhenTerminal: break;
    }
    return isTerminal(STDERR_FILENO);
}

}  // namespace

int runTransform(const Options& options)
{
    const services::VariantTexts& variant = services::variantTexts(
        options.action == Action::Encrypt ? services::BuildVariant::Encrypt : services::BuildVariant::Decrypt);
    SelectedFiles selected = selectFiles(options, variant);
    if (!selected.problems.empty()) return refused(selected.problems);
    Selection& selection = selected.selection;
    const std::vector<std::string> keyFileInTheRun = keyFileProblems(options, selection);
    if (!keyFileInTheRun.empty()) return refused(keyFileInTheRun);

    const KeyInput key = readKey(options);
    if (!key.key) return refused({key.problem});

    switch (settleOverwrites(options, selection)) {
    case Overwrites::Settled: break;
    case Overwrites::Refused: return refusedStatus;
    case Overwrites::Quit: say("stopped: no file was touched"); return failedStatus;
    }
    if (selection.sources.count() == 0) return doneStatus;

    const int workers = std::clamp(workerCount(options), 1, selection.sources.count());
    ProgressLine progress(selection, sizesOf(selection), workers, progressShown(options));
    const std::vector<WorkFailure> failures =
        runWorkers({selection, *key.key, options.blowFishOnly, workers}, variant, progress);
    progress.finish();
    if (failures.empty()) return doneStatus;
    say(std::string(variant.runFailures));
    bool cutShortInPlace = false;
    for (const WorkFailure& failure : failures) {
        std::cerr << "  " << core::shownPath(selection.sources.getAt(failure.index)) << ": " << failure.reason << '\n';
        if (failure.cutShort && selection.sources.getAt(failure.index) == selection.targets.getAt(failure.index))
            cutShortInPlace = true;
    }
    if (cutShortInPlace)
        say("a file cut short in place may be partly transformed: tarvex repair, in this folder, puts it right");
    return failedStatus;
}

}  // namespace cli

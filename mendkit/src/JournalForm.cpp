#include "JournalForm.h"

#include <string>

#include "Console.h"
#include "Repair.h"
#include "repair/JournalRepair.h"

namespace mendkit {

namespace {

// What the file holds after a successful repair.
const char* stateAfter(const repair::Journal& journal, repair::Goal goal)
{
    if (goal == repair::Goal::Plaintext) return "plaintext";
    return journal.encrypting ? "encrypted" : "decrypted";
}

std::string failureText(repair::Status status, const repair::Journal& journal)
{
    using repair::Status;
    const std::string& file = journal.filePath;
    switch (status) {
    case Status::Repaired: break;
    case Status::CannotOpenFile: return "Cannot open " + file;
    case Status::CannotRead: return "Cannot read " + file;
    case Status::CannotWrite:
        return "Cannot write the repaired " + file + " (is the disk full?); it and " + journal.journalPath +
               " are as they were";
    case Status::CannotReadUndoCopy: return "Cannot read " + journal.undoPath + "; nothing was changed";
    case Status::JournalDoesNotFit:
        return journal.journalPath + " does not fit " + file +
               ": its last line does not match the file's size; nothing was changed";
    case Status::KeyDoesNotFit:
        return "The key does not fit " + file + ": this key, with /b as given, is not that of the run that wrote " +
               journal.journalPath + " (check the key and /b); nothing was changed";
    case Status::RunStillGoing:
        return "The run that writes " + journal.journalPath + " is still going (or has just ended); leave " + file +
               " to it; nothing was changed";
    case Status::FileHasOtherNames:
        return file + " has other names (hard links), which the repair would leave damaged: remove them and "
                      "repair again; nothing was changed";
    case Status::CannotRepairExactly:
        return journal.journalPath + " and " + journal.undoPath + " do not tell how far the run got on " + file +
               ", so it cannot be repaired exactly; nothing was changed";
    case Status::OwnersDiffer:
        return file + " or " + journal.undoPath + " belongs to another user than " + journal.journalPath +
               ", which may have been planted; nothing was changed";
    }
    return {};
}

}  // namespace

int repairFromJournal(const JournalRequest& request)
{
    repair::JournalProblem problem{};
    const auto journal = repair::readJournal(request.journal, problem);
    if (!journal) {
        switch (problem) {
        case repair::JournalProblem::NotAJournalName: printNotAJournal(request.journal); break;
        case repair::JournalProblem::CannotRead: printCannotOpen(request.journal); break;
        case repair::JournalProblem::NoWholeLine: printNoWholeLine(request.journal); break;
        case repair::JournalProblem::TooLarge: printTooLarge(request.journal); break;
        case repair::JournalProblem::NotYours: printNotYours(request.journal); break;
        }
        return kFailureStatus;
    }

    const repair::Goal goal = request.finish ? repair::Goal::Transformed : repair::Goal::Plaintext;
    bool progressShown = false;
    const repair::Result result =
        repair::repairFromJournal(*journal, request.key, request.layerChoice, goal, [&](int percent) {
            printRepairProgress(journal->filePath, percent);
            progressShown = true;
        });
    // The progress lines leave the cursor at the start of the last one.
    const std::string lineBreak = progressShown ? "\n" : "";
    if (result.status != repair::Status::Repaired) {
        printFailure(lineBreak + failureText(result.status, *journal));
        return kFailureStatus;
    }
    printText(lineBreak);
    printDecision(repair::describe(result.decision));
    if (result.decision == repair::Decision::UncertainWithoutCopy) {
        printUncertainChunk(journal->chunkCount);
        printNowExceptThatChunk(journal->filePath, stateAfter(*journal, goal));
    } else {
        printNowWholly(journal->filePath, stateAfter(*journal, goal));
    }
    return 0;
}

}  // namespace mendkit

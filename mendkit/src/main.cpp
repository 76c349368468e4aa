#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include "CommandLine.h"
#include "Console.h"
#include "JournalForm.h"
#include "Repair.h"
#include "manual/Manuals.h"

namespace {

// Opening FixedFile for writing empties it, so two names of one file (a
// relative and an absolute path, a symbolic or a hard link) are refused just
// like one name given twice.
bool sameFile(const char* first, const char* second)
{
    if (std::strcmp(first, second) == 0) return true;
    std::error_code error;
    return std::filesystem::equivalent(first, second, error);
}

}  // namespace

int main(int argc, char** argv)
{
    using namespace mendkit;
    // Only the lone word: any longer command line keeps its old meaning.
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        const std::string usage = manual::usageText(manual::Program::Mendkit);
        std::fwrite(usage.data(), 1, usage.size(), stdout);
        return 0;
    }
    if (isJournalForm(argc, argv)) {
        const auto journalRequest = parseJournalForm(argc, argv);
        if (!journalRequest) {
            printJournalUsage();
            return kFailureStatus;
        }
        return repairFromJournal(*journalRequest);
    }
    const auto request = parseCommandLine(argc, argv);
    if (!request) {
        printUsage();
        return kFailureStatus;
    }
    if (sameFile(request->brokenFile, request->fixedFile)) {
        printFilesMustDiffer();
        return kFailureStatus;
    }
    return repair(*request);
}

#include <cstring>
#include <filesystem>
#include <system_error>

#include "CommandLine.h"
#include "Console.h"
#include "Repair.h"

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

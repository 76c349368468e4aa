// The journal reader on any bytes: a journal found in the working folder may
// be torn by a power cut or be no journal at all.
#include <string_view>

#include "FuzzInput.h"
#include "repair/JournalRepair.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = fuzz::writeInput("TXE1.adt", data, size);
    repair::JournalProblem problem = repair::JournalProblem::CannotRead;
    const auto journal = repair::readJournal(path, problem);
    if (!journal) {
        // The file is ours and readable: only its contents can be at fault.
        FUZZ_CHECK(problem == repair::JournalProblem::NoWholeLine || problem == repair::JournalProblem::TooLarge);
        return 0;
    }
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    FUZZ_CHECK(text.starts_with(journal->fileName));
    FUZZ_CHECK(journal->encrypting);
    FUZZ_CHECK(journal->chunkCount >= 0 && journal->position >= 0);
    FUZZ_CHECK(journal->undoPath == fuzz::folder() + "/TXE1.undo");
    return 0;
}

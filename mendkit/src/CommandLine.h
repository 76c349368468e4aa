#pragma once

#include <cstdint>
#include <optional>

namespace mendkit {

// Which way the interrupted run went; the repair turns its finished part back.
enum class InterruptedRun { Encryption, Decryption };

// What the command line asks for. The texts point into the process's
// arguments, so neither a name nor the key is ever copied or cut short.
struct RepairRequest {
    InterruptedRun run;
    // Chunks the interrupted run finished (NumBlocks), or bytes (.NumBytes).
    bool countsBytes;
    int64_t finished;
    const char* brokenFile;
    const char* fixedFile;
    const char* key;
    int layerChoice;
};

// The request, or nothing when the argument count or the direction letter is
// wrong (the caller then shows the usage line).
std::optional<RepairRequest> parseCommandLine(int argc, const char* const* argv);

// "--journal Journal key [/b] [--finish]": the file the journal names is
// repaired in place, from the journal and its undo copy.
struct JournalRequest {
    const char* journal;
    const char* key;
    int layerChoice;
    bool finish;  // leave the file wholly transformed instead of wholly plaintext
};

// Whether the command line is of the journal form, right or wrong.
bool isJournalForm(int argc, const char* const* argv);

// The request, or nothing when the journal form's arguments are wrong.
std::optional<JournalRequest> parseJournalForm(int argc, const char* const* argv);

// Reads a decimal number the forgiving way the tool always has: leading white
// space, an optional sign, then digits up to the first non-digit; text without
// digits is 0. Values beyond the 64-bit range saturate instead of overflowing.
int64_t readDecimal(const char* text);

}  // namespace mendkit

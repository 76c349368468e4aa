#pragma once

#include <cstdint>
#include <string>

namespace mendkit {

// Everything the tool says goes to standard output; these are its texts.

void printUsage();
void printFilesMustDiffer();
void printCannotOpen(const char* name);
void printCannotRead(const char* name);
void printCannotWrite(const char* name);
void printCannotDecrypt(const char* name);

// The share of a repair done after `chunksWritten` of `chunkCount` chunks:
// computed in single precision and truncated, and exactly 100 at the end.
int percentComplete(int64_t chunksWritten, int64_t chunkCount);

// "Fixing <name> - nn% complete", then one backspace per character so the
// next line overwrites it.
void printFixingProgress(const char* fixedFile, int percent);

// The lines around the final in-place decryption: the first starts on a new
// line and is wiped by backspaces once the second is due.
std::string decryptingLine(const char* fixedFile);
void printDecryptingStarted(const std::string& line);
void printDecryptingDone(const std::string& startedLine, const char* brokenFile);

// The texts of the journal form.

void printJournalUsage();
void printNotAJournal(const std::string& journal);
void printNoWholeLine(const std::string& journal);
void printTooLarge(const std::string& journal);
// A journal of another user, or a link, is never read.
void printNotYours(const std::string& journal);
void printFailure(const std::string& message);
void printText(const std::string& text);
// "Repairing <name> - nn% complete", overwritable like the fixing lines.
void printRepairProgress(const std::string& file, int percent);
// What the repair decided, and what the file now holds.
void printDecision(const char* decision);
void printUncertainChunk(int64_t chunkIndex);
void printNowWholly(const std::string& file, const char* state);
void printNowExceptThatChunk(const std::string& file, const char* state);

// A finished repair's output ends on its last line, as scripts reading it
// through a pipe or a file expect; only a terminal gets a newline after it, so
// the shell's prompt does not overwrite that line.
void printFinished();

}  // namespace mendkit

#include "Console.h"

#include <unistd.h>

#include <cstdio>

#include "manual/Manuals.h"

namespace mendkit {

namespace {

void print(const std::string& text)
{
    std::fwrite(text.data(), 1, text.size(), stdout);
    // The lines without a newline must show while the work goes on.
    std::fflush(stdout);
}

void printOverwritable(const std::string& line) { print(line + std::string(line.size(), '\b')); }

// Right-aligns a percentage in three columns.
std::string threeColumns(int value)
{
    std::string digits = std::to_string(value);
    if (digits.size() < 3) digits.insert(0, 3 - digits.size(), ' ');
    return digits;
}

}  // namespace

void printUsage() { print("Usage: mendkit {E|D} {NumBlocks|.NumBytes} BrokenFile FixedFile key [/b]\n\n"); }

void printFilesMustDiffer()
{
    print("Usage: mendkit {E|D} {NumBlocks|.NumBytes} BrokenFile FixedFile key\n");
    print("Files must be different\n\n");
}

void printCannotOpen(const char* name) { print("Cannot open " + std::string(name) + "\n\n"); }

// The failures below come after progress lines, whose backspaces leave the
// cursor at the start of the last one: a new line keeps that line readable.

void printCannotRead(const char* name) { print("\nCannot read " + std::string(name) + "\n\n"); }

void printCannotWrite(const char* name) { print("\nCannot write " + std::string(name) + "\n\n"); }

void printCannotDecrypt(const char* name) { print("\nCannot decrypt " + std::string(name) + "\n\n"); }

int percentComplete(int64_t chunksWritten, int64_t chunkCount)
{
    if (chunksWritten >= chunkCount) return 100;
    const float perChunk = 100.0f / static_cast<float>(chunkCount);
    return static_cast<int>(static_cast<float>(chunksWritten) * perChunk);
}

void printFixingProgress(const char* fixedFile, int percent)
{
    printOverwritable("Fixing " + std::string(fixedFile) + " - " + threeColumns(percent) + "% complete");
}

std::string decryptingLine(const char* fixedFile) { return "Decrypting " + std::string(fixedFile) + " - ..."; }

void printDecryptingStarted(const std::string& line) { print("\n" + line); }

void printDecryptingDone(const std::string& startedLine, const char* brokenFile)
{
    print(std::string(startedLine.size(), '\b') + "Decrypting " + std::string(brokenFile) + " - done");
}

void printJournalUsage()
{
    const manual::Manual& mendkit = manual::manualOf(manual::Program::Mendkit);
    print("Usage: mendkit " + manual::synopsisText(mendkit.synopsis[1]) + "\n\n");
}

void printNotAJournal(const std::string& journal)
{
    print(journal + " is not a journal: journals are named TXE<n>.adt or TXD<n>.adt\n\n");
}

void printNoWholeLine(const std::string& journal)
{
    print(journal + " holds no whole line: it names no file to repair\n\n");
}

void printTooLarge(const std::string& journal)
{
    print(journal + " is larger than any run's journal: it was not read\n\n");
}

void printNotYours(const std::string& journal)
{
    print(journal + " is not yours (another user's file, or a link): it was left alone\n\n");
}

void printFailure(const std::string& message) { print(message + "\n\n"); }

void printText(const std::string& text) { print(text); }

void printRepairProgress(const std::string& file, int percent)
{
    printOverwritable("Repairing " + file + " - " + threeColumns(percent) + "% complete");
}

void printDecision(const char* decision) { print("Decided: " + std::string(decision) + "\n"); }

void printUncertainChunk(int64_t chunkIndex)
{
    const int64_t start = chunkIndex * 65536;
    print("The result is uncertain for one chunk: without an undo copy, chunk " + std::to_string(chunkIndex) +
          " (from byte " + std::to_string(start) + ") may already have been rewritten when the run stopped\n");
}

void printNowWholly(const std::string& file, const char* state) { print(file + " is now wholly " + state + "\n"); }

void printNowExceptThatChunk(const std::string& file, const char* state)
{
    print(file + " is now " + state + ", but for that chunk\n");
}

void printFinished()
{
    if (isatty(STDOUT_FILENO)) print("\n");
}

}  // namespace mendkit

#pragma once

// Repairs a file whose in-place transform was cut short, from the journal the
// run left behind and the record of the window it was rewriting. Shared by
// mendkit and the window programs; it reaches the engine through its public
// exports only.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace repair {

// What a journal's last whole line says about its run.
struct Journal {
    std::string journalPath;  // the journal itself
    std::string undoPath;     // where its window record lies (the file may be missing)
    std::string fileName;     // the file as the run named it
    std::string filePath;     // that name, a relative one taken from the journal's folder
    bool encrypting = true;   // "TXE..." journals encrypted, "TXD..." decrypted
    int64_t chunkCount = 0;   // chunks the journal counts as finished
    int64_t position = 0;     // bytes the journal counts as rewritten
};

// Reads a journal; nothing when it cannot be read or holds no whole line.
std::optional<Journal> readJournal(const std::string& journalPath);

// Why a journal gave nothing.
enum class JournalProblem {
    NotAJournalName,  // its file name is not "TXE<n>.adt" or "TXD<n>.adt", which tells the run's direction
    CannotRead,
    NoWholeLine,  // empty or cut short in its first line: it names no file
    TooLarge,     // larger than any run's journal can grow; not read
    NotYours,     // another user owns it (or it is a link): in a shared folder it may have been planted; not read
};

// The same, telling why when there is nothing.
std::optional<Journal> readJournal(const std::string& journalPath, JournalProblem& problem);

// Whether a file name (without its folder) is that of a journal.
bool isJournalName(const std::string& fileName);

// Whether a run still holds the journal: the run is going on (or another
// repair is at work on it).
bool isJournalInUse(const std::string& journalPath);

// The journals of one direction in a folder (an empty folder name is the
// current one), oldest first, leaving out those of runs still going and those
// of other users.
std::vector<Journal> findJournals(const std::string& folder, bool encrypting);

// How the repair decided how far the run got.
enum class Decision {
    JournalCount,          // the journal's count, exactly
    RolledForward,         // the window an encryption was writing was finished from its record
    RolledBack,            // the window a decryption was writing was put back from its record
    UncertainWithoutCopy,  // no window record (an older kind of run): the journal's count, uncertain for one chunk
};

// What the repaired file is to hold.
enum class Goal {
    Plaintext,    // wholly the run's plaintext: what it was before an encryption, after a decryption
    Transformed,  // wholly what the run would have written, as if it had completed
};

enum class Status {
    Repaired,
    CannotOpenFile,  // the file the journal names cannot be opened or is no regular file
    CannotRead,
    CannotWrite,          // the disk is full or another write failed; the file and journal are as they were
    CannotReadUndoCopy,   // the window record exists but cannot be read; nothing was changed
    JournalDoesNotFit,    // the journal's numbers do not fit the file's size; nothing was changed
    KeyDoesNotFit,        // another key or layer choice than the run's, as the record's key check tells;
                          // nothing was changed
    RunStillGoing,        // the run (or another repair) still holds the journal, or it has just gone; nothing
                          // was changed
    CannotRepairExactly,  // journal and record tell of a state no run leaves, so the repair cannot know how
                          // far the run got; nothing was changed
    FileHasOtherNames,    // the file has hard links: the repaired file would take the place of one name only,
                          // and the others would keep the damaged bytes; nothing was changed
    OwnersDiffer,         // the file, or the journal's record, belongs to another user than the journal:
                          // another user may have planted them; nothing was changed
};

struct Result {
    Status status = Status::Repaired;
    Decision decision = Decision::JournalCount;
};

// Percent of the repair done, 0 to 100; called on the repairing thread.
using ProgressSink = std::function<void(int percent)>;

// Repairs the file of `journal` with the run's key text and layer choice
// (0 for both layers, 1 for block cipher only), holding the journal's lock
// while it works. The file keeps its time stamp; the journal and its record
// are removed only after success. A
// repair cut short by a new crash leaves the damaged file and its journal, so
// that it can be repaired again.
Result repairFromJournal(const Journal& journal, const char* key, int layerChoice, Goal goal,
                         const ProgressSink& progress = {});

// The words a person is told for a decision ("journal count", "finished the
// window the run was writing", ...).
const char* describe(Decision decision);

}  // namespace repair

// The repair of one interrupted in-place run: what the file holds, decided
// from the journal and the window record, rewritten beside it and put in its
// place; then the journal goes.
#include "repair/JournalRepair.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>

#include "Descriptor.h"
#include "RepairPass.h"
#include "RepairRecord.h"
#include "ReplacementFile.h"
#include "WindowRecordFormat.h"
#include "WindowRecordReader.h"
#include "tarvex.h"

namespace repair {

namespace {

namespace fs = std::filesystem;

// An engine line the interrupted run wrote always fits the file it names:
// the position is the count's chunks, cut at the file's end.
bool journalFits(const Journal& journal, int64_t size)
{
    const int64_t chunkCount = (size + kChunkSize - 1) / kChunkSize;
    if (journal.chunkCount < 0 || journal.chunkCount > chunkCount) return false;
    return journal.position == std::min(journal.chunkCount * kChunkSize, size);
}

// How far, as the journal counts, the repaired file is transformed.
int64_t chunksTransformedAfter(const RunSettings& run, int64_t size)
{
    const bool wholly = run.goal == Goal::Transformed || !run.encrypting;
    return wholly ? (size + kChunkSize - 1) / kChunkSize : 0;
}

std::string folderOf(const std::string& path)
{
    const fs::path parent = fs::path(path).parent_path();
    return parent.empty() ? std::string(".") : parent.string();
}

// A record left by a repair that stopped before its replacement: its
// temporary file goes, if that is still the one it wrote.
void removeLeftovers(const RepairRecord& record, const std::string& filePath)
{
    const std::string temporary = folderOf(filePath) + "/" + record.temporaryName;
    struct stat status;
    if (lstat(temporary.c_str(), &status) == 0 && S_ISREG(status.st_mode) && status.st_dev == record.device &&
        status.st_ino == record.inode)
        unlink(temporary.c_str());
}

// The journal goes first: while it stays, so do the window record with its
// key check and the record that tells the next repair the file is repaired
// already.
void removeJournal(const Journal& journal, const std::string& recordPath)
{
    if (unlink(journal.journalPath.c_str()) != 0) return;
    syncFolder(folderOf(journal.journalPath));
    unlink(journal.undoPath.c_str());
    unlink(recordPath.c_str());
}

Status statusOf(PassOutcome outcome)
{
    switch (outcome) {
    case PassOutcome::Done: break;
    case PassOutcome::CannotRead: return Status::CannotRead;
    case PassOutcome::CannotWrite: return Status::CannotWrite;
    }
    return Status::Repaired;
}

// The key check an in-place run keeps in its record, for this key and layer
// choice.
uint64_t keyCheckOf(const char* key, int layerChoice)
{
    unsigned char probe[windowrecord::kKeyProbeSize];
    windowrecord::keyProbe(probe);
    tarvexTransformBuffer(key, probe, sizeof probe, probe, TARVEX_ENCRYPT, layerChoice, 1);
    return windowrecord::keyCheck(probe);
}

int64_t chunksIn(int64_t bytes) { return (bytes + kChunkSize - 1) / kChunkSize; }

bool recordIsOwnOrMissing(const std::string& recordPath)
{
    struct stat status;
    if (lstat(recordPath.c_str(), &status) != 0) return errno == ENOENT;
    return S_ISREG(status.st_mode) && status.st_uid == geteuid();
}

// Where the window record puts the run. Its window was on the disk before any
// of the window was touched, and the lines of the window before it were on
// the disk before the record was begun: so a whole window that holds the
// journal's count tells exactly what the window is to hold, and a torn one,
// or one the journal has passed, that the count is exact.
Status placeRun(const WindowRecordContent& record, const Journal& journal, DamagedFile& file, Decision& decision)
{
    file.countIsExact = true;
    if (!record.hasWindow) return Status::Repaired;
    const auto windowLength = static_cast<int64_t>(record.bytes.size());
    const int64_t windowEnd = record.firstChunk + chunksIn(windowLength);
    // A run's window is whole, or it ends where the file does.
    const bool fits = record.windowStart + windowLength == file.size ||
                      (windowLength == static_cast<int64_t>(windowrecord::kWindowBytes) &&
                       record.windowStart + windowLength < file.size);
    if (!fits) return Status::JournalDoesNotFit;
    if (journal.chunkCount > windowEnd) return Status::Repaired;
    if (journal.chunkCount < record.firstChunk) return Status::CannotRepairExactly;
    file.window = &record.bytes;
    file.windowStart = record.windowStart;
    // The record holds the window enciphered: what an encryption leaves
    // there, what a decryption found there.
    file.chunksTransformed = journal.encrypting ? windowEnd : record.firstChunk;
    decision = journal.encrypting ? Decision::RolledForward : Decision::RolledBack;
    return Status::Repaired;
}

// Holds the journal's lock for the repair: no run is still writing it, and
// no other repair is at work on it.
class JournalLock {
public:
    explicit JournalLock(const std::string& journalPath)
        : descriptor_(open(journalPath.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC))
    {}
    bool held() const { return descriptor_.get() >= 0 && flock(descriptor_.get(), LOCK_EX | LOCK_NB) == 0; }

private:
    Descriptor descriptor_;
};

}  // namespace

Result repairFromJournal(const Journal& journalRead, const char* key, int layerChoice, Goal goal,
                         const ProgressSink& progress)
{
    // A window program's callback is registered for its runs, not for this.
    tarvexSetProgressCallback(nullptr);
    tarvexSetProgressVariable(nullptr);

    Result result;
    const JournalLock lock(journalRead.journalPath);
    if (!lock.held()) return {Status::RunStillGoing, result.decision};
    // Read again under the lock: the run may have gone on since.
    JournalProblem problem{};
    const auto reread = readJournal(journalRead.journalPath, problem);
    if (!reread)
        return {problem == JournalProblem::NotYours ? Status::OwnersDiffer : Status::RunStillGoing, result.decision};
    const Journal& journal = *reread;

    // A link is repaired where it leads, as the run rewrote it there.
    std::error_code error;
    const std::string filePath = fs::canonical(journal.filePath, error).string();
    if (error) return {Status::CannotOpenFile, result.decision};
    const Descriptor damaged(open(filePath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat status;
    if (damaged.get() < 0 || fstat(damaged.get(), &status) != 0 || !S_ISREG(status.st_mode))
        return {Status::CannotOpenFile, result.decision};
    if (!journalFits(journal, status.st_size)) return {Status::JournalDoesNotFit, result.decision};
    if (status.st_nlink > 1) return {Status::FileHasOtherNames, result.decision};
    // The journal is the repairing user's own (it was read): so must be the
    // file it names and the record beside it.
    if (status.st_uid != geteuid() || !recordIsOwnOrMissing(journal.undoPath))
        return {Status::OwnersDiffer, result.decision};

    const WindowRecordContent window = readWindowRecord(journal.undoPath);
    using WindowState = WindowRecordContent::State;
    if (window.state == WindowState::Unreadable) return {Status::CannotReadUndoCopy, result.decision};
    // Before anything is written, whatever state the file is in.
    if (window.state == WindowState::Present && window.keyCheck != keyCheckOf(key, layerChoice))
        return {Status::KeyDoesNotFit, result.decision};

    const RunSettings run{key, layerChoice, journal.encrypting, goal};
    DamagedFile file;
    file.descriptor = damaged.get();
    file.size = status.st_size;
    file.chunksTransformed = journal.chunkCount;

    const std::string recordPath = repairRecordPath(journal);
    const auto record = readRepairRecord(recordPath);
    const bool repairedBefore = record && record->device == status.st_dev && record->inode == status.st_ino;
    if (repairedBefore) {
        // Stopped after the replacement: the file is wholly in one state.
        file.chunksTransformed = record->chunksTransformed;
        file.countIsExact = true;
        result.decision = record->decision;
    } else {
        if (record) removeLeftovers(*record, filePath);
        if (window.state == WindowState::Present) {
            const Status placed = placeRun(window, journal, file, result.decision);
            if (placed != Status::Repaired) return {placed, result.decision};
        }
        if (!file.window) result.decision = decisionWithoutCopy(file);
    }

    if (!needsRewriting(file, run)) {
        if (progress) progress(100);
        removeJournal(journal, recordPath);
        return result;
    }

    ReplacementFile replacement;
    if (!replacement.create(filePath, fs::path(journal.journalPath).stem().string()))
        return {Status::CannotWrite, result.decision};
    // Recorded before the plaintext is written into it: should this repair be
    // killed, the next one removes the temporary file; should it stop after
    // the replacement, the next one finds the file repaired.
    const RepairRecord replacing{replacement.device(), replacement.inode(), chunksTransformedAfter(run, file.size),
                                 result.decision, replacement.temporaryName()};
    if (!writeRepairRecord(recordPath, replacing)) return {Status::CannotWrite, result.decision};
    const auto failed = [&](Status failure) {
        replacement.discard();
        unlink(recordPath.c_str());
        return Result{failure, result.decision};
    };
    const PassOutcome pass = writeRepaired(file, run, replacement, progress);
    if (pass != PassOutcome::Done) return failed(statusOf(pass));
    if (!replacement.finish(status)) return failed(Status::CannotWrite);
    switch (replacement.replaceTarget()) {
    case ReplacementFile::Replacement::Failed: return failed(Status::CannotWrite);
    case ReplacementFile::Replacement::Lasting: removeJournal(journal, recordPath); break;
    // The journal and the record stay: should the rename be lost, the
    // damaged file comes back with them; if not, the next repair only clears up.
    case ReplacementFile::Replacement::NotLasting: break;
    }
    return result;
}

const char* describe(Decision decision)
{
    switch (decision) {
    case Decision::JournalCount: break;
    case Decision::RolledForward: return "finished the window the run was writing, from its record";
    case Decision::RolledBack: return "put back the window the run was rewriting, from its record";
    case Decision::UncertainWithoutCopy: return "journal count, without an undo copy";
    }
    return "journal count";
}

}  // namespace repair

// The repair of one interrupted in-place run: what the file holds, decided
// from the journal and the undo copy, rewritten beside it and put in its
// place; then the journal goes.
#include "repair/JournalRepair.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "Descriptor.h"
#include "RepairPass.h"
#include "RepairRecord.h"
#include "ReplacementFile.h"
#include "UndoCopyReader.h"
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

// The record goes last: while the journal stays, so does the record that
// tells the next repair the file is repaired already.
void removeJournal(const Journal& journal, const std::string& recordPath)
{
    unlink(journal.undoPath.c_str());
    if (unlink(journal.journalPath.c_str()) != 0) return;
    syncFolder(folderOf(journal.journalPath));
    unlink(recordPath.c_str());
}

Status statusOf(PassOutcome outcome)
{
    switch (outcome) {
    case PassOutcome::Done: break;
    case PassOutcome::CannotRead: return Status::CannotRead;
    case PassOutcome::CannotWrite: return Status::CannotWrite;
    case PassOutcome::KeyDoesNotFit: return Status::KeyDoesNotFit;
    }
    return Status::Repaired;
}

}  // namespace

Result repairFromJournal(const Journal& journal, const char* key, int layerChoice, Goal goal,
                         const ProgressSink& progress)
{
    // A window program's callback is registered for its runs, not for this.
    tarvexSetProgressCallback(nullptr);
    tarvexSetProgressVariable(nullptr);

    Result result;
    // A link is repaired where it leads, as the run rewrote it there.
    std::error_code error;
    const std::string filePath = fs::canonical(journal.filePath, error).string();
    if (error) return {Status::CannotOpenFile, result.decision};
    const Descriptor damaged(open(filePath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat status;
    if (damaged.get() < 0 || fstat(damaged.get(), &status) != 0 || !S_ISREG(status.st_mode))
        return {Status::CannotOpenFile, result.decision};
    if (!journalFits(journal, status.st_size)) return {Status::JournalDoesNotFit, result.decision};

    const RunSettings run{key, layerChoice, journal.encrypting, goal};
    DamagedFile file;
    file.descriptor = damaged.get();
    file.size = status.st_size;
    file.chunksTransformed = journal.chunkCount;

    const std::string recordPath = repairRecordPath(journal);
    const auto record = readRepairRecord(recordPath);
    const bool repairedBefore = record && record->device == status.st_dev && record->inode == status.st_ino;
    ChunkCopy copy;
    if (repairedBefore) {
        // Stopped after the replacement: the file is wholly in one state.
        file.chunksTransformed = record->chunksTransformed;
        file.countIsExact = true;
    } else {
        if (record) removeLeftovers(*record, filePath);
        const int64_t start = journal.chunkCount * kChunkSize;
        if (start < file.size) {
            copy = readUndoCopy(journal.undoPath, journal.chunkCount, start, std::min(kChunkSize, file.size - start));
            if (copy.state == ChunkCopy::State::Unreadable) return {Status::CannotReadUndoCopy, result.decision};
            // A torn or stale copy was written before the chunk was touched.
            file.countIsExact = copy.state == ChunkCopy::State::Unusable;
            if (copy.state == ChunkCopy::State::Usable) file.copyAtCount = &copy;
        }
    }

    if (!needsRewriting(file, run)) {
        result.decision = repairedBefore ? record->decision : decisionWithoutCopy(file);
        if (progress) progress(100);
        removeJournal(journal, recordPath);
        return result;
    }

    ReplacementFile replacement;
    if (!replacement.create(filePath, fs::path(journal.journalPath).stem().string()))
        return {Status::CannotWrite, result.decision};
    const PassResult pass = writeRepaired(file, run, replacement, progress);
    if (pass.outcome != PassOutcome::Done) return {statusOf(pass.outcome), pass.decision};
    result.decision = repairedBefore ? record->decision : pass.decision;
    if (!replacement.finish(status)) return {Status::CannotWrite, result.decision};

    const RepairRecord replacing{replacement.device(), replacement.inode(), chunksTransformedAfter(run, file.size),
                                 result.decision, replacement.temporaryName()};
    if (!writeRepairRecord(recordPath, replacing)) return {Status::CannotWrite, result.decision};
    switch (replacement.replaceTarget()) {
    case ReplacementFile::Replacement::Failed:
        unlink(recordPath.c_str());
        return {Status::CannotWrite, result.decision};
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
    case Decision::OneMoreChunk: return "one more chunk";
    case Decision::RestoredHalfWritten: return "restored a half-written chunk";
    case Decision::UncertainWithoutCopy: return "journal count, without an undo copy";
    }
    return "journal count";
}

}  // namespace repair

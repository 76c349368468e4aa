#pragma once

#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>

#include "repair/JournalRepair.h"

namespace repair {

// Written beside the journal once the repaired file's temporary file exists,
// before any of the repaired bytes are, and removed after the journal. Should the repair stop between
// the replacement and the journal's removal, the next repair finds the file
// already repaired (it is the recorded file) and must not turn its chunks
// again; should it stop before the replacement, the record names another file
// than the damaged one and only its temporary file (a part of the repaired
// bytes, the plaintext perhaps) is left to remove.
struct RepairRecord {
    dev_t device = 0;
    ino_t inode = 0;
    int64_t chunksTransformed = 0;  // how far, as the journal counts, the repaired file is transformed
    Decision decision = Decision::JournalCount;
    std::string temporaryName;  // the repaired file's name before the replacement, in the file's folder
};

// "TXE<n>.repaired" beside "TXE<n>.adt".
std::string repairRecordPath(const Journal& journal);

std::optional<RepairRecord> readRepairRecord(const std::string& path);

// Writes the record and puts it on the disk, with its folder entry.
bool writeRepairRecord(const std::string& path, const RepairRecord& record);

}  // namespace repair

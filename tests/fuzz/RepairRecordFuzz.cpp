// The repair record reader on any bytes, as the ".repaired" file a repair
// cut short leaves beside its journal.
#include "FuzzInput.h"
#include "RepairRecord.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto record = repair::readRepairRecord(fuzz::writeInput("TXE1.repaired", data, size));
    if (!record) return 0;
    // A name in the journal's folder, and a count a repair can have reached.
    FUZZ_CHECK(!record->temporaryName.empty());
    FUZZ_CHECK(record->temporaryName.find('/') == std::string::npos);
    FUZZ_CHECK(record->temporaryName.find('\n') == std::string::npos);
    FUZZ_CHECK(record->chunksTransformed >= 0);
    FUZZ_CHECK(
        record->decision == repair::Decision::JournalCount || record->decision == repair::Decision::RolledForward ||
        record->decision == repair::Decision::RolledBack || record->decision == repair::Decision::UncertainWithoutCopy);
    return 0;
}

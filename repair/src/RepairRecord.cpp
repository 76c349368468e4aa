#include "RepairRecord.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "ReplacementFile.h"
#include "WindowRecordFormat.h"

namespace repair {

namespace {

constexpr const char* kHeading = "tarvex repair record";
constexpr const char* kSuffix = ".repaired";

bool isDecision(int value)
{
    return value >= static_cast<int>(Decision::JournalCount) &&
           value <= static_cast<int>(Decision::UncertainWithoutCopy);
}

}  // namespace

std::string repairRecordPath(const Journal& journal)
{
    const std::string& path = journal.journalPath;
    return path.substr(0, path.size() - windowrecord::kJournalSuffix.size()) + kSuffix;
}

std::optional<RepairRecord> readRepairRecord(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string heading, numbers, temporaryName;
    if (!std::getline(in, heading) || heading != kHeading || !std::getline(in, numbers) ||
        !std::getline(in, temporaryName) || temporaryName.empty() || temporaryName.find('/') != std::string::npos)
        return std::nullopt;

    std::istringstream fields(numbers);
    unsigned long long device = 0, inode = 0;
    long long chunks = 0;
    int decision = 0;
    if (!(fields >> device >> inode >> chunks >> decision) || chunks < 0 || !isDecision(decision)) return std::nullopt;
    RepairRecord record;
    record.device = static_cast<dev_t>(device);
    record.inode = static_cast<ino_t>(inode);
    record.chunksTransformed = chunks;
    record.decision = static_cast<Decision>(decision);
    record.temporaryName = temporaryName;
    return record;
}

bool writeRepairRecord(const std::string& path, const RepairRecord& record)
{
    std::ostringstream text;
    text << kHeading << '\n'
         << static_cast<unsigned long long>(record.device) << ' ' << static_cast<unsigned long long>(record.inode)
         << ' ' << record.chunksTransformed << ' ' << static_cast<int>(record.decision) << '\n'
         << record.temporaryName << '\n';
    const std::string bytes = text.str();

    const int descriptor = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (descriptor < 0) return false;
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = write(descriptor, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) break;
        done += static_cast<size_t>(written);
    }
    const bool synced = done == bytes.size() && fsync(descriptor) == 0;
    if (close(descriptor) != 0 || !synced) {
        unlink(path.c_str());
        return false;
    }
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    return syncFolder(folder.empty() ? std::string(".") : folder.string());
}

}  // namespace repair

#include "core/RecoveryList.h"

#include "core/FileSystem.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string_view>

namespace {

// A list left by an earlier run in the same second is never overwritten: it
// may be all that tells which files a crash left half done.
constexpr int nameAttempts = 1000;

constexpr std::string_view namePrefix = "Mendkit";
constexpr std::string_view nameSuffix = ".log";

std::string listName(long long number)
{
    return std::string(namePrefix).append(std::to_string(number)).append(nameSuffix);
}

// The digits between the prefix and the suffix of a list's name; empty for
// any other name.
std::string_view listNumber(std::string_view name)
{
    if (name.size() <= namePrefix.size() + nameSuffix.size()) return {};
    if (!name.starts_with(namePrefix) || !name.ends_with(nameSuffix)) return {};
    const std::string_view digits = name.substr(namePrefix.size(), name.size() - namePrefix.size() - nameSuffix.size());
    const bool allDigits = std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
    return allDigits ? digits : std::string_view();
}

// One target a line; a list written elsewhere may end its lines with CR LF.
std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

// Whether a run that is still going holds the list's lock.
bool heldByLiveRun(const std::string& path)
{
    const int descriptor = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) return false;
    const bool held = flock(descriptor, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    close(descriptor);
    return held;
}

}  // namespace

std::unique_ptr<RecoveryList> RecoveryList::create(const std::vector<std::string>& targets, std::time_t now)
{
    std::string content;
    for (const std::string& target : targets) content.append(target).append("\n");
    for (int attempt = 0; attempt < nameAttempts; ++attempt) {
        const std::string name = listName(static_cast<long long>(now) + attempt);
        const int descriptor = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (descriptor < 0) {
            if (errno == EEXIST) continue;
            return nullptr;
        }
        // Locked for the run's whole life, so that a second window in this
        // folder does not take the list of a live run for one left behind.
        if (flock(descriptor, LOCK_EX | LOCK_NB) == 0 && core::writeDurably(descriptor, content))
            return std::unique_ptr<RecoveryList>(new RecoveryList(name, descriptor));
        unlink(name.c_str());
        close(descriptor);
        return nullptr;
    }
    return nullptr;
}

RecoveryList::~RecoveryList()
{
    // Gone before the lock is let go: the list is never seen unlocked.
    unlink(name_.c_str());
    close(descriptor_);
}

std::vector<LeftRecoveryList> findLeftRecoveryLists(const std::string& folder)
{
    std::vector<std::string> names;
    for (const core::FolderEntry& entry : core::listFolder(folder).value_or(std::vector<core::FolderEntry>{})) {
        // Another user's list in a shared folder is theirs to deal with.
        if (!entry.isFolder && !listNumber(entry.name).empty() &&
            core::isOwnRegularFile(core::ensureTrailingSeparator(folder) + entry.name))
            names.push_back(entry.name);
    }
    // The numbers are the times the runs began; the names have no leading
    // zeros, so a shorter number is an earlier one.
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const std::string_view first = listNumber(a), second = listNumber(b);
        return first.size() != second.size() ? first.size() < second.size() : first < second;
    });
    std::vector<LeftRecoveryList> lists;
    for (const std::string& name : names) {
        std::string path = core::ensureTrailingSeparator(folder) + name;
        if (heldByLiveRun(path)) continue;
        const std::optional<std::string> content = core::readStream(path);
        std::optional<std::vector<std::string>> targets;
        if (content) targets = linesOf(*content);
        lists.push_back({std::move(path), std::move(targets)});
    }
    return lists;
}

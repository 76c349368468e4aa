// Reading the journals that in-place runs leave behind. A journal holds one
// record per finished chunk, "<name>   <count>   <position>\n", the name
// exactly as the run was given it: any bytes, blanks and line ends included.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string_view>
#include <system_error>

#include "Descriptor.h"
#include "WindowRecordFormat.h"
#include "repair/JournalRepair.h"

namespace repair {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kEncryptingPrefix = "TXE";
constexpr std::string_view kDecryptingPrefix = "TXD";
// What follows the name in the first record, for chunk 0 at position 0.
constexpr std::string_view kFirstRecordFields = "       0            0\n";
// A line for every chunk of the largest file a run handles (2 GiB), each
// naming the longest path: no run's journal grows beyond this.
constexpr uintmax_t kLargestJournal = (uintmax_t{1} << 31) / 65536 * (4096 + 64) + 65536;

// The number between a journal name's prefix and suffix.
std::string_view journalNumber(std::string_view fileName)
{
    return fileName.substr(kEncryptingPrefix.size(),
                           fileName.size() - kEncryptingPrefix.size() - windowrecord::kJournalSuffix.size());
}

bool skipBlanks(std::string_view text, size_t& at)
{
    const size_t start = at;
    while (at < text.size() && text[at] == ' ') ++at;
    return at > start;
}

bool readNumber(std::string_view text, size_t& at, int64_t& value)
{
    const size_t start = at;
    value = 0;
    for (; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])); ++at) {
        if (at - start >= 18) return false;  // beyond any count or size a run can reach
        value = value * 10 + (text[at] - '0');
    }
    return at > start;
}

// One record starting at `at`: true, with `at` behind it, when it is whole.
bool readRecord(std::string_view text, std::string_view name, size_t& at, int64_t& count, int64_t& position)
{
    size_t cursor = at;
    if (text.substr(cursor, name.size()) != name) return false;
    cursor += name.size();
    if (!skipBlanks(text, cursor) || !readNumber(text, cursor, count)) return false;
    if (!skipBlanks(text, cursor) || !readNumber(text, cursor, position)) return false;
    if (cursor >= text.size() || text[cursor] != '\n') return false;
    at = cursor + 1;
    return true;
}

bool readWholeFile(const std::string& path, std::string& text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

}  // namespace

bool isJournalName(const std::string& fileName)
{
    const std::string_view name(fileName);
    if (!name.starts_with(kEncryptingPrefix) && !name.starts_with(kDecryptingPrefix)) return false;
    if (!name.ends_with(windowrecord::kJournalSuffix)) return false;
    if (name.size() <= kEncryptingPrefix.size() + windowrecord::kJournalSuffix.size()) return false;
    const std::string_view number = journalNumber(name);
    return std::all_of(number.begin(), number.end(),
                       [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

std::optional<Journal> readJournal(const std::string& journalPath, JournalProblem& problem)
{
    const fs::path path(journalPath);
    const std::string fileName = path.filename().string();
    if (!isJournalName(fileName)) {
        problem = JournalProblem::NotAJournalName;
        return std::nullopt;
    }
    // Never through a link, and only the repairing user's own: another user
    // could plant a journal in a shared folder naming any file of ours.
    struct stat status;
    if (lstat(journalPath.c_str(), &status) != 0) {
        problem = JournalProblem::CannotRead;
        return std::nullopt;
    }
    if (S_ISLNK(status.st_mode) || (S_ISREG(status.st_mode) && status.st_uid != geteuid())) {
        problem = JournalProblem::NotYours;
        return std::nullopt;
    }
    if (!S_ISREG(status.st_mode)) {
        problem = JournalProblem::CannotRead;
        return std::nullopt;
    }
    if (static_cast<uintmax_t>(status.st_size) > kLargestJournal) {
        problem = JournalProblem::TooLarge;
        return std::nullopt;
    }
    std::string text;
    if (!readWholeFile(journalPath, text)) {
        problem = JournalProblem::CannotRead;
        return std::nullopt;
    }
    // Every record repeats the name of the first, whose numbers are known:
    // so the name is found whatever bytes it holds.
    const size_t firstFields = text.find(kFirstRecordFields);
    if (firstFields == std::string::npos) {
        problem = JournalProblem::NoWholeLine;
        return std::nullopt;
    }

    Journal journal;
    journal.journalPath = journalPath;
    journal.fileName = text.substr(0, firstFields);
    journal.encrypting = fileName.starts_with(kEncryptingPrefix);
    size_t at = firstFields + kFirstRecordFields.size();
    int64_t count = 0;
    int64_t position = 0;
    while (readRecord(text, journal.fileName, at, count, position)) {
        journal.chunkCount = count;
        journal.position = position;
    }

    const std::string stem = journalPath.substr(0, journalPath.size() - windowrecord::kJournalSuffix.size());
    journal.undoPath = stem + std::string(windowrecord::kRecordSuffix);
    // The run named the file from the folder it ran in, where its journal lies.
    const fs::path named(journal.fileName);
    journal.filePath =
        named.is_absolute() || !path.has_parent_path() ? journal.fileName : (path.parent_path() / named).string();
    return journal;
}

std::optional<Journal> readJournal(const std::string& journalPath)
{
    JournalProblem problem;
    return readJournal(journalPath, problem);
}

bool isJournalInUse(const std::string& journalPath)
{
    const Descriptor journal(open(journalPath.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    return journal.get() >= 0 && flock(journal.get(), LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
}

std::vector<Journal> findJournals(const std::string& folder, bool encrypting)
{
    const std::string_view prefix = encrypting ? kEncryptingPrefix : kDecryptingPrefix;
    std::vector<Journal> journals;
    std::error_code error;
    for (fs::directory_iterator entry(folder.empty() ? fs::path(".") : fs::path(folder), error), end;
         !error && entry != end; entry.increment(error)) {
        const std::string fileName = entry->path().filename().string();
        if (!fileName.starts_with(prefix) || !isJournalName(fileName)) continue;
        const std::string journalPath = folder.empty() ? fileName : entry->path().string();
        if (isJournalInUse(journalPath)) continue;
        if (auto journal = readJournal(journalPath)) journals.push_back(std::move(*journal));
    }
    // The number in the name is the time the run started: oldest first.
    const auto number = [](const Journal& journal) {
        return std::string(journalNumber(fs::path(journal.journalPath).filename().string()));
    };
    std::sort(journals.begin(), journals.end(), [&](const Journal& a, const Journal& b) {
        const std::string first = number(a);
        const std::string second = number(b);
        if (first.size() != second.size()) return first.size() < second.size();
        return first < second;
    });
    return journals;
}

}  // namespace repair

#include "app/RecoveryList.h"

#include "framework/FileSystem.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace {

// A list left by an earlier run in the same second is never overwritten: it
// may be all that tells which files a crash left half done.
constexpr int nameAttempts = 1000;

}  // namespace

std::unique_ptr<RecoveryList> RecoveryList::create(const std::vector<std::string>& targets, std::time_t now)
{
    std::string content;
    for (const std::string& target : targets) content.append(target).append("\n");
    for (int attempt = 0; attempt < nameAttempts; ++attempt) {
        const std::string name = "Mendkit" + std::to_string(static_cast<long long>(now) + attempt) + ".log";
        const int descriptor = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (descriptor < 0) {
            if (errno == EEXIST) continue;
            return nullptr;
        }
        const bool durable = framework::writeDurably(descriptor, content);
        const bool closed = close(descriptor) == 0;
        if (durable && closed) return std::unique_ptr<RecoveryList>(new RecoveryList(name));
        unlink(name.c_str());
        return nullptr;
    }
    return nullptr;
}

RecoveryList::~RecoveryList() { unlink(name_.c_str()); }

#include "ScratchFolder.h"

#include <unistd.h>

namespace enginetest {

ScratchFolder::ScratchFolder() : previous_(std::filesystem::current_path()) { std::filesystem::current_path(path()); }

// Never throws: the folder it came from may no longer be reachable.
ScratchFolder::~ScratchFolder()
{
    std::error_code error;
    std::filesystem::current_path(previous_, error);
}

std::vector<std::string> ScratchFolder::journals() const
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path())) {
        const std::string name = entry.path().filename().string();
        if (name.size() > 7 && name.rfind("TX", 0) == 0 && name.ends_with(".adt")) names.push_back(name);
    }
    return names;
}

bool dropRootPrivileges()
{
    if (geteuid() != 0) return true;
    constexpr gid_t kNobodyGroup = 65534;
    constexpr uid_t kNobody = 65534;
    return setgid(kNobodyGroup) == 0 && setuid(kNobody) == 0;
}

}  // namespace enginetest

#include "core/FileSystem.h"

#include <unistd.h>

#include <cerrno>

namespace core {

namespace {

// The target of a link, however long; empty when it cannot be read.
std::string linkTarget(const char* link)
{
    std::string buffer(256, '\0');
    for (;;) {
        const ssize_t length = readlink(link, buffer.data(), buffer.size());
        if (length < 0) return {};
        if (static_cast<std::size_t>(length) < buffer.size()) return buffer.substr(0, static_cast<std::size_t>(length));
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace

std::string currentDirectory()
{
    // getcwd takes a fixed buffer: grow it until the whole path fits.
    std::string buffer(256, '\0');
    while (getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE) return {};
        buffer.resize(buffer.size() * 2);
    }
    return buffer.c_str();
}

bool setCurrentDirectory(const std::string& folder) { return chdir(folder.c_str()) == 0; }

std::string ensureTrailingSeparator(std::string_view path)
{
    std::string text(path);
    if (text.empty() || text.back() != pathSeparator) text += pathSeparator;
    return text;
}

std::vector<std::string> systemFolders()
{
    // Removable drives are mounted below /run, /media and /mnt: those stay
    // the user's.
    return {"/usr",   "/etc",    "/boot", "/bin", "/sbin", "/lib", "/lib32",
            "/lib64", "/libx32", "/opt",  "/var", "/proc", "/sys", "/dev"};
}

std::string installFolder()
{
    // The kernel's own record of the executable keeps its name's bytes exact.
    const std::string executable = linkTarget("/proc/self/exe");
    const std::size_t separator = executable.rfind(pathSeparator);
    if (separator == std::string::npos) return {};
    return separator == 0 ? "/" : executable.substr(0, separator);
}

}  // namespace core

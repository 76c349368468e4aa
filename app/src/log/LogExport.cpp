#include "app/LogExport.h"

#include "framework/FileSystem.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include <fcntl.h>
#include <unistd.h>

namespace logexport {

std::string exportText(const std::vector<std::string>& entries)
{
    std::size_t length = 0;
    for (const std::string& entry : entries) length += entry.size() + 2;
    std::string text;
    text.reserve(length);
    for (const std::string& entry : entries) {
        text += entry;
        text += "\r\n";
    }
    return text;
}

void encryptInPlace(const EngineGate::Pass& pass, const SecretText& key, std::string& text, int layerChoice)
{
    auto* bytes = reinterpret_cast<unsigned char*>(text.data());
    for (std::size_t offset = 0; offset < text.size(); offset += pieceSize) {
        const auto length = static_cast<int32_t>(std::min<std::size_t>(pieceSize, text.size() - offset));
        pass.transformBuffer(key.c_str(), bytes + offset, length, bytes + offset, 1, layerChoice, offset == 0 ? 1 : 0);
    }
}

WriteResult replaceFile(const std::string& path, const std::string& bytes)
{
    const std::filesystem::path target(path);
    std::filesystem::path folder = target.parent_path();
    if (folder.empty()) folder = ".";
    // A target the user may not write stays as it is, even where the folder
    // would let a new file replace it.
    if (::access(path.c_str(), F_OK) == 0 && ::access(path.c_str(), W_OK) != 0) return WriteResult::CannotOpen;
    // The temporary name starts with the target's, so a stray one (after a
    // crash) is recognisable beside it.
    // Appended, not "." + name: GCC 12 at -O3 warns falsely (-Wrestrict) there.
    std::string hidden(".");
    hidden.append(target.filename().string()).append(".XXXXXX");
    std::string temporary = (folder / hidden).string();
    const int descriptor = ::mkstemp(temporary.data());
    if (descriptor < 0) return WriteResult::CannotOpen;

    bool ok = framework::writeDurably(descriptor, bytes);
    ok = ::close(descriptor) == 0 && ok;
    ok = ok && ::rename(temporary.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(temporary.c_str());
        return WriteResult::WriteFailed;
    }
    return WriteResult::Written;
}

}  // namespace logexport

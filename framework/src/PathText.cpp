#include "framework/PathText.h"

#include "core/FileSystem.h"

#include <QFile>

#include <dirent.h>
#include <memory>
#include <optional>
#include <sys/stat.h>

namespace framework {

namespace {

bool exists(const std::string& path)
{
    struct stat status {};
    return lstat(path.c_str(), &status) == 0;
}

// The entry of `folder` that shows as `name` when its bytes are read as text,
// when there is exactly one.
std::optional<std::string> onlyEntryShownAs(const std::string& folder, const QString& name)
{
    const std::unique_ptr<DIR, int (*)(DIR*)> listing(opendir(folder.empty() ? "/" : folder.c_str()), &closedir);
    if (!listing) return std::nullopt;
    std::optional<std::string> found;
    while (const dirent* entry = readdir(listing.get())) {
        if (QFile::decodeName(entry->d_name) != name) continue;
        if (found) return std::nullopt;
        found = entry->d_name;
    }
    return found;
}

}  // namespace

QString displayPath(std::string_view path) { return QString::fromUtf8(core::shownPath(path)); }

std::string pathFromText(const QString& text) { return QFile::encodeName(text).toStdString(); }

std::string pathFromPickedText(const QString& picked)
{
    const std::string direct = pathFromText(picked);
    if (exists(direct) || !picked.startsWith('/')) return direct;
    // Name by name from the root: each as its text's bytes where that
    // exists, otherwise the one entry of its folder that shows as it.
    std::string resolved;
    for (const QString& name : picked.split('/', Qt::SkipEmptyParts)) {
        std::string next = resolved + '/' + pathFromText(name);
        if (!exists(next)) {
            const auto entry = onlyEntryShownAs(resolved, name);
            if (!entry) return direct;
            next = resolved + '/' + *entry;
        }
        resolved = std::move(next);
    }
    return resolved.empty() ? direct : resolved;
}

}  // namespace framework

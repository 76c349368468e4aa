#include "core/TargetFiles.h"

#include "core/FileSystem.h"
#include "core/Paths.h"

void setTargetDirectory(services::StringList& targetFiles, const std::string& folder)
{
    targetFiles.clear();
    targetFiles.add(targetDirectoryMarker);
    targetFiles.add(core::ensureTrailingSeparator(folder));
}

std::optional<std::string> targetDirectory(const services::StringList& targetFiles)
{
    if (targetFiles.count() != 2 || targetFiles.getAt(0) != targetDirectoryMarker) return std::nullopt;
    return targetFiles.getAt(1);
}

std::string targetNameFor(const services::StringList& sources, const services::StringList& targets, int index)
{
    const std::string source = sources.getAt(index);
    // The marker counts only in first place, as the run reads it.
    if (targets.getAt(0) == targetDirectoryMarker) return targets.getAt(1) + fileNamePart(source);
    const std::string target = targets.getAt(index);
    // An empty entry means in place also for a run of one file: the engine
    // cannot create a file with no name.
    return target.empty() ? source : target;
}

#include "app/TargetFiles.h"

#include "framework/Platform.h"

void setTargetDirectory(services::StringList& targetFiles, const std::string& folder)
{
    targetFiles.clear();
    targetFiles.add(targetDirectoryMarker);
    targetFiles.add(framework::ensureTrailingSeparator(folder));
}

std::optional<std::string> targetDirectory(const services::StringList& targetFiles)
{
    if (targetFiles.count() != 2 || targetFiles.getAt(0) != targetDirectoryMarker) return std::nullopt;
    return targetFiles.getAt(1);
}

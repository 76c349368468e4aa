#include "app/TargetFiles.h"

#include "framework/Platform.h"

void setTargetDirectory(services::StringList& targetFiles, const QString& folder)
{
    targetFiles.clear();
    targetFiles.add(targetDirectoryMarker);
    targetFiles.add(framework::ensureTrailingSeparator(folder).toStdString());
}

std::optional<QString> targetDirectory(const services::StringList& targetFiles)
{
    if (targetFiles.count() != 2 || targetFiles.getAt(0) != targetDirectoryMarker) return std::nullopt;
    return QString::fromStdString(targetFiles.getAt(1));
}

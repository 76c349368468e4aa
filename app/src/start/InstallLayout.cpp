#include "app/InstallLayout.h"

#include "framework/FileSystem.h"
#include "framework/Platform.h"

std::string installedDataFolder(const std::string& programFolder)
{
    return framework::ensureTrailingSeparator(programFolder) + TARVEX_BIN_TO_DATA;
}

std::string helpFilePath(const std::string& programFolder, std::string_view helpFileName)
{
    const std::string beside = framework::ensureTrailingSeparator(programFolder) + std::string(helpFileName);
    if (framework::isRegularFile(beside)) return beside;
    return installedDataFolder(programFolder) + "/help/" + std::string(helpFileName);
}

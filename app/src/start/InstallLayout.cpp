#include "app/InstallLayout.h"

#include "framework/FileSystem.h"
#include "framework/Platform.h"

namespace {

// "sealwin.html" in `language`: "sealwin.de.html".
std::string inLanguage(std::string_view fileName, const std::string& language)
{
    const size_t extension = fileName.rfind('.');
    if (extension == std::string_view::npos) return std::string(fileName) + '.' + language;
    return std::string(fileName.substr(0, extension)) + '.' + language + std::string(fileName.substr(extension));
}

std::string besideOrInstalled(const std::string& programFolder, const std::string& fileName)
{
    const std::string beside = framework::ensureTrailingSeparator(programFolder) + fileName;
    if (framework::isRegularFile(beside)) return beside;
    return installedDataFolder(programFolder) + "/help/" + fileName;
}

}  // namespace

std::string installedDataFolder(const std::string& programFolder)
{
    return framework::ensureTrailingSeparator(programFolder) + TARVEX_BIN_TO_DATA;
}

std::string helpFilePath(const std::string& programFolder, std::string_view helpFileName, const std::string& language)
{
    if (!language.empty()) {
        const std::string translated = besideOrInstalled(programFolder, inLanguage(helpFileName, language));
        if (framework::isRegularFile(translated)) return translated;
    }
    return besideOrInstalled(programFolder, std::string(helpFileName));
}

std::string translationsFolder(const std::string& programFolder)
{
    const std::string beside = framework::ensureTrailingSeparator(programFolder) + "translations";
    if (framework::opensAsFolder(beside)) return beside;
    return installedDataFolder(programFolder) + "/translations";
}

#include "app/FolderExpansion.h"

#include "app/Paths.h"

#include "framework/FileSystem.h"
#include "framework/Modal.h"
#include "framework/PathText.h"
#include "framework/Platform.h"

namespace {

using services::toQString;

// A refused subfolder's caption sets the program folder further apart.
QString subfolderRefusalCaption(RefusalKind kind, const std::string& subfolder)
{
    return (kind == RefusalKind::ProgramFolder ? QStringLiteral("            ") : QStringLiteral("  ")) +
           framework::displayPath(subfolder);
}

}  // namespace

FolderWalk::FolderWalk(services::StringList& selectedFiles, const GuardedFolders& guarded,
                       const services::VariantTexts& variant, QWidget* owner)
    : selectedFiles_(selectedFiles), guarded_(guarded), variant_(variant), owner_(owner)
{}

FolderWalk::Result FolderWalk::walkFolder(const std::string& folder)
{
    if (walkDepth_ + 1 > depthLimit) return Result::TooDeep;
    const auto entries = framework::listFolder(folder);
    if (!entries) return Result::Done;

    ++walkDepth_;
    Result result = Result::Done;
    for (const framework::FolderEntry& entry : *entries) {
        const std::string path = framework::ensureTrailingSeparator(folder) + entry.name;
        if (!entry.isFolder && isFilePath(path)) {
            selectedFiles_.add(path);
            continue;
        }
        if (entry.name.starts_with('.')) continue;
        // Not a folder: a file that cannot be read. It still counts as a
        // subfolder for the question, but there is nothing to enter.
        if (subdirectoryAnswer_ == SubdirectoryAnswer::NotAsked) askSubdirectoryQuestion(folder);
        if (subdirectoryAnswer_ != SubdirectoryAnswer::Yes || !entry.isFolder) continue;
        if (walkSubfolder(path) == Result::TooDeep) {
            result = Result::TooDeep;
            break;
        }
    }
    --walkDepth_;
    return result;
}

FolderWalk::Result FolderWalk::walkSubfolder(const std::string& subfolder)
{
    if (const auto refusal = checkFolderSafety(subfolder, guarded_)) {
        framework::showMessage(owner_, {refusalText(*refusal, variant_), subfolderRefusalCaption(*refusal, subfolder),
                                        framework::MessageIcon::Exclamation, framework::MessageButtons::Ok});
        return Result::Done;
    }
    return walkFolder(subfolder);
}

void FolderWalk::askSubdirectoryQuestion(const std::string& folder)
{
    const int answer = framework::showMessage(owner_, {toQString(variant_.subdirectoriesQuestion),
                                                       QStringLiteral("  ") + framework::displayPath(folder),
                                                       framework::MessageIcon::None, framework::MessageButtons::YesNo});
    // Any other answer leaves the question open for the next subfolder.
    if (answer == framework::ResultYes) subdirectoryAnswer_ = SubdirectoryAnswer::Yes;
    else if (answer == framework::ResultNo) subdirectoryAnswer_ = SubdirectoryAnswer::No;
}

ExpansionOutcome expandTopLevelFolder(const std::string& folder, services::StringList& selectedFiles,
                                      const GuardedFolders& guarded, const services::VariantTexts& variant,
                                      QWidget* owner)
{
    if (const auto refusal = checkFolderSafety(folder, guarded)) {
        framework::showMessage(owner,
                               {refusalText(*refusal, variant), QStringLiteral(" ") + framework::displayPath(folder),
                                framework::MessageIcon::Stop, framework::MessageButtons::Ok});
        return ExpansionOutcome::Refused;
    }
    FolderWalk walk(selectedFiles, guarded, variant, owner);
    if (walk.walkFolder(folder) == FolderWalk::Result::TooDeep) {
        framework::showMessage(owner,
                               {toQString(variant.selectionCancelled), QStringLiteral("  Too Many Subdirectories"),
                                framework::MessageIcon::Stop, framework::MessageButtons::Ok});
        return ExpansionOutcome::Cancelled;
    }
    return ExpansionOutcome::Expanded;
}

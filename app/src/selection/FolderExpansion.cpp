#include "app/FolderExpansion.h"

#include "framework/Modal.h"
#include "framework/PathText.h"

#include <QCoreApplication>

namespace {

using services::toQString;

// A refused subfolder's caption sets the program folder further apart.
QString subfolderRefusalCaption(RefusalKind kind, const std::string& subfolder)
{
    return (kind == RefusalKind::ProgramFolder ? QStringLiteral("            ") : QStringLiteral("  ")) +
           framework::displayPath(subfolder);
}

}  // namespace

MessageBoxWalkQuestions::MessageBoxWalkQuestions(const services::VariantTexts& variant, QWidget* owner)
    : variant_(variant), owner_(owner)
{}

WalkQuestions::Answer MessageBoxWalkQuestions::askAboutSubfolders(const std::string& folder)
{
    const int answer = framework::showMessage(owner_, {toQString(variant_.subdirectoriesQuestion),
                                                       QStringLiteral("  ") + framework::displayPath(folder),
                                                       framework::MessageIcon::None, framework::MessageButtons::YesNo});
    if (answer == framework::ResultYes) return Answer::Yes;
    if (answer == framework::ResultNo) return Answer::No;
    return Answer::Unanswered;
}

void MessageBoxWalkQuestions::refuseFolder(RefusalKind kind, const std::string& folder)
{
    framework::showMessage(owner_, {toQString(refusalText(kind, variant_)),
                                    QStringLiteral(" ") + framework::displayPath(folder), framework::MessageIcon::Stop,
                                    framework::MessageButtons::Ok});
}

void MessageBoxWalkQuestions::refuseSubfolder(RefusalKind kind, const std::string& subfolder)
{
    framework::showMessage(owner_, {toQString(refusalText(kind, variant_)), subfolderRefusalCaption(kind, subfolder),
                                    framework::MessageIcon::Exclamation, framework::MessageButtons::Ok});
}

void MessageBoxWalkQuestions::cancelForDepth(const std::string&)
{
    framework::showMessage(owner_, {toQString(variant_.selectionCancelled),
                                    QCoreApplication::translate("FolderExpansion", "  Too Many Subdirectories"),
                                    framework::MessageIcon::Stop, framework::MessageButtons::Ok});
}

ExpansionOutcome expandTopLevelFolder(const std::string& folder, services::StringList& selectedFiles,
                                      const GuardedFolders& guarded, const services::VariantTexts& variant,
                                      QWidget* owner)
{
    MessageBoxWalkQuestions questions(variant, owner);
    return expandTopLevelFolder(folder, selectedFiles, guarded, questions);
}

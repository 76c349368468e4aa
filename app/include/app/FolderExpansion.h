// The folder walk bound to the window: its question, refusals and
// cancellation shown as message boxes.
#pragma once

#include "core/FolderWalk.h"

#include "services/BuildVariant.h"

class QWidget;

class MessageBoxWalkQuestions : public WalkQuestions {
public:
    // The message boxes are owned by `owner`.
    MessageBoxWalkQuestions(const services::VariantTexts& variant, QWidget* owner);

    Answer askAboutSubfolders(const std::string& folder) override;
    void refuseFolder(RefusalKind kind, const std::string& folder) override;
    void refuseSubfolder(RefusalKind kind, const std::string& subfolder) override;
    void cancelForDepth(const std::string& folder) override;

private:
    const services::VariantTexts& variant_;
    QWidget* owner_;
};

// expandTopLevelFolder with its messages shown owned by `owner`.
ExpansionOutcome expandTopLevelFolder(const std::string& folder, services::StringList& selectedFiles,
                                      const GuardedFolders& guarded, const services::VariantTexts& variant,
                                      QWidget* owner);

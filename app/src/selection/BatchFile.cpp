#include "app/BatchFile.h"

#include "app/FolderExpansion.h"

bool readBatchFile(const std::string& path, BatchSelection selection, const GuardedFolders& guarded,
                   const services::VariantTexts& variant, QWidget* owner)
{
    MessageBoxWalkQuestions questions(variant, owner);
    return readBatchFile(path, selection, guarded, questions);
}

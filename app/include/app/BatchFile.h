// Batch files read for the window, their questions and refusals shown as
// message boxes.
#pragma once

#include "core/BatchFile.h"

#include "services/BuildVariant.h"

#include <string>

class QWidget;

// readBatchFile with its messages shown owned by `owner`.
bool readBatchFile(const std::string& path, BatchSelection selection, const GuardedFolders& guarded,
                   const services::VariantTexts& variant, QWidget* owner);

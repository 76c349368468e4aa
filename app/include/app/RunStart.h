// The checks before a run starts, in their order: no run still active, the
// fields turned into the final selection, the repeat question, something to
// process, a key of acceptable length, and the key typed a second time.
#pragma once

#include "core/FolderSafety.h"
#include "core/KeyBytes.h"
#include "core/ProcessFiles.h"
#include "core/SecretText.h"

#include "services/BuildVariant.h"
#include "services/StringList.h"

#include <functional>
#include <optional>
#include <string>

class QWidget;

// What the start reads of the window and the process.
struct RunStartInputs {
    bool runActive = false;
    bool singlePathMode = true;
    std::string sourceField;  // S
    std::string targetField;  // T
    SecretText key;           // the login key when one is in use, else the key field
    bool usingLoginKey = false;
    bool confirmOverWrite = true;
    bool blowFishOnly = false;
};

// The selection lists the start rebuilds and compares.
struct SelectionLists {
    services::StringList& selectedFiles;
    services::StringList& targetFiles;
    const services::StringList& processedFiles;
};

struct RunStartResult {
    std::optional<RunRequest> request;  // the run to start; nothing when refused or not confirmed
    bool emptySourceField = false;      // the repeat question was answered No in list mode
};

// Runs every check; messages are shown owned by `owner`. `confirmKey` has the
// key typed again and says whether it matched.
RunStartResult startRun(const RunStartInputs& inputs, SelectionLists lists, const GuardedFolders& guarded,
                        const services::VariantTexts& variant, QWidget* owner,
                        const std::function<bool(const SecretText&)>& confirmKey);

// Whether two paths end in the same file name, ignoring letter case.
bool sameFileName(const std::string& first, const std::string& second);

// Sealwin encrypts and Unsealwin decrypts; everything that differs between the
// two programs is in this one table, chosen by the build. Plain text only, so
// that the run logic and the command line take their texts from here too.
#pragma once

#include <array>
#include <string_view>

namespace services {

enum class BuildVariant { Encrypt, Decrypt };

struct VariantTexts {
    BuildVariant variant;
    int engineDirection;           // passed to the file transform: 1 encrypts, 0 decrypts
    std::string_view programName;  // executable and help file stem

    // Texts shown to the user.
    std::string_view programTitle;
    std::string_view processingCaption;  // printf form, with the source path
    std::string_view authorisationCaption;
    std::string_view logEmptyCaption;
    std::string_view logSaveTitle;
    std::string_view oneFileSelected;
    std::string_view noFilesSelected;
    std::string_view filesSelected;  // printf form, with the count
    std::string_view pickerTitle;
    std::string_view stillRunningCannotClose;
    std::string_view stillRunningCannotStart;
    std::string_view subdirectoriesQuestion;
    std::string_view selectionCancelled;
    std::string_view systemFolderRefusal;
    std::string_view programFolderRefusal;
    std::string_view rootRefusal;
    std::string_view repeatRunQuestion;
    std::string_view runFailures;  // heads the list of files a run could not transform
    std::string_view engineBusy;   // refuses an engine call while a run holds the engine
    // The repair of a file that an interrupted in-place run left partly
    // transformed; printf forms, with the file. Finishing the run is always
    // offered; going back to the file as it was before the run only where
    // that differs from finishing it: the two ends of a decryption are both
    // the plaintext, so Unsealwin leaves those two texts empty.
    std::string_view interruptedRunOffer;
    std::string_view repairGoalQuestion;  // Yes finishes the run, No goes back
    std::string_view repairFinished;
    std::string_view repairWentBack;

    // Captions of the program's dialog resources.
    std::string_view defaultButtonCaption;
    std::string_view sourceLabelCaption;
    std::string_view filesDialogTitle;
    std::string_view overwritePromptTitle;
    std::string_view logViewerTitle;
    std::string_view logKeyBlowFishCaption;
    std::string_view usePasswordAsKeyCaption;

    // Resource and control ids that differ.
    int logDialogTemplate;
    int logListBox;
    int logDeleteAllButton;
    int logSaveToFileButton;
    int logPasswordTemplate;
    int frameIcon;
    int splashBitmap;

    // The main window's picture animation.
    std::array<int, 10> animationFrames;
    int reentryAfterEntry8;
    int reentryAfterEntry9;

    // Where the program keeps its settings and finds its files.
    std::string_view settingsKeyPath;
    std::string_view commonKeyPath;
    std::string_view helpFileName;
    std::string_view resourceRoot;
    // The desktop entry that names the program, its icon and its files.
    std::string_view desktopEntry;

    // Version information.
    std::string_view fileDescription;
    std::string_view internalName;
    std::string_view fileVersion;
};

const VariantTexts& variantTexts(BuildVariant variant);

// The bitmap shown before the first run, in both programs.
inline constexpr int restingPicture = 2;

}  // namespace services

#include "services/VariantTable.h"

namespace services {

namespace {

constexpr VariantTexts sealwin{
    .variant = BuildVariant::Encrypt,
    .engineDirection = 1,
    .programName = "sealwin",
    .programTitle = "Tarvex - Encrypt",
    .processingCaption = "Tarvex - Encrypting: %s",
    .authorisationCaption = "Tarvex Encrypt - Authorisation",
    .logEmptyCaption = "Encryption Log Empty",
    .logSaveTitle = "Save encryption details to log file",
    .oneFileSelected = " 1 File Selected for Encryption",
    .noFilesSelected = " No Files Selected for Encryption",
    .filesSelected = " %d Files Selected for Encryption",
    .pickerTitle = "Select file(s) to Encrypt",
    .stillRunningCannotClose = "Still Encrypting - Cannot Close",
    .stillRunningCannotStart = "Still Encrypting Previous Selection - Cannot Start",
    .subdirectoriesQuestion = "Encrypt All Subdirectories ?",
    .selectionCancelled = "Your encryption selection has been cancelled for safety reasons",
    .systemFolderRefusal = "This is the Windows folder.\n\nPermission to encrypt it is denied.",
    .programFolderRefusal = "Tarvex is stored in this folder.\n\nPermission to encrypt it is denied.",
    .rootRefusal = "This is the root on the system disk.\n\nPermission to encrypt it is denied",
    .repeatRunQuestion = "You have already encrypted this selection.\nEncrypt again ?",
    .runFailures = "These files could not be encrypted:",
    .engineBusy = "Tarvex is still encrypting a selection.\nPlease try again when it has finished.",
    .interruptedRunOffer = "An encryption was cut short and left this file partly encrypted:\n\n%s\n\n"
                           "Repair it now?\n\n"
                           "The repair needs the key of the interrupted run, and BlowFish Only set as it was for "
                           "that run. A wrong key is not always detected: the repair would then spoil the file.\n\n"
                           "No leaves everything as it is; you will be asked again at the next start.",
    .repairGoalQuestion = "How should %s end up?\n\n"
                          "Yes: wholly encrypted, as the interrupted run would have left it.\n"
                          "No: wholly as it was before that run.\n"
                          "Cancel: leave it as it is for now.",
    .repairFinished = "%s has been repaired: it is now wholly encrypted.",
    .repairWentBack = "%s has been repaired: it is again as it was before the encryption.",
    .defaultButtonCaption = "&Encrypt",
    .sourceLabelCaption = "Encrypt: ",
    .filesDialogTitle = " Files Selected For Encryption",
    .overwritePromptTitle = "Encrypting...",
    .logViewerTitle = "                               Encryption Log",
    .logKeyBlowFishCaption = "&BlowFishOnly",
    .usePasswordAsKeyCaption = "Use Password As Tarvex Key",
    .logDialogTemplate = 3,
    .logListBox = 101,
    .logDeleteAllButton = 103,
    .logSaveToFileButton = 102,
    .logPasswordTemplate = 4,
    .frameIcon = 5,
    .splashBitmap = 23,
    .animationFrames = {4, 5, 6, 7, 8, 9, 9, 2, 3, 10},
    .reentryAfterEntry8 = 1,
    .reentryAfterEntry9 = 3,
    .settingsKeyPath = "Software\\Quillon\\Tarvex\\Encrypt\\1.3",
    .commonKeyPath = "Software\\Quillon\\Tarvex\\Common",
    .helpFileName = "sealwin.html",
    .resourceRoot = ":/sealwin",
    .desktopEntry = "org.tarvex.Sealwin",
    .fileDescription = "Tarvex Encryption",
    .internalName = "Sealwin",
    .fileVersion = "1.3",
};

constexpr VariantTexts unsealwin{
    .variant = BuildVariant::Decrypt,
    .engineDirection = 0,
    .programName = "unsealwin",
    .programTitle = "Tarvex - Decrypt",
    .processingCaption = "Tarvex - Decrypting: %s",
    .authorisationCaption = "Tarvex Decrypt - Authorisation",
    .logEmptyCaption = "Decryption Log Empty",
    .logSaveTitle = "Save decryption details to log file",
    .oneFileSelected = " 1 File Selected for Decryption",
    .noFilesSelected = " No Files Selected for Decryption",
    .filesSelected = " %d Files Selected for Decryption",
    .pickerTitle = "Select file(s) to Decrypt",
    .stillRunningCannotClose = "Still Decrypting - Cannot Close",
    .stillRunningCannotStart = "Still Decrypting Previous Selection - Cannot Start",
    .subdirectoriesQuestion = "Decrypt All Subdirectories ?",
    .selectionCancelled = "Your decryption selection has been cancelled for safety reasons",
    .systemFolderRefusal = "This is the Windows folder.\n\nPermission to decrypt it is denied.",
    .programFolderRefusal = "Tarvex is stored in this folder.\n\nPermission to decrypt it is denied.",
    .rootRefusal = "This is the root on the system disk.\n\nPermission to decrypt it is denied",
    .repeatRunQuestion = "You have already decrypted this selection.\nDecrypt again ?",
    .runFailures = "These files could not be decrypted:",
    .engineBusy = "Tarvex is still decrypting a selection.\nPlease try again when it has finished.",
    .interruptedRunOffer = "A decryption was cut short and left this file partly decrypted:\n\n%s\n\n"
                           "Repair it now? The repair finishes the decryption.\n\n"
                           "The repair needs the key of the interrupted run, and BlowFish Only set as it was for "
                           "that run. A wrong key is not always detected: the repair would then spoil the file.\n\n"
                           "No leaves everything as it is; you will be asked again at the next start.",
    .repairGoalQuestion = "",
    .repairFinished = "%s has been repaired: it is now wholly decrypted.",
    .repairWentBack = "",
    .defaultButtonCaption = "&Decrypt",
    .sourceLabelCaption = "Decrypt: ",
    .filesDialogTitle = " Files Selected For Decryption",
    .overwritePromptTitle = "Decrypting...",
    .logViewerTitle = "                                   Decryption Log",
    .logKeyBlowFishCaption = "&BlowFish Only",
    .usePasswordAsKeyCaption = "Use Password as Tarvex Key",
    .logDialogTemplate = 4,
    .logListBox = 103,
    .logDeleteAllButton = 101,
    .logSaveToFileButton = 102,
    .logPasswordTemplate = 2,
    .frameIcon = 6,
    .splashBitmap = 6,
    .animationFrames = {2, 3, 11, 12, 13, 14, 14, 15, 16, 17},
    .reentryAfterEntry8 = 2,
    .reentryAfterEntry9 = 4,
    .settingsKeyPath = "Software\\Quillon\\Tarvex\\Decrypt\\1.3",
    .commonKeyPath = "Software\\Quillon\\Tarvex\\Common",
    .helpFileName = "unsealwin.html",
    .resourceRoot = ":/unsealwin",
    .desktopEntry = "org.tarvex.Unsealwin",
    .fileDescription = "Tarvex Decryption",
    .internalName = "Unsealwin",
    .fileVersion = "1.3",
};

}  // namespace

const VariantTexts& variantTexts(BuildVariant variant)
{
    return variant == BuildVariant::Encrypt ? sealwin : unsealwin;
}

}  // namespace services

#include "services/VariantTable.h"

// Marks a text a user reads for the translation tools (lupdate takes it as
// QT_TRANSLATE_NOOP); the window programs translate the table at start, in
// the context named here.
#define TRANSLATABLE(context, text) text

namespace services {

namespace {

constexpr VariantTexts sealwin{
    .variant = BuildVariant::Encrypt,
    .engineDirection = 1,
    .programName = "sealwin",
    .programTitle = TRANSLATABLE("BuildVariant", "Tarvex - Encrypt"),
    .processingCaption = TRANSLATABLE("BuildVariant", "Tarvex - Encrypting: %s"),
    .authorisationCaption = TRANSLATABLE("BuildVariant", "Tarvex Encrypt - Authorisation"),
    .logEmptyCaption = TRANSLATABLE("BuildVariant", "Encryption Log Empty"),
    .logSaveTitle = TRANSLATABLE("BuildVariant", "Save encryption details to log file"),
    .oneFileSelected = TRANSLATABLE("BuildVariant", " 1 File Selected for Encryption"),
    .noFilesSelected = TRANSLATABLE("BuildVariant", " No Files Selected for Encryption"),
    .filesSelected = TRANSLATABLE("BuildVariant", " %d Files Selected for Encryption"),
    .pickerTitle = TRANSLATABLE("BuildVariant", "Select file(s) to Encrypt"),
    .stillRunningCannotClose = TRANSLATABLE("BuildVariant", "Still Encrypting - Cannot Close"),
    .stillRunningCannotStart = TRANSLATABLE("BuildVariant", "Still Encrypting Previous Selection - Cannot Start"),
    .subdirectoriesQuestion = TRANSLATABLE("BuildVariant", "Encrypt All Subdirectories ?"),
    .selectionCancelled =
        TRANSLATABLE("BuildVariant", "Your encryption selection has been cancelled for safety reasons"),
    .systemFolderRefusal =
        TRANSLATABLE("BuildVariant", "This is the Windows folder.\n\nPermission to encrypt it is denied."),
    .programFolderRefusal =
        TRANSLATABLE("BuildVariant", "Tarvex is stored in this folder.\n\nPermission to encrypt it is denied."),
    .rootRefusal =
        TRANSLATABLE("BuildVariant", "This is the root on the system disk.\n\nPermission to encrypt it is denied"),
    .repeatRunQuestion = TRANSLATABLE("BuildVariant", "You have already encrypted this selection.\nEncrypt again ?"),
    .runFailures = TRANSLATABLE("BuildVariant", "These files could not be encrypted:"),
    .engineBusy =
        TRANSLATABLE("BuildVariant", "Tarvex is still encrypting a selection.\nPlease try again when it has finished."),
    .interruptedRunOffer = TRANSLATABLE(
        "BuildVariant", "An encryption was cut short and left this file partly encrypted:\n\n%s\n\n"
                        "Repair it now?\n\n"
                        "The repair needs the key of the interrupted run, and BlowFish Only set as it was for "
                        "that run. A wrong key is not always detected: the repair would then spoil the file.\n\n"
                        "No leaves everything as it is; you will be asked again at the next start."),
    .repairGoalQuestion =
        TRANSLATABLE("BuildVariant", "How should %s end up?\n\n"
                                     "Yes: wholly encrypted, as the interrupted run would have left it.\n"
                                     "No: wholly as it was before that run.\n"
                                     "Cancel: leave it as it is for now."),
    .repairFinished = TRANSLATABLE("BuildVariant", "%s has been repaired: it is now wholly encrypted."),
    .repairWentBack =
        TRANSLATABLE("BuildVariant", "%s has been repaired: it is again as it was before the encryption."),
    .defaultButtonCaption = TRANSLATABLE("DialogTemplate", "&Encrypt"),
    .sourceLabelCaption = TRANSLATABLE("DialogTemplate", "Encrypt: "),
    .filesDialogTitle = TRANSLATABLE("DialogTemplate", " Files Selected For Encryption"),
    .overwritePromptTitle = TRANSLATABLE("DialogTemplate", "Encrypting..."),
    .logViewerTitle = TRANSLATABLE("DialogTemplate", "                               Encryption Log"),
    .logKeyBlowFishCaption = TRANSLATABLE("DialogTemplate", "&BlowFishOnly"),
    .usePasswordAsKeyCaption = TRANSLATABLE("DialogTemplate", "Use Password As Tarvex Key"),
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
    .fileDescription = TRANSLATABLE("BuildVariant", "Tarvex Encryption"),
    .internalName = "Sealwin",
    .fileVersion = "1.3",
};

constexpr VariantTexts unsealwin{
    .variant = BuildVariant::Decrypt,
    .engineDirection = 0,
    .programName = "unsealwin",
    .programTitle = TRANSLATABLE("BuildVariant", "Tarvex - Decrypt"),
    .processingCaption = TRANSLATABLE("BuildVariant", "Tarvex - Decrypting: %s"),
    .authorisationCaption = TRANSLATABLE("BuildVariant", "Tarvex Decrypt - Authorisation"),
    .logEmptyCaption = TRANSLATABLE("BuildVariant", "Decryption Log Empty"),
    .logSaveTitle = TRANSLATABLE("BuildVariant", "Save decryption details to log file"),
    .oneFileSelected = TRANSLATABLE("BuildVariant", " 1 File Selected for Decryption"),
    .noFilesSelected = TRANSLATABLE("BuildVariant", " No Files Selected for Decryption"),
    .filesSelected = TRANSLATABLE("BuildVariant", " %d Files Selected for Decryption"),
    .pickerTitle = TRANSLATABLE("BuildVariant", "Select file(s) to Decrypt"),
    .stillRunningCannotClose = TRANSLATABLE("BuildVariant", "Still Decrypting - Cannot Close"),
    .stillRunningCannotStart = TRANSLATABLE("BuildVariant", "Still Decrypting Previous Selection - Cannot Start"),
    .subdirectoriesQuestion = TRANSLATABLE("BuildVariant", "Decrypt All Subdirectories ?"),
    .selectionCancelled =
        TRANSLATABLE("BuildVariant", "Your decryption selection has been cancelled for safety reasons"),
    .systemFolderRefusal =
        TRANSLATABLE("BuildVariant", "This is the Windows folder.\n\nPermission to decrypt it is denied."),
    .programFolderRefusal =
        TRANSLATABLE("BuildVariant", "Tarvex is stored in this folder.\n\nPermission to decrypt it is denied."),
    .rootRefusal =
        TRANSLATABLE("BuildVariant", "This is the root on the system disk.\n\nPermission to decrypt it is denied"),
    .repeatRunQuestion = TRANSLATABLE("BuildVariant", "You have already decrypted this selection.\nDecrypt again ?"),
    .runFailures = TRANSLATABLE("BuildVariant", "These files could not be decrypted:"),
    .engineBusy =
        TRANSLATABLE("BuildVariant", "Tarvex is still decrypting a selection.\nPlease try again when it has finished."),
    .interruptedRunOffer = TRANSLATABLE(
        "BuildVariant", "A decryption was cut short and left this file partly decrypted:\n\n%s\n\n"
                        "Repair it now? The repair finishes the decryption.\n\n"
                        "The repair needs the key of the interrupted run, and BlowFish Only set as it was for "
                        "that run. A wrong key is not always detected: the repair would then spoil the file.\n\n"
                        "No leaves everything as it is; you will be asked again at the next start."),
    .repairGoalQuestion = "",
    .repairFinished = TRANSLATABLE("BuildVariant", "%s has been repaired: it is now wholly decrypted."),
    .repairWentBack = "",
    .defaultButtonCaption = TRANSLATABLE("DialogTemplate", "&Decrypt"),
    .sourceLabelCaption = TRANSLATABLE("DialogTemplate", "Decrypt: "),
    .filesDialogTitle = TRANSLATABLE("DialogTemplate", " Files Selected For Decryption"),
    .overwritePromptTitle = TRANSLATABLE("DialogTemplate", "Decrypting..."),
    .logViewerTitle = TRANSLATABLE("DialogTemplate", "                                   Decryption Log"),
    .logKeyBlowFishCaption = TRANSLATABLE("DialogTemplate", "&BlowFish Only"),
    .usePasswordAsKeyCaption = TRANSLATABLE("DialogTemplate", "Use Password as Tarvex Key"),
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
    .fileDescription = TRANSLATABLE("BuildVariant", "Tarvex Decryption"),
    .internalName = "Unsealwin",
    .fileVersion = "1.3",
};

}  // namespace

const VariantTexts& variantTexts(BuildVariant variant)
{
    return variant == BuildVariant::Encrypt ? sealwin : unsealwin;
}

}  // namespace services

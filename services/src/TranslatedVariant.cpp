#include "services/TranslatedVariant.h"

#include <QCoreApplication>

namespace services {

namespace {

// The contexts the table marks its texts in: captions of dialog resources
// share theirs with the dialog templates, so each is translated once.
constexpr const char* messageContext = "BuildVariant";
constexpr const char* dialogContext = "DialogTemplate";

}  // namespace

TranslatedVariantTexts::TranslatedVariantTexts(const VariantTexts& english) : texts_(english)
{
    for (std::string_view* text : {&texts_.programTitle,
                                   &texts_.processingCaption,
                                   &texts_.authorisationCaption,
                                   &texts_.logEmptyCaption,
                                   &texts_.logSaveTitle,
                                   &texts_.oneFileSelected,
                                   &texts_.noFilesSelected,
                                   &texts_.filesSelected,
                                   &texts_.pickerTitle,
                                   &texts_.stillRunningCannotClose,
                                   &texts_.stillRunningCannotStart,
                                   &texts_.subdirectoriesQuestion,
                                   &texts_.selectionCancelled,
                                   &texts_.systemFolderRefusal,
                                   &texts_.programFolderRefusal,
                                   &texts_.rootRefusal,
                                   &texts_.repeatRunQuestion,
                                   &texts_.runFailures,
                                   &texts_.engineBusy,
                                   &texts_.interruptedRunOffer,
                                   &texts_.repairGoalQuestion,
                                   &texts_.repairFinished,
                                   &texts_.repairWentBack,
                                   &texts_.fileDescription})
        *text = translated(messageContext, *text);
    for (std::string_view* text : {&texts_.defaultButtonCaption, &texts_.sourceLabelCaption, &texts_.filesDialogTitle,
                                   &texts_.overwritePromptTitle, &texts_.logViewerTitle, &texts_.logKeyBlowFishCaption,
                                   &texts_.usePasswordAsKeyCaption})
        *text = translated(dialogContext, *text);
}

std::string_view TranslatedVariantTexts::translated(const char* context, std::string_view english)
{
    // An empty text means "not in this program" and stays empty.
    if (english.empty()) return english;
    const std::string source(english);
    const QByteArray translation = QCoreApplication::translate(context, source.c_str()).toUtf8();
    if (translation == QByteArrayView(english)) return english;
    return translations_.emplace_back(translation.constData(), static_cast<size_t>(translation.size()));
}

}  // namespace services

#include "services/BuildVariant.h"

#include <gtest/gtest.h>

#include <cctype>

using services::BuildVariant;
using services::variantTexts;

namespace {

// Unsealwin's form of a Sealwin text: "En"/"en" becomes "De"/"de" at the start
// of each form of the word encrypt.
std::string decryptForm(std::string_view sealwinText)
{
    std::string text(sealwinText);
    for (std::size_t at = 0; at + 7 <= text.size(); ++at) {
        const bool wordStart = at == 0 || !std::isalpha(static_cast<unsigned char>(text[at - 1]));
        if (!wordStart) continue;
        if (text.compare(at, 7, "Encrypt") == 0) text.replace(at, 2, "De");
        else if (text.compare(at, 7, "encrypt") == 0) text.replace(at, 2, "de");
    }
    return text;
}

}  // namespace

TEST(BuildVariant, UnsealwinTextsDifferOnlyInTheDirectionWord)
{
    const auto& seal = variantTexts(BuildVariant::Encrypt);
    const auto& unseal = variantTexts(BuildVariant::Decrypt);
    const std::string_view services::VariantTexts::*texts[] = {
        &services::VariantTexts::programTitle,
        &services::VariantTexts::processingCaption,
        &services::VariantTexts::authorisationCaption,
        &services::VariantTexts::logEmptyCaption,
        &services::VariantTexts::logSaveTitle,
        &services::VariantTexts::oneFileSelected,
        &services::VariantTexts::noFilesSelected,
        &services::VariantTexts::filesSelected,
        &services::VariantTexts::pickerTitle,
        &services::VariantTexts::stillRunningCannotClose,
        &services::VariantTexts::stillRunningCannotStart,
        &services::VariantTexts::subdirectoriesQuestion,
        &services::VariantTexts::selectionCancelled,
        &services::VariantTexts::systemFolderRefusal,
        &services::VariantTexts::programFolderRefusal,
        &services::VariantTexts::rootRefusal,
        &services::VariantTexts::repeatRunQuestion,
        &services::VariantTexts::defaultButtonCaption,
        &services::VariantTexts::sourceLabelCaption,
        &services::VariantTexts::filesDialogTitle,
        &services::VariantTexts::overwritePromptTitle,
    };
    for (const auto text : texts) {
        EXPECT_NE(seal.*text, unseal.*text);
        EXPECT_EQ(decryptForm(seal.*text), unseal.*text);
    }
}

TEST(BuildVariant, ResourceTextsThatDifferBeyondTheWord)
{
    const auto& seal = variantTexts(BuildVariant::Encrypt);
    const auto& unseal = variantTexts(BuildVariant::Decrypt);
    EXPECT_EQ(seal.logViewerTitle, std::string(31, ' ') + "Encryption Log");
    EXPECT_EQ(unseal.logViewerTitle, std::string(35, ' ') + "Decryption Log");
    EXPECT_EQ(seal.logKeyBlowFishCaption, "&BlowFishOnly");
    EXPECT_EQ(unseal.logKeyBlowFishCaption, "&BlowFish Only");
    EXPECT_EQ(seal.usePasswordAsKeyCaption, "Use Password As Tarvex Key");
    EXPECT_EQ(unseal.usePasswordAsKeyCaption, "Use Password as Tarvex Key");
    EXPECT_EQ(seal.rootRefusal.back(), 'd');  // this refusal has no full stop
}

TEST(BuildVariant, EachProgramHasItsOwnSettingsButSharesTheCommonKey)
{
    const auto& seal = variantTexts(BuildVariant::Encrypt);
    const auto& unseal = variantTexts(BuildVariant::Decrypt);
    EXPECT_EQ(seal.engineDirection, 1);
    EXPECT_EQ(unseal.engineDirection, 0);
    EXPECT_EQ(seal.settingsKeyPath, "Software\\Quillon\\Tarvex\\Encrypt\\1.3");
    EXPECT_EQ(unseal.settingsKeyPath, "Software\\Quillon\\Tarvex\\Decrypt\\1.3");
    EXPECT_EQ(seal.commonKeyPath, unseal.commonKeyPath);
    EXPECT_EQ(seal.animationFrames[7], services::restingPicture);
    EXPECT_EQ(unseal.animationFrames[0], services::restingPicture);
}

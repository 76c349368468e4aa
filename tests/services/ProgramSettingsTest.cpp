// Options and frame position per program, credentials shared.
#include "support/TestConfiguration.h"

#include "services/ProgramSettings.h"

#include "framework/RegistryStore.h"

using namespace services;

namespace {

OptionFlags flagsAfter(const StoredOptions& stored, bool useStoredOptions = true)
{
    OptionFlags flags;
    flags.useStoredOptions = useStoredOptions;
    applyStoredOptions(stored, flags);
    return flags;
}

}  // namespace

TEST(StoredOptions, OnlyAStoredOneMeansChecked)
{
    const OptionFlags applied = flagsAfter({0, 1, 0, {}, {}});
    EXPECT_TRUE(applied.optionNoConfirm);
    EXPECT_TRUE(applied.optionBlowFishOnly);
    EXPECT_FALSE(applied.optionSaveOptions);

    const OptionFlags two = flagsAfter({2, 2, 1, {}, {}});
    EXPECT_TRUE(two.optionNoConfirm);
    EXPECT_FALSE(two.optionBlowFishOnly);
    EXPECT_TRUE(two.optionSaveOptions);
}

TEST(StoredOptions, IgnoredAfterASwitchOrWithoutConfirmOverWrite)
{
    const OptionFlags ignored = flagsAfter({0, 1, 1, {}, {}}, false);
    EXPECT_FALSE(ignored.optionNoConfirm);
    EXPECT_FALSE(ignored.optionBlowFishOnly);
    EXPECT_FALSE(ignored.optionSaveOptions);

    const OptionFlags incomplete = flagsAfter({{}, 1, 1, {}, {}});
    EXPECT_FALSE(incomplete.optionBlowFishOnly);
    EXPECT_FALSE(incomplete.optionSaveOptions);
}

using ProgramSettingsStore = WithEmptyConfiguration;

TEST_F(ProgramSettingsStore, ProgramsKeepTheirOwnOptionsAndPosition)
{
    ProgramSettings seal(variantTexts(BuildVariant::Encrypt));
    ProgramSettings unseal(variantTexts(BuildVariant::Decrypt));
    EXPECT_FALSE(seal.readStoredOptions().confirmOverWrite);
    EXPECT_FALSE(storedFramePosition(seal.readStoredOptions()));

    seal.saveOptions(false, true);
    seal.saveFramePosition({40, -7});
    const StoredOptions sealed = seal.readStoredOptions();
    EXPECT_EQ(sealed.saveOptions, 1);
    EXPECT_EQ(sealed.confirmOverWrite, 0);
    EXPECT_EQ(sealed.blowFishOnly, 1);
    const auto position = storedFramePosition(sealed);
    ASSERT_TRUE(position);
    EXPECT_EQ(position->x, 40);
    EXPECT_EQ(position->y, -7);

    const StoredOptions untouched = unseal.readStoredOptions();
    EXPECT_FALSE(untouched.confirmOverWrite);
    EXPECT_FALSE(untouched.right);
}

TEST_F(ProgramSettingsStore, AUserIdStoredByOneProgramIsSeenByTheOther)
{
    ProgramSettings seal(variantTexts(BuildVariant::Encrypt));
    ProgramSettings unseal(variantTexts(BuildVariant::Decrypt));
    EXPECT_FALSE(unseal.userIdStored());
    auto common = framework::RegistryKey::openOrCreate("Software\\Quillon\\Tarvex\\Common");
    ASSERT_TRUE(common);
    ASSERT_TRUE(common->writeBinary("userid", QByteArray(256, '\x5a')));
    EXPECT_TRUE(seal.userIdStored());
    EXPECT_TRUE(unseal.userIdStored());
}

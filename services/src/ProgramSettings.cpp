#include "services/ProgramSettings.h"

#include <QString>

namespace services {

namespace {

using services::toQString;

}  // namespace

void applyStoredOptions(const StoredOptions& stored, OptionFlags& flags)
{
    if (!flags.useStoredOptions || !stored.confirmOverWrite) return;
    flags.optionNoConfirm = *stored.confirmOverWrite != 1;
    flags.optionBlowFishOnly = stored.blowFishOnly == 1;
    flags.optionSaveOptions = stored.saveOptions == 1;
}

std::optional<FramePosition> storedFramePosition(const StoredOptions& stored)
{
    if (!stored.right) return std::nullopt;
    return FramePosition{*stored.right, stored.bottom.value_or(0)};
}

ProgramSettings::ProgramSettings(const VariantTexts& variant)
    : settingsKey_(framework::RegistryKey::openOrCreate(toQString(variant.settingsKeyPath))),
      commonKey_(framework::RegistryKey::openOrCreate(toQString(variant.commonKeyPath)))
{}

StoredOptions ProgramSettings::readStoredOptions() const
{
    if (!settingsKey_) return {};
    return {settingsKey_->readNumber("confirmOverWrite"), settingsKey_->readNumber("blowFishOnly"),
            settingsKey_->readNumber("saveOptions"), settingsKey_->readNumber("Right"),
            settingsKey_->readNumber("Bottom")};
}

void ProgramSettings::saveOptions(bool confirmOverwrite, bool blowFishOnly)
{
    if (!settingsKey_) return;
    settingsKey_->writeNumber("saveOptions", 1);
    settingsKey_->writeNumber("confirmOverWrite", confirmOverwrite ? 1 : 0);
    settingsKey_->writeNumber("blowFishOnly", blowFishOnly ? 1 : 0);
}

void ProgramSettings::saveFramePosition(FramePosition position)
{
    if (!settingsKey_) return;
    settingsKey_->writeNumber("Right", position.x);
    settingsKey_->writeNumber("Bottom", position.y);
}

bool ProgramSettings::userIdStored() const
{
    if (!commonKey_) return false;
    const auto userId = commonKey_->readBinary("userid");
    return userId.has_value();
}

std::optional<QByteArray> ProgramSettings::readCredential(const QString& name) const
{
    if (!commonKey_) return std::nullopt;
    return commonKey_->readBinary(name);
}

bool ProgramSettings::writeCredentials(const QByteArray& userId, const QByteArray& password)
{
    if (!commonKey_) return false;
    // One replacement of the key's file: the old pair or the new one, never
    // half of either, whatever stops the write.
    return commonKey_->writeBinaries({{"password", password}, {"userid", userId}});
}

bool ProgramSettings::deleteCredentials()
{
    if (!commonKey_) return false;
    commonKey_->deleteValue("userid");
    commonKey_->deleteValue("password");
    return !commonKey_->readBinary("userid") && !commonKey_->readBinary("password");
}

}  // namespace services

// What a program keeps in the per-user registry: its options and frame
// position under its own settings key, the credentials under the key both
// programs share.
#pragma once

#include "services/BuildVariant.h"

#include "framework/RegistryStore.h"

#include <cstdint>
#include <optional>

namespace services {

// The option flags that carry settings and switches into the main window.
struct OptionFlags {
    bool useStoredOptions = true;  // cleared by the /b and /n switches
    bool optionNoConfirm = false;
    bool optionBlowFishOnly = false;
    bool optionSaveOptions = false;
};

struct StoredOptions {
    std::optional<std::int32_t> confirmOverWrite;
    std::optional<std::int32_t> blowFishOnly;
    std::optional<std::int32_t> saveOptions;
    std::optional<std::int32_t> right;   // the frame's left edge, despite the name
    std::optional<std::int32_t> bottom;  // the frame's top edge, despite the name
};

struct FramePosition {
    int x;
    int y;
};

// Stored options count only when "confirmOverWrite" was stored and no switch
// asked to ignore them; only a stored 1 means checked.
void applyStoredOptions(const StoredOptions& stored, OptionFlags& flags);

// Where the frame starts: the stored position, or nothing for the default.
std::optional<FramePosition> storedFramePosition(const StoredOptions& stored);

class ProgramSettings {
public:
    // Opens (creating them when missing) the program's settings key, then the
    // common key. A key that cannot be opened leaves its values unread and
    // unwritten.
    explicit ProgramSettings(const VariantTexts& variant);

    StoredOptions readStoredOptions() const;
    void saveOptions(bool confirmOverwrite, bool blowFishOnly);
    void saveFramePosition(FramePosition position);
    // Whether a user ID is stored, so that a start must ask for it; one of
    // the wrong size too, so that damage never opens the programs unasked.
    bool userIdStored() const;

    // The credential pair under the common key ("userid", "password").
    std::optional<QByteArray> readCredential(const QString& name) const;
    // Replaces the pair so that a crash or a full store leaves either the old
    // pair, the new pair, or no "userid" (the value a start keys on): the
    // old "userid" goes first, the new "userid" is written last. Whether
    // every step reached the store.
    bool writeCredentials(const QByteArray& userId, const QByteArray& password);
    // "userid" first, so that no moment leaves a "userid" without its pair.
    bool deleteCredentials();

private:
    std::optional<framework::RegistryKey> settingsKey_;
    std::optional<framework::RegistryKey> commonKey_;
};

}  // namespace services

// A key and whether it goes with the block cipher only: the key that encrypts
// an exported activity log, or the key of an interrupted run to be repaired.
// The key is held only while the dialog lives.
#pragma once

#include "core/SecretText.h"

#include "framework/Dialog.h"
#include "services/BuildVariant.h"

class TLogPasswordDialog : public framework::Dialog {
public:
    enum Control { KeyField = 101, BlowFishOnlyBox = 102 };
    static constexpr int fieldLimit = 255;
    static constexpr std::size_t shortestKey = 8;
    static constexpr std::size_t longestKey = 88;

    // `caption` replaces the template's title when given; the box starts as
    // `blowFishOnly` says.
    TLogPasswordDialog(QWidget* parent, const framework::ResourceSet& resources, const services::VariantTexts& variant,
                       QString caption = {}, bool blowFishOnly = false);
    ~TLogPasswordDialog() override;

    // After OK: the key as typed, and the box (1 block cipher only, 0 both layers).
    const SecretText& key() const { return key_; }
    int layerChoice() const { return blowFishOnly_ ? 1 : 0; }

protected:
    void setupWindow() override;

private:
    void okClicked();
    void cancelClicked();

    QString caption_;
    bool startsBlowFishOnly_;
    SecretText key_;
    bool blowFishOnly_ = false;
};

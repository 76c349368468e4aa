// The Browse button: picks what is to be processed, or the target when the
// target field had the focus last, in the system's open-file dialog.
#pragma once

#include "services/BuildVariant.h"

#include <string>

namespace framework {
struct PickedFiles;
}
class TEncryptDialog;
struct ProcessState;

class TBrowseButton {
public:
    TBrowseButton(TEncryptDialog& dialog, ProcessState& state, const services::VariantTexts& variant);

    void clicked();

private:
    void pickSources(const framework::PickedFiles& picked);
    void pickTarget(const framework::PickedFiles& picked, int sourceCount);

    TEncryptDialog& dialog_;
    ProcessState& state_;
    const services::VariantTexts& variant_;
};

// The activity log viewer: lists the log, exports it encrypted with a key
// typed for the purpose, or deletes it all.
#pragma once

#include "framework/Dialog.h"
#include "services/BuildVariant.h"

#include <string>
#include <vector>

struct ProcessState;

class TLogDialog : public framework::Dialog {
public:
    static constexpr int horizontalExtent = 800;

    // Run it with framework::runModal(dialog); it reads and clears
    // state.activityLog under state.recordsLock and, after an export, sets the
    // bar of state.mainDialog (when there is one) back to 0.
    TLogDialog(QWidget* parent, const framework::ResourceSet& resources, const services::VariantTexts& variant,
               ProcessState& state);

protected:
    void setupWindow() override;

private:
    void deleteAllClicked();
    void saveToFileClicked();
    void okClicked();
    std::vector<std::string> entries() const;

    const services::VariantTexts& variant_;
    ProcessState& state_;
};

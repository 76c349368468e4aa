// The main window's dialog "MYDIALOG": source, target and key fields, the
// option boxes, the current-directory and key-hint lines, the picture area
// and the command buttons.
#pragma once

#include "app/BrowseButton.h"
#include "app/FilesDialog.h"
#include "app/MainWindowRun.h"
#include "app/RepairOffer.h"
#include "app/TarvexThread.h"
#include "core/FolderSafety.h"

#include "services/BuildVariant.h"

#include "framework/Dialog.h"
#include "framework/SplashWindow.h"

#include <QLabel>
#include <QPointer>

#include <memory>

namespace framework {
class Application;
class KeyboardState;
}  // namespace framework
namespace services {
class ProgramSettings;
}
struct ProcessState;

class TEncryptDialog : public framework::Dialog {
public:
    // Control ids of the dialog template.
    enum Control {
        RunButton = 1,
        CloseButton = 2,
        HelpButton = 9,
        BrowseButton = 101,
        OptionsGroup = 102,
        TargetField = 103,
        SourceField = 104,
        KeyField = 105,
        ProgressBar = 106,
        ConfirmOverwriteBox = 107,
        BlowFishOnlyBox = 108,
        FilesListButton = 109,
        SaveOptionsBox = 110,
        CurrentFolderLine = 1111,
        KeyLabel = 2222,
        KeyHintLine = 3333,
    };
    enum Timer { RunTimer = 1, KeyHintTimer = 2 };
    enum class FocusedEdit { Source = 0, Target = 1, Key = 2 };

    static constexpr int fieldLimit = 259;
    static constexpr int keyHintInterval = 300;
    static constexpr int runTimerInterval = 250;
    static constexpr int shownFolderLength = 25;

    TEncryptDialog(framework::Application& application, ProcessState& state, const services::VariantTexts& variant,
                   services::ProgramSettings& settings, const framework::KeyboardState& keyboard);
    ~TEncryptDialog() override;

    void showCurrentFolder();
    void updateKeyHint();

    // True: the source field holds one path, read again when a run starts.
    // False: selectedFiles is the selection; the field only describes it.
    bool singlePathMode() const { return singlePathMode_; }
    void setSinglePathMode(bool on) { singlePathMode_ = on; }
    FocusedEdit lastFocusedEdit() const { return lastFocusedEdit_; }
    int shownPicture() const { return shownPicture_; }
    // Where the picture is drawn, in the dialog's pixels.
    QRect pictureArea() const;
    int animationIndex() const { return animationIndex_; }
    // The worker of the last run started; null before the first.
    TTarvexThread* currentWorker() const { return currentWorker_.get(); }

    // Shows the next picture of the run's animation.
    void drawAnimationFrame();
    // The run has ended: the animation comes to rest on the picture that
    // matches where its cycle stood.
    void endAnimation();
    // A run or a repair is going on.
    bool runIsActive() const;
    // Offers to repair what interrupted runs left in the current folder.
    void offerRepairs() { repairOffer_.offer(); }
    // Refused, with a word to the user, while a run is active.
    bool canClose() override;

    // Shows one selected path in the source field and expands it when it is
    // a folder. Whether the path stood as the selection: false when it was a
    // folder that was refused or whose walk was cancelled.
    bool selectSinglePath(const std::string& path);

    // The commands of the pop-up menu.
    enum Command { ViewLogCommand = 1000, AboutCommand = 1001, AuthorisationCommand = 1002, BatchFileCommand = 1003 };
    // View Log: the activity log, which the user may delete or export.
    void viewLog();
    // Authorisation: create, change or remove the user ID and password.
    void authorise();
    // Batch File: a selection read from a list of paths in a file.
    void loadBatchFile();
    // About: the program's picture, until it is clicked.
    void showAbout();
    // The About window while it is open.
    framework::SplashWindow* aboutWindow() const { return aboutWindow_; }

    void filesDropped(const std::vector<std::string>& paths) override;

protected:
    void setupWindow() override;
    void showEvent(QShowEvent* event) override;
    std::vector<MenuItem> contextMenuItems() const override;
    void changeEvent(QEvent* event) override;
    void dialogTimerTick(int id) override;

private:
    void runButtonClicked();
    bool confirmKey(const SecretText& key);
    void runTimerTick();
    void closeButtonClicked();
    void helpButtonClicked();
    void browseButtonClicked();
    void filesListButtonClicked();
    void sourceFieldChanged();
    void sourceFieldFocused();
    void targetFieldFocused();
    void keyFieldFocused();

    bool passStartupLogin();
    void applyLoginKeyToKeyField();
    void applyStartupSelection();
    void showSelectionSummary(int count);
    GuardedFolders guardedFolders() const;
    void setOptionBoxes();
    void createPicture();
    void showPicture();

    framework::Application& application_;
    ProcessState& state_;
    const services::VariantTexts& variant_;
    services::ProgramSettings& settings_;
    const framework::KeyboardState& keyboard_;

    bool singlePathMode_ = true;
    FocusedEdit lastFocusedEdit_ = FocusedEdit::Source;
    int shownPicture_ = services::restingPicture;
    QLabel* picture_ = nullptr;
    int animationIndex_ = 0;
    TBrowseButton browseButton_;
    TEllipsisButton filesListButton_;
    QPointer<framework::SplashWindow> aboutWindow_;
    // Declared before the worker, which uses it until its thread ends.
    MainWindowRun runWindow_;
    bool shownOnce_ = false;
    RepairOffer repairOffer_;
    std::unique_ptr<TTarvexThread> currentWorker_;
};

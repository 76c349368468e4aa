#include "app/EncryptDialog.h"

#include "app/AuthorisationDialog.h"
#include "app/BatchFile.h"
#include "app/FolderExpansion.h"
#include "app/KeyText.h"
#include "app/LogDialog.h"
#include "app/PassWordDialog.h"
#include "app/ProcessState.h"
#include "app/RunStart.h"
#include "core/Paths.h"

#include "services/ProgramSettings.h"

#include "framework/Application.h"
#include "framework/HelpViewer.h"
#include "framework/KeyboardState.h"
#include "framework/PathText.h"
#include "framework/Platform.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QTimer>

#include <array>

namespace {

using framework::ControlEvent;
using Response = framework::Response<TEncryptDialog>;

using services::toQString;

constexpr QSize pictureSize(85, 120);
// The picture area lies further out where the dialog's text is large.
constexpr int largeFontHeight = 16;
constexpr QPoint picturePosition(312, 136);
constexpr QPoint largeFontPicturePosition(430, 180);

}  // namespace

TEncryptDialog::TEncryptDialog(framework::Application& application, ProcessState& state,
                               const services::VariantTexts& variant, services::ProgramSettings& settings,
                               const framework::KeyboardState& keyboard)
    : Dialog(nullptr, framework::ResourceSet(toQString(variant.resourceRoot)), QStringLiteral("MYDIALOG")),
      application_(application),
      state_(state),
      variant_(variant),
      settings_(settings),
      keyboard_(keyboard),
      browseButton_(*this, state, variant),
      filesListButton_(this, resources(), variant, state.selectedFiles),
      runWindow_(state, variant),
      repairOffer_(*this, state, variant)
{
    state_.mainDialog = this;
}

// Whatever reaches the window through the process-wide pointer must find none
// once it has gone. Closing is refused while a run is active, so the worker
// has ended by now; its object goes with the dialog.
TEncryptDialog::~TEncryptDialog()
{
    if (state_.mainDialog == this) state_.mainDialog = nullptr;
    delete aboutWindow_;
    currentWorker_.reset();
}

void TEncryptDialog::setupWindow()
{
    static constexpr std::array responses{
        Response{RunButton, ControlEvent::Clicked, &TEncryptDialog::runButtonClicked},
        Response{CloseButton, ControlEvent::Clicked, &TEncryptDialog::closeButtonClicked},
        Response{HelpButton, ControlEvent::Clicked, &TEncryptDialog::helpButtonClicked},
        Response{BrowseButton, ControlEvent::Clicked, &TEncryptDialog::browseButtonClicked},
        Response{FilesListButton, ControlEvent::Clicked, &TEncryptDialog::filesListButtonClicked},
        Response{ViewLogCommand, ControlEvent::Command, &TEncryptDialog::viewLog},
        Response{AuthorisationCommand, ControlEvent::Command, &TEncryptDialog::authorise},
        Response{BatchFileCommand, ControlEvent::Command, &TEncryptDialog::loadBatchFile},
        Response{AboutCommand, ControlEvent::Command, &TEncryptDialog::showAbout},
        Response{SourceField, ControlEvent::GainedFocus, &TEncryptDialog::sourceFieldFocused},
        Response{SourceField, ControlEvent::TextChanged, &TEncryptDialog::sourceFieldChanged},
        Response{TargetField, ControlEvent::GainedFocus, &TEncryptDialog::targetFieldFocused},
        Response{KeyField, ControlEvent::GainedFocus, &TEncryptDialog::keyFieldFocused},
    };
    bindResponses<TEncryptDialog>(this, responses);
    for (int field : {SourceField, TargetField, KeyField}) setTextLimit(field, fieldLimit);
    describeControl(FilesListButton, QCoreApplication::translate("EncryptDialog", "Show the selected files"));
    describeControl(ProgressBar, QCoreApplication::translate("EncryptDialog", "Progress of the current file"));
    createPicture();
    // The current directory may change while the program is in the background.
    QObject::connect(qGuiApp, &QGuiApplication::applicationStateChanged, this, [this] { showCurrentFolder(); });

    startDialogTimer(KeyHintTimer, keyHintInterval);
    if (!passStartupLogin()) {
        application_.endProcess(1);
        return;
    }
    applyLoginKeyToKeyField();
    showCurrentFolder();
    applyStartupSelection();
    setOptionBoxes();
}

// Once the window stands on the screen, what an interrupted run left behind
// is offered for repair.
void TEncryptDialog::showEvent(QShowEvent* event)
{
    Dialog::showEvent(event);
    if (shownOnce_) return;
    shownOnce_ = true;
    QTimer::singleShot(0, this, [this] { offerRepairs(); });
}

// A program protected by a user ID opens only to the one who gives it and
// its password.
bool TEncryptDialog::passStartupLogin()
{
    if (!settings_.userIdStored()) return true;
    TAuthorisationDialog login(this, resources(), variant_, state_, settings_);
    login.setEnterMode(true);
    framework::runModal(login);
    return login.authorised();
}

void TEncryptDialog::authorise()
{
    TAuthorisationDialog authorisation(this, resources(), variant_, state_, settings_);
    framework::runModal(authorisation);
    applyLoginKeyToKeyField();
}

void TEncryptDialog::applyLoginKeyToKeyField()
{
    if (state_.hasLoginKey()) setText(KeyField, QString());
    setReadOnly(KeyField, state_.hasLoginKey());
    if (QWidget* field = control(KeyField)) field->update();
}

// Paths from the command line: several are a list, folders among them kept as
// they are; a single one is shown, and expanded when it is a folder.
void TEncryptDialog::applyStartupSelection()
{
    const int count = state_.selectedFiles.count();
    if (count > 1) {
        showSelectionSummary(count);
        singlePathMode_ = false;
        focusControl(KeyField);
    } else if (count == 1) {
        selectSinglePath(state_.selectedFiles.getAt(0));
    }
}

void TEncryptDialog::filesDropped(const std::vector<std::string>& paths)
{
    state_.selectedFiles.clear();
    state_.targetFiles.clear();
    for (const std::string& path : paths) {
        if (isFilePath(path)) state_.selectedFiles.add(path);
    }
    if (paths.size() > 1) {
        // Every dropped item is counted, though only the files are taken.
        showSelectionSummary(static_cast<int>(paths.size()));
        singlePathMode_ = false;
    } else if (paths.size() == 1) {
        // A refused or cancelled folder ends the handling: the user has just
        // been told why, and nothing stands selected to type a key for.
        if (!selectSinglePath(paths.front())) return;
    }
    focusControl(KeyField);
    showCurrentFolder();
}

// Shows one selected path in the source field and expands it when it is a
// folder. A path longer than the field holds is never cut short: a cut path
// could name another file. The field then only describes the selection, which
// holds the path whole.
bool TEncryptDialog::selectSinglePath(const std::string& path)
{
    const bool fitsField = framework::displayPath(path).size() <= fieldLimit;
    if (fitsField) setPathText(SourceField, path);
    if (!isFolderPath(path)) {
        if (!fitsField) showSelectionSummary(state_.selectedFiles.count());
        singlePathMode_ = fitsField;
        return true;
    }
    state_.selectedFiles.clear();
    const ExpansionOutcome outcome = expandTopLevelFolder(path, state_.selectedFiles, guardedFolders(), variant_, this);
    if (!fitsField) {
        // Nothing in the field to rebuild the selection from: a refused or
        // cancelled folder leaves none.
        if (outcome != ExpansionOutcome::Expanded) state_.selectedFiles.clear();
        showSelectionSummary(state_.selectedFiles.count());
    }
    // After a refusal or cancellation the next run start rebuilds the
    // selection from the field, and meets the same answer again.
    singlePathMode_ = fitsField && outcome != ExpansionOutcome::Expanded;
    return outcome == ExpansionOutcome::Expanded;
}

GuardedFolders TEncryptDialog::guardedFolders() const { return {state_.systemFolders, state_.programFolder}; }

void TEncryptDialog::showSelectionSummary(int count)
{
    setText(SourceField, services::selectionSummary(variant_, count));
}

void TEncryptDialog::setOptionBoxes()
{
    const services::OptionFlags& options = state_.options;
    setChecked(ConfirmOverwriteBox, !options.optionNoConfirm);
    setChecked(BlowFishOnlyBox, options.optionBlowFishOnly);
    setChecked(SaveOptionsBox, options.optionSaveOptions);
}

void TEncryptDialog::showCurrentFolder()
{
    const QString folder = framework::displayPath(framework::currentDirectory());
    setText(CurrentFolderLine, folder.size() > shownFolderLength ? folder.left(shownFolderLength) + "..." : folder);
}

void TEncryptDialog::updateKeyHint()
{
    QString hint;
    if (state_.hasLoginKey()) hint = QCoreApplication::translate("EncryptDialog", "Login Password !");
    else if (keyboard_.capsLockOn()) hint = QCoreApplication::translate("EncryptDialog", "CAPS LOCK ON !");
    setText(KeyHintLine, hint);
    // A screen reader tells the hint with the key field it belongs to.
    QWidget* keyField = control(KeyField);
    if (keyField && keyField->accessibleDescription() != hint) keyField->setAccessibleDescription(hint);
}

void TEncryptDialog::dialogTimerTick(int id)
{
    if (id == KeyHintTimer) updateKeyHint();
    if (id == RunTimer) runTimerTick();
}

bool TEncryptDialog::runIsActive() const
{
    return (currentWorker_ && currentWorker_->isRunning()) || repairOffer_.isRepairing();
}

void TEncryptDialog::runButtonClicked()
{
    const bool active = runIsActive();
    if (!active) currentWorker_.reset();

    RunStartInputs inputs;
    inputs.runActive = active;
    inputs.singlePathMode = singlePathMode_;
    inputs.sourceField = pathText(SourceField);
    inputs.targetField = pathText(TargetField);
    inputs.usingLoginKey = state_.hasLoginKey();
    inputs.key = inputs.usingLoginKey ? SecretText(state_.loginKey.data()) : keyFromTypedText(text(KeyField));
    inputs.confirmOverWrite = isChecked(ConfirmOverwriteBox);
    inputs.blowFishOnly = isChecked(BlowFishOnlyBox);

    const SelectionLists lists{state_.selectedFiles, state_.targetFiles, state_.processedFiles};
    RunStartResult started = startRun(inputs, lists, guardedFolders(), variant_, this,
                                      [this](const SecretText& key) { return confirmKey(key); });
    if (started.emptySourceField) {
        setText(SourceField, QString());
        singlePathMode_ = true;
    }
    if (!started.request) return;
    startDialogTimer(RunTimer, runTimerInterval);
    const RunRecords records{state_.processedFiles, state_.keyHistory, state_.activityLog, state_.recordsLock};
    currentWorker_ = std::make_unique<TTarvexThread>(std::move(*started.request), records, variant_, runWindow_);
    currentWorker_->start();
}

bool TEncryptDialog::confirmKey(const SecretText& key)
{
    TPassWordDialog confirmation(this, resources(), key);
    return framework::runModal(confirmation) == framework::ResultOk;
}

// Polls the worker of the run or the repair on every tick.
void TEncryptDialog::runTimerTick()
{
    drawAnimationFrame();
    if (runIsActive()) return;
    stopDialogTimer(RunTimer);
    runWindow_.refresh();
    endAnimation();
    repairOffer_.workEnded();
}

void TEncryptDialog::endAnimation()
{
    if (animationIndex_ > 0) --animationIndex_;
    static constexpr std::array restingIndex{7, 8, 8, 9, 9, 7};
    animationIndex_ = restingIndex[static_cast<std::size_t>(animationIndex_)];
    drawAnimationFrame();
}

void TEncryptDialog::drawAnimationFrame()
{
    const int index = animationIndex_;
    if ((index >= 0 && index <= 5) || (index >= 7 && index <= 9))
        shownPicture_ = variant_.animationFrames[static_cast<std::size_t>(index)];
    if (index == 7) animationIndex_ = -1;
    else if (index == 8) animationIndex_ = variant_.reentryAfterEntry8;
    else if (index == 9) animationIndex_ = variant_.reentryAfterEntry9;
    showPicture();
    if (++animationIndex_ == 6) animationIndex_ = 0;
}

void TEncryptDialog::viewLog()
{
    TLogDialog viewer(this, resources(), variant_, state_);
    framework::runModal(viewer);
}

bool TEncryptDialog::canClose()
{
    if (!runIsActive()) return true;
    framework::showMessage(this, {toQString(variant_.stillRunningCannotClose), toQString(variant_.programTitle),
                                  framework::MessageIcon::Stop, framework::MessageButtons::Ok});
    return false;
}

// The padlock is a picture a screen reader can name, not paint on the dialog.
void TEncryptDialog::createPicture()
{
    picture_ = new QLabel(this);
    picture_->setAttribute(Qt::WA_TransparentForMouseEvents);
    picture_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    picture_->setAccessibleName(QCoreApplication::translate("EncryptDialog", "Padlock"));
    picture_->setAccessibleDescription(
        variant_.engineDirection != 0
            ? QCoreApplication::translate("EncryptDialog", "A padlock that closes while files are encrypted")
            : QCoreApplication::translate("EncryptDialog", "A padlock that opens while files are decrypted"));
    picture_->setGeometry(pictureArea());
    showPicture();
}

void TEncryptDialog::showPicture()
{
    if (!picture_) return;
    picture_->setPixmap(shownPicture_ == 0 ? QPixmap() : resources().bitmap(shownPicture_));
}

void TEncryptDialog::changeEvent(QEvent* event)
{
    Dialog::changeEvent(event);
    if (event->type() == QEvent::FontChange && picture_) picture_->setGeometry(pictureArea());
}

QRect TEncryptDialog::pictureArea() const
{
    const bool largeFont = QFontMetrics(font()).height() > largeFontHeight;
    return {largeFont ? largeFontPicturePosition : picturePosition, pictureSize};
}

void TEncryptDialog::browseButtonClicked() { browseButton_.clicked(); }

void TEncryptDialog::filesListButtonClicked() { filesListButton_.clicked(); }

std::vector<framework::Dialog::MenuItem> TEncryptDialog::contextMenuItems() const
{
    return {{ViewLogCommand, QCoreApplication::translate("EncryptDialog", "&View Log...")},
            {AuthorisationCommand, QCoreApplication::translate("EncryptDialog", "A&uthorisation...")},
            {BatchFileCommand, QCoreApplication::translate("EncryptDialog", "&Batch File...")},
            {AboutCommand, QCoreApplication::translate("EncryptDialog", "&About...")}};
}

void TEncryptDialog::loadBatchFile()
{
    const framework::PickedFiles picked = framework::chooseFilesToOpen(
        this, {QCoreApplication::translate("EncryptDialog", "Open Tarvex Batch File"),
               QCoreApplication::translate("EncryptDialog", "Tarvex Batch Files (*.tvx)|*.tvx"), false, false});
    if (picked.names.empty()) return;
    const std::string path = picked.pathOf(picked.names.front());
    setText(SourceField, QString());
    if (!readBatchFile(path, {state_.selectedFiles, state_.targetFiles}, guardedFolders(), variant_, this)) {
        framework::showMessage(
            this, {QCoreApplication::translate("EncryptDialog", "Could not open ") + framework::displayPath(path),
                   QCoreApplication::translate("EncryptDialog", "I/O Error"), framework::MessageIcon::Exclamation,
                   framework::MessageButtons::Ok});
        return;
    }
    singlePathMode_ = false;
    // The same form for every count, one and none included.
    setText(SourceField, services::filesSelectedText(variant_, state_.selectedFiles.count()));
}

// The picture stays until it is clicked; the mouse reaches only it till then.
void TEncryptDialog::showAbout()
{
    if (aboutWindow_) aboutWindow_->close();
    aboutWindow_ =
        new framework::SplashWindow(resources().bitmap(variant_.splashBitmap), QSize(400, 300),
                                    framework::SplashWindow::noTimeout, framework::SplashWindow::Border::Thin);
    aboutWindow_->showCentred();
}

void TEncryptDialog::closeButtonClicked()
{
    if (isChecked(SaveOptionsBox)) settings_.saveOptions(isChecked(ConfirmOverwriteBox), isChecked(BlowFishOnlyBox));
    stopDialogTimer(KeyHintTimer);
    closeWindow();
}

void TEncryptDialog::helpButtonClicked()
{
    const QString version = toQString(variant_.internalName) + ' ' + toQString(variant_.fileVersion) +
                            QStringLiteral(" (") + toQString(variant_.fileDescription) + ')';
    framework::showHelpFile(control(HelpButton), state_.helpFilePath, version);
}

// Runs on every change of the field, also when the program writes it: a path
// makes the field the selection, anything else (a summary) leaves the list as
// the selection.
void TEncryptDialog::sourceFieldChanged()
{
    const std::string path = pathText(SourceField);
    if (isFilePath(path) || isFolderPath(path)) {
        singlePathMode_ = true;
        state_.selectedFiles.clear();
        if (isFilePath(path)) state_.selectedFiles.add(path);
    } else {
        singlePathMode_ = false;
    }
}

void TEncryptDialog::sourceFieldFocused()
{
    lastFocusedEdit_ = FocusedEdit::Source;
    if (state_.selectedFiles.count() == 0) singlePathMode_ = true;
}

void TEncryptDialog::targetFieldFocused() { lastFocusedEdit_ = FocusedEdit::Target; }

void TEncryptDialog::keyFieldFocused() { lastFocusedEdit_ = FocusedEdit::Key; }

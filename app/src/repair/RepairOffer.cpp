#include "app/RepairOffer.h"

#include "app/EncryptDialog.h"
#include "app/LogPasswordDialog.h"
#include "app/PassWordDialog.h"
#include "app/ProcessState.h"
#include "core/Paths.h"
#include "core/RecoveryList.h"

#include "framework/FileSystem.h"
#include "framework/Modal.h"
#include "framework/PathText.h"
#include "framework/Platform.h"

#include <QCoreApplication>
#include <QStringList>

#include <utility>

namespace {

using framework::MessageButtons;
using framework::MessageIcon;
using services::toQString;

// A recovery list's message names this many of its files; the list itself
// keeps them all.
constexpr std::size_t shownListedFiles = 10;

QString withFile(std::string_view form, const std::string& path)
{
    return toQString(form).replace(QStringLiteral("%s"), framework::displayPath(path));
}

QString failureText(repair::Status status, const repair::Journal& journal)
{
    const QString file = framework::displayPath(journal.filePath);
    switch (status) {
    case repair::Status::Repaired: break;
    case repair::Status::CannotOpenFile:
        return QCoreApplication::translate("RepairOffer",
                                           "%1 cannot be repaired: it cannot be opened, or it is no regular file.")
            .arg(file);
    case repair::Status::CannotRead:
        return QCoreApplication::translate("RepairOffer", "%1 cannot be repaired: reading it failed.").arg(file);
    case repair::Status::CannotWrite:
        // The repaired file is written beside the damaged one, then takes its place.
        return QCoreApplication::translate(
                   "RepairOffer",
                   "%1 cannot be repaired: writing it failed (is the disk full, or its folder read-only?). "
                   "Nothing was changed.")
            .arg(file);
    case repair::Status::CannotReadUndoCopy:
        return QCoreApplication::translate(
                   "RepairOffer",
                   "%1 cannot be repaired: the copy the run kept of the part it was rewriting\n%2\ncannot "
                   "be read. Nothing was changed.")
            .arg(file, framework::displayPath(journal.undoPath));
    case repair::Status::JournalDoesNotFit:
        return QCoreApplication::translate(
                   "RepairOffer",
                   "%1 cannot be repaired: its journal does not fit the file's size, so the file has been "
                   "changed since the run. Nothing was changed.")
            .arg(file);
    case repair::Status::KeyDoesNotFit:
        return QCoreApplication::translate(
                   "RepairOffer",
                   "%1 has not been repaired: the key or BlowFish Only is not that of the interrupted run. "
                   "Nothing was changed.")
            .arg(file);
    case repair::Status::RunStillGoing:
        return QCoreApplication::translate(
                   "RepairOffer",
                   "%1 has not been repaired: the run that rewrites it is still going. Nothing was changed.")
            .arg(file);
    case repair::Status::FileHasOtherNames:
        return QCoreApplication::translate(
                   "RepairOffer",
                   "%1 has not been repaired: it has other names (hard links), which the repair would leave "
                   "damaged. Remove them and repair again. Nothing was changed.")
            .arg(file);
    case repair::Status::CannotRepairExactly:
        return QCoreApplication::translate(
                   "RepairOffer",
                   "%1 cannot be repaired exactly: its journal and the record beside it do not tell how far "
                   "the run got. Nothing was changed.")
            .arg(file);
    case repair::Status::OwnersDiffer:
        return QCoreApplication::translate(
                   "RepairOffer", "%1 has not been repaired: it, or the record beside its journal, belongs to another "
                                  "user, who may have put the journal there. Nothing was changed.")
            .arg(file);
    }
    return {};
}

QString recoveryListText(const LeftRecoveryList& list)
{
    const std::vector<std::string>& targets = *list.targets;
    QStringList shown;
    for (std::size_t i = 0; i < targets.size() && i < shownListedFiles; ++i)
        shown.push_back(framework::displayPath(targets[i]));
    if (targets.size() > shownListedFiles)
        shown.push_back(QCoreApplication::translate("RepairOffer", "... and %1 more, all named in the list")
                            .arg(targets.size() - shownListedFiles));
    return QCoreApplication::translate(
               "RepairOffer",
               "A run of several files was cut short. Its recovery list\n%1\nnames these files:\n\n%2\n\n"
               "None of them was left partly done in place: a file the run rewrote in place is either "
               "finished or untouched, though which of them were finished cannot be told. A file the run "
               "wrote to another name may be incomplete: make it again from its source.\n\n"
               "Delete the recovery list now?\n"
               "No keeps it, and you will be told again at the next start.")
        .arg(framework::displayPath(list.path), shown.join('\n'));
}

// Whether a journal still names one of the listed files: that file is then
// partly transformed, and its list stays until it has been repaired.
bool namedByJournal(const std::vector<std::string>& targets, const std::vector<repair::Journal>& journals)
{
    for (const repair::Journal& journal : journals) {
        for (const std::string& target : targets) {
            if (equalIgnoringCase(target, journal.fileName) || framework::sameFile(target, journal.filePath))
                return true;
        }
    }
    return false;
}

}  // namespace

RepairOffer::RepairOffer(TEncryptDialog& window, const ProcessState& state, const services::VariantTexts& variant)
    : window_(window), state_(state), variant_(variant)
{}

bool RepairOffer::isRepairing() const { return worker_ && worker_->isRunning(); }

void RepairOffer::offer()
{
    if (offering_) return;
    if (window_.runIsActive()) {
        offerWhenRunEnds_ = true;
        return;
    }
    offering_ = true;
    pending_.clear();
    // By whole paths: what was declined stays declined when the current
    // folder changes.
    const bool encrypting = variant_.engineDirection != 0;
    for (repair::Journal& journal : repair::findJournals(framework::currentDirectory(), encrypting)) {
        if (!declined_.contains(journal.journalPath)) pending_.push_back(std::move(journal));
    }
    offerNext();
}

void RepairOffer::offerNext()
{
    while (!pending_.empty()) {
        const repair::Journal journal = std::move(pending_.front());
        pending_.pop_front();
        // Another program may have repaired it since it was found.
        if (!framework::isRegularFile(journal.journalPath)) continue;
        std::optional<RepairRequest> request = askAbout(journal);
        if (!request) {
            declined_.insert(journal.journalPath);
            continue;
        }
        start(std::move(*request));
        return;
    }
    offerToDeleteRecoveryLists();
    offering_ = false;
}

std::optional<RepairRequest> RepairOffer::askAbout(const repair::Journal& journal)
{
    const QString title = toQString(variant_.programTitle);
    if (framework::showMessage(&window_, {withFile(variant_.interruptedRunOffer, journal.filePath), title,
                                          MessageIcon::Exclamation, MessageButtons::YesNo}) != framework::ResultYes)
        return std::nullopt;

    RepairRequest request{journal, SecretText(), 0, repair::Goal::Transformed};
    if (!variant_.repairGoalQuestion.empty()) {
        const int answer =
            framework::showMessage(&window_, {withFile(variant_.repairGoalQuestion, journal.filePath), title,
                                              MessageIcon::Question, MessageButtons::YesNoCancel});
        if (answer == framework::ResultNo) request.goal = repair::Goal::Plaintext;
        else if (answer != framework::ResultYes) return std::nullopt;
    }

    // The key comes as for a run: the login password when it serves as the
    // key, otherwise typed and then typed again.
    const bool blowFishOnly = window_.isChecked(TEncryptDialog::BlowFishOnlyBox);
    if (state_.hasLoginKey()) {
        request.key = SecretText(state_.loginKey.data());
        request.layerChoice = blowFishOnly ? 1 : 0;
        return request;
    }
    TLogPasswordDialog keyDialog(&window_, window_.resources(), variant_,
                                 QCoreApplication::translate("RepairOffer", "Key Of The Interrupted Run"),
                                 blowFishOnly);
    if (framework::runModal(keyDialog) != framework::ResultOk) return std::nullopt;
    request.key = keyDialog.key();
    request.layerChoice = keyDialog.layerChoice();
    TPassWordDialog confirmation(&window_, window_.resources(), request.key);
    if (framework::runModal(confirmation) != framework::ResultOk) return std::nullopt;
    return request;
}

void RepairOffer::start(RepairRequest request)
{
    window_.window()->setWindowTitle(QCoreApplication::translate("RepairOffer", "Tarvex - Repairing: %1")
                                         .arg(framework::displayPath(request.journal.filePath)));
    window_.startDialogTimer(TEncryptDialog::RunTimer, TEncryptDialog::runTimerInterval);
    TEncryptDialog* window = &window_;
    worker_ = std::make_unique<RepairThread>(
        std::move(request), [window](int percent) { window->setProgress(TEncryptDialog::ProgressBar, percent); });
    worker_->start();
}

void RepairOffer::workEnded()
{
    if (!worker_) {
        if (offerWhenRunEnds_) {
            offerWhenRunEnds_ = false;
            offer();
        }
        return;
    }
    const std::unique_ptr<RepairThread> finished = std::move(worker_);
    const repair::Result result = finished->result();
    window_.setProgress(TEncryptDialog::ProgressBar, 0);
    window_.window()->setWindowTitle(toQString(variant_.programTitle));
    report(finished->request(), result);
    offerNext();
}

void RepairOffer::report(const RepairRequest& request, const repair::Result& result)
{
    const QString title = toQString(variant_.programTitle);
    const std::string& file = request.journal.filePath;
    if (result.status != repair::Status::Repaired) {
        framework::showMessage(
            &window_,
            {failureText(result.status, request.journal) +
                 QCoreApplication::translate("RepairOffer", "\n\nIts journal stays, so that it can be repaired later."),
             title, MessageIcon::Exclamation, MessageButtons::Ok});
        // The user may well have mistyped: the offer comes again at once.
        if (result.status == repair::Status::KeyDoesNotFit) pending_.push_front(request.journal);
        return;
    }
    const bool finishedRun = request.goal == repair::Goal::Transformed;
    QString text = withFile(finishedRun ? variant_.repairFinished : variant_.repairWentBack, file);
    if (result.decision == repair::Decision::UncertainWithoutCopy) {
        text += QCoreApplication::translate(
            "RepairOffer", "\n\nNo usable copy was left of the part the run was rewriting when it stopped, so the "
                           "repair went by the journal alone: one 64 KiB stretch of the file, where the run "
                           "stopped, may be wrong.");
    }
    framework::showMessage(&window_, {text, title, MessageIcon::Information, MessageButtons::Ok});
}

void RepairOffer::offerToDeleteRecoveryLists()
{
    const std::string folder = framework::currentDirectory();
    // The lists do not say which program wrote them: journals of either
    // direction keep them.
    std::vector<repair::Journal> journals = repair::findJournals(folder, true);
    for (repair::Journal& journal : repair::findJournals(folder, false)) journals.push_back(std::move(journal));

    const QString title = toQString(variant_.programTitle);
    for (const LeftRecoveryList& list : findLeftRecoveryLists(folder)) {
        if (declined_.contains(list.path)) continue;
        const QString shownList = framework::displayPath(list.path);
        if (!list.targets) {
            declined_.insert(list.path);
            framework::showMessage(
                &window_,
                {QCoreApplication::translate("RepairOffer", "A run of several files was cut short, but its recovery "
                                                            "list\n%1\ncannot be read. It is left as it is.")
                     .arg(shownList),
                 title, MessageIcon::Exclamation, MessageButtons::Ok});
            continue;
        }
        if (namedByJournal(*list.targets, journals)) continue;
        if (framework::showMessage(&window_, {recoveryListText(list), title, MessageIcon::Exclamation,
                                              MessageButtons::YesNo}) != framework::ResultYes) {
            declined_.insert(list.path);
            continue;
        }
        if (!framework::removeRegularFile(list.path)) {
            declined_.insert(list.path);
            framework::showMessage(
                &window_,
                {QCoreApplication::translate("RepairOffer", "The recovery list\n%1\ncannot be deleted (is its folder "
                                                            "read-only?). It is left as it is.")
                     .arg(shownList),
                 title, MessageIcon::Exclamation, MessageButtons::Ok});
        }
    }
}

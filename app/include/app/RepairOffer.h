// What an interrupted in-place run left in the current folder: the journals
// of the program's own direction, each naming a file left partly
// transformed, and the recovery lists of runs of several files. The program
// offers to repair each file, one after another, and tells what a recovery
// list without a journal means before it offers to delete it. What the user
// declines stays as it is, and is offered again at the next start.
#pragma once

#include "app/RepairThread.h"

#include "services/BuildVariant.h"

#include <deque>
#include <memory>
#include <optional>
#include <set>
#include <string>

struct ProcessState;
class TEncryptDialog;

class RepairOffer {
public:
    RepairOffer(TEncryptDialog& window, const ProcessState& state, const services::VariantTexts& variant);

    // Looks in the current folder and offers what it finds, leaving out what
    // the user declined before. Nothing while an offer is going on; while a
    // run is going on, once it has ended: its own journal is no leftover.
    void offer();
    bool isRepairing() const;
    // The window's run timer saw the worker of a run or a repair end. A
    // repair's outcome is reported and the offer goes on with what is left;
    // after a run, an offer put off is made.
    void workEnded();

private:
    void offerNext();
    std::optional<RepairRequest> askAbout(const repair::Journal& journal);
    void start(RepairRequest request);
    void report(const RepairRequest& request, const repair::Result& result);
    void offerToDeleteRecoveryLists();

    TEncryptDialog& window_;
    const ProcessState& state_;
    const services::VariantTexts& variant_;
    bool offering_ = false;
    bool offerWhenRunEnds_ = false;
    std::deque<repair::Journal> pending_;
    // Journals and recovery lists the user chose to keep, by name.
    std::set<std::string> declined_;
    std::unique_ptr<RepairThread> worker_;
};

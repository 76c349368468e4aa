#include "RepairCommand.h"

#include "KeyInput.h"

#include "JournalForm.h"

#include "repair/JournalRepair.h"

#include <iostream>

namespace cli {

namespace {

// Without names: the journals of both directions in the current folder,
// oldest first, leaving out those of runs still going.
std::vector<std::string> journalsOfCurrentFolder()
{
    std::vector<std::string> journals;
    for (const bool encrypting : {true, false}) {
        for (const repair::Journal& journal : repair::findJournals("", encrypting))
            journals.push_back(journal.journalPath);
    }
    return journals;
}

}  // namespace

int runRepair(const Options& options)
{
    const std::vector<std::string> journals = options.paths.empty() ? journalsOfCurrentFolder() : options.paths;
    if (journals.empty()) {
        std::cout << "No journal of an interrupted run in this folder: nothing to repair\n";
        return 0;
    }
    const KeyInput key = readKey(options);
    if (!key.key) {
        std::cerr << "tarvex: " << key.problem << '\n';
        return 2;
    }
    std::cout.flush();
    int status = 0;
    for (const std::string& journal : journals) {
        const mendkit::JournalRequest request{journal.c_str(), key.key->c_str(), options.blowFishOnly ? 1 : 0,
                                              options.finish};
        if (mendkit::repairFromJournal(request) != 0) status = 1;
    }
    return status;
}

}  // namespace cli

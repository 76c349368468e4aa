// The recovery list of a run of several files: "Mendkit<time>.log" in the
// current folder, naming every target the run may leave half transformed, so
// that they can be repaired after a crash. It lasts as long as the run.
#pragma once

#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class RecoveryList {
public:
    // Writes one line per target, in run order, and makes sure the lines have
    // reached the disk before it returns. Nothing when the file cannot be
    // made or written.
    static std::unique_ptr<RecoveryList> create(const std::vector<std::string>& targets, std::time_t now);
    // The run has ended: the list is deleted. It is locked until then.
    ~RecoveryList();
    RecoveryList(const RecoveryList&) = delete;
    RecoveryList& operator=(const RecoveryList&) = delete;

    const std::string& name() const { return name_; }

private:
    RecoveryList(std::string name, int descriptor) : name_(std::move(name)), descriptor_(descriptor) {}
    std::string name_;
    int descriptor_;
};

// A recovery list that a run left behind because it never ended.
struct LeftRecoveryList {
    std::string path;
    // Its lines, in run order; nothing when the list cannot be read.
    std::optional<std::vector<std::string>> targets;
};

// The recovery lists in `folder` that no live run holds, oldest first.
std::vector<LeftRecoveryList> findLeftRecoveryLists(const std::string& folder);

// What a power cut can leave of a real in-place run, and the repair of each
// such state. The run's file operations are recorded (OperationLog.h); a cut
// after any of them keeps, of each file, everything up to its last sync and
// any part of the later writes, and of the folder, the names up to its last
// sync and a prefix of the later ones. Every state must be repaired exactly,
// to the plaintext or to the finished run, with a wrong key refused before
// anything is written; a state without a journal must hold the file untouched
// or finished. Seeded; set TARVEX_POWER_CUT_SEED to replay.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <set>
#include <string>

#include "OperationLog.h"
#include "RepairSupport.h"
#include "repair/JournalRepair.h"
#include "tarvex.h"

namespace reliability {
namespace {

using namespace mendkit_test;
namespace fs = std::filesystem;

constexpr size_t kChunk = 65536;
constexpr size_t kWindow = 64 * kChunk;
// A whole window, then a short one: the record shrinks between them.
constexpr size_t kFileSize = kWindow + 3 * kChunk + 100;
// A lost page of a write is modelled in pieces of this size.
constexpr size_t kPiece = kChunk;
// Sanitized runs are many times slower: every third cut, fewer states.
#ifdef TARVEX_SANITIZED
constexpr int kRandomStatesPerCut = 1;
constexpr size_t kCutStride = 3;
#else
constexpr int kRandomStatesPerCut = 5;
constexpr size_t kCutStride = 1;
#endif
constexpr const char* kKey = "the lights went out";
constexpr const char* kWrongKey = "the lights went ouT";

using Files = std::map<std::string, Bytes>;

uint32_t chooseSeed()
{
    if (const char* given = std::getenv("TARVEX_POWER_CUT_SEED"))
        return static_cast<uint32_t>(std::strtoul(given, nullptr, 10));
    return std::random_device{}();
}

// The working folder of the recorded run, which keeps its journal there.
class InFolder {
public:
    explicit InFolder(const fs::path& folder) : previous_(fs::current_path()) { fs::current_path(folder); }
    ~InFolder() { fs::current_path(previous_); }
    InFolder(const InFolder&) = delete;
    InFolder& operator=(const InFolder&) = delete;

private:
    fs::path previous_;
};

void apply(Bytes& file, const Operation& operation, size_t from, size_t length)
{
    if (operation.kind == Operation::Kind::Truncate) {
        file.resize(static_cast<size_t>(operation.offset));
        return;
    }
    const size_t at = static_cast<size_t>(operation.offset) + from;
    if (file.size() < at + length) file.resize(at + length);
    std::copy_n(operation.bytes.begin() + static_cast<std::ptrdiff_t>(from), length, file.begin() + at);
}

enum class Kept { Everything, Nothing, Some };

// The disk after a power cut that follows the first `cut` operations.
Files stateAfter(const std::vector<Operation>& operations, size_t cut, const Files& before, Kept kept,
                 std::mt19937& random)
{
    using Kind = Operation::Kind;
    std::map<std::string, size_t> lastSync;
    size_t lastFolderSync = 0;  // operations before this one have their names on the disk
    for (size_t i = 0; i < cut; ++i) {
        if (operations[i].kind == Kind::Sync) lastSync[operations[i].file] = i + 1;
        if (operations[i].kind == Kind::SyncFolder) lastFolderSync = i + 1;
    }
    const auto keep = [&] { return kept == Kept::Everything || (kept == Kept::Some && random() % 2 == 0); };

    // The names: the synced ones, then a prefix of the later ones.
    size_t laterNames = 0;
    for (size_t i = lastFolderSync; i < cut; ++i)
        laterNames += operations[i].kind == Kind::Create || operations[i].kind == Kind::Unlink;
    size_t keptNames = kept == Kept::Everything ? laterNames : kept == Kept::Nothing ? 0 : random() % (laterNames + 1);
    std::set<std::string> names;
    for (const auto& [name, bytes] : before) names.insert(name);
    Files files = before;
    for (size_t i = 0; i < cut; ++i) {
        const Operation& operation = operations[i];
        if (operation.kind != Kind::Create && operation.kind != Kind::Unlink) continue;
        if (i >= lastFolderSync) {
            if (keptNames == 0) continue;
            --keptNames;
        }
        if (operation.kind == Kind::Create) {
            names.insert(operation.file);
        } else {
            names.erase(operation.file);
        }
    }

    // The contents: the synced writes, then any pieces of the later ones.
    for (size_t i = 0; i < cut; ++i) {
        const Operation& operation = operations[i];
        if (operation.kind != Kind::Write && operation.kind != Kind::Truncate) continue;
        Bytes& file = files[operation.file];
        const bool synced = i < lastSync[operation.file];
        if (operation.kind == Kind::Truncate) {
            if (synced || keep()) apply(file, operation, 0, 0);
            continue;
        }
        for (size_t from = 0; from < operation.bytes.size(); from += kPiece) {
            const size_t length = std::min(kPiece, operation.bytes.size() - from);
            if (synced || keep()) apply(file, operation, from, length);
        }
    }
    Files present;
    for (const auto& name : names) present[name] = files[name];
    return present;
}

struct Figures {
    int states = 0;
    int repaired = 0;
    int wrongKeysRefused = 0;
    int untouchedWithoutJournal = 0;
    int finishedWithoutJournal = 0;
    int journalWithoutLine = 0;
    std::map<repair::Decision, int> decisions;
};

class PowerCut : public ::testing::Test {
protected:
    void runStates(int direction)
    {
        const uint32_t seed = chooseSeed();
        std::printf("power cut seed %u (TARVEX_POWER_CUT_SEED=%u replays it)\n", seed, seed);
        std::mt19937 random(seed);
        const Bytes original = randomBytes(kFileSize, seed);
        const Bytes encrypted = transformThroughFile(kKey, original, TARVEX_ENCRYPT, TARVEX_BOTH_LAYERS);
        const Bytes& start = direction == TARVEX_ENCRYPT ? original : encrypted;
        const Bytes& completed = direction == TARVEX_ENCRYPT ? encrypted : original;

        const fs::path runFolder = folder_.path() / "run";
        fs::create_directory(runFolder);
        writeFile(runFolder / "data.bin", start);
        std::vector<Operation> operations;
        {
            const InFolder inRun(runFolder);
            const OperationLog log(runFolder);
            ASSERT_EQ(tarvexTransformFile(kKey, "data.bin", "data.bin", direction, TARVEX_BOTH_LAYERS), TARVEX_OK);
            operations = log.operations();
        }
        ASSERT_EQ(readFile(runFolder / "data.bin"), completed);

        const Files before{{"data.bin", start}};
        Figures figures;
        for (size_t cut = 0; cut <= operations.size(); cut += kCutStride) {
            for (int variant = 0; variant < 2 + kRandomStatesPerCut; ++variant) {
                const Kept kept = variant == 0 ? Kept::Everything : variant == 1 ? Kept::Nothing : Kept::Some;
                const Files state = stateAfter(operations, cut, before, kept, random);
                const repair::Goal goal = figures.states % 2 ? repair::Goal::Transformed : repair::Goal::Plaintext;
                const Bytes& expected = goal == repair::Goal::Plaintext ? original : completed;
                SCOPED_TRACE("seed " + std::to_string(seed) + ", cut after " + std::to_string(cut) + " of " +
                             std::to_string(operations.size()) + " operations, variant " + std::to_string(variant));
                check(state, start, completed, expected, goal, figures);
                ++figures.states;
                if (HasFailure()) return;
            }
        }
        const auto decided = [&](repair::Decision decision) { return figures.decisions[decision]; };
        std::printf("%s power cut: %zu operations, %d states: repaired exactly %d (journal count %d, rolled "
                    "forward %d, rolled back %d), wrong key refused %d; without a journal untouched %d, finished "
                    "%d; journal without a whole line (untouched) %d\n",
                    direction == TARVEX_ENCRYPT ? "E" : "D", operations.size(), figures.states, figures.repaired,
                    decided(repair::Decision::JournalCount), decided(repair::Decision::RolledForward),
                    decided(repair::Decision::RolledBack), figures.wrongKeysRefused, figures.untouchedWithoutJournal,
                    figures.finishedWithoutJournal, figures.journalWithoutLine);
        EXPECT_EQ(figures.repaired + figures.untouchedWithoutJournal + figures.finishedWithoutJournal +
                      figures.journalWithoutLine,
                  figures.states);
        // The cuts must fall inside windows, or the states prove little.
        EXPECT_GT(decided(repair::Decision::RolledForward) + decided(repair::Decision::RolledBack), 0);
    }

private:
    void check(const Files& state, const Bytes& start, const Bytes& completed, const Bytes& expected, repair::Goal goal,
               Figures& figures)
    {
        const fs::path stateFolder = folder_.path() / "state";
        fs::remove_all(stateFolder);
        fs::create_directory(stateFolder);
        std::string journalName;
        for (const auto& [name, bytes] : state) {
            writeFile(stateFolder / name, bytes);
            if (name.ends_with(".adt")) journalName = name;
        }
        const fs::path data = stateFolder / "data.bin";
        ASSERT_TRUE(state.count("data.bin"));
        if (journalName.empty()) {
            const Bytes left = readFile(data);
            EXPECT_TRUE(left == start || left == completed);
            ++(left == start ? figures.untouchedWithoutJournal : figures.finishedWithoutJournal);
            return;
        }
        repair::JournalProblem problem{};
        const auto journal = repair::readJournal((stateFolder / journalName).string(), problem);
        if (!journal) {
            EXPECT_EQ(problem, repair::JournalProblem::NoWholeLine);
            EXPECT_EQ(readFile(data), start);
            ++figures.journalWithoutLine;
            return;
        }

        const repair::Result refused = repair::repairFromJournal(*journal, kWrongKey, TARVEX_BOTH_LAYERS, goal);
        EXPECT_EQ(refused.status, repair::Status::KeyDoesNotFit);
        for (const auto& [name, bytes] : state) EXPECT_EQ(readFile(stateFolder / name), bytes) << name;
        figures.wrongKeysRefused += refused.status == repair::Status::KeyDoesNotFit;

        const repair::Result result = repair::repairFromJournal(*journal, kKey, TARVEX_BOTH_LAYERS, goal);
        EXPECT_EQ(result.status, repair::Status::Repaired);
        EXPECT_NE(result.decision, repair::Decision::UncertainWithoutCopy);
        const bool exact = readFile(data) == expected;
        EXPECT_TRUE(exact);
        EXPECT_EQ(std::distance(fs::directory_iterator(stateFolder), {}), 1);
        if (result.status == repair::Status::Repaired && exact) {
            ++figures.repaired;
            ++figures.decisions[result.decision];
        }
    }

    // The states are laid out in memory where the machine allows: the
    // repair's syncs of hundreds of them would cost more than the rest.
    static fs::path stateParent()
    {
        std::error_code error;
        if (fs::is_directory("/dev/shm", error) && access("/dev/shm", W_OK) == 0) return "/dev/shm";
        return fs::temp_directory_path();
    }

    TempFolder folder_{stateParent()};
};

TEST_F(PowerCut, EveryStateOfAnEncryptionIsRepairedExactly) { runStates(TARVEX_ENCRYPT); }

TEST_F(PowerCut, EveryStateOfADecryptionIsRepairedExactly) { runStates(TARVEX_DECRYPT); }

}  // namespace
}  // namespace reliability

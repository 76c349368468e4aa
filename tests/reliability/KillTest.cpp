// An in-place run killed at a random moment leaves a file that the repair
// from the journal and its window record repairs exactly, without a second
// try, through the library and through mendkit --journal; and a journal whose
// numbers never run ahead of the file, nor more than a window behind it.
// Seeded; set TARVEX_KILL_SEED to replay a run.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <string>
#include <thread>

#include "Journal.h"
#include "RepairSupport.h"
#include "repair/JournalRepair.h"
#include "tarvex.h"

namespace reliability {
namespace {

using namespace mendkit_test;
using Clock = std::chrono::steady_clock;

// Two windows: kills fall inside each and between them.
#ifdef TARVEX_SANITIZED
constexpr int kTrials = 5;
constexpr size_t kChunks = 70;
#else
constexpr int kTrials = 30;
constexpr size_t kChunks = 100;
#endif
constexpr int64_t kChunk = 65536;
constexpr int64_t kWindowChunks = 64;
// A partial last chunk, so "position + one chunk" has to stop at the file's end.
constexpr size_t kFileSize = kChunks * kChunk + 1234;
constexpr const char* kKey = "killed in the middle of a run";

uint32_t chooseSeed()
{
    if (const char* given = std::getenv("TARVEX_KILL_SEED"))
        return static_cast<uint32_t>(std::strtoul(given, nullptr, 10));
    return std::random_device{}();
}

struct Figures {
    int trials = 0;
    int repairedByMendkit = 0;
    int finishedBeforeKill = 0;
    int killedBeforeJournal = 0;
    // The repair from the journal and its undo copy.
    int repairedExactly = 0;
    int journalWithoutLine = 0;
    std::map<repair::Decision, int> decisions;
};

class KilledInPlaceRun : public ::testing::Test {
protected:
    void runTrials(int direction)
    {
        const uint32_t seed = chooseSeed();
        std::printf("kill trials seed %u (TARVEX_KILL_SEED=%u replays it)\n", seed, seed);
        std::mt19937 random(seed);
        const Bytes original = randomBytes(kFileSize, seed);
        const Bytes start = direction == TARVEX_ENCRYPT
                                ? original
                                : transformThroughFile(kKey, original, TARVEX_ENCRYPT, TARVEX_BOTH_LAYERS);
        const Bytes completed = transformThroughFile(kKey, start, direction, TARVEX_BOTH_LAYERS);
        // One character, not a literal assigned: GCC 12 at -O3 warns falsely
        // (-Wrestrict) about assigning a literal to a string member here.
        letter_.assign(1, direction == TARVEX_ENCRYPT ? 'E' : 'D');

        // Kills spread over one whole run, with a little room to finish first;
        // runs that beat the kill (the timing was taken on a busier machine)
        // narrow the spread.
        long long longestDelay = timeOneRun(start, direction).count() * 11 / 10;

        Figures figures;
        for (int trial = 0; trial < kTrials; ++trial) {
            const std::filesystem::path runFolder = folder_.path() / ("trial" + std::to_string(trial));
            std::filesystem::create_directory(runFolder);
            writeFile(runFolder / "data.bin", start);

            const pid_t child = startChild([&] { return transformInPlace(direction); }, {runFolder, {}});
            const auto wait =
                std::chrono::microseconds(std::uniform_int_distribution<long long>(0, longestDelay)(random));
            std::this_thread::sleep_for(wait);
            kill(child, SIGKILL);
            const Ending ending = waitForChild(child);
            ++figures.trials;

            const auto journal = findJournal(runFolder);
            const Bytes left = readFile(runFolder / "data.bin");
            if (ending.exited || !journal) {
                // Either no chunk was touched, or the run completed (it may
                // be killed after deleting its journal, before it exits).
                EXPECT_TRUE(!ending.exited || ending.status == 0);
                if (left == start) {
                    ++figures.killedBeforeJournal;
                } else {
                    EXPECT_EQ(left, completed) << "trial " << trial << ", seed " << seed;
                    ++figures.finishedBeforeKill;
                    longestDelay = longestDelay * 4 / 5;
                }
                continue;
            }

            const std::string where = "trial " + std::to_string(trial) + ", seed " + std::to_string(seed) +
                                      ", killed after " + std::to_string(wait.count()) + " us";
            if (!repairExactly(runFolder, *journal, start, original, completed, figures, where)) continue;
            expectJournalWithinAWindow(runFolder / "data.bin", *journal, start, completed, where);
            if (repairs(runFolder, *journal, original)) {
                ++figures.repairedByMendkit;
            } else {
                ADD_FAILURE() << where << ": mendkit --journal did not repair it";
            }
            std::filesystem::remove_all(runFolder);
        }
        std::printf("%s kill trials: %d, repaired by mendkit --journal: %d, finished before the kill: %d, killed "
                    "before the journal: %d\n",
                    letter_.c_str(), figures.trials, figures.repairedByMendkit, figures.finishedBeforeKill,
                    figures.killedBeforeJournal);
        const auto decided = [&](repair::Decision decision) { return figures.decisions[decision]; };
        std::printf("%s kill trials, repair from the journal and its record: repaired exactly both ways: %d; "
                    "decided by the journal count: %d, rolled forward: %d, rolled back: %d, uncertain without a "
                    "record: %d; journal without a whole line (file untouched): %d\n",
                    letter_.c_str(), figures.repairedExactly, decided(repair::Decision::JournalCount),
                    decided(repair::Decision::RolledForward), decided(repair::Decision::RolledBack),
                    decided(repair::Decision::UncertainWithoutCopy), figures.journalWithoutLine);
        // Most kills must land mid-run, or the trials prove little.
        EXPECT_GT(figures.repairedByMendkit + figures.journalWithoutLine, figures.trials / 2);
        EXPECT_EQ(figures.repairedExactly, figures.repairedByMendkit);
    }

private:
    static int transformInPlace(int direction)
    {
        return tarvexTransformFile(kKey, "data.bin", "data.bin", direction, TARVEX_BOTH_LAYERS) == TARVEX_OK ? 0 : 1;
    }

    // The quickest of a few runs: a slow one, while the machine is busy,
    // would send too many kills past the end of the run.
    std::chrono::microseconds timeOneRun(const Bytes& start, int direction)
    {
        const std::filesystem::path runFolder = folder_.path() / "timing";
        std::filesystem::create_directory(runFolder);
        auto quickest = Clock::duration::max();
        for (int run = 0; run < 3; ++run) {
            writeFile(runFolder / "data.bin", start);
            const auto began = Clock::now();
            const Ending ending =
                waitForChild(startChild([&] { return transformInPlace(direction); }, {runFolder, {}}));
            quickest = std::min(quickest, Clock::now() - began);
            EXPECT_TRUE(ending.exited && ending.status == 0);
        }
        return std::chrono::duration_cast<std::chrono::microseconds>(quickest);
    }

    // On copies of the run's folder, the repair must leave the file wholly
    // plaintext and, the other time, wholly as the completed run: each
    // exactly, at the first try, and never by the uncertain fallback.
    // False when the journal has no whole line, and so names no file.
    bool repairExactly(const std::filesystem::path& runFolder, const std::filesystem::path& journalPath,
                       const Bytes& start, const Bytes& original, const Bytes& completed, Figures& figures,
                       const std::string& where)
    {
        repair::JournalProblem problem{};
        if (!repair::readJournal(journalPath.string(), problem)) {
            // Killed while the journal was created: no chunk was touched.
            EXPECT_EQ(problem, repair::JournalProblem::NoWholeLine) << where;
            EXPECT_EQ(readFile(runFolder / "data.bin"), start) << where;
            ++figures.journalWithoutLine;
            return false;
        }
        bool exact = true;
        for (const repair::Goal goal : {repair::Goal::Plaintext, repair::Goal::Transformed}) {
            const std::filesystem::path copy = folder_.path() / "repair";
            std::filesystem::remove_all(copy);
            std::filesystem::copy(runFolder, copy, std::filesystem::copy_options::recursive);
            const auto journal = repair::readJournal((copy / journalPath.filename()).string());
            const repair::Result result = repair::repairFromJournal(*journal, kKey, TARVEX_BOTH_LAYERS, goal);
            const Bytes& expected = goal == repair::Goal::Plaintext ? original : completed;
            const bool repaired = result.status == repair::Status::Repaired && readFile(copy / "data.bin") == expected;
            EXPECT_TRUE(repaired) << where << ", status " << static_cast<int>(result.status) << ", goal "
                                  << static_cast<int>(goal);
            EXPECT_NE(result.decision, repair::Decision::UncertainWithoutCopy) << where;
            EXPECT_EQ(std::distance(std::filesystem::directory_iterator(copy), {}), 1) << where;
            exact = exact && repaired;
            if (goal == repair::Goal::Plaintext) ++figures.decisions[result.decision];
        }
        if (exact) ++figures.repairedExactly;
        return true;
    }

    // The journal counts only chunks that are on the disk, and the run
    // writes no window before the lines of the one before it: every chunk
    // before the count is finished, every one a window past it untouched.
    void expectJournalWithinAWindow(const std::filesystem::path& file, const std::filesystem::path& journal,
                                    const Bytes& start, const Bytes& completed, const std::string& where)
    {
        const JournalLine line = lastJournalLine(journal);
        const Bytes left = readFile(file);
        const auto counted = static_cast<std::ptrdiff_t>(std::min<int64_t>(line.count * kChunk, kFileSize));
        const auto untouchedFrom =
            static_cast<std::ptrdiff_t>(std::min<int64_t>((line.count + kWindowChunks) * kChunk, kFileSize));
        EXPECT_TRUE(std::equal(left.begin(), left.begin() + counted, completed.begin())) << where;
        EXPECT_EQ(line.position, counted) << where;
        EXPECT_TRUE(std::equal(left.begin() + untouchedFrom, left.end(), start.begin() + untouchedFrom)) << where;
    }

    // mendkit --journal, run on a copy of the killed run's folder from
    // another folder, must give back the original.
    bool repairs(const std::filesystem::path& runFolder, const std::filesystem::path& journal, const Bytes& original)
    {
        const std::filesystem::path copy = folder_.path() / "mendkit";
        std::filesystem::remove_all(copy);
        std::filesystem::copy(runFolder, copy, std::filesystem::copy_options::recursive);
        const ProgramRun run =
            runMendkit({"--journal", (copy / journal.filename()).string(), kKey}, {folder_.path(), {}});
        const bool repaired = run.ending.status == 0 && readFile(copy / "data.bin") == original;
        std::filesystem::remove_all(copy);
        return repaired;
    }

    TempFolder folder_;
    std::string letter_;
};

TEST_F(KilledInPlaceRun, EncryptionIsRepairedFromItsJournal) { runTrials(TARVEX_ENCRYPT); }

TEST_F(KilledInPlaceRun, DecryptionIsRepairedFromItsJournal) { runTrials(TARVEX_DECRYPT); }

}  // namespace
}  // namespace reliability

// A journal that cannot take its lines (the disk is full): the run stops
// before it touches the next window and says so, and what it leaves is
// repaired exactly. The failure is made by the recording layer, which fails
// the journal's writes alone, past a given number of bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "InterruptedRun.h"
#include "OperationLog.h"
#include "RepairSupport.h"
#include "repair/JournalRepair.h"
#include "tarvex.h"

namespace reliability {
namespace {

using namespace mendkit_test;
namespace fs = std::filesystem;

constexpr size_t kChunk = 65536;
constexpr size_t kWindow = kWindowChunks * kChunk;
constexpr const char* kKey = "no room for the journal";

TEST(JournalFull, TheRunStopsBeforeTheNextWindowAndIsRepairedExactly)
{
    const Bytes original = randomBytes(2 * kWindow + 3 * kChunk + 10, 71);
    const Bytes encrypted = transformThroughFile(kKey, original, TARVEX_ENCRYPT, TARVEX_BOTH_LAYERS);
    const int64_t lineSize = static_cast<int64_t>(journalLine("data.bin", 0, 0).size());

    for (const int direction : {TARVEX_ENCRYPT, TARVEX_DECRYPT}) {
        const Bytes& start = direction == TARVEX_ENCRYPT ? original : encrypted;
        const Bytes& completed = direction == TARVEX_ENCRYPT ? encrypted : original;
        // Room for the first line only, or for the first window's lines and
        // a few bytes more.
        for (const int64_t windowsCounted : {int64_t{0}, int64_t{1}}) {
            const int64_t room = lineSize * (1 + windowsCounted * kWindowChunks) + (windowsCounted ? 10 : 0);
            for (const repair::Goal goal : {repair::Goal::Plaintext, repair::Goal::Transformed}) {
                SCOPED_TRACE("direction " + std::to_string(direction) + ", windows counted " +
                             std::to_string(windowsCounted));
                const TempFolder folder;
                writeFile(folder.path() / "data.bin", start);
                const fs::path previous = fs::current_path();
                fs::current_path(folder.path());
                std::vector<Operation> operations;
                int result = 0;
                {
                    OperationLog log(folder.path());
                    log.failWritesTo(".adt", room);
                    result = tarvexTransformFile(kKey, "data.bin", "data.bin", direction, TARVEX_BOTH_LAYERS);
                    operations = log.operations();
                }
                fs::current_path(previous);
                EXPECT_EQ(result, TARVEX_ERR_IO);

                // The window whose lines failed is written; no later one is.
                int64_t dataEnd = 0;
                for (const Operation& operation : operations)
                    if (operation.kind == Operation::Kind::Write && operation.file == "data.bin")
                        dataEnd = std::max<int64_t>(dataEnd, operation.offset + operation.bytes.size());
                EXPECT_EQ(dataEnd, static_cast<int64_t>((windowsCounted + 1) * kWindow));
                const Bytes left = readFile(folder.path() / "data.bin");
                EXPECT_EQ(left, splice(completed, start, (windowsCounted + 1) * kWindow));

                const auto journals = filesEndingWith(folder.path(), ".adt");
                ASSERT_EQ(journals.size(), 1u);
                const auto journal = repair::readJournal(journals.front().string());
                ASSERT_TRUE(journal.has_value());
                EXPECT_EQ(journal->chunkCount, windowsCounted * kWindowChunks);
                const repair::Result repaired = repair::repairFromJournal(*journal, kKey, TARVEX_BOTH_LAYERS, goal);
                EXPECT_EQ(repaired.status, repair::Status::Repaired);
                EXPECT_EQ(readFile(folder.path() / "data.bin"), goal == repair::Goal::Plaintext ? original : completed);
                EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), {}), 1);
            }
        }
    }
}

}  // namespace
}  // namespace reliability

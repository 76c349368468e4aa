// The C boundary of libtarvex: whatever is thrown inside a call (memory runs
// out, the caller's progress callback throws) ends that call with its
// documented result, and the caller's process goes on. Each call is made in a
// child, from a noexcept function as a C program makes it: an exception that
// left the engine would find no handler there and abort the child.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <string>

#include "FailingAllocation.h"
#include "ScratchFolder.h"
#include "repair/JournalRepair.h"
#include "tarvex.h"

namespace {

using namespace enginetest;

const char* const kKey = "boundary key text";
constexpr size_t kChunk = 65536;
// The block cipher alone reports progress once per 8-byte block.
constexpr long kBlockCipherReportsPerChunk = kChunk / 8;
// Exit status of a child whose call met no failed allocation.
constexpr int kNothingFailed = 100;

int transformFileFromC(const std::string& source, const std::string& target, int layerChoice) noexcept
{
    return tarvexTransformFile(kKey, source.c_str(), target.c_str(), TARVEX_ENCRYPT, layerChoice);
}

void transformBufferFromC(const char* key, Bytes& data, int firstPiece) noexcept
{
    tarvexTransformBuffer(key, data.data(), static_cast<int32_t>(data.size()), data.data(), TARVEX_ENCRYPT,
                          TARVEX_BOTH_LAYERS, firstPiece);
}

long reportsLeft = 0;

int throwWhenReportsRunOut(int32_t)
{
    if (reportsLeft-- == 0) throw std::runtime_error("the caller gave up");
    return 0;
}

std::string readText(const std::string& name)
{
    std::ifstream in(name);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class EngineBoundary : public ::testing::Test {
protected:
    // What a complete run into another file makes of `bytes`.
    Bytes completeRun(const Bytes& bytes, int layerChoice)
    {
        writeFile("reference", bytes);
        if (tarvexTransformFile(kKey, "reference", "reference-out", TARVEX_ENCRYPT, layerChoice) != TARVEX_OK)
            throw std::runtime_error("the reference run failed");
        return readFile("reference-out");
    }

    // The journals and the window records beside them.
    void removeJournals()
    {
        for (const auto& name : folder.journals()) {
            std::filesystem::remove(folder.file(name));
            std::filesystem::remove(std::filesystem::path(folder.file(name)).replace_extension(".undo"));
        }
    }

    // What an in-place run that stopped early must leave: without a journal
    // the file untouched; with one, a file that the repair from the journal
    // and its record turns exactly into the complete run's result, which
    // leaves nothing else in the folder.
    void expectRepairableFromItsJournal(const std::string& name, const Bytes& original, const Bytes& complete,
                                        int layerChoice)
    {
        ASSERT_EQ(readFile(name).size(), original.size());
        const auto journals = folder.journals();
        ASSERT_LE(journals.size(), 1u);
        if (journals.empty()) {
            EXPECT_EQ(readFile(name), original);
            return;
        }
        const auto journal = repair::readJournal(folder.file(journals[0]));
        ASSERT_TRUE(journal.has_value());
        const repair::Result result = repair::repairFromJournal(*journal, kKey, layerChoice, repair::Goal::Transformed);
        EXPECT_EQ(result.status, repair::Status::Repaired);
        EXPECT_NE(result.decision, repair::Decision::UncertainWithoutCopy);
        EXPECT_EQ(readFile(name), complete);
        EXPECT_TRUE(folder.journals().empty());
    }

    // Fails the transform's first allocation, then its second, and so on,
    // until a call completes with none failed; each call runs in a child.
    void failEachAllocationInTurn(const std::string& source, const std::string& target,
                                  const std::function<void()>& prepareFiles,
                                  const std::function<void()>& expectStateAfterFailure)
    {
        long failedCalls = 0;
        for (long allowed = 0;; ++allowed) {
            ASSERT_LT(allowed, 10000) << "the transform never completed";
            prepareFiles();
            const Ending ending = waitForChild(startChild([&] {
                failAllocationsAfter(allowed);
                const int result = transformFileFromC(source, target, TARVEX_BOTH_LAYERS);
                return stopFailingAllocations() ? -result : kNothingFailed - result;
            }));
            ASSERT_TRUE(ending.exited) << "ended by signal " << ending.signal << " with " << allowed
                                       << " allocations allowed";
            if (ending.status == kNothingFailed) break;
            ASSERT_EQ(ending.status, -TARVEX_ERR_INTERNAL) << allowed << " allocations allowed";
            ++failedCalls;
            SCOPED_TRACE(std::to_string(allowed) + " allocations allowed");
            expectStateAfterFailure();
        }
        EXPECT_GT(failedCalls, 0) << "the transform made no allocation that could fail";
    }

    ScratchFolder folder;
    const Bytes plain = randomBytes(3 * kChunk + 1000, 21);
};

// The scratch folder's absolute names are long enough that the engine's paths
// of them need allocated memory.

TEST_F(EngineBoundary, EveryFailedAllocationOfARunIntoAnotherFileGivesInternalError)
{
    const Bytes complete = completeRun(plain, TARVEX_BOTH_LAYERS);
    const std::string source = folder.file("plain");
    const std::string target = folder.file("sealed");
    writeFile(source, plain);
    failEachAllocationInTurn(
        source, target, [&] { std::filesystem::remove(target); },
        [&] {
            EXPECT_EQ(readFile(source), plain);
            EXPECT_TRUE(folder.journals().empty());
        });
    EXPECT_EQ(readFile(target), complete);
}

TEST_F(EngineBoundary, EveryFailedAllocationOfAnInPlaceRunGivesInternalError)
{
    const Bytes complete = completeRun(plain, TARVEX_BOTH_LAYERS);
    const std::string data = folder.file("data");
    failEachAllocationInTurn(
        data, data,
        [&] {
            writeFile(data, plain);
            removeJournals();
        },
        [&] { expectRepairableFromItsJournal(data, plain, complete, TARVEX_BOTH_LAYERS); });
    EXPECT_EQ(readFile(data), complete);
    EXPECT_TRUE(folder.journals().empty());
}

// The window of all four chunks is transformed before any of it is written:
// the callback's exception leaves the file untouched and the journal at 0.
TEST_F(EngineBoundary, ThrowingCallbackStopsAnInPlaceRunBeforeItsWindowIsWritten)
{
    const Bytes complete = completeRun(plain, TARVEX_BLOCK_CIPHER_ONLY);
    writeFile("data", plain);
    const Ending ending = waitForChild(startChild([] {
        reportsLeft = 2 * kBlockCipherReportsPerChunk;  // throws in the third chunk
        tarvexSetProgressCallback(throwWhenReportsRunOut);
        return -transformFileFromC("data", "data", TARVEX_BLOCK_CIPHER_ONLY);
    }));
    ASSERT_TRUE(ending.exited) << "ended by signal " << ending.signal;
    EXPECT_EQ(ending.status, -TARVEX_ERR_INTERNAL);

    const auto journals = folder.journals();
    ASSERT_EQ(journals.size(), 1u);
    EXPECT_EQ(readText(journals[0]), "data       0            0\n");
    EXPECT_EQ(readFile("data"), plain);
    expectRepairableFromItsJournal("data", plain, complete, TARVEX_BLOCK_CIPHER_ONLY);
}

TEST_F(EngineBoundary, ThrowingCallbackEndsABufferTransformAndLeavesTheChainAlone)
{
    const Bytes first = randomBytes(kChunk, 23);
    const Bytes second = randomBytes(kChunk, 24);
    Bytes firstSealed = first;
    Bytes secondSealed = second;
    transformBufferFromC(kKey, firstSealed, 1);
    transformBufferFromC(kKey, secondSealed, 0);

    enum { kContinued = 0, kChainMoved = 1, kTailTouched = 2 };
    const Ending ending = waitForChild(startChild([&] {
        Bytes piece = first;
        transformBufferFromC(kKey, piece, 1);
        // Had it completed, a call with another key would have moved the
        // chain elsewhere.
        const Bytes stoppedSource = randomBytes(kChunk, 25);
        Bytes stopped = stoppedSource;
        reportsLeft = 100;
        tarvexSetProgressCallback(throwWhenReportsRunOut);
        transformBufferFromC("another key text", stopped, 1);
        tarvexSetProgressCallback(nullptr);

        piece = second;
        transformBufferFromC(kKey, piece, 0);
        int outcome = piece == secondSealed ? kContinued : kChainMoved;
        if (!std::equal(stopped.end() - 1000, stopped.end(), stoppedSource.end() - 1000)) outcome |= kTailTouched;
        return outcome;
    }));
    ASSERT_TRUE(ending.exited) << "ended by signal " << ending.signal;
    EXPECT_EQ(ending.status & kChainMoved, 0) << "the next piece did not continue the completed ones";
    EXPECT_EQ(ending.status & kTailTouched, 0) << "the stopped call transformed more than a leading part";
}

}  // namespace

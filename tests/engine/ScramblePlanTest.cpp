// The scrambling plan against the step-by-step model: every planner this
// processor can run,
// over random key blocks and generator states rather than prepared keys, so
// that rare run keys (16, which reloads without a step; 0 and 1, which reload
// at once) and the lowest-free fallback all come up.
#include "ScramblePlan.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "BlockPlanner.h"
#include "Progress.h"
#include "ReferenceGenerator.h"
#include "ReferenceScramble.h"
#include "Scramble.h"

namespace tarvex {
namespace {

#ifdef TARVEX_SANITIZED
constexpr int kRandomCases = 150;
#else
constexpr int kRandomCases = 1500;
#endif

std::vector<Planner> availablePlanners()
{
    std::vector<Planner> planners;
    for (Planner planner : kPlanners)
        if (plannerRuns(planner)) planners.push_back(planner);
    return planners;
}

// Run keys drawn to favour the awkward values: 16 (a reload without a step),
// 0 and 1 (a run of one), bytes of 0x80 and above.
std::vector<uint8_t> randomKeyBlock(std::mt19937& random)
{
    std::vector<uint8_t> key(kKeyBlockSize, 0);
    for (int i = 0; i < 16; ++i) {
        switch (random() % 4) {
        case 0: key[i] = static_cast<uint8_t>(0x10 | (random() % 8) << 5); break;  // & 31 == 16
        case 1: key[i] = static_cast<uint8_t>((random() % 2) | (random() % 8) << 5); break;
        default: key[i] = static_cast<uint8_t>(random());
        }
    }
    return key;
}

int32_t randomLength(std::mt19937& random)
{
    static const int32_t kLengths[] = {1, 2, 63, 64, 127, 128, 255, 256, 1000, 65535, 65536};
    if (random() % 2) return kLengths[random() % std::size(kLengths)];
    return 1 + static_cast<int32_t>(random() % 65536);
}

std::vector<uint8_t> distinctishBytes(size_t length, std::mt19937& random)
{
    std::vector<uint8_t> bytes(length);
    for (auto& byte : bytes) byte = static_cast<uint8_t>(random());
    return bytes;
}

struct Case {
    std::vector<uint8_t> key;
    uint32_t state;
    int32_t length;
    int direction;
};

// Plans and applies the case; the chunk and the generator state must be the
// model's.
void expectPlanMatchesModel(const Case& c, Planner planner, const std::vector<uint8_t>& data,
                            const std::vector<uint8_t>& modelled, uint32_t modelState, const std::string& label)
{
    static ScramblePlan plan;
    uint32_t state = c.state;
    planScramble(c.key.data(), c.length, c.direction, state, plan, planner);
    std::vector<uint8_t> chunk = data;
    applyScramble(plan, chunk.data(), 0.0L);
    ASSERT_EQ(chunk, modelled) << label << " (" << plannerName(planner) << ")";
    ASSERT_EQ(state, modelState) << label << " (" << plannerName(planner) << ")";
}

TEST(ScramblePlan, EveryWayOfPlanningMovesBytesWhereTheStepByStepModelDoes)
{
    std::mt19937 random(20261209);
    for (int n = 0; n < kRandomCases; ++n) {
        const Case c{randomKeyBlock(random), static_cast<uint32_t>(random()) & ScrambleGenerator::kStateMask,
                     randomLength(random), static_cast<int>(random() % 2)};
        const auto data = distinctishBytes(static_cast<size_t>(c.length), random);
        auto modelled = data;
        ReferenceGenerator generator(static_cast<int32_t>(c.state));
        referenceScramble(c.key.data(), modelled, generator, c.direction);
        for (Planner planner : availablePlanners())
            expectPlanMatchesModel(c, planner, data, modelled, generator.state(), "case " + std::to_string(n));
    }
}

// A byte's search gives up after 10 x block length steps on taken slots and
// takes the lowest free slot; that happens in about one chunk in seventy, so
// chunks are tried until several have done it.
TEST(ScramblePlan, LowestFreeFallbacksAgreeWithTheModel)
{
    std::mt19937 random(77);
    const std::vector<uint8_t> key = randomKeyBlock(random);
    int chunksWithFallbacks = 0;
    for (int attempt = 0; attempt < 3000 && chunksWithFallbacks < 3; ++attempt) {
        const Case c{key, static_cast<uint32_t>(random()) & ScrambleGenerator::kStateMask, 65536,
                     static_cast<int>(random() % 2)};
        const auto data = distinctishBytes(65536, random);
        auto modelled = data;
        int fallbacks = 0;
        ReferenceGenerator generator(static_cast<int32_t>(c.state));
        referenceScramble(c.key.data(), modelled, generator, c.direction, &fallbacks);
        if (fallbacks == 0) continue;
        ++chunksWithFallbacks;
        for (Planner planner : availablePlanners())
            expectPlanMatchesModel(c, planner, data, modelled, generator.state(), "attempt " + std::to_string(attempt));
    }
    EXPECT_GE(chunksWithFallbacks, 1) << "no chunk needed the lowest free slot";
}

TEST(ScramblePlan, ZeroStepReloadOnAChunksFirstByteStartsFromSlotZero)
{
    std::mt19937 random(5);
    std::vector<uint8_t> key = randomKeyBlock(random);
    key[2] = 0x01;  // a run of one: the first byte reloads at once
    key[3] = 0x30;  // ...with a run of 16, which takes no step
    for (int direction : {1, 0}) {
        const Case c{key, 12345, 4000, direction};
        const auto data = distinctishBytes(4000, random);
        auto modelled = data;
        ReferenceGenerator generator(static_cast<int32_t>(c.state));
        referenceScramble(c.key.data(), modelled, generator, direction);
        if (direction) {
            EXPECT_EQ(modelled[0], data[0]) << "the first byte stays in slot 0";
        }
        for (Planner planner : availablePlanners())
            expectPlanMatchesModel(c, planner, data, modelled, generator.state(), "zero-step start");
    }
}

// TARVEX_PLANNER names a planner; only one this processor runs is taken, and
// anything else leaves the choice to the library: the fastest it can run.
TEST(ScramblePlan, APlannerIsChosenByNameOnlyWhereItRuns)
{
    const Planner automatic = choosePlanner(nullptr);
    ASSERT_TRUE(plannerRuns(automatic));
    ASSERT_TRUE(plannerRuns(Planner::Portable));
    if (plannerRuns(Planner::Avx512)) EXPECT_EQ(automatic, Planner::Avx512);
    else if (plannerRuns(Planner::Avx2)) EXPECT_EQ(automatic, Planner::Avx2);
    else EXPECT_EQ(automatic, Planner::Portable);

    const std::pair<const char*, Planner> names[] = {
        {"portable", Planner::Portable}, {"avx2", Planner::Avx2}, {"avx512", Planner::Avx512}};
    for (const auto& [name, planner] : names) {
        EXPECT_STREQ(plannerName(planner), name);
        EXPECT_EQ(choosePlanner(name), plannerRuns(planner) ? planner : automatic) << name;
    }
    for (const char* unknown : {"", "AVX2", "avx", "avx2 ", "avx512f", "fastest", "sse2"})
        EXPECT_EQ(choosePlanner(unknown), automatic) << '"' << unknown << '"';
}

TEST(ScramblePlan, ApplyingReportsOnceAfterEveryBlock)
{
    std::mt19937 random(9);
    const std::vector<uint8_t> key = randomKeyBlock(random);
    static ScramblePlan plan;
    uint32_t state = 99;
    planScramble(key.data(), 65536, 1, state, plan);
    ASSERT_GE(plan.blockCount, 65536 / 255);
    ASSERT_LE(plan.blockCount, 65536 / 128 + 1);
    std::vector<uint8_t> chunk(65536);
    progressTotal = 0.0f;
    applyScramble(plan, chunk.data(), 1.0L);
    EXPECT_EQ(progressTotal, static_cast<float>(plan.blockCount));
}

// Adding one increment many times skips ahead inside a binade; every total
// must be the one that the additions one by one give.
TEST(ProgressFastForward, GivesTheTotalOfTheAdditionsOneByOne)
{
    std::mt19937_64 random(3);
    for (int n = 0; n < 4000; ++n) {
        long double increment;
        switch (n % 4) {
        case 0: increment = 18.0L / static_cast<long double>(1 + random() % 40000) / (1 + random() % 8192); break;
        case 1: increment = 100.0L / static_cast<long double>(1 + random() % 40000) / (1 + random() % 8192); break;
        case 2: {
            const auto estimate = static_cast<float>(static_cast<double>(1 + random() % 2000000000) * (1.0 / 191.5));
            increment = 82.0L / estimate;
            break;
        }
        default:
            increment = std::ldexp(static_cast<long double>(1 + random() % 1000000), -static_cast<int>(random() % 40));
        }
        const float start = random() % 3 == 0
                                ? 0.0f
                                : std::ldexp(static_cast<float>(random() % 100000), -static_cast<int>(random() % 20));
        const auto count = static_cast<int32_t>(random() % 20000);
        float oneByOne = start;
        for (int32_t k = 0; k < count; ++k) oneByOne = static_cast<float>(oneByOne + increment);
        progressTotal = start;
        advanceProgressTimes(increment, count);
        ASSERT_EQ(progressTotal, oneByOne)
            << "start " << start << ", increment " << static_cast<double>(increment) << ", " << count << " additions";
    }
}

std::vector<int32_t> reported;
int recordReport(int32_t value)
{
    reported.push_back(value);
    return 0;
}

TEST(ProgressFastForward, ReportsEveryAdditionWhenSomeoneListens)
{
    reported.clear();
    progressCallback = recordReport;
    progressTotal = 3.0f;
    advanceProgressTimes(0.25L, 10);
    progressCallback = nullptr;
    EXPECT_EQ(reported, (std::vector<int32_t>{3, 3, 3, 4, 4, 4, 4, 5, 5, 5}));
}

}  // namespace
}  // namespace tarvex

#include <cstring>
#include <utility>

#include "BlockModulo.h"
#include "BlockPlanner.h"
#include "Scramble.h"

#if defined(__x86_64__)
#include <immintrin.h>
// GCC 12 takes the deliberately undefined vectors inside the intrinsics'
// casts for uninitialised variables.
#pragma GCC diagnostic ignored "-Wuninitialized"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

namespace tarvex {

#if defined(__x86_64__)

#define TARVEX_WIDE __attribute__((target("avx512f,avx512bw,avx512vl,avx512vbmi,bmi,bmi2,popcnt")))

namespace {

constexpr int kBatch = 64;
constexpr int kLanes = 16;

// Lane k of part p steps 16 p + k + 1 times from the state a batch continues
// from, so the four parts of a batch are worked out side by side.
struct BatchJumps {
    alignas(64) uint32_t multipliers[kBatch];
    alignas(64) uint32_t increments[kBatch];
};

constexpr BatchJumps kBatchJumps = [] {
    BatchJumps jumps{};
    for (int k = 0; k < kBatch; ++k) {
        jumps.multipliers[k] = jumpOf(k + 1).multiplier;
        jumps.increments[k] = jumpOf(k + 1).increment;
    }
    return jumps;
}();

// 64 consecutive candidates of a block's generator run: their states and
// their slots.
struct Candidates {
    alignas(64) uint32_t states[kBatch];
    alignas(64) uint8_t slots[kBatch];
};

// Each slot's bit in a 256-bit set.
struct SlotBits {
    alignas(32) uint64_t words[256][4];
};

constexpr SlotBits kSlotBits = [] {
    SlotBits bits{};
    for (int slot = 0; slot < 256; ++slot) bits.words[slot][slot >> 6] = uint64_t(1) << (slot & 63);
    return bits;
}();

// The taken slots of the block, one bit each, twice: in words for the check
// of a single slot, and in a vector for the check of a whole batch. Reading
// the words as a vector straight after a word was stored would stall.
struct TakenSet {
    uint64_t words[4] = {};
    __m256i vector;

    bool has(uint32_t slot) const { return (words[slot >> 6] >> (slot & 63)) & 1; }
    uint32_t lowestFree() const
    {
        for (uint32_t w = 0;; ++w)
            if (~words[w]) return w * 64 + static_cast<uint32_t>(__builtin_ctzll(~words[w]));
    }
};

TARVEX_WIDE inline void clear(TakenSet& taken) { taken.vector = _mm256_setzero_si256(); }

TARVEX_WIDE inline void add(TakenSet& taken, uint32_t slot)
{
    taken.words[slot >> 6] |= uint64_t(1) << (slot & 63);
    taken.vector =
        _mm256_or_si256(taken.vector, _mm256_load_si256(reinterpret_cast<const __m256i*>(kSlotBits.words[slot])));
}

TARVEX_WIDE inline void computeCandidates(Candidates& out, uint32_t before, const BlockModulo& modulo)
{
    const __m512i mask = _mm512_set1_epi32(static_cast<int>(ScrambleGenerator::kStateMask));
    const __m512i reciprocal = _mm512_set1_epi32(static_cast<int>(modulo.narrowReciprocal()));
    const __m512i divisor = _mm512_set1_epi32(static_cast<int>(modulo.divisor()));
    const __m512i from = _mm512_set1_epi32(static_cast<int>(before));
    __m128i slots[4];
    for (int part = 0; part < 4; ++part) {
        const __m512i multiplier = _mm512_load_si512(kBatchJumps.multipliers + kLanes * part);
        const __m512i increment = _mm512_load_si512(kBatchJumps.increments + kLanes * part);
        const __m512i state = _mm512_and_si512(_mm512_add_epi32(_mm512_mullo_epi32(from, multiplier), increment), mask);
        _mm512_store_si512(out.states + kLanes * part, state);
        const __m512i hi = _mm512_srli_epi32(state, 14);
        const __m512i quotient = _mm512_srli_epi32(_mm512_mullo_epi32(hi, reciprocal), 24);
        slots[part] = _mm512_cvtepi32_epi8(_mm512_sub_epi32(hi, _mm512_mullo_epi32(quotient, divisor)));
    }
    const __m512i allSlots = _mm512_inserti64x4(
        _mm512_castsi256_si512(_mm256_inserti128_si256(_mm256_castsi128_si256(slots[0]), slots[1], 1)),
        _mm256_inserti128_si256(_mm256_castsi128_si256(slots[2]), slots[3], 1), 1);
    _mm512_store_si512(out.slots, allSlots);
}

// Which candidates name a slot that is free now: bit slot % 8 of the taken
// set's byte slot / 8.
TARVEX_WIDE inline uint64_t freeAmong(const Candidates& candidates, const TakenSet& taken)
{
    const __m512i slots = _mm512_load_si512(candidates.slots);
    const __m256i set = taken.vector;
    const __m512i byteIndex = _mm512_and_si512(_mm512_srli_epi16(slots, 3), _mm512_set1_epi8(0x1F));
    const __m512i setBytes = _mm512_permutexvar_epi8(byteIndex, _mm512_castsi256_si512(set));
    const __m512i bitValues =
        _mm512_broadcast_i32x4(_mm_setr_epi8(1, 2, 4, 8, 16, 32, 64, -128, 1, 2, 4, 8, 16, 32, 64, -128));
    const __m512i bits = _mm512_shuffle_epi8(bitValues, _mm512_and_si512(slots, _mm512_set1_epi8(7)));
    return ~static_cast<uint64_t>(_mm512_test_epi8_mask(setBytes, bits));
}

}  // namespace

bool wideBlockPlannerRuns()
{
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
           __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512vbmi") &&
           __builtin_cpu_supports("bmi") && __builtin_cpu_supports("bmi2");
}

namespace {

// The candidates of a block are numbered from its first step on and come
// in batches of 64; the batch after the current one is worked out while the
// current one is searched. Slots only ever become taken inside a block, so a
// candidate taken when its batch came up is taken for good; one free then is
// checked again against the live set before it is used. The search keeps its
// counters in locals: as members of an object they would go through memory
// on every byte.
template <bool Encrypt>
TARVEX_WIDE void planWide(const uint8_t* keyBlock, uint32_t slots, RunState& run, uint32_t& state, uint8_t* sources)
{
    const BlockModulo modulo(slots);
    TakenSet taken;
    clear(taken);
    Candidates batches[2];
    Candidates* current = &batches[0];
    Candidates* ahead = &batches[1];
    uint32_t before = state;  // the state the current batch continues from
    computeCandidates(*current, before, modulo);
    computeCandidates(*ahead, current->states[kBatch - 1], modulo);
    uint64_t wasFree = freeAmong(*current, taken);
    uint32_t base = 0;    // the number of the current batch's first candidate
    uint32_t cursor = 0;  // the next candidate to take, in the current batch

    // Takes every candidate before number `to`.
    const auto moveTo = [&](uint32_t to) __attribute__((always_inline))
    {
        while (to - base >= kBatch) {
            before = current->states[kBatch - 1];
            std::swap(current, ahead);
            base += kBatch;
            wasFree = freeAmong(*current, taken);
            computeCandidates(*ahead, current->states[kBatch - 1], modulo);
        }
        cursor = to - base;
    };

    RunState local = run;
    for (uint32_t i = 0; i < slots; ++i) {
        uint32_t budget = 1 + kCollisionStepsPerSlot * slots;
        bool search = true;
        if (--local.run == 0) {
            const uint32_t steps = reloadRun(keyBlock, local);
            if (steps == 0) {
                budget = kCollisionStepsPerSlot * slots;
                search = local.position >= slots || taken.has(local.position);
            } else {
                moveTo(base + cursor + steps - 1);
            }
        }
        if (search) {
            const uint32_t limit = base + cursor + budget;
            for (;;) {
                const uint64_t open = cursor < kBatch ? wasFree & (~uint64_t(0) << cursor) : 0;
                const uint32_t reached = base + (open ? static_cast<uint32_t>(__builtin_ctzll(open)) : kBatch);
                if (reached >= limit) {
                    // The budget ran out on taken slots: the lowest free slot.
                    moveTo(limit);
                    local.position = taken.lowestFree();
                    break;
                }
                if (!open) {
                    moveTo(reached);
                    continue;
                }
                cursor = reached - base + 1;
                const uint32_t slot = current->slots[reached - base];
                if (!taken.has(slot)) {
                    local.position = slot;
                    break;
                }
            }
        }
        if constexpr (Encrypt) sources[local.position] = static_cast<uint8_t>(i);
        else sources[i] = static_cast<uint8_t>(local.position);
        add(taken, local.position);
    }
    run = local;
    state = cursor > 0 ? current->states[cursor - 1] : before;
}

}  // namespace

TARVEX_WIDE void planBlockWide(const uint8_t* keyBlock, uint32_t slots, int direction, RunState& run, uint32_t& state,
                               uint8_t* sources)
{
    if (direction) planWide<true>(keyBlock, slots, run, state, sources);
    else planWide<false>(keyBlock, slots, run, state, sources);
}

#else

bool wideBlockPlannerRuns() { return false; }

void planBlockWide(const uint8_t* keyBlock, uint32_t slots, int direction, RunState& run, uint32_t& state,
                   uint8_t* sources)
{
    planBlockPortably(keyBlock, slots, direction, run, state, sources);
}

#endif

}  // namespace tarvex

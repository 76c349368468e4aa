#include <cstdint>
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

bool wideBlockPlannerRuns()
{
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
           __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512vbmi") &&
           __builtin_cpu_supports("bmi") && __builtin_cpu_supports("bmi2");
}

// Everything from here on may use these instructions; the library only calls
// in where wideBlockPlannerRuns().
#pragma GCC push_options
#pragma GCC target("avx512f,avx512bw,avx512vl,avx512vbmi,bmi,bmi2,popcnt")

}  // namespace tarvex

#include "BatchSearch.h"
#include "VectorTakenSet.h"

namespace tarvex {

namespace {

constexpr int kLanes = 16;

struct WideBatches {
    using Batch = CandidateBatch<uint8_t>;
    using Taken = VectorTakenSet;

    // The four 16-lane parts of a batch side by side.
    static void compute(Batch& out, uint32_t before, const BlockModulo& modulo)
    {
        const __m512i mask = _mm512_set1_epi32(static_cast<int>(ScrambleGenerator::kStateMask));
        const __m512i reciprocal = _mm512_set1_epi32(static_cast<int>(modulo.narrowReciprocal()));
        const __m512i divisor = _mm512_set1_epi32(static_cast<int>(modulo.divisor()));
        const __m512i from = _mm512_set1_epi32(static_cast<int>(before));
        __m128i slots[4];
        for (int part = 0; part < 4; ++part) {
            const __m512i multiplier = _mm512_load_si512(kBatchJumps.multipliers + kLanes * part);
            const __m512i increment = _mm512_load_si512(kBatchJumps.increments + kLanes * part);
            const __m512i state =
                _mm512_and_si512(_mm512_add_epi32(_mm512_mullo_epi32(from, multiplier), increment), mask);
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

    // Bit slot % 8 of the taken set's byte slot / 8, for 64 slots at once.
    static uint64_t freeAmong(const Batch& candidates, const Taken& taken)
    {
        const __m512i slots = _mm512_load_si512(candidates.slots);
        const __m512i byteIndex = _mm512_and_si512(_mm512_srli_epi16(slots, 3), _mm512_set1_epi8(0x1F));
        const __m512i setBytes = _mm512_permutexvar_epi8(byteIndex, _mm512_castsi256_si512(taken.vector));
        const __m512i bitValues =
            _mm512_broadcast_i32x4(_mm_setr_epi8(1, 2, 4, 8, 16, 32, 64, -128, 1, 2, 4, 8, 16, 32, 64, -128));
        const __m512i bits = _mm512_shuffle_epi8(bitValues, _mm512_and_si512(slots, _mm512_set1_epi8(7)));
        return ~static_cast<uint64_t>(_mm512_test_epi8_mask(setBytes, bits));
    }
};

}  // namespace

void planBlockWide(const RunKeys& runKeys, uint32_t slots, RunState& run, uint32_t& state, uint8_t* positions)
{
    planBatched<WideBatches>(runKeys, slots, run, state, positions);
}

#pragma GCC pop_options

#endif

}  // namespace tarvex

#include <cstdint>
#include <cstring>
#include <utility>

#include "BlockModulo.h"
#include "BlockPlanner.h"
#include "Scramble.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace tarvex {

#if defined(__x86_64__)

bool avx2BlockPlannerRuns()
{
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("bmi") && __builtin_cpu_supports("bmi2") &&
           __builtin_cpu_supports("popcnt");
}

// Everything from here on may use these instructions; the library only calls
// in where avx2BlockPlannerRuns().
#pragma GCC push_options
#pragma GCC target("avx2,bmi,bmi2,popcnt")

}  // namespace tarvex

#include "BatchSearch.h"
#include "VectorTakenSet.h"

namespace tarvex {

namespace {

constexpr int kLanes = 8;

struct Avx2Batches {
    using Batch = CandidateBatch<uint8_t>;
    using Taken = VectorTakenSet;

    // Eight 8-lane parts, packed to bytes in candidate order.
    static void compute(Batch& out, uint32_t before, const BlockModulo& modulo)
    {
        const __m256i mask = _mm256_set1_epi32(static_cast<int>(ScrambleGenerator::kStateMask));
        const __m256i reciprocal = _mm256_set1_epi32(static_cast<int>(modulo.narrowReciprocal()));
        const __m256i divisor = _mm256_set1_epi32(static_cast<int>(modulo.divisor()));
        const __m256i from = _mm256_set1_epi32(static_cast<int>(before));
        // Packing interleaves the 128-bit halves; this puts the groups of four
        // back in order.
        const __m256i inOrder = _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7);
        for (int quarter = 0; quarter < 2; ++quarter) {
            __m256i slots[4];
            for (int part = 0; part < 4; ++part) {
                const int first = kLanes * (4 * quarter + part);
                const __m256i multiplier =
                    _mm256_load_si256(reinterpret_cast<const __m256i*>(kBatchJumps.multipliers + first));
                const __m256i increment =
                    _mm256_load_si256(reinterpret_cast<const __m256i*>(kBatchJumps.increments + first));
                const __m256i state =
                    _mm256_and_si256(_mm256_add_epi32(_mm256_mullo_epi32(from, multiplier), increment), mask);
                _mm256_store_si256(reinterpret_cast<__m256i*>(out.states + first), state);
                const __m256i hi = _mm256_srli_epi32(state, 14);
                const __m256i quotient = _mm256_srli_epi32(_mm256_mullo_epi32(hi, reciprocal), 24);
                slots[part] = _mm256_sub_epi32(hi, _mm256_mullo_epi32(quotient, divisor));
            }
            const __m256i bytes =
                _mm256_packus_epi16(_mm256_packus_epi32(slots[0], slots[1]), _mm256_packus_epi32(slots[2], slots[3]));
            _mm256_store_si256(reinterpret_cast<__m256i*>(out.slots + 32 * quarter),
                               _mm256_permutevar8x32_epi32(bytes, inOrder));
        }
    }

    // Bit slot % 8 of the taken set's byte slot / 8, 32 slots at a time. A
    // byte shuffle reaches 16 bytes, so each half of the set is looked up and
    // a slot's top bit (128 and above) picks the half.
    static uint64_t freeAmong(const Batch& candidates, const Taken& taken)
    {
        const __m256i lowHalf = _mm256_permute2x128_si256(taken.vector, taken.vector, 0x00);
        const __m256i highHalf = _mm256_permute2x128_si256(taken.vector, taken.vector, 0x11);
        const __m256i bitValues = _mm256_setr_epi8(1, 2, 4, 8, 16, 32, 64, -128, 1, 2, 4, 8, 16, 32, 64, -128, 1, 2, 4,
                                                   8, 16, 32, 64, -128, 1, 2, 4, 8, 16, 32, 64, -128);
        uint64_t free = 0;
        for (int half = 0; half < 2; ++half) {
            const __m256i slots = _mm256_load_si256(reinterpret_cast<const __m256i*>(candidates.slots + 32 * half));
            const __m256i byteIndex = _mm256_and_si256(_mm256_srli_epi16(slots, 3), _mm256_set1_epi8(0x0F));
            const __m256i setBytes = _mm256_blendv_epi8(_mm256_shuffle_epi8(lowHalf, byteIndex),
                                                        _mm256_shuffle_epi8(highHalf, byteIndex), slots);
            const __m256i bits = _mm256_shuffle_epi8(bitValues, _mm256_and_si256(slots, _mm256_set1_epi8(7)));
            const __m256i isFree = _mm256_cmpeq_epi8(_mm256_and_si256(setBytes, bits), _mm256_setzero_si256());
            free |= uint64_t(static_cast<uint32_t>(_mm256_movemask_epi8(isFree))) << (32 * half);
        }
        return free;
    }
};

}  // namespace

void planBlockAvx2(const RunKeys& runKeys, uint32_t slots, RunState& run, uint32_t& state, uint8_t* positions)
{
    planBatched<Avx2Batches>(runKeys, slots, run, state, positions);
}

#pragma GCC pop_options

#endif

}  // namespace tarvex

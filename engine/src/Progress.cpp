#include "Progress.h"

#include <cmath>

#include "ExportGuard.h"

namespace tarvex {

float progressTotal = 0.0f;
TarvexProgressCallback progressCallback = nullptr;
int32_t* progressVariable = nullptr;

namespace {

float addOnce(float total, long double increment) { return static_cast<float>(total + increment); }

// Inside one binade of the total the rounded sum moves it by a fixed amount:
// the extended sum's spacing is the same for every total there, and once a
// tie has been rounded to an even mantissa, every later step keeps it even.
// So after two equal steps the total moves by that step until it nears the
// binade's end, where the steps are taken one by one again.
float addTimesUnreported(float total, long double increment, int32_t count)
{
    float previousStep = -1.0f;
    float previousStart = 0.0f;
    while (count > 0) {
        const float start = total;
        total = addOnce(total, increment);
        --count;
        const float step = total - start;
        const bool repeated = step == previousStep;
        const float earlierStart = previousStart;
        previousStep = step;
        previousStart = start;
        if (!repeated || !(earlierStart > 0.0f)) continue;
        if (step == 0.0f) return total;  // the increment is below half a unit: the total stays

        int exponent = 0;
        std::frexp(total, &exponent);
        const long double binadeEnd = std::ldexp(1.0L, exponent);
        // Both equal steps must have been taken inside this binade.
        if (earlierStart < binadeEnd / 2) continue;
        // Whole steps that keep the total and the next sum inside the binade.
        const long double room = (binadeEnd - total - 2 * (increment + step)) / step;
        if (room < 1) continue;
        const int32_t jump = room < count ? static_cast<int32_t>(room) : count;
        total = static_cast<float>(total + static_cast<long double>(step) * jump);
        count -= jump;
    }
    return total;
}

}  // namespace

void advanceProgressTimes(long double increment, int32_t count)
{
    if (progressVariable || progressCallback) {
        while (count-- > 0) advanceProgress(increment);
    } else {
        progressTotal = addTimesUnreported(progressTotal, increment, count);
    }
}

}  // namespace tarvex

// Storing a pointer cannot throw; the setters go through the guard all the
// same, so that no export is left for a reader to check by hand.

extern "C" __attribute__((visibility("default"))) TarvexProgressCallback
tarvexSetProgressCallback(TarvexProgressCallback callback)
{
    return tarvex::guardExport<TarvexProgressCallback>(nullptr, [&] {
        tarvex::progressCallback = callback;
        return callback;
    });
}

extern "C" __attribute__((visibility("default"))) int32_t* tarvexSetProgressVariable(int32_t* variable)
{
    return tarvex::guardExport<int32_t*>(nullptr, [&] {
        tarvex::progressVariable = variable;
        return variable;
    });
}

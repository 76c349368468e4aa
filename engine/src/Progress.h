#pragma once

#include <cstdint>

#include "tarvex.h"

namespace tarvex {

// Running progress estimate of the current transform, kept in single precision.
extern float progressTotal;
extern TarvexProgressCallback progressCallback;
extern int32_t* progressVariable;

inline void reportProgress(int32_t value)
{
    if (progressVariable) *progressVariable = value;
    if (progressCallback) progressCallback(value);
}

// Adds in extended precision, stores back in single precision and reports the
// total truncated toward zero.
inline void advanceProgress(long double increment)
{
    progressTotal = static_cast<float>(progressTotal + increment);
    reportProgress(static_cast<int32_t>(progressTotal));
}

// The same as `count` calls of advanceProgress: the same total, and the same
// reports where someone receives them.
void advanceProgressTimes(long double increment, int32_t count);

}  // namespace tarvex

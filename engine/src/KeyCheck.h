#pragma once

#include <cstdint>

namespace tarvex {

// The check value an in-place run keeps in its window record, so that a
// repair with another key or layer choice is refused before it writes
// anything: a digest of the key probe's encryption (WindowRecordFormat.h),
// the value a buffer transform of the probe gives too. Reports no progress
// and leaves the working tables wiped, so it comes before the transform's
// own key preparation.
uint64_t keyCheckOf(const char* key, int layerChoice);

}  // namespace tarvex

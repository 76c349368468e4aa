#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>

namespace tarvex {

// Whole reads and writes at a position, going on after interruptions and
// short transfers; false on any failure.
bool readAllAt(int descriptor, uint8_t* data, size_t length, off_t offset);
bool writeAllAt(int descriptor, const uint8_t* data, size_t length, off_t offset);

// Puts a file's data on the disk (with its size, not its times).
bool syncData(int descriptor);

// Puts a file's data and all of its metadata on the disk.
bool syncAll(int descriptor);

// Puts the entries of the current folder (new and removed names) on the disk.
bool syncCurrentFolder();

}  // namespace tarvex

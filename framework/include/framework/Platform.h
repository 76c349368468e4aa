// Facts about the machine that the programs ask the platform for. Paths are
// bytes, as the file system holds them. The run logic asks the same helpers
// (core/FileSystem.h); the framework gives them its own names.
#pragma once

#include "core/FileSystem.h"

namespace framework {

using core::currentDirectory;
using core::ensureTrailingSeparator;
using core::installFolder;
using core::setCurrentDirectory;
using core::systemFolders;

}  // namespace framework

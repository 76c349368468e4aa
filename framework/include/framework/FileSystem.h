// What the programs may know of the file system. The window framework and the
// run logic share one set of helpers, on the standard library alone
// (core/FileSystem.h); the framework gives them its own names.
#pragma once

#include "core/FileSystem.h"

namespace framework {

using core::pathSeparator;

using core::FileTime;
using core::FolderEntry;
using core::isFileSystemRoot;
using core::isOwnRegularFile;
using core::isRegularFile;
using core::lastWriteTime;
using core::listFolder;
using core::opensAsFolder;
using core::opensAsRegularFile;
using core::readStream;
using core::removeRegularFile;
using core::resolvedPath;
using core::sameFile;
using core::setLastWriteTime;
using core::writeDurably;

}  // namespace framework

#pragma once

#include <string>
#include <vector>

#include "ChildProcess.h"
#include "TestFiles.h"

namespace enginetest {

using namespace testsupport;

// A fresh folder that is also the current directory while the object lives,
// because in-place runs keep their journal in the current directory.
class ScratchFolder : public TempFolder {
public:
    ScratchFolder();
    ~ScratchFolder();

    // Names of the journals ("TX?<n>.adt") now in the folder.
    std::vector<std::string> journals() const;

private:
    std::filesystem::path previous_;
};

// Makes the calling child an unprivileged user when it runs as root, so that
// file permissions apply to it. False when that was not possible.
bool dropRootPrivileges();

}  // namespace enginetest

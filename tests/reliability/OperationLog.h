#pragma once

// A recording layer under the engine: the test program is linked with the
// engine's objects and `--wrap` for the file-system calls the engine makes,
// so every write, truncation, sync, creation and removal of a real in-place
// run in one folder is logged with its bytes, in order. It can also make the
// writes to one file fail, as a full disk does.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace reliability {

struct Operation {
    enum class Kind {
        Create,      // a new name (the file starts empty)
        Write,       // bytes at an offset
        Truncate,    // the file cut (or grown) to `offset` bytes
        Sync,        // the file's data on the disk
        SyncFolder,  // the folder's names on the disk
        Unlink,      // a name removed
    };
    Kind kind;
    std::string file;  // the name in the watched folder
    int64_t offset = 0;
    std::vector<unsigned char> bytes;
};

// Logs the operations on files in `folder` until the object goes.
class OperationLog {
public:
    explicit OperationLog(const std::filesystem::path& folder);
    ~OperationLog();
    OperationLog(const OperationLog&) = delete;
    OperationLog& operator=(const OperationLog&) = delete;

    const std::vector<Operation>& operations() const;

    // Writes to files whose names end with `suffix` fail with "no space"
    // once `allowed` bytes have been written to them.
    void failWritesTo(const std::string& suffix, int64_t allowed);
};

}  // namespace reliability

#pragma once

// A recording layer under the engine: the test programs are linked with the
// engine's objects and `--wrap` for the file-system calls the engine makes,
// so every write, truncation, sync, creation and removal of a real in-place
// run in one folder is logged with its bytes, in order. It can also make the
// writes to one file fail, as a full disk does, or end the process right
// after a given operation, as a kill there would.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace mendkit_test {

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

    // Ends the process with `status` right after the `count`-th sync of a
    // file whose name ends with `suffix`.
    void exitAfterSync(const std::string& suffix, int count, int status);
};

}  // namespace mendkit_test

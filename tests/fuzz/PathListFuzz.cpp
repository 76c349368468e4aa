// The path-list reader on any bytes, as a batch file or a list file of /f
// and /s: read from the file, its lines are those of the same text in memory.
#include <string>

#include "FuzzInput.h"
#include "core/PathList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string content(reinterpret_cast<const char*>(data), size);
    const auto lines = readPathList(fuzz::writeInput("list.tvx", data, size));
    FUZZ_CHECK(lines.has_value());
    FUZZ_CHECK(*lines == listLines(content));
    size_t kept = 0;
    for (const std::string& line : *lines) {
        FUZZ_CHECK(!line.empty() && !line.starts_with('#'));
        FUZZ_CHECK(line.find('\n') == std::string::npos);
        kept += line.size();
    }
    FUZZ_CHECK(kept <= size);
    return 0;
}

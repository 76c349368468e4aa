#include "repair_support.h"

#include <stdexcept>

#include "tarvex.h"

namespace mendkit_test {

Bytes splice(const Bytes& head, const Bytes& tail, size_t count) {
    Bytes result(head.begin(), head.begin() + static_cast<std::ptrdiff_t>(count));
    result.insert(result.end(), tail.begin() + static_cast<std::ptrdiff_t>(count), tail.end());
    return result;
}

Bytes transformThroughFile(const char* key, const Bytes& bytes, int direction, int layerChoice) {
    const TempFolder folder;
    writeFile(folder.file("in"), bytes);
    if (tarvexTransformFile(key, folder.file("in").c_str(), folder.file("out").c_str(), direction,
                            layerChoice) != TARVEX_OK)
        throw std::runtime_error("the engine failed to transform a test file");
    return readFile(folder.file("out"));
}

ProgramRun runMendkit(const std::vector<std::string>& arguments, const ChildOptions& options) {
    return runProgram(MENDKIT_PATH, arguments, options);
}

}  // namespace mendkit_test

#include "progress.h"

namespace tarvex {

float progressTotal = 0.0f;
TarvexProgressCallback progressCallback = nullptr;
int32_t* progressVariable = nullptr;

}  // namespace tarvex

extern "C" __attribute__((visibility("default"))) TarvexProgressCallback tarvexSetProgressCallback(
    TarvexProgressCallback callback) {
    tarvex::progressCallback = callback;
    return callback;
}

extern "C" __attribute__((visibility("default"))) int32_t* tarvexSetProgressVariable(int32_t* variable) {
    tarvex::progressVariable = variable;
    return variable;
}

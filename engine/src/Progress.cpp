#include "Progress.h"

#include "ExportGuard.h"

namespace tarvex {

float progressTotal = 0.0f;
TarvexProgressCallback progressCallback = nullptr;
int32_t* progressVariable = nullptr;

}  // namespace tarvex

// Storing a pointer cannot throw; the setters go through the guard all the
// same, so that no export is left for a reader to check by hand.

extern "C" __attribute__((visibility("default"))) TarvexProgressCallback
tarvexSetProgressCallback(TarvexProgressCallback callback)
{
    return tarvex::guardExport<TarvexProgressCallback>(nullptr, [&] {
        tarvex::progressCallback = callback;
        return callback;
    });
}

extern "C" __attribute__((visibility("default"))) int32_t* tarvexSetProgressVariable(int32_t* variable)
{
    return tarvex::guardExport<int32_t*>(nullptr, [&] {
        tarvex::progressVariable = variable;
        return variable;
    });
}

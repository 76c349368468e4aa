// Writes to standard output what a fresh process's first buffer transform
// gives when it is told to continue an earlier one (firstPiece 0).
#include <cstdio>
#include <vector>

#include "tarvex.h"

int main()
{
    std::vector<unsigned char> data(1000);
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<unsigned char>(i * 7);
    tarvexTransformBuffer("probe key", data.data(), static_cast<int32_t>(data.size()), data.data(), TARVEX_ENCRYPT,
                          TARVEX_SCRAMBLE_ONLY, 0);
    return std::fwrite(data.data(), 1, data.size(), stdout) == data.size() ? 0 : 1;
}

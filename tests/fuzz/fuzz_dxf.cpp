// libFuzzer target: random bytes through the DXF import.
#include "dxf_import.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (!ImportKeepsTheDrawingWhole(data, size))
        std::abort();
    return 0;
}

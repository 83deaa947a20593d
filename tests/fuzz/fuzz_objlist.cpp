// libFuzzer target: random bytes through the object-list loader.
#include "objlist_loader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    LoadObjectLists(data, size);
    return 0;
}

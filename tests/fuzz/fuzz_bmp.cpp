// libFuzzer target: random bytes through the BMP decoder.
#include "platform/bmpread.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QImage image;
    std::string error;
    DecodeDIB(data, size, image, error);
    return 0;
}

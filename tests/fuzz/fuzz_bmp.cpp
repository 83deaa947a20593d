// libFuzzer target: random bytes through the BMP decoder, a piece of them
// repeated when they say so (see bmp_repeats.h).
#include "bmp_repeats.h"
#include "platform/bmpread.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<BYTE> file = ExpandRepeats(data, size);
    QImage image;
    std::string error;
    DecodeDIB(file.data(), file.size(), image, error);
    return 0;
}

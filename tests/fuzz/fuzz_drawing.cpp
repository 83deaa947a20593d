// libFuzzer target: random bytes through the whole drawing-file loader.
#include "doc/rectadoc.h"
#include "platform/archive.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CRectaDoc doc;
    try {
        CArchive ar(std::span<const BYTE>(data, size));
        doc.Serialize(ar);
    } catch (const CArchiveException&) {
    }
    return 0;
}

// libFuzzer target: random bytes as an SVG picture an object embeds: its
// size read, its work counted and its rendering at two sizes, each within
// the limits of an SVG picture.
#include "platform/svgpicture.h"

#include <QGuiApplication>

#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::span<const BYTE> bytes(data, size);
    QSize given;
    if (!IsSvgPicture(bytes) || SvgPictureSize(bytes, given))
        return 0;
    for (const QSize size : {QSize(48, 32), QSize(300, 7)}) {
        QImage image;
        if (!RenderSvgPicture(bytes, size, image) && image.width() > size.width())
            std::abort();  // rendered larger than asked
    }
    return 0;
}

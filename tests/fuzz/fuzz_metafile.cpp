// libFuzzer target: random bytes read as a recorded picture (the presentation
// an embedded item keeps in a drawing file). What reads must write back the
// same bytes, and must play into an image, a painter and a recording DC.
#include "platform/imagedc.h"
#include "platform/metafile.h"
#include "platform/painterdc.h"
#include "platform/recordingdc.h"

#include <QGuiApplication>
#include <QPainter>

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
    CMetaFile picture;
    if (CMetaFile::FromBytes(bytes, picture))
        return 0;
    const std::vector<BYTE> again = picture.ToBytes();
    if (again.size() != size || !std::equal(again.begin(), again.end(), data))
        std::abort();  // read, then written differently
    CImageDC image(48, 32);
    picture.Play(image, {-8, -4, 40, 30});
    QImage canvas(40, 24, QImage::Format_RGB32);
    {
        QPainter painter(&canvas);
        CPainterDC painted(painter);
        picture.Play(painted, {0, 0, 40, 24});
    }
    CRecordingDC calls;
    picture.Play(calls, {3, 5, 19, 17});
    return 0;
}

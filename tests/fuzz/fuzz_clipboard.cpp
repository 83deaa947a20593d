// libFuzzer target: random bytes pasted as the clipboard's "ZP_FORMAT" data
// into a new drawing, which is then rendered whole and block by block.
#include "doc/drawingblock.h"
#include "doc/rectadoc.h"
#include "doc/renderer.h"
#include "model/bloq.h"
#include "platform/imagedc.h"
#include "platform/msgbox.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static QGuiApplication app(*argc, *argv);
    // Nothing on this road may ask the user anything.
    SetMessageBoxHandler([](const std::string& text, unsigned) -> int {
        std::fprintf(stderr, "message box while pasting: %s\n", text.c_str());
        std::abort();
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CRectaDoc doc;
    doc.OnNewDocument();
    std::string error;
    const std::vector<CDib*> added = PasteDrawingBytes(doc, std::span<const BYTE>(data, size), error);
    if (!error.empty() && !added.empty())
        std::abort();  // a paste that failed added records
    for (const CDib* record : added)
        doc.ExtendExtentsByEntity(record->m_type, record->m_entity);
    CImageDC dc(48, 32);
    RenderDrawingToDC(doc, 48, 32, dc);
    for (POSITION pos = doc.GetFirstBlockPosition(); pos;)
        RenderBlockToDC(doc, *doc.GetNextBlock(pos), 0.5, 1.0, -2.0, 48, 32, dc);
    return 0;
}

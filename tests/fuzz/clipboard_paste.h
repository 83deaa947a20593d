// Pastes untrusted bytes as the clipboard's "ZP_FORMAT" data into a new
// drawing, then renders it whole and block by block. Shared by the fuzz
// target and the regression tests of its finds.
#pragma once

#include "doc/drawingblock.h"
#include "doc/rectadoc.h"
#include "doc/renderer.h"
#include "model/bloq.h"
#include "platform/imagedc.h"

#include <span>
#include <string>
#include <vector>

// False when a paste that failed added records.
inline bool PasteAndRender(std::span<const BYTE> bytes)
{
    CRectaDoc doc;
    doc.OnNewDocument();
    std::string error;
    const std::vector<CDib*> added = PasteDrawingBytes(doc, bytes, error);
    if (!error.empty() && !added.empty())
        return false;
    for (const CDib* record : added)
        doc.ExtendExtentsByEntity(record->m_type, record->m_entity);
    CImageDC dc(48, 32);
    RenderDrawingToDC(doc, 48, 32, dc);
    for (POSITION pos = doc.GetFirstBlockPosition(); pos;)
        RenderBlockToDC(doc, *doc.GetNextBlock(pos), 0.5, 1.0, -2.0, 48, 32, dc);
    return true;
}

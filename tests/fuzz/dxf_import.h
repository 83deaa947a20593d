// Imports untrusted bytes as a DXF file into a drawing that has a layer and a
// block already. Shared by the fuzz target and the regression tests of its finds.
#pragma once

#include "doc/dxf.h"
#include "doc/rectadoc.h"
#include "model/bloq.h"
#include "model/recta.h"

#include <cstddef>
#include <string_view>

// Gives doc a layer "0" and a block "B" of one line on it.
inline void AddLayerAndBlock(CRectaDoc& doc)
{
    doc.AddLayer(0xFF, 1)->m_name = "0";
    CObList entities{ListOwnership::owns};
    auto* line = new CRecta;
    line->m_layer = "0";
    line->m_p2 = CPointd(1, 1);
    entities.AddTail(new CDib(ENT_LINE, line));
    doc.AddBlock(CPointd(), entities, "B");
}

// False when the import broke the drawing: a failed import must leave it as
// it was; what an import adds must measure and export.
inline bool ImportKeepsTheDrawingWhole(const BYTE* data, std::size_t size)
{
    CRectaDoc doc;
    AddLayerAndBlock(doc);
    doc.SetModifiedFlag(false);
    const int layers = doc.GetLayerList().GetCount(), blocks = doc.GetBlockList().GetCount();

    const DxfImportResult result = ImportDXF(doc, std::string_view(reinterpret_cast<const char*>(data), size));
    if (!result.ok)
        return !result.error.empty() && !doc.IsModified() && doc.GetLayerList().GetCount() == layers &&
               doc.GetBlockList().GetCount() == blocks && doc.GetEntityList().IsEmpty();
    doc.CalcExtents();
    for (POSITION pos = doc.GetFirstBlockPosition(); pos;)
        WalkPlacedEntities(doc, *doc.GetNextBlock(pos), CPlacement(), [](CElementPtr&) {});
    return !ExportDXF(doc).text.empty();
}

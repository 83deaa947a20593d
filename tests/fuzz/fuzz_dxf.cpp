// libFuzzer target: random bytes as a DXF file imported into a drawing that
// has a layer and a block already. A failed import must leave the drawing
// as it was; what an import adds must draw, measure and export.
#include "doc/dxf.h"
#include "doc/rectadoc.h"
#include "model/bloq.h"
#include "model/recta.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CRectaDoc doc;
    doc.AddLayer(0xFF, 1)->m_name = "0";
    CObList entities;
    auto* line = new CRecta;
    line->m_layer = "0";
    line->m_p2 = CPointd(1, 1);
    entities.AddTail(new CDib(ENT_LINE, line));
    doc.AddBlock(CPointd(), entities)->m_name = "B";
    const int layers = doc.GetLayerList().GetCount(), blocks = doc.GetBlockList().GetCount();

    const DxfImportResult result = ImportDXF(doc, std::string_view(reinterpret_cast<const char*>(data), size));
    if (!result.ok) {
        if (doc.GetLayerList().GetCount() != layers || doc.GetBlockList().GetCount() != blocks ||
            !doc.GetEntityList().IsEmpty())
            std::abort();
        return 0;
    }
    doc.CalcExtents();
    ExportDXF(doc);
    return 0;
}

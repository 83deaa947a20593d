// Explode: polylines, block inserts and dimensions into plain entities.
#include "doc/rectadoc.h"

#include "model/acot.h"
#include "model/bloq.h"
#include "model/entitykind.h"
#include "model/pline.h"

#include <memory>

namespace {

const CEntity& PenOf(const CDib& element)
{
    return *EntityKind(element.m_type).Pen(element.m_entity);
}

}  // namespace

void CRectaDoc::ExplodePLine(const CPLine& pline, const AddedRecordFn& added)
{
    for (CObject* obj : pline.m_segments) {
        const auto* segment = static_cast<const CDib*>(obj);
        if (segment->m_type != ENT_LINE && segment->m_type != ENT_ARC)
            continue;
        CDib* copy = CopyPartRecord(*segment);
        copy->m_visible = GetLayerVisibility(PenOf(*copy).m_layer);
        added(copy->m_type, copy, AppendEntityRecord(copy));
    }
    SetModifiedFlag();
}

void CRectaDoc::ExplodeInsBl(const CInsBl& insert, const CBloq& block, const AddedRecordFn& added)
{
    const CPlacement placement = insert.Placement();
    for (CObject* obj : block.GetEntityList()) {
        const auto* element = static_cast<const CDib*>(obj);
        CElementPtr placed = PlacedCopy(element->m_type, element->m_entity, placement);
        if (!placed)
            continue;
        const CEntity& pen = PenOf(*placed);
        CLayer* layer = nullptr;
        if (!FindLayer(pen.m_layer, layer)) {
            SetLastLayerName(pen.m_layer);
            layer = AddLayer(pen.m_color, 1);
            layer->m_name = pen.m_layer;
        }
        placed->m_visible = layer->m_on;
        CDib* copy = placed.release();
        added(copy->m_type, copy, AppendEntityRecord(copy));
    }
    SetModifiedFlag();
}

void CRectaDoc::ExplodeAcot(const CAcot& dim, const AddedRecordFn& added)
{
    bool definitionLine = true;
    for (CObject* obj : dim.m_parts) {
        const auto* part = static_cast<const CDib*>(obj);
        if (part->m_type == ENT_LINE && definitionLine) {
            definitionLine = false;
            continue;
        }
        CDib* copy = CopyPartRecord(*part);
        if (!copy)
            continue;  // a part of another kind, as a file may hold
        copy->m_visible = GetLayerVisibility(PenOf(*copy).m_layer);
        added(copy->m_type, copy, AppendEntityRecord(copy));
    }
    SetModifiedFlag();
}

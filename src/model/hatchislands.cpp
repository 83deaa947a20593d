#include "model/hatchislands.h"

#include "model/acot.h"
#include "model/bloq.h"
#include "model/circ.h"
#include "model/entitycontext.h"
#include "model/pline.h"
#include "model/recta.h"
#include "model/text.h"

namespace {

// A line, an arc or a text's box: the parts polylines and dimensions hold.
void AddPart(HatchIsland& island, int type, const CObject* e)
{
    if (!e)
        return;
    switch (type) {
    case ENT_LINE: {
        const auto* line = static_cast<const CRecta*>(e);
        island.AddSegment(Plan(line->m_p1), Plan(line->m_p2));
        break;
    }
    case ENT_ARC: {
        const auto* arc = static_cast<const CArc*>(e);
        island.AddArc(Plan(arc->m_centre), arc->m_rx, arc->m_start, arc->m_end);
        break;
    }
    case ENT_TEXT: {
        const auto* text = static_cast<const CText*>(e);
        CPointd c[4];
        text->AlignPoint(text->m_insert, c[0], c[1], c[2], c[3]);
        for (int i = 0; i < 4; ++i)
            island.AddSegment(Plan(c[i]), Plan(c[(i + 1) % 4]));
        break;
    }
    default: break;
    }
}

void AddOutline(HatchIsland& island, int type, const CObject* e)
{
    switch (type) {
    case ENT_CIRCLE: {
        const auto* circle = static_cast<const CCirc*>(e);
        island.AddCircle(Plan(circle->m_centre), circle->m_rx);
        break;
    }
    case ENT_PLINE: {
        const auto* pline = static_cast<const CPLine*>(e);
        for (POSITION pos = pline->GetFirstSegmentPosition(); pos;) {
            int segType = 0;
            const CObject* seg = pline->GetNextSegment(pos, segType);
            if (segType == ENT_LINE || segType == ENT_ARC)
                AddPart(island, segType, seg);
        }
        break;
    }
    case ENT_DIMENSION: {
        const auto* dim = static_cast<const CAcot*>(e);
        const CRecta* definition = dim->DefinitionLine();
        for (POSITION pos = dim->GetFirstPartPosition(); pos;) {
            int partType = 0;
            const CObject* part = dim->GetNextPart(pos, partType);
            // The definition line is never drawn.
            if ((partType == ENT_LINE || partType == ENT_TEXT) && part != definition)
                AddPart(island, partType, part);
        }
        break;
    }
    default: AddPart(island, type, e); break;
    }
}

}  // namespace

bool AddHatchIsland(int type, const CObject* entity, const CEntityContext& drawing, HatchIsland& island,
                    std::size_t* budget)
{
    if (!entity)
        return false;
    switch (type) {
    case ENT_CIRCLE:
    case ENT_TEXT:
    case ENT_PLINE:
        island.kind = type == ENT_CIRCLE ? HatchIslandKind::circle
                      : type == ENT_TEXT ? HatchIslandKind::text
                                         : HatchIslandKind::pline;
        AddOutline(island, type, entity);
        return true;
    case ENT_INSERT: {
        const auto* insert = static_cast<const CInsBl*>(entity);
        const CBloq* block = drawing.FindBlock(insert->m_block);
        if (!block)
            return false;
        island.kind = HatchIslandKind::insert;
        std::size_t own = kIslandWalkBudget;
        island.whole = WalkPlacedEntities(drawing, *block, insert->Placement(), budget ? *budget : own,
                                          [&](CElementPtr& placed) { AddOutline(island, placed->m_type, placed->m_entity); });
        return true;
    }
    default: return false;
    }
}

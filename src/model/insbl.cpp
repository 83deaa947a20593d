#include "model/insbl.h"

#include "doc/rectadoc.h"
#include "model/bloq.h"
#include "platform/archive.h"
#include "view2d/transform.h"

IMPLEMENT_SERIAL(CInsBl, CObject, 1)

CInsBl::CInsBl(int width, COLORREF color, std::string_view layer) : CEntity(width, color, layer)
{
    m_style = 1;
}

int CInsBl::Draw(CDC& dc, double scale, double ox, double oy, const CBloq* block, const CRectaDoc& doc) const
{
    return block ? block->Draw(dc, scale, ox, oy, Placement(), doc) : 0;
}

int CInsBl::DrawDotted(CDC& dc, double scale, double ox, double oy, const CBloq* block,
                       const CRectaDoc& doc) const
{
    return block ? block->DrawDotted(dc, scale, ox, oy, Placement(), doc) : 0;
}

int CInsBl::Erase(CDC& dc, double scale, double ox, double oy, const CBloq* block, const CRectaDoc& doc) const
{
    return block ? block->Erase(dc, scale, ox, oy, Placement(), doc) : 0;
}

void CInsBl::ExtendDocExtents(const CBloq* block, CRectaDoc& doc) const
{
    Pt2 box[4];
    if (!block || !PlacedBlockBox(*block, Placement(), box))
        return;
    for (const Pt2& c : box)
        doc.ExtendExtentsByPoint(CPointd(c.x, c.y));
}

void CInsBl::Serialize(CArchive& ar)
{
    SerializePen(ar);
    if (ar.IsStoring())
        ar << m_layer << m_block << m_rotation << m_sx << m_sy;
    else
        ar >> m_layer >> m_block >> m_rotation >> m_sx >> m_sy;
    m_insert.Serialize(ar);
}

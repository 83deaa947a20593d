#include "model/insbl.h"

#include "model/blockindex.h"
#include "model/bloq.h"
#include "model/entitycontext.h"
#include "model/entitydraw.h"
#include "platform/archive.h"

IMPLEMENT_SERIAL(CInsBl, CObject, 1)

CInsBl::CInsBl(int width, COLORREF color, std::string_view layer) : CEntity(width, color, layer)
{
    m_style = 1;
}

int CInsBl::Draw(CDC& dc, const WorldMap& map, DrawKind kind, const CEntityContext& drawing) const
{
    const CBloq* block = FindBlock(drawing);
    if (!block)
        return 0;
    Pt2 at;
    if (map.scale > 0.0 && PlacementBelowPixel(drawing, *block, Placement(), 1.0 / map.scale, at))
        return DrawDot(dc, map, kind, at);
    return block->Draw(dc, map, kind, Placement(), drawing);
}

int CInsBl::DrawDot(CDC& dc, const WorldMap& map, DrawKind kind, Pt2 at) const
{
    const LPoint p = map(at.x, at.y);
    // A line leaves out its last pixel: one pixel long, it inks its first.
    return WithEntityPen(dc, *this, kind, [&] {
        dc.MoveTo(p.x, p.y);
        dc.LineTo(p.x + 1, p.y);
    });
}

const CBloq* CInsBl::FindBlock(const CEntityContext& drawing) const
{
    const std::uint64_t version = drawing.BlockListVersion();
    if (version && m_foundIn == version && m_found->m_name == m_block)
        return m_found;
    m_found = drawing.FindBlock(m_block);
    m_foundIn = m_found ? version : 0;
    return m_found;
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

#include "model/recta.h"

#include "model/entitydraw.h"
#include "model/extruded.h"
#include "model/geometry.h"
#include "platform/archive.h"

IMPLEMENT_SERIAL(CRecta, CObject, 1)

CRecta::CRecta(int width, COLORREF color, std::string_view layer, double thickness, int mode, double dx,
               double dy, double dz)
    : CEntity(width, color, layer)
    , m_thick1(thickness)
    , m_thick2(thickness)
    , m_extrusionMode(mode)
    , m_dir(dx, dy, dz)
{
}

bool SegmentInRect(const CPointd& p, const CPointd& q, double x1, double y1, double x2, double y2)
{
    // Clipping, unlike counting side crossings, also sees a segment through two corners.
    double ax = p.x, ay = p.y, bx = q.x, by = q.y;
    return ClipSegment(ax, ay, bx, by, x1, y1, x2, y2);
}

int CRecta::IsInRect(double x1, double y1, double x2, double y2) const
{
    return SegmentInRect(m_p1, m_p2, x1, y1, x2, y2) ? 1 : 0;
}

int CRecta::Draw(CDC& dc, const WorldMap& map, DrawKind kind) const
{
    if (DrawsExtruded(m_extrusionMode)) {
        static constexpr void (*draw[])(CDC&, const CRecta&, double, double, double) = {
            DrawRectaPersp, DrawRectaPerspDotted, DrawRectaPerspXor};
        draw[int(kind)](dc, *this, map.scale, map.ox, map.oy);
        return 1;
    }
    return WithEntityPen(dc, *this, kind, [&] {
        const LPoint a = map(m_p1), b = map(m_p2);
        dc.MoveTo(a.x, a.y);
        dc.LineTo(b.x, b.y);
    });
}

void CRecta::Serialize(CArchive& ar)
{
    SerializePen(ar);
    if (ar.IsStoring()) {
        ar << m_thick1 << m_thick2 << WORD(m_edgeMask) << m_layer;
    } else {
        WORD mask;
        ar >> m_thick1 >> m_thick2 >> mask >> m_layer;
        m_edgeMask = mask;
    }
    SerializeExtrusion(ar, m_extrusionMode, nullptr, m_dir);
    m_p1.Serialize(ar);
    m_p2.Serialize(ar);
}

bool IntersectRectas(const CRecta& a, const CRecta& b, int mode, Pt2& out)
{
    const Pt2 a1{a.m_p1.x, a.m_p1.y}, a2{a.m_p2.x, a.m_p2.y};
    const Pt2 b1{b.m_p1.x, b.m_p1.y}, b2{b.m_p2.x, b.m_p2.y};
    Pt2 x;
    if (!IntersectCarriers(a1, a2, b1, b2, x))
        return false;
    out = x;
    const bool onA = mode == 2 || OnSegment(x, a1, a2);
    const bool onB = mode == 1 || OnSegment(x, b1, b2);
    return mode == 0 || (onA && onB);
}

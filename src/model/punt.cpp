#include "model/punt.h"

#include "model/entitycontext.h"
#include "model/entitydraw.h"
#include "model/geometry.h"
#include "platform/archive.h"

IMPLEMENT_SERIAL(CPunt, CObject, 1)

int CPunt::IsInRect(double x1, double y1, double x2, double y2) const
{
    return PointInRect({m_point.x, m_point.y}, x1, y1, x2, y2) ? 1 : 0;
}

int CPunt::Draw(CDC& dc, const WorldMap& map, DrawKind kind, const CEntityContext& drawing) const
{
    const std::int64_t h = map.Length(drawing.PointHeight() / 2.0);
    return WithEntityPen(dc, *this, kind, [&] {
        const LPoint p = map(m_point);
        dc.MoveTo(p.x - h, p.y);
        dc.LineTo(p.x + h, p.y);
        dc.MoveTo(p.x, p.y - h);
        dc.LineTo(p.x, p.y + h);
    });
}

void CPunt::Serialize(CArchive& ar)
{
    SerializePen(ar);
    ar.Exchange(m_layer);
    m_point.Serialize(ar);
}

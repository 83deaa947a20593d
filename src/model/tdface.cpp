#include "model/tdface.h"

#include "model/entitydraw.h"
#include "model/recta.h"
#include "platform/archive.h"

IMPLEMENT_SERIAL(CTdface, CObject, 1)

CTdface::CTdface(int width, COLORREF color, std::string_view layer, int mode, double dx, double dy, double dz)
    : CEntity(width, color, layer), m_extrusionMode(mode), m_dir(dx, dy, dz)
{
}

int CTdface::IsInRect(double x1, double y1, double x2, double y2) const
{
    return SegmentInRect(m_c[0], m_c[1], x1, y1, x2, y2) ? 1 : 0;
}

int CTdface::Draw(CDC& dc, const WorldMap& map, DrawKind kind) const
{
    if (kind == DrawKind::normal && m_display != 1)
        return 1;
    return WithEntityPen(dc, *this, kind, [&] {
        const LPoint first = map(m_c[0]);
        dc.MoveTo(first.x, first.y);
        for (int i = 1; i <= 4; ++i) {
            const LPoint p = map(m_c[i % 4]);
            dc.LineTo(p.x, p.y);
        }
    });
}

void CTdface::Serialize(CArchive& ar)
{
    SerializePen(ar);
    if (ar.IsStoring()) {
        ar << m_layer << WORD(m_edgeMask) << WORD(m_display) << m_name;
    } else {
        WORD mask, display;
        ar >> m_layer >> mask >> display >> m_name;
        m_edgeMask = mask;
        m_display = display;
    }
    SerializeExtrusion(ar, m_extrusionMode, nullptr, m_dir);
    for (CPointd& c : m_c)
        c.Serialize(ar);
}

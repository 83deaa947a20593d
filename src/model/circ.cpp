#include "model/circ.h"

#include "model/entitydraw.h"
#include "model/extruded.h"
#include "model/geometry.h"
#include "platform/archive.h"

#include <cmath>

IMPLEMENT_SERIAL(CCirc, CObject, 1)
IMPLEMENT_SERIAL(CArc, CObject, 1)

namespace {

constexpr double kTwoPi = 6.283185307179586;

bool CircularInRect(const CPointd& c, double r, double start, double end, bool isArc, double x1, double y1,
                    double x2, double y2)
{
    return ArcCrossesQuad(1, {x1, y1}, {x2, y1}, {x2, y2}, {x1, y2}, {c.x, c.y}, r, start, end, isArc);
}

}  // namespace

// ---------------------------------------------------------------- circle

CCirc::CCirc(int width, COLORREF color, std::string_view layer, double thickness, int mode, double dx, double dy,
             double dz)
    : CEntity(width, color, layer), m_thickness(thickness), m_extrusionMode(mode), m_dir(dx, dy, dz)
{
}

int CCirc::IsInRect(double x1, double y1, double x2, double y2) const
{
    return CircularInRect(m_centre, m_rx, 0.0, kTwoPi, false, x1, y1, x2, y2) ? 1 : 0;
}

int CCirc::Draw(CDC& dc, const WorldMap& map, DrawKind kind) const
{
    if (DrawsExtruded(m_extrusionMode)) {
        static constexpr void (*draw[])(CDC&, const CCirc&, double, double, double) = {
            DrawCircPersp, DrawCircPerspDotted, DrawCircPerspXor};
        draw[int(kind)](dc, *this, map.scale, map.ox, map.oy);
        return 1;
    }
    return WithEntityPen(dc, *this, kind, [&] {
        const LPoint c = map(m_centre);
        const std::int64_t rx = map.Length(m_rx), ry = map.Length(m_ry);
        dc.Ellipse(c.x - rx, c.y - ry, c.x + rx, c.y + ry);
    });
}

void CCirc::Serialize(CArchive& ar)
{
    SerializePen(ar);
    if (ar.IsStoring())
        ar << m_layer << m_rx << m_ry << m_thickness;
    else
        ar >> m_layer >> m_rx >> m_ry >> m_thickness;
    SerializeExtrusion(ar, m_extrusionMode, &m_refPoint, m_dir);
    m_centre.Serialize(ar);
}

// ---------------------------------------------------------------- arc

CArc::CArc(int width, COLORREF color, std::string_view layer, double thickness, int mode, double dx, double dy,
           double dz)
    : CEntity(width, color, layer)
    , m_thick1(thickness)
    , m_thick2(thickness)
    , m_extrusionMode(mode)
    , m_dir(dx, dy, dz)
{
}

CPointd CArc::StartPoint() const
{
    return CPointd(PolarX(m_centre.x, m_rx, m_start), PolarY(m_centre.y, m_rx, m_start), m_centre.z);
}

CPointd CArc::EndPoint() const
{
    return CPointd(PolarX(m_centre.x, m_rx, m_end), PolarY(m_centre.y, m_rx, m_end), m_centre.z);
}

int CArc::IsInRect(double x1, double y1, double x2, double y2) const
{
    return CircularInRect(m_centre, m_rx, m_start, m_end, true, x1, y1, x2, y2) ? 1 : 0;
}

// One rule for drawing, dotting and erasing, so an erase covers every pixel
// drawn: the whole circle for a sweep past a whole turn; else a chord when the
// device radius is one pixel or less or both ends fall on one device point,
// else the arc, which the DC clips to the device.
int CArc::Draw(CDC& dc, const WorldMap& map, DrawKind kind) const
{
    if (DrawsExtruded(m_extrusionMode)) {
        static constexpr void (*draw[])(CDC&, const CArc&, double, double, double) = {
            DrawArcPersp, DrawArcPerspDotted, DrawArcPerspXor};
        draw[int(kind)](dc, *this, map.scale, map.ox, map.oy);
        return 1;
    }
    return WithEntityPen(dc, *this, kind, [&] {
        const LPoint c = map(m_centre), s = map(StartPoint()), e = map(EndPoint());
        const std::int64_t rx = map.Length(m_rx), ry = map.Length(m_ry);
        if (ArcPastWholeTurn(m_start, m_end)) {
            dc.Ellipse(c.x - rx, c.y - ry, c.x + rx, c.y + ry);
            return;
        }
        if (rx <= 1 || ry <= 1 || s == e ||
            !dc.Arc(c.x - rx, c.y - ry, c.x + rx, c.y + ry, s.x, s.y, e.x, e.y)) {
            dc.MoveTo(s.x, s.y);
            dc.LineTo(e.x, e.y);
        }
    });
}

void CArc::Serialize(CArchive& ar)
{
    SerializePen(ar);
    if (ar.IsStoring()) {
        ar << m_layer << m_rx << m_ry << m_start << m_end << WORD(m_arcWord) << m_thick1 << m_thick2
           << WORD(m_edgeMask);
    } else {
        WORD arcWord, mask;
        ar >> m_layer >> m_rx >> m_ry >> m_start >> m_end >> arcWord >> m_thick1 >> m_thick2 >> mask;
        m_arcWord = arcWord;
        m_edgeMask = mask;
    }
    SerializeExtrusion(ar, m_extrusionMode, &m_refPoint, m_dir);
    m_centre.Serialize(ar);
}

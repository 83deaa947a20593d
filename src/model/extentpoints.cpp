#include "model/extentpoints.h"

#include "model/circ.h"
#include "model/dib.h"
#include "model/entitykind.h"
#include "model/geometry.h"
#include "model/pline.h"
#include "model/punt.h"
#include "model/recta.h"
#include "model/tdface.h"
#include "model/text.h"

#include <cmath>

void AddExtentsPoints(const CRecta& line, const PointFn& add)
{
    add(line.m_p1);
    add(line.m_p2);
}

void AddExtentsPoints(const CCirc& c, const PointFn& add)
{
    add(CPointd(c.m_centre.x + c.m_rx, c.m_centre.y + c.m_rx));
    add(CPointd(c.m_centre.x - c.m_rx, c.m_centre.y - c.m_rx));
}

void AddExtentsPoints(const CArc& a, const PointFn& add)
{
    constexpr double kTwoPi = 6.283185307179586;
    double s = a.m_start, e = a.m_end;
    if (e < s)
        e += kTwoPi;
    const double step = (e - s) / 6.0;
    auto at = [&](double t) {
        return CPointd(a.m_centre.x + a.m_rx * std::cos(t), a.m_centre.y + a.m_rx * std::sin(t));
    };
    // Seven samples at the most, also for angles that are not finite.
    for (int i = 0; i <= 6 && s + i * step <= e; ++i)
        add(at(s + i * step));
    add(at(e));
}

void AddExtentsPoints(const CPunt& point, const PointFn& add)
{
    add(point.m_point);
}

void AddExtentsPoints(const CText& t, const PointFn& add)
{
    CPointd c[4];
    t.AlignPoint(t.m_insert, c[0], c[1], c[2], c[3]);
    for (const CPointd& p : c)
        add(p);
}

void AddExtentsPoints(const CPLine& pline, const PointFn& add)
{
    for (CObject* obj : pline.m_segments) {
        auto* seg = static_cast<const CDib*>(obj);
        if (seg->m_type == ENT_LINE)
            AddExtentsPoints(*static_cast<const CRecta*>(seg->m_entity), add);
        else if (seg->m_type == ENT_ARC)
            AddExtentsPoints(*static_cast<const CArc*>(seg->m_entity), add);
    }
}

void AddExtentsPoints(const CAcot&, const PointFn&) {}

void AddExtentsPoints(const CInsBl&, const PointFn&) {}

void AddExtentsPoints(const CTdface& face, const PointFn& add)
{
    for (const CPointd& c : face.m_c)
        add(c);
}

namespace {

void AddArcBounds(const CArc& a, const PointFn& add)
{
    constexpr double kQuarter = 6.283185307179586 / 4.0;
    const CPointd& c = a.m_centre;
    const double r = a.m_rx;
    add(CPointd(c.x + r * std::cos(a.m_start), c.y + r * std::sin(a.m_start)));
    add(CPointd(c.x + r * std::cos(a.m_end), c.y + r * std::sin(a.m_end)));
    double s, e;
    ArcFrame(a.m_start, a.m_end, s, e);
    if (!std::isfinite(s) || !std::isfinite(e))
        return;
    // The first quadrant angle at or after the start, then every quarter turn
    // up to the end, at most a turn after it.
    for (double q = std::ceil(s / kQuarter); q * kQuarter <= e; q += 1.0) {
        switch (int(q) % 4) {
        case 0: add(CPointd(c.x + r, c.y)); break;
        case 1: add(CPointd(c.x, c.y + r)); break;
        case 2: add(CPointd(c.x - r, c.y)); break;
        default: add(CPointd(c.x, c.y - r)); break;
        }
    }
}

}  // namespace

void AddBoundsPoints(int type, const CObject* entity, const PointFn& add)
{
    if (type == ENT_ARC) {
        AddArcBounds(*static_cast<const CArc*>(entity), add);
    } else if (type == ENT_PLINE) {
        for (CObject* obj : static_cast<const CPLine*>(entity)->m_segments) {
            auto* seg = static_cast<const CDib*>(obj);
            if (seg->m_type == ENT_LINE)
                AddExtentsPoints(*static_cast<const CRecta*>(seg->m_entity), add);
            else if (seg->m_type == ENT_ARC)
                AddArcBounds(*static_cast<const CArc*>(seg->m_entity), add);
        }
    } else {
        EntityKind(type).ExtentsPoints(entity, add);
    }
}

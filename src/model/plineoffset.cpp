// The parallel of a polyline at a distance.
#include "model/circ.h"
#include "model/dib.h"
#include "model/geometry.h"
#include "model/pline.h"
#include "model/recta.h"

#include <cmath>
#include <limits>
#include <vector>

namespace {

constexpr double kTol = 0.0001;

// A line or arc segment as the chain follows it, from its start to its end.
struct Segment {
    CRecta* line = nullptr;
    CArc* arc = nullptr;

    bool Ccw() const { return arc->m_arcWord == 1; }
    Pt2 Start() const { return line ? Plan(line->m_p1) : Plan(Ccw() ? arc->StartPoint() : arc->EndPoint()); }
    Pt2 End() const { return line ? Plan(line->m_p2) : Plan(Ccw() ? arc->EndPoint() : arc->StartPoint()); }

    // Line ends only: arcs are never re-joined.
    void SetStart(const Pt2& p)
    {
        line->m_p1.x = p.x;
        line->m_p1.y = p.y;
    }
    void SetEnd(const Pt2& p)
    {
        line->m_p2.x = p.x;
        line->m_p2.y = p.y;
    }

    // Plan distance from p to the segment (infinite for a line of no length)
    // and whether p lies on its left as the chain follows it.
    double Distance(const Pt2& p, bool& left) const
    {
        if (line) {
            const Pt2 a = Plan(line->m_p1), b = Plan(line->m_p2);
            double t = 0.0;
            if (!FootParameter(p, a, b, t))
                return std::numeric_limits<double>::infinity();
            t = std::fmin(1.0, std::fmax(0.0, t));
            left = (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x) > 0.0;
            return Distance2D(p, {a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)});
        }
        const Pt2 c = Plan(arc->m_centre);
        const double d = Distance2D(c, p);
        // Followed counter-clockwise, the centre lies on the left.
        left = (d < arc->m_rx) == Ccw();
        if (AngleInArc(arc->m_start, arc->m_end, Bearing(c, p)))
            return std::fabs(d - arc->m_rx);
        return std::fmin(Distance2D(p, Start()), Distance2D(p, End()));
    }

    // Moves the segment by distance to its left (or right).
    void Offset(double distance, bool left)
    {
        if (line) {
            const double dx = line->m_p2.x - line->m_p1.x, dy = line->m_p2.y - line->m_p1.y;
            const double len = std::hypot(dx, dy);
            if (!(len > 0.0))
                return;
            const double k = (left ? distance : -distance) / len;
            for (CPointd* p : {&line->m_p1, &line->m_p2}) {
                p->x -= k * dy;
                p->y += k * dx;
            }
        } else {
            arc->m_rx = arc->m_ry = NewRadius(distance, left);
        }
    }
    double NewRadius(double distance, bool left) const
    {
        return left == Ccw() ? arc->m_rx - distance : arc->m_rx + distance;
    }
};

}  // namespace

CPLine::OffsetResult CPLine::OffsetSegments(const CPointd& towards, double distance)
{
    std::vector<Segment> chain;
    for (CObject* obj : m_segments) {
        auto* dib = static_cast<CDib*>(obj);
        if (dib->m_type == ENT_LINE)
            chain.push_back({static_cast<CRecta*>(dib->m_entity), nullptr});
        else if (dib->m_type == ENT_ARC)
            chain.push_back({nullptr, static_cast<CArc*>(dib->m_entity)});
    }
    // The side is the one towards lies on of the segment nearest to it.
    const Pt2 t = Plan(towards);
    double nearest = std::numeric_limits<double>::infinity();
    bool left = false;
    for (const Segment& s : chain) {
        bool sideOf = false;
        if (const double d = s.Distance(t, sideOf); d < nearest) {
            nearest = d;
            left = sideOf;
        }
    }
    if (!(nearest > kTol))
        return OffsetResult::onChain;
    for (const Segment& s : chain)
        if (s.arc && !(s.NewRadius(distance, left) > 0.0))
            return OffsetResult::noRadius;

    // Which segments meet, before they move.
    const std::size_t n = chain.size();
    std::vector<bool> joined(n, false);  // segment i meets segment i + 1 (the first, after the last)
    for (std::size_t i = 0; i + 1 < n; ++i)
        joined[i] = Distance2D(chain[i].End(), chain[i + 1].Start()) < kTol;
    if (n > 1)
        joined[n - 1] = Distance2D(chain[n - 1].End(), chain[0].Start()) < kTol;

    for (Segment& s : chain)
        s.Offset(distance, left);
    // Lines that met meet again where their carriers cross; an arc keeps its
    // angles, so where it met a line off the tangent a gap opens.
    for (std::size_t i = 0; i < n; ++i) {
        Segment& a = chain[i];
        Segment& b = chain[(i + 1) % n];
        Pt2 x;
        if (joined[i] && a.line && b.line &&
            IntersectCarriers(Plan(a.line->m_p1), Plan(a.line->m_p2), Plan(b.line->m_p1), Plan(b.line->m_p2), x)) {
            a.SetEnd(x);
            b.SetStart(x);
        }
    }
    return OffsetResult::done;
}

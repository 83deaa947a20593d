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

    void SetStart(const Pt2& p)
    {
        if (line) {
            line->m_p1.x = p.x;
            line->m_p1.y = p.y;
        } else {
            (Ccw() ? arc->m_start : arc->m_end) = Bearing(Plan(arc->m_centre), p);
        }
    }
    void SetEnd(const Pt2& p)
    {
        if (line) {
            line->m_p2.x = p.x;
            line->m_p2.y = p.y;
        } else {
            (Ccw() ? arc->m_end : arc->m_start) = Bearing(Plan(arc->m_centre), p);
        }
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

// Where the carriers of a and b (line or circle) cross, the crossing nearer
// to near when there are two; false when they do not.
bool Meet(const Segment& a, const Segment& b, const Pt2& near, Pt2& out)
{
    if (a.line && b.line)
        return IntersectCarriers(Plan(a.line->m_p1), Plan(a.line->m_p2), Plan(b.line->m_p1), Plan(b.line->m_p2), out);
    Pt2 p[2];
    int count = 0;
    if (a.line || b.line) {
        const CRecta& l = a.line ? *a.line : *b.line;
        const CArc& c = a.line ? *b.arc : *a.arc;
        bool f[4];
        if (Distance2D(Plan(l.m_p1), Plan(l.m_p2)) > 0.0)
            count = IntersectSegmentCircle(Plan(l.m_p1), Plan(l.m_p2), 0, 0.0, 0.0, Plan(c.m_centre), c.m_rx, p[0],
                                           p[1], f[0], f[1], f[2], f[3]);
    } else {
        bool f[2];
        count = IntersectCircles(0, 0.0, 0.0, Plan(a.arc->m_centre), a.arc->m_rx, 0.0, 0.0, Plan(b.arc->m_centre),
                                 b.arc->m_rx, p[0], p[1], f[0], f[1]);
    }
    if (count == 0)
        return false;
    out = count == 1 || Distance2D(p[0], near) <= Distance2D(p[1], near) ? p[0] : p[1];
    return true;
}

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
    for (std::size_t i = 0; i < n; ++i) {
        if (!joined[i])
            continue;
        Segment& a = chain[i];
        Segment& b = chain[(i + 1) % n];
        const Pt2 e = a.End(), s = b.Start();
        Pt2 x;
        if (Meet(a, b, {(e.x + s.x) / 2.0, (e.y + s.y) / 2.0}, x)) {
            a.SetEnd(x);
            b.SetStart(x);
        }
    }
    return OffsetResult::done;
}

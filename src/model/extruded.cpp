#include "model/extruded.h"

#include "model/circ.h"
#include "model/entitydraw.h"
#include "model/recta.h"

#include <cmath>
#include <vector>

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr int kCircleFacets = 24;

struct Edge {
    CPointd a, b;
};

// Unit extrusion direction; (0, 0, 1) when the stored one has no length.
CPointd UnitDirection(const CPointd& d)
{
    const double len = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
    if (!(len > 0.0) || !std::isfinite(len))
        return CPointd(0.0, 0.0, 1.0);
    return CPointd(d.x / len, d.y / len, d.z / len);
}

CPointd Raised(const CPointd& p, const CPointd& unit, double t)
{
    return CPointd(p.x + unit.x * t, p.y + unit.y * t, p.z + unit.z * t);
}

// Draws the edges with the entity's pen, dotted, or inverting.
void DrawEdges(CDC& dc, const CEntity& e, const std::vector<Edge>& edges, const WorldMap& map, DrawKind kind)
{
    auto draw = [&] {
        for (const Edge& edge : edges) {
            const LPoint a = map(edge.a), b = map(edge.b);
            dc.MoveTo(a.x, a.y);
            dc.LineTo(b.x, b.y);
        }
    };
    if (kind != DrawKind::erase) {
        WithEntityPen(dc, e, kind, draw);
        return;
    }
    CPen pen;
    if (!pen.CreatePen(PS_SOLID, e.m_width, 0))
        return;
    CPen* oldPen = dc.SelectObject(&pen);
    const int oldRop = dc.SetROP2(R2_NOT);
    draw();
    dc.SetROP2(oldRop);
    dc.SelectObject(oldPen);
}

// True when the raised copy lands on the base in logical units (an extrusion
// straight up seen in plan): the faces then show as the base outline only.
bool FlatInPlan(const WorldMap& map, const CPointd& base, const CPointd& raised)
{
    return map(base) == map(raised);
}

// A band of faces along a circular path from angle a0 counter-clockwise over sweep.
std::vector<Edge> Band(const CPointd& c, double r, double a0, double sweep, int facets, const CPointd& unit,
                       double t0, double t1, bool closed, const WorldMap& map)
{
    std::vector<CPointd> base, top;
    const int n = closed ? facets : facets + 1;
    for (int i = 0; i < n; ++i) {
        const double a = a0 + sweep * i / facets;
        const double t = closed ? t0 : t0 + (t1 - t0) * i / facets;
        const CPointd p(c.x + r * std::cos(a), c.y + r * std::sin(a), c.z);
        base.push_back(p);
        top.push_back(Raised(p, unit, t));
    }
    std::vector<Edge> edges;
    const int spans = closed ? n : n - 1;
    for (int i = 0; i < spans; ++i)
        edges.push_back({base[i], base[(i + 1) % n]});
    bool flat = true;
    for (int i = 0; i < n; ++i)
        flat = flat && FlatInPlan(map, base[i], top[i]);
    if (flat)
        return edges;
    for (int i = 0; i < spans; ++i)
        edges.push_back({top[i], top[(i + 1) % n]});
    for (int i = 0; i < n; ++i)
        edges.push_back({base[i], top[i]});
    return edges;
}

}  // namespace

void DrawExtrudedRecta(CDC& dc, const CRecta& line, const WorldMap& map, DrawKind kind)
{
    const CPointd unit = UnitDirection(line.m_dir);
    const CPointd a = line.m_p1, b = line.m_p2;
    const CPointd c = Raised(b, unit, line.m_thick2), d = Raised(a, unit, line.m_thick1);
    std::vector<Edge> edges;
    if (FlatInPlan(map, a, d) && FlatInPlan(map, b, c)) {
        edges.push_back({a, b});
    } else {
        const Edge face[4] = {{a, b}, {b, c}, {c, d}, {d, a}};
        for (int i = 0; i < 4; ++i)
            if (!(line.m_edgeMask & (1 << i)))
                edges.push_back(face[i]);
    }
    DrawEdges(dc, line, edges, map, kind);
}

void DrawExtrudedCirc(CDC& dc, const CCirc& circle, const WorldMap& map, DrawKind kind)
{
    const CPointd& c = circle.m_centre;
    const double dx = circle.m_refPoint.x - c.x, dy = circle.m_refPoint.y - c.y;
    const double a0 = dx == 0.0 && dy == 0.0 ? 0.0 : std::atan2(dy, dx);
    const auto edges = Band(c, circle.m_rx, a0, kTwoPi, kCircleFacets, UnitDirection(circle.m_dir),
                            circle.m_thickness, circle.m_thickness, true, map);
    DrawEdges(dc, circle, edges, map, kind);
}

void DrawExtrudedArc(CDC& dc, const CArc& arc, const WorldMap& map, DrawKind kind)
{
    double sweep = std::fmod(arc.m_end - arc.m_start, kTwoPi);
    // Angles that are not finite leave no arc to draw.
    if (!std::isfinite(sweep))
        return;
    if (sweep <= 0.0)
        sweep += kTwoPi;
    const int facets = std::max(1, int(std::ceil(sweep / (kTwoPi / kCircleFacets))));
    const auto edges = Band(arc.m_centre, arc.m_rx, arc.m_start, sweep, facets, UnitDirection(arc.m_dir),
                            arc.m_thick1, arc.m_thick2, false, map);
    DrawEdges(dc, arc, edges, map, kind);
}

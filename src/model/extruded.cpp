#include "model/extruded.h"

#include "model/circ.h"
#include "model/entitydraw.h"
#include "model/geometry.h"
#include "model/recta.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr int kCircleFacets = 24;

struct Edge {
    CPointd a, b;
};

// Unit extrusion direction; (0, 0, 1) when the stored one has no length.
CPointd UnitDirection(const CPointd& d)
{
    const double len = std::hypot(d.x, d.y, d.z);
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
    if (kind == DrawKind::erase)
        WithInvertingPen(dc, e.m_width, draw);
    else
        WithEntityPen(dc, e, kind, draw);
}

// True when the raised copy lands on the base in logical units (an extrusion
// straight up seen in plan): the faces then show as the base outline only.
bool FlatInPlan(const WorldMap& map, const CPointd& base, const CPointd& raised)
{
    return map(base) == map(raised);
}

// A band of faces along a circular path from angle a0 counter-clockwise over
// sweep, in the plane of axes x and y.
ExtrudedBand Band(const CPointd& c, double r, double a0, double sweep, int facets, const CPointd& dir,
                  const CPointd& x, const CPointd& y, double t0, double t1, bool closed)
{
    const CPointd unit = UnitDirection(dir);
    ExtrudedBand band;
    band.closed = closed;
    const int n = closed ? facets : facets + 1;
    for (int i = 0; i < n; ++i) {
        const double a = a0 + sweep * i / facets;
        const double t = closed ? t0 : t0 + (t1 - t0) * i / facets;
        const double cx = r * std::cos(a), cy = r * std::sin(a);
        const CPointd p(c.x + cx * x.x + cy * y.x, c.y + cx * x.y + cy * y.y, c.z + cx * x.z + cy * y.z);
        band.base.push_back(p);
        band.top.push_back(Raised(p, unit, t));
    }
    return band;
}

void DrawBand(CDC& dc, const CEntity& e, const ExtrudedBand& band, const WorldMap& map, DrawKind kind)
{
    const std::size_t n = band.base.size();
    const std::size_t spans = band.closed ? n : n - 1;
    std::vector<Edge> edges;
    for (std::size_t i = 0; i < spans; ++i)
        edges.push_back({band.base[i], band.base[(i + 1) % n]});
    bool flat = true;
    for (std::size_t i = 0; i < n; ++i)
        flat = flat && FlatInPlan(map, band.base[i], band.top[i]);
    if (!flat) {
        for (std::size_t i = 0; i < spans; ++i)
            edges.push_back({band.top[i], band.top[(i + 1) % n]});
        for (std::size_t i = 0; i < n; ++i)
            edges.push_back({band.base[i], band.top[i]});
    }
    DrawEdges(dc, e, edges, map, kind);
}

}  // namespace

void ExtrudedFace(const CRecta& line, CPointd (&corners)[4])
{
    const CPointd unit = UnitDirection(line.m_dir);
    corners[0] = line.m_p1;
    corners[1] = line.m_p2;
    corners[2] = Raised(line.m_p2, unit, line.m_thick2);
    corners[3] = Raised(line.m_p1, unit, line.m_thick1);
}

void CurveAxes(const CPointd& refPoint, const CPointd& dir, CPointd& x, CPointd& y)
{
    x = CPointd(1.0, 0.0, 0.0);
    y = CPointd(0.0, 1.0, 0.0);
    const CPointd n = UnitDirection(dir);
    // The reference direction less its part along the normal.
    const double along = refPoint.x * n.x + refPoint.y * n.y + refPoint.z * n.z;
    const CPointd r(refPoint.x - along * n.x, refPoint.y - along * n.y, refPoint.z - along * n.z);
    const double len = std::hypot(r.x, r.y, r.z);
    if (!(len > 1e-9) || !std::isfinite(len))
        return;
    x = CPointd(r.x / len, r.y / len, r.z / len);
    y = CPointd(n.y * x.z - n.z * x.y, n.z * x.x - n.x * x.z, n.x * x.y - n.y * x.x);
}

ExtrudedBand ExtrudedBandOf(const CCirc& circle)
{
    CPointd x, y;
    CurveAxes(DrawsExtruded(circle.m_extrusionMode) ? circle.m_refPoint : CPointd(), circle.m_dir, x, y);
    return Band(circle.m_centre, circle.m_rx, 0.0, kTwoPi, kCircleFacets, circle.m_dir, x, y, circle.m_thickness,
                circle.m_thickness, true);
}

ExtrudedBand ExtrudedBandOf(const CArc& arc)
{
    // A sweep past a whole turn goes round once, from the start within one turn.
    double s, e;
    ArcFrame(arc.m_start, arc.m_end, s, e);
    double sweep = ArcPastWholeTurn(arc.m_start, arc.m_end) ? kTwoPi : std::fmod(arc.m_end - arc.m_start, kTwoPi);
    // Angles that are not finite leave no arc.
    if (!std::isfinite(sweep) || !std::isfinite(s))
        return {};
    if (sweep <= 0.0)
        sweep += kTwoPi;
    const int facets = std::max(1, int(std::ceil(sweep / (kTwoPi / kCircleFacets))));
    CPointd x, y;
    CurveAxes(DrawsExtruded(arc.m_extrusionMode) ? arc.m_refPoint : CPointd(), arc.m_dir, x, y);
    return Band(arc.m_centre, arc.m_rx, s, sweep, facets, arc.m_dir, x, y, arc.m_thick1, arc.m_thick2, false);
}

namespace {

void DrawExtrudedRecta(CDC& dc, const CRecta& line, const WorldMap& map, DrawKind kind)
{
    CPointd c[4];
    ExtrudedFace(line, c);
    std::vector<Edge> edges;
    if (FlatInPlan(map, c[0], c[3]) && FlatInPlan(map, c[1], c[2])) {
        edges.push_back({c[0], c[1]});
    } else {
        for (int i = 0; i < 4; ++i)
            if (!(line.m_edgeMask & (1 << i)))
                edges.push_back({c[i], c[(i + 1) % 4]});
    }
    DrawEdges(dc, line, edges, map, kind);
}

void DrawExtrudedArc(CDC& dc, const CArc& arc, const WorldMap& map, DrawKind kind)
{
    const ExtrudedBand band = ExtrudedBandOf(arc);
    if (!band.base.empty())
        DrawBand(dc, arc, band, map, kind);
}

}  // namespace

void DrawRectaPersp(CDC& dc, const CRecta& line, double scale, double ox, double oy)
{
    DrawExtrudedRecta(dc, line, {scale, ox, oy}, DrawKind::normal);
}

void DrawRectaPerspDotted(CDC& dc, const CRecta& line, double scale, double ox, double oy)
{
    DrawExtrudedRecta(dc, line, {scale, ox, oy}, DrawKind::dotted);
}

void DrawRectaPerspXor(CDC& dc, const CRecta& line, double scale, double ox, double oy)
{
    DrawExtrudedRecta(dc, line, {scale, ox, oy}, DrawKind::erase);
}

void DrawCircPersp(CDC& dc, const CCirc& circle, double scale, double ox, double oy)
{
    DrawBand(dc, circle, ExtrudedBandOf(circle), {scale, ox, oy}, DrawKind::normal);
}

void DrawCircPerspDotted(CDC& dc, const CCirc& circle, double scale, double ox, double oy)
{
    DrawBand(dc, circle, ExtrudedBandOf(circle), {scale, ox, oy}, DrawKind::dotted);
}

void DrawCircPerspXor(CDC& dc, const CCirc& circle, double scale, double ox, double oy)
{
    DrawBand(dc, circle, ExtrudedBandOf(circle), {scale, ox, oy}, DrawKind::erase);
}

void DrawArcPersp(CDC& dc, const CArc& arc, double scale, double ox, double oy)
{
    DrawExtrudedArc(dc, arc, {scale, ox, oy}, DrawKind::normal);
}

void DrawArcPerspDotted(CDC& dc, const CArc& arc, double scale, double ox, double oy)
{
    DrawExtrudedArc(dc, arc, {scale, ox, oy}, DrawKind::dotted);
}

void DrawArcPerspXor(CDC& dc, const CArc& arc, double scale, double ox, double oy)
{
    DrawExtrudedArc(dc, arc, {scale, ox, oy}, DrawKind::erase);
}

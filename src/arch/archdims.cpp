// Automatic dimensions of the wall lines and the area of an enclosure.
#include "arch/archgen.h"

#include "arch/archutil.h"
#include "dialogs/rundlg.h"
#include "doc/rectadoc.h"
#include "model/acot.h"
#include "model/recta.h"
#include "view2d/archgeom.h"
#include "view2d/rectaview.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <map>
#include <numbers>
#include <optional>
#include <set>
#include <vector>

namespace {

// Slack at the ends of a segment when a crossing is tested.
constexpr double kEndSlack = 1e-9;
// Points closer than this in the plan are one vertex of an enclosure.
constexpr double kVertexGrid = 1e-7;

struct Segment {
    Pt2 a, b;
};

Pt2 At(const Segment& s, double t)
{
    return {s.a.x + t * (s.b.x - s.a.x), s.a.y + t * (s.b.y - s.a.y)};
}

// Where segments p and q cross, as t along p and u along q; false when they
// run parallel or do not reach each other.
bool Crossing(const Segment& p, const Segment& q, double& t, double& u)
{
    const Pt2 r{p.b.x - p.a.x, p.b.y - p.a.y}, s{q.b.x - q.a.x, q.b.y - q.a.y};
    const double denom = Cross(r, s);
    if (!(std::abs(denom) > 1e-12 * std::hypot(r.x, r.y) * std::hypot(s.x, s.y)))
        return false;
    const Pt2 ac{q.a.x - p.a.x, q.a.y - p.a.y};
    t = Cross(ac, s) / denom;
    u = Cross(ac, r) / denom;
    return t >= -kEndSlack && t <= 1.0 + kEndSlack && u >= -kEndSlack && u <= 1.0 + kEndSlack;
}

// The lines' pieces between their crossings, as a graph of vertices.
class PlanGraph {
public:
    explicit PlanGraph(const std::vector<Segment>& segments) : m_splits(segments.size())
    {
        for (std::size_t i = 0; i < segments.size(); ++i) {
            m_splits[i] = {0.0, 1.0};
            for (std::size_t j = 0; j < i; ++j) {
                double t = 0.0, u = 0.0;
                if (Crossing(segments[i], segments[j], t, u)) {
                    m_splits[i].push_back(std::clamp(t, 0.0, 1.0));
                    m_splits[j].push_back(std::clamp(u, 0.0, 1.0));
                }
            }
        }
        for (std::size_t i = 0; i < segments.size(); ++i) {
            std::sort(m_splits[i].begin(), m_splits[i].end());
            for (std::size_t k = 0; k + 1 < m_splits[i].size(); ++k) {
                const int u = Vertex(At(segments[i], m_splits[i][k]));
                const int v = Vertex(At(segments[i], m_splits[i][k + 1]));
                if (u != v) {
                    m_next[std::size_t(u)].insert(v);
                    m_next[std::size_t(v)].insert(u);
                }
            }
        }
    }

    // The piece of segment i that holds t along it, from its start to its end.
    std::pair<int, int> Piece(const std::vector<Segment>& segments, std::size_t i, double t)
    {
        const std::vector<double>& s = m_splits[i];
        std::size_t k = 0;
        while (k + 2 < s.size() && s[k + 1] < t)
            ++k;
        return {Vertex(At(segments[i], s[k])), Vertex(At(segments[i], s[k + 1]))};
    }

    // Twice the signed area of the face on the left of u -> v; nothing when the walk does not close.
    std::optional<double> LeftFaceArea(int u0, int v0) const
    {
        // Each piece is walked at most once each way.
        std::size_t limit = 4;
        for (const std::set<int>& next : m_next)
            limit += next.size();
        double twice = 0.0;
        int u = u0, v = v0;
        for (std::size_t step = 0; step < limit; ++step) {
            const Pt2& pu = m_points[std::size_t(u)];
            const Pt2& pv = m_points[std::size_t(v)];
            twice += Cross(pu, pv);
            // The next piece turns least clockwise from the way back.
            const double back = std::atan2(pu.y - pv.y, pu.x - pv.x);
            int best = u;
            double bestTurn = std::numeric_limits<double>::infinity();
            for (int w : m_next[std::size_t(v)]) {
                const Pt2& pw = m_points[std::size_t(w)];
                double turn = std::fmod(back - std::atan2(pw.y - pv.y, pw.x - pv.x), 2 * std::numbers::pi);
                if (turn <= 0.0)
                    turn += 2 * std::numbers::pi;
                if (turn < bestTurn) {
                    bestTurn = turn;
                    best = w;
                }
            }
            u = v;
            v = best;
            if (u == u0 && v == v0)
                return twice;
        }
        return std::nullopt;
    }

private:
    int Vertex(const Pt2& p)
    {
        const std::pair key{std::llround(p.x / kVertexGrid), std::llround(p.y / kVertexGrid)};
        const auto [it, added] = m_ids.emplace(key, int(m_points.size()));
        if (added) {
            m_points.push_back(p);
            m_next.emplace_back();
        }
        return it->second;
    }

    std::vector<std::vector<double>> m_splits;
    std::map<std::pair<long long, long long>, int> m_ids;
    std::vector<Pt2> m_points;
    std::vector<std::set<int>> m_next;
};

// A wall joined into another opens that wall's face between its own two
// faces. The gaps where two wall lines of one carrier end facing each other,
// and at each end a line leaves to the same side along the same direction,
// are closed: the joined wall then shows as a dead end, which no enclosure
// walk takes as a boundary.
std::vector<Segment> JointGaps(const std::vector<Segment>& segments)
{
    struct End {
        Pt2 at, out;  // the end, and the unit direction beyond it
    };
    std::map<std::pair<long long, long long>, std::vector<Pt2>> leaving;  // by end: unit directions along the lines
    std::vector<End> ends;
    auto key = [](const Pt2& p) { return std::pair{std::llround(p.x / kVertexGrid), std::llround(p.y / kVertexGrid)}; };
    for (const Segment& seg : segments) {
        const double len = std::hypot(seg.b.x - seg.a.x, seg.b.y - seg.a.y);
        if (!(len > kVertexGrid) || !std::isfinite(len))
            continue;
        const Pt2 d{(seg.b.x - seg.a.x) / len, (seg.b.y - seg.a.y) / len};
        ends.push_back({seg.a, {-d.x, -d.y}});
        ends.push_back({seg.b, d});
        leaving[key(seg.a)].push_back(d);
        leaving[key(seg.b)].push_back({-d.x, -d.y});
    }
    // A line leaving the end across the carrier, or nothing.
    auto leg = [&](const End& e) -> std::optional<Pt2> {
        for (const Pt2& d : leaving[key(e.at)])
            if (std::abs(Cross(e.out, d)) > 0.5)
                return d;
        return std::nullopt;
    };
    std::vector<Segment> gaps;
    for (const End& a : ends) {
        const std::optional<Pt2> legA = leg(a);
        if (!legA)
            continue;
        const End* nearest = nullptr;
        double nearestDistance = std::numeric_limits<double>::infinity();
        for (const End& b : ends) {
            const Pt2 ab{b.at.x - a.at.x, b.at.y - a.at.y};
            const double ahead = Dot(ab, a.out);
            if (!(ahead > kVertexGrid) || std::abs(Cross(a.out, ab)) > kVertexGrid || Dot(a.out, b.out) > -0.999999)
                continue;
            if (ahead < nearestDistance) {
                nearestDistance = ahead;
                nearest = &b;
            }
        }
        const std::optional<Pt2> legB = nearest ? leg(*nearest) : std::nullopt;
        // Both legs leave the carrier to one side, one way.
        if (legB && Dot(*legA, *legB) > 0.999999)
            gaps.push_back({a.at, nearest->at});
    }
    return gaps;
}

}  // namespace

void MakeAutoDims(CRectaDoc& doc, CRectaView& view, const CPointd& first, const CPointd& second,
                  const CPointd& position)
{
    const Segment across{Plan(first), Plan(second)};
    std::vector<double> at;
    for (const LineAt& l : ShownLines(doc, kWallsLayer)) {
        double t = 0.0, u = 0.0;
        if (Crossing(across, {Plan(l.line->m_p1), Plan(l.line->m_p2)}, t, u))
            at.push_back(t);
    }
    std::sort(at.begin(), at.end());
    const double length = DistancePoints(first, second);
    at.erase(std::unique(at.begin(), at.end(), [&](double a, double b) { return (b - a) * length < 1e-9; }),
             at.end());
    if (at.size() < 2) {
        Refuse(view, "Auto Dim: the line must cross two wall lines");
        return;
    }
    const double lowest = doc.m_toolReals[12], highest = doc.m_toolReals[13];
    const COLORREF colour = LayerColour(doc, kDimsLayer);
    for (std::size_t k = 0; k + 1 < at.size(); ++k) {
        const Pt2 a = At(across, at[k]), b = At(across, at[k + 1]);
        const double d = std::hypot(b.x - a.x, b.y - a.y);
        if (d < lowest || d > highest)
            continue;
        CAcot* dim = doc.AddLinearDim(doc.m_penWidth, colour, kDimsLayer, CPointd(a.x, a.y, first.z),
                                      CPointd(b.x, b.y, first.z), position);
        doc.ExtendAndDrawEntity(ENT_DIMENSION, dim);
        RecordLastAdded(doc, view);
    }
    CloseUndoState(view);
}

void MakeEnclosure(CRectaDoc& doc, CRectaView& view, CRecta* wallLine, const CPointd& click)
{
    if (!wallLine)
        return;
    std::vector<Segment> segments;
    std::size_t picked = 0;
    bool found = false;
    for (const LineAt& l : ShownLines(doc, {})) {
        if (l.line != wallLine && l.line->m_layer != kWallsLayer)
            continue;
        found = found || l.line == wallLine;
        if (l.line == wallLine)
            picked = segments.size();
        segments.push_back({Plan(l.line->m_p1), Plan(l.line->m_p2)});
    }
    for (const auto& [a, b] : OpeningClosures(doc))
        segments.push_back({Plan(a), Plan(b)});
    for (const Segment& gap : JointGaps(segments))
        segments.push_back(gap);
    const Segment& wall = found ? segments[picked] : Segment{};
    const Pt2 dir{wall.b.x - wall.a.x, wall.b.y - wall.a.y};
    const Pt2 c = Plan(click);
    const double side = Cross(dir, {c.x - wall.a.x, c.y - wall.a.y});
    if (!found || side == 0.0) {
        Refuse(view, "Enclosure: pick a wall line beside the enclosure");
        return;
    }
    PlanGraph graph(segments);
    const double t = Dot({c.x - wall.a.x, c.y - wall.a.y}, dir) / Dot(dir, dir);
    auto [u, v] = graph.Piece(segments, picked, std::clamp(t, 0.0, 1.0));
    if (side < 0.0)
        std::swap(u, v);
    const std::optional<double> twice = u != v ? graph.LeftFaceArea(u, v) : std::nullopt;
    if (!twice || !(*twice > 0.0)) {
        Refuse(view, "Enclosure: no walls close around the point");
        return;
    }
    RunAREADlgEx(*twice / 2, doc.m_coordDecimals);
}

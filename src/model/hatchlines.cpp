#include "model/hatchlines.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <numeric>
#include <set>
#include <utility>

namespace {

// The tolerance is this much of the outline's size: far below anything a
// drawing shows, far above the rounding of the frame's products.
constexpr double kRelativeTolerance = 1e-12;
// Beyond this the frame's products could overflow.
constexpr double kMaxCoordinate = 1e150;
constexpr double kInf = std::numeric_limits<double>::infinity();

bool Usable(double v)
{
    return std::isfinite(v) && std::fabs(v) <= kMaxCoordinate;
}

bool Usable(Pt2 p)
{
    return Usable(p.x) && Usable(p.y);
}

struct Range {
    double lo = kInf;  // empty until a value is noted
    double hi = -kInf;

    bool Empty() const { return lo > hi; }
    void Note(double v)
    {
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
};

// Items by their extent across the lines of a family. The lines come with
// levels that never grow; each asks for the items that reach within tol of it.
class LevelSweep {
public:
    explicit LevelSweep(std::vector<Range> extents) : m_extents(std::move(extents))
    {
        m_order.reserve(m_extents.size());
        for (std::uint32_t i = 0; i < m_extents.size(); ++i)
            if (!m_extents[i].Empty())
                m_order.push_back(i);
        std::sort(m_order.begin(), m_order.end(),
                  [&](std::uint32_t a, std::uint32_t b) { return m_extents[a].hi > m_extents[b].hi; });
    }

    const std::vector<std::uint32_t>& At(double level, double tol)
    {
        while (m_next < m_order.size() && m_extents[m_order[m_next]].hi >= level - tol)
            m_active.push_back(m_order[m_next++]);
        std::erase_if(m_active, [&](std::uint32_t i) { return m_extents[i].lo > level + tol; });
        return m_active;
    }

private:
    std::vector<Range> m_extents;
    std::vector<std::uint32_t> m_order;  // by the top of the extent, highest first
    std::size_t m_next = 0;
    std::vector<std::uint32_t> m_active;
};

// The outline's lowest and highest level across the lines of a family.
Range Extent(const HatchBoundary& boundary, const HatchFrame& frame)
{
    Range extent;
    for (Pt2 p : boundary.Points())
        extent.Note(frame.V(p));
    return extent;
}

// True when a vertex at level can start a family over an outline of the
// extent: the line one spacing to the left misses the outline and the line
// one spacing to the right meets it.
bool StartsFamily(const Range& extent, double tol, double level, double spacing)
{
    auto meets = [&](double v) { return v >= extent.lo - tol && v <= extent.hi + tol; };
    return !meets(level + spacing) && meets(level - spacing);
}

// CheckHatchFamily with the outline's extent across the family's lines measured.
HatchError FamilyError(const HatchBoundary& boundary, const HatchFamily& family, const Range& extent)
{
    if (boundary.Error() != HatchError::none)
        return boundary.Error();
    const double s1 = family.spacing, s2 = family.spacing2;
    if (!std::isfinite(family.angle) || !std::isfinite(s1) || !std::isfinite(s2))
        return HatchError::badPattern;
    if (s1 == 0.0)
        return HatchError::none;
    if (s1 + s2 == 0.0)
        return HatchError::noAdvance;
    // Two lines for every s1 + s2 of the outline's depth (a repeated level is one line).
    const double lines = (extent.hi - extent.lo) / (std::fabs(s1 + s2) / 2.0);
    return lines <= kMaxHatchLines ? HatchError::none : HatchError::tooManyLines;
}

// Cuts the lines of one family: boundary crossings into inside stretches,
// less what lies on the outline and what the islands cut out.
class FamilyCutter {
public:
    // The sweeps are built from the outline and island tables, which their
    // builders fill first (they are declared before the sweeps).
    FamilyCutter(const HatchBoundary& boundary, std::span<const HatchIsland> islands, double angle, HatchWork* work)
        : m_frame(angle), m_angle(angle), m_tol(boundary.Tolerance()), m_edges(OutlineExtents(boundary)),
          m_islandItems(IslandExtents(islands)), m_islandRanges(islands.size()), m_islandCuts(CutOrder{m_tol}),
          m_work(work)
    {
    }

    // Appends the segments of the line at level; levels never go back the
    // other way from call to call.
    void Line(double level, std::vector<HatchSegment>& out)
    {
        m_crossings.clear();
        m_cuts.clear();
        CrossOutline(level);
        if (m_crossings.size() < 2)
            return;
        m_origin = *std::min_element(m_crossings.begin(), m_crossings.end());
        std::vector<double>& d = m_crossings;
        FindHatchLineStart(d);
        m_end = m_origin + d.back();
        CrossIslands(level);
        CutInsertIslands();
        CutCircleIslands();
        CutTextIslands();
        CutPLineIslands();
        for (std::uint32_t i : m_touched)
            m_islandRanges[i] = Range{};
        m_touched.clear();
        for (const Range& cut : m_islandCuts)
            m_cuts.push_back({m_origin + cut.lo, m_origin + cut.hi});
        m_islandCuts.clear();
        std::sort(m_cuts.begin(), m_cuts.end(), [](const Range& a, const Range& b) { return a.lo < b.lo; });

        std::size_t first = 0;  // cuts before it end before the stretch
        for (std::size_t i = 0; i + 1 < d.size(); i += 2) {
            double from = m_origin + d[i];
            const double to = m_origin + d[i + 1];
            while (first < m_cuts.size() && m_cuts[first].hi <= from)
                ++first;
            for (std::size_t k = first; k < m_cuts.size() && m_cuts[k].lo < to; ++k) {
                if (m_cuts[k].lo > from)
                    Emit(from, m_cuts[k].lo, level, out);
                from = std::max(from, m_cuts[k].hi);
            }
            Emit(from, to, level, out);
        }
    }

private:
    struct Part {  // an island segment in the frame
        double ua, va, ub, vb;
        std::uint32_t island;
    };
    struct Round {  // an island circle or arc in the frame
        double uc, vc;
        HatchIsland::Arc arc;
        std::uint32_t island;
    };
    // The island cuts of a line, which never overlap, by their ends; a cut
    // lies before distance u when it ends more than the tolerance before it.
    struct CutOrder {
        using is_transparent = void;
        double tol;
        bool operator()(const Range& a, const Range& b) const { return a.hi < b.hi; }
        bool operator()(const Range& a, double u) const { return a.hi + tol < u; }
    };

    std::vector<Range> OutlineExtents(const HatchBoundary& boundary)
    {
        for (Pt2 p : boundary.Points()) {
            m_u.push_back(m_frame.U(p));
            m_v.push_back(m_frame.V(p));
        }
        std::vector<Range> extents(m_v.size());
        for (std::size_t i = 0; i < m_v.size(); ++i) {
            extents[i].Note(m_v[i]);
            extents[i].Note(m_v[Next(i)]);
        }
        return extents;
    }

    std::vector<Range> IslandExtents(std::span<const HatchIsland> islands)
    {
        for (std::uint32_t i = 0; i < islands.size(); ++i) {
            m_kinds.push_back(islands[i].kind);
            for (const HatchIsland::Segment& s : islands[i].Segments())
                m_parts.push_back({m_frame.U(s.a), m_frame.V(s.a), m_frame.U(s.b), m_frame.V(s.b), i});
            for (const HatchIsland::Arc& a : islands[i].Arcs())
                m_rounds.push_back({m_frame.U(a.centre), m_frame.V(a.centre), a, i});
        }
        std::vector<Range> extents(m_parts.size() + m_rounds.size());
        for (std::size_t k = 0; k < m_parts.size(); ++k) {
            extents[k].Note(m_parts[k].va);
            extents[k].Note(m_parts[k].vb);
        }
        for (std::size_t k = 0; k < m_rounds.size(); ++k) {
            const Round& r = m_rounds[k];
            extents[m_parts.size() + k] = {r.vc - r.arc.r, r.vc + r.arc.r};
        }
        return extents;
    }

    std::size_t Next(std::size_t i) const { return i + 1 == m_v.size() ? 0 : i + 1; }

    // Crossings by the half-open rule. An edge on the line is cut out, and a
    // vertex on it splits the line, where the outline only touches the line
    // from the inside too.
    void CrossOutline(double level)
    {
        const double above = level + m_tol;
        for (std::uint32_t e : m_edges.At(level, m_tol)) {
            const std::size_t f = Next(e);
            const double va = m_v[e], vb = m_v[f];
            if (std::fabs(va - level) <= m_tol)
                m_cuts.push_back({m_u[e], m_u[e]});
            if ((va > above) != (vb > above)) {
                const double t = std::clamp((level - va) / (vb - va), 0.0, 1.0);
                m_crossings.push_back(m_u[e] + t * (m_u[f] - m_u[e]));
            } else if (std::fabs(va - level) <= m_tol && std::fabs(vb - level) <= m_tol) {
                m_cuts.push_back({std::min(m_u[e], m_u[f]), std::max(m_u[e], m_u[f])});
            }
        }
    }

    // Each island's first-to-last crossings with the line within its inside
    // span, kept with the islands touched in selection order.
    void CrossIslands(double level)
    {
        for (std::uint32_t k : m_islandItems.At(level, m_tol)) {
            if (k < m_parts.size())
                CrossPart(m_parts[k], level);
            else
                CrossRound(m_rounds[k - m_parts.size()], level);
        }
        std::sort(m_touched.begin(), m_touched.end());
    }

    // The islands of the kind, in selection order, each cut out where it
    // lies strictly inside one inside pair as the cuts before it left them.
    void CutIslands(HatchIslandKind kind)
    {
        for (std::uint32_t i : m_touched)
            if (m_kinds[i] == kind)
                Cut(m_islandRanges[i].lo - m_origin, m_islandRanges[i].hi - m_origin);
    }
    void CutInsertIslands() { CutIslands(HatchIslandKind::insert); }
    void CutCircleIslands() { CutIslands(HatchIslandKind::circle); }
    void CutTextIslands() { CutIslands(HatchIslandKind::text); }
    void CutPLineIslands() { CutIslands(HatchIslandKind::pline); }

    // Cuts lo..hi (distances from the line's start) out of the line when an
    // inside pair, less the cuts made before, holds it with more than the
    // tolerance to spare at both ends. Only the pair of d that starts last
    // more than the tolerance before lo can, and in it only the stretch that
    // ends at the first cut not before lo.
    void Cut(double lo, double hi)
    {
        const std::vector<double>& d = m_crossings;
        const std::size_t before = std::size_t(
            std::partition_point(d.begin(), d.end(), [&](double v) { return v + m_tol < lo; }) - d.begin());
        if (before % 2 == 0 || before == d.size())
            return;  // lo lies in a gap, or beyond the last pair
        if (m_work)
            ++m_work->stretchTests;
        double end = d[before];
        const auto next = m_islandCuts.lower_bound(lo);
        if (next != m_islandCuts.end())
            end = std::min(end, next->lo);
        if (hi < end - m_tol)
            m_islandCuts.insert({lo, hi});
    }

    void Note(std::uint32_t island, double u)
    {
        // Crossings beyond the line's inside span do not count.
        if (!std::isfinite(u) || u < m_origin - m_tol || u > m_end + m_tol)
            return;
        if (m_islandRanges[island].Empty())
            m_touched.push_back(island);
        m_islandRanges[island].Note(u);
    }

    void CrossPart(const Part& p, double level)
    {
        const double da = p.va - level, db = p.vb - level;
        if (std::fabs(da) <= m_tol)
            Note(p.island, p.ua);
        if (std::fabs(db) <= m_tol)
            Note(p.island, p.ub);
        if ((da > m_tol && db < -m_tol) || (da < -m_tol && db > m_tol))
            Note(p.island, p.ua + (p.ub - p.ua) * (da / (da - db)));
    }

    void CrossRound(const Round& r, double level)
    {
        const double h = level - r.vc;
        const double gap = r.arc.r - std::fabs(h);
        if (gap < -m_tol)
            return;
        const double w = gap > 0.0 ? std::sqrt(gap * (r.arc.r + std::fabs(h))) : 0.0;
        for (const double du : {-w, w}) {
            if (r.arc.full || AngleInArc(r.arc.start, r.arc.end, m_angle + std::atan2(h, du)))
                Note(r.island, r.uc + du);
        }
    }

    void Emit(double from, double to, double level, std::vector<HatchSegment>& out) const
    {
        if (to - from > m_tol)
            out.push_back({m_frame.At(from, level), m_frame.At(to, level)});
    }

    HatchFrame m_frame;
    double m_angle;
    double m_tol;
    std::vector<double> m_u, m_v;  // outline vertices in the frame; edge i runs to vertex i + 1
    LevelSweep m_edges;
    std::vector<Part> m_parts;
    std::vector<Round> m_rounds;
    std::vector<HatchIslandKind> m_kinds;  // by island
    LevelSweep m_islandItems;  // the parts, then the rounds
    std::vector<Range> m_islandRanges;  // of the current line, by island
    double m_origin = 0.0, m_end = 0.0;  // the current line's first and last crossing along it
    std::vector<std::uint32_t> m_touched;  // islands whose range is not empty
    std::set<Range, CutOrder> m_islandCuts;  // of the current line, from its start
    std::vector<double> m_crossings;  // from the line's start once it is found, ascending
    std::vector<Range> m_cuts;  // what the outline and the islands leave out of the current line
    HatchWork* m_work;  // counted when not null
};

}  // namespace

std::string HatchErrorText(HatchError error)
{
    switch (error) {
    case HatchError::none: break;
    case HatchError::fewPoints: return "A hatch boundary needs at least 3 points.";
    case HatchError::badPoint: return "The hatch boundary has a point out of range.";
    case HatchError::noArea: return "The hatch boundary encloses no area.";
    case HatchError::badPattern: return "Hatch angles and spacings must be numbers.";
    case HatchError::tooManyLines: return "The hatch spacing is too small: a family would need over 100000 lines.";
    case HatchError::noAdvance: return "The two hatch spacings cancel out: the lines would never end.";
    case HatchError::tooManySegments:
        return "The hatch spacing is too small for this outline: the hatch would need over 2000000 segments.";
    case HatchError::islandTooLarge: return "An island holds too many objects to hatch around.";
    }
    return {};
}

HatchFrame::HatchFrame(double angle) : cosA(std::cos(angle)), sinA(std::sin(angle)) {}

HatchBoundary::HatchBoundary(std::span<const Pt2> points)
{
    for (Pt2 p : points) {
        if (!Usable(p)) {
            m_error = HatchError::badPoint;
            return;
        }
        m_size = std::max({m_size, std::fabs(p.x), std::fabs(p.y)});
    }
    m_tol = m_size * kRelativeTolerance;
    auto same = [&](Pt2 a, Pt2 b) { return std::fabs(a.x - b.x) <= m_tol && std::fabs(a.y - b.y) <= m_tol; };
    for (Pt2 p : points)
        if (m_points.empty() || !same(m_points.back(), p))
            m_points.push_back(p);
    while (m_points.size() > 1 && same(m_points.back(), m_points.front()))
        m_points.pop_back();
    if (m_points.size() < 3) {
        m_error = HatchError::fewPoints;
        return;
    }
    // No area when every point lies on the line from the first to the one farthest from it.
    const Pt2 o = m_points.front();
    Pt2 far = o;
    for (Pt2 p : m_points)
        if (Distance2D(o, p) > Distance2D(o, far))
            far = p;
    const double length = Distance2D(o, far);
    const bool flat = std::all_of(m_points.begin(), m_points.end(), [&](Pt2 p) {
        return std::fabs((far.x - o.x) * (p.y - o.y) - (far.y - o.y) * (p.x - o.x)) <= m_tol * length;
    });
    if (flat)
        m_error = HatchError::noArea;
}

void HatchIsland::AddSegment(Pt2 a, Pt2 b)
{
    if (Usable(a) && Usable(b))
        m_segments.push_back({a, b});
}

void HatchIsland::AddCircle(Pt2 centre, double r)
{
    if (Usable(centre) && Usable(r) && r > 0.0)
        m_arcs.push_back({centre, r, 0.0, 0.0, true});
}

void HatchIsland::AddArc(Pt2 centre, double r, double start, double end)
{
    if (Usable(centre) && Usable(r) && r > 0.0 && std::isfinite(start) && std::isfinite(end))
        m_arcs.push_back({centre, r, start, end, false});
}

bool IsHatchStartVertex(const HatchBoundary& boundary, double angle, double spacing, Pt2 vertex)
{
    const HatchFrame frame(angle);
    return StartsFamily(Extent(boundary, frame), boundary.Tolerance(), frame.V(vertex), spacing);
}

std::ptrdiff_t FindHatchLineStart(std::vector<double>& d)
{
    if (d.size() < 2)
        return -1;
    const auto start = std::min_element(d.begin(), d.end());
    const std::ptrdiff_t index = start - d.begin();
    const double origin = *start;
    for (double& v : d)
        v -= origin;
    std::sort(d.begin(), d.end());
    return index;
}

HatchError CheckHatchFamily(const HatchBoundary& boundary, const HatchFamily& family)
{
    return FamilyError(boundary, family, Extent(boundary, HatchFrame(family.angle)));
}

HatchError CheckHatchSize(const HatchBoundary& boundary, std::span<const HatchIsland> islands,
                          std::span<const HatchFamily> families)
{
    // Each line crossing an edge ends a stretch at most, and each island
    // splits at most one stretch of a line it meets.
    double segments = 0.0;
    for (const HatchFamily& f : families) {
        if (f.spacing == 0.0 || CheckHatchFamily(boundary, f) != HatchError::none)
            continue;
        const HatchFrame frame(f.angle);
        const double perDepth = 2.0 / std::fabs(f.spacing + f.spacing2);
        const std::vector<Pt2>& pts = boundary.Points();
        double crossings = 0.0;
        for (std::size_t i = 0; i < pts.size(); ++i)
            crossings += std::fabs(frame.V(pts[i]) - frame.V(pts[(i + 1) % pts.size()])) * perDepth + 1.0;
        segments += crossings / 2.0;
        for (const HatchIsland& island : islands) {
            Range depth;
            for (const HatchIsland::Segment& seg : island.Segments()) {
                depth.Note(frame.V(seg.a));
                depth.Note(frame.V(seg.b));
            }
            for (const HatchIsland::Arc& arc : island.Arcs()) {
                depth.Note(frame.V(arc.centre) - arc.r);
                depth.Note(frame.V(arc.centre) + arc.r);
            }
            if (!depth.Empty())
                segments += (depth.hi - depth.lo) * perDepth + 1.0;
        }
    }
    return segments <= kMaxHatchSegments ? HatchError::none : HatchError::tooManySegments;
}

std::vector<double> HatchLineLevels(const HatchBoundary& boundary, const HatchFamily& family, HatchWork* work)
{
    std::vector<double> levels;
    if (family.spacing == 0.0)
        return levels;
    HatchWork uncounted;
    HatchWork& counted = work ? *work : uncounted;
    const HatchFrame frame(family.angle);
    const Range extent = Extent(boundary, frame);
    const std::vector<Pt2>& points = boundary.Points();
    counted.outlinePoints += points.size();
    if (FamilyError(boundary, family, extent) != HatchError::none)
        return levels;
    const double tol = boundary.Tolerance();
    const auto start = std::find_if(points.begin(), points.end(), [&](Pt2 p) {
        ++counted.outlinePoints;
        return StartsFamily(extent, tol, frame.V(p), family.spacing);
    });
    if (start == points.end())
        return levels;
    const double s1 = family.spacing, s2 = family.spacing2;
    // The family ends at its first line beyond the outline, either side.
    for (long n = 1;; ++n) {
        const double level = frame.V(*start) - (double(n / 2) * (s1 + s2) + (n % 2 == 1 ? s1 : 0.0));
        if (level < extent.lo - tol || level > extent.hi + tol)
            break;
        if (levels.empty() || level != levels.back())
            levels.push_back(level);
    }
    return levels;
}

void AddHatchFamily(const HatchBoundary& boundary, std::span<const HatchIsland> islands, const HatchFamily& family,
                    std::vector<HatchSegment>& out, HatchWork* work)
{
    const std::vector<double> levels = HatchLineLevels(boundary, family, work);
    if (levels.empty())
        return;
    FamilyCutter cutter(boundary, islands, family.angle, work);
    if (std::is_sorted(levels.begin(), levels.end(), std::greater<>())) {
        for (double level : levels)
            cutter.Line(level, out);
        return;
    }
    // Lines that step back and forth are cut from the top down, then put in
    // the order they were generated.
    std::vector<std::size_t> order(levels.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return levels[a] > levels[b]; });
    std::vector<std::pair<std::size_t, HatchSegment>> byLine;
    std::vector<HatchSegment> line;
    for (std::size_t i : order) {
        line.clear();
        cutter.Line(levels[i], line);
        for (const HatchSegment& seg : line)
            byLine.emplace_back(i, seg);
    }
    std::stable_sort(byLine.begin(), byLine.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [i, seg] : byLine)
        out.push_back(seg);
}

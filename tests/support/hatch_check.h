// Checks a line hatch from the outside: where its segments lie against the
// outline and the islands, and that they cover every line's inside.
#pragma once

#include "model/hatchlines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace hatchcheck {

inline double Cross(Pt2 o, Pt2 a, Pt2 b)
{
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

inline double SegmentDistance(Pt2 p, Pt2 a, Pt2 b)
{
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double len2 = dx * dx + dy * dy;
    const double t = len2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / len2, 0.0, 1.0) : 0.0;
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

// Even-odd rule.
inline bool InPolygon(const std::vector<Pt2>& poly, Pt2 p)
{
    bool in = false;
    for (std::size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
        const Pt2 a = poly[i], b = poly[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < a.x + (p.y - a.y) * (b.x - a.x) / (b.y - a.y))
            in = !in;
    }
    return in;
}

inline double PolygonDistance(const std::vector<Pt2>& poly, Pt2 p)
{
    double d = std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i < poly.size(); ++i)
        d = std::min(d, SegmentDistance(p, poly[i], poly[(i + 1) % poly.size()]));
    return d;
}

// True when segments p-q and a-b cross each other, each one's ends lying
// beyond tol on both sides of the other.
inline bool ProperlyCross(Pt2 p, Pt2 q, Pt2 a, Pt2 b, double tol)
{
    auto side = [&](Pt2 o, Pt2 d, Pt2 x) {
        const double len = std::hypot(d.x - o.x, d.y - o.y);
        const double s = Cross(o, d, x) / len;
        return s > tol ? 1 : s < -tol ? -1 : 0;
    };
    const int s1 = side(p, q, a), s2 = side(p, q, b), s3 = side(a, b, p), s4 = side(a, b, q);
    return s1 * s2 < 0 && s3 * s4 < 0;
}

// A convex island as the oracle sees it: a polygon, or a circle when r > 0.
struct Region {
    std::vector<Pt2> polygon;
    Pt2 centre;
    double r = 0.0;

    // How far p lies inside (negative outside).
    double Depth(Pt2 p) const
    {
        if (r > 0)
            return r - std::hypot(p.x - centre.x, p.y - centre.y);
        const double d = PolygonDistance(polygon, p);
        return InPolygon(polygon, p) ? d : -d;
    }
};

inline Region Circle(Pt2 c, double r)
{
    return {{}, c, r};
}

inline Region Polygon(std::vector<Pt2> corners)
{
    return {std::move(corners), {}, 0.0};
}

struct HatchCase {
    std::vector<Pt2> outline;
    std::vector<Region> islands;
    HatchFamily family;
};

// Islands apart from each other and from the outline lie strictly inside one
// inside stretch of every line they meet, so each is cut out whole. True, and
// the disc (c, r) taken, when it keeps clear of the outline and the discs taken.
inline bool TakeClearDisc(const std::vector<Pt2>& outline, std::vector<std::pair<Pt2, double>>& taken, Pt2 c,
                          double r)
{
    if (!InPolygon(outline, c) || PolygonDistance(outline, c) <= 1.05 * r)
        return false;
    for (auto [o, q] : taken)
        if (std::hypot(o.x - c.x, o.y - c.y) <= 1.05 * (r + q))
            return false;
    taken.emplace_back(c, r);
    return true;
}

// Every segment: on one of the family's lines; its midpoint inside the
// outline and outside every island; crossing no edge of the outline; each end
// on the outline or an island's edge within 1e-9 of the outline's size. Then
// along every line, every point inside the outline and outside the islands
// (by a margin) lies on a segment of that line.
inline void CheckHatch(const HatchCase& h, const HatchBoundary& boundary, const std::vector<HatchSegment>& segments)
{
    const double size = boundary.Size();
    const double near = 1e-9 * size;
    const HatchFrame frame(h.family.angle);
    const std::vector<double> levels = HatchLineLevels(boundary, h.family);
    std::vector<std::vector<std::pair<double, double>>> byLine(levels.size());

    for (const HatchSegment& s : segments) {
        const Pt2 mid{(s.a.x + s.b.x) / 2, (s.a.y + s.b.y) / 2};
        const std::string where = "segment (" + std::to_string(s.a.x) + ", " + std::to_string(s.a.y) + ")-(" +
                                  std::to_string(s.b.x) + ", " + std::to_string(s.b.y) + ")";
        const double v = frame.V(mid);
        const auto line = std::min_element(levels.begin(), levels.end(),
                                           [&](double a, double b) { return std::fabs(a - v) < std::fabs(b - v); });
        ASSERT_NE(line, levels.end());
        EXPECT_NEAR(frame.V(s.a), *line, near) << where;
        EXPECT_NEAR(frame.V(s.b), *line, near) << where;
        byLine[std::size_t(line - levels.begin())].emplace_back(frame.U(s.a), frame.U(s.b));

        EXPECT_TRUE(InPolygon(h.outline, mid) && PolygonDistance(h.outline, mid) > near) << where << " outside";
        for (const Region& r : h.islands)
            EXPECT_LE(r.Depth(mid), near) << where << " inside an island";
        for (std::size_t i = 0; i < h.outline.size(); ++i)
            EXPECT_FALSE(ProperlyCross(s.a, s.b, h.outline[i], h.outline[(i + 1) % h.outline.size()], near))
                << where << " crosses edge " << i;
        for (Pt2 end : {s.a, s.b}) {
            double d = PolygonDistance(h.outline, end);
            for (const Region& r : h.islands)
                d = std::min(d, std::fabs(r.Depth(end)));
            EXPECT_LE(d, near) << where << " ends in the open";
        }
    }

    // Coverage, sampled along every line.
    double uLo = std::numeric_limits<double>::infinity(), uHi = -uLo;
    for (Pt2 p : h.outline) {
        uLo = std::min(uLo, frame.U(p));
        uHi = std::max(uHi, frame.U(p));
    }
    const double margin = 1e-6 * size;
    constexpr int kSamples = 200;
    for (std::size_t k = 0; k < levels.size(); ++k) {
        for (int i = 0; i <= kSamples; ++i) {
            const double u = uLo + (uHi - uLo) * (i + 0.37) / kSamples;
            const bool covered = std::any_of(byLine[k].begin(), byLine[k].end(), [&](auto seg) {
                return std::min(seg.first, seg.second) <= u && u <= std::max(seg.first, seg.second);
            });
            const Pt2 p = frame.At(u, levels[k]);
            if (covered || !InPolygon(h.outline, p) || PolygonDistance(h.outline, p) <= margin ||
                std::any_of(h.islands.begin(), h.islands.end(), [&](const Region& r) { return r.Depth(p) >= -margin; }))
                continue;
            ADD_FAILURE() << "line " << k << " at level " << levels[k] << " misses (" << p.x << ", " << p.y << ")";
        }
    }
}

}  // namespace hatchcheck

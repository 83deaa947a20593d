// Line hatch speed against a bare loop that intersects the same lines with
// the same edges and keeps the crossings:
// - hatch: a 1,000-vertex concave outline (a gear of 500 teeth, radius 900 to
//   1000) with 50 islands (25 circles, 25 octagons) hatched by one family of
//   10,000 lines at 17 degrees;
// - hatch_large_outline: a 100,000-vertex star (radius 990 to 1000) around
//   10,000 circle islands, hatched by one family of 5,300 lines at 17 degrees
//   into about a million segments; its points begin just past the top, so
//   the start vertex is among the last.
#include "model/hatchlines.h"
#include "support/timing.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kAngle = 17 * kPi / 180;

// Vertices at radius outer and inner in turn, the first at angle from.
std::vector<Pt2> Star(int vertices, double outer, double inner, double from = 0.0)
{
    std::vector<Pt2> outline;
    for (int i = 0; i < vertices; ++i) {
        const double a = from + 2 * kPi * i / vertices, r = i % 2 == 0 ? outer : inner;
        outline.push_back({r * std::cos(a), r * std::sin(a)});
    }
    return outline;
}

std::vector<HatchIsland> GearIslands()
{
    std::mt19937 rng(50);
    std::uniform_real_distribution<double> place(-600, 600), size(5, 60);
    std::vector<HatchIsland> islands(50);
    for (std::size_t i = 0; i < islands.size(); ++i) {
        const Pt2 c{place(rng), place(rng)};
        const double r = size(rng);
        if (i % 2 == 0) {
            islands[i].AddCircle(c, r);
            continue;
        }
        for (int k = 0; k < 8; ++k) {
            const double a = k * kPi / 4, b = (k + 1) * kPi / 4;
            islands[i].AddSegment({c.x + r * std::cos(a), c.y + r * std::sin(a)},
                                  {c.x + r * std::cos(b), c.y + r * std::sin(b)});
        }
    }
    return islands;
}

// A 100 x 100 grid of circles, 12 apart, of radius 2 to 5.
std::vector<HatchIsland> GridIslands()
{
    std::mt19937 rng(10000);
    std::uniform_real_distribution<double> size(2, 5);
    std::vector<HatchIsland> islands;
    for (int i = 0; i < 100; ++i)
        for (int k = 0; k < 100; ++k)
            islands.emplace_back().AddCircle({12.0 * i - 594, 12.0 * k - 594}, size(rng));
    return islands;
}

// A family of lines at kAngle, the first one spacing below the start
// vertex, which lies within a spacing of the top: the spacing is set from
// where it lies.
HatchFamily FamilyOf(const HatchBoundary& boundary, int lines)
{
    const HatchFrame frame(kAngle);
    double lo = 1e300, hi = -1e300;
    for (Pt2 p : boundary.Points()) {
        lo = std::min(lo, frame.V(p));
        hi = std::max(hi, frame.V(p));
    }
    const double first = (hi - lo) / (lines + 0.5);
    const double start = HatchLineLevels(boundary, {kAngle, first, first}).front() + first;
    const double spacing = (start - lo) / (lines + 0.5);
    return {kAngle, spacing, spacing};
}

// Times the family's hatch against the bare loop over its lines and reports them.
void Measure(const char* name, const std::vector<Pt2>& outline, const std::vector<HatchIsland>& islands, int lines,
             int rounds)
{
    const HatchBoundary boundary(outline);
    const HatchFamily family = FamilyOf(boundary, lines);
    const std::vector<double> levels = HatchLineLevels(boundary, family);
    if (levels.size() != std::size_t(lines))
        Fail("the family does not have the lines it should");

    std::vector<HatchSegment> segments;
    const double ours = Best(rounds, [&] {
        segments.clear();
        AddHatchFamily(boundary, islands, family, segments);
    });
    if (segments.size() < std::size_t(lines))
        Fail("too few segments");

    // Each line through a point at its level in the family's direction,
    // against every edge: the parameter along the line where it meets the edge.
    const HatchFrame frame(kAngle);
    std::vector<double> crossings;
    std::size_t met = 0;
    const double dx = std::cos(kAngle), dy = std::sin(kAngle);
    const double base = Best(rounds, [&] {
        met = 0;
        for (double level : levels) {
            crossings.clear();
            const Pt2 o = frame.At(0.0, level);
            for (std::size_t i = 0; i < outline.size(); ++i) {
                const Pt2 a = outline[i], b = outline[(i + 1) % outline.size()];
                const double ex = b.x - a.x, ey = b.y - a.y;
                const double den = dx * ey - dy * ex;
                if (den == 0.0)
                    continue;
                const double s = ((a.x - o.x) * dy - (a.y - o.y) * dx) / den;  // along the edge
                if (s >= 0.0 && s <= 1.0)
                    crossings.push_back(((a.x - o.x) * ey - (a.y - o.y) * ex) / den);
            }
            met += crossings.size();
        }
    });
    if (met < 2 * std::size_t(lines))
        Fail("the bare loop met too few edges");
    Report(name, ours, base, (" (" + std::to_string(segments.size()) + " segments)").c_str());
}

}  // namespace

int main()
{
    Measure("hatch", Star(1000, 1000, 900), GearIslands(), 10000, 5);
    Measure("hatch_large_outline", Star(100000, 1000, 990, kAngle + kPi / 2 + 0.05), GridIslands(), 5300, 3);
}

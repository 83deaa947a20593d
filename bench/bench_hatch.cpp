// Line hatch speed: a 1,000-vertex concave outline (a gear of 500 teeth,
// radius 900 to 1000) with 50 islands (25 circles, 25 octagons) hatched by
// one family of 10,000 lines at 17 degrees, against a bare loop that
// intersects the same lines with the same edges and keeps the crossings.
#include "model/hatchlines.h"
#include "support/timing.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <random>
#include <vector>

namespace {

constexpr double kPi = std::numbers::pi;
constexpr int kVertices = 1000;
constexpr int kLines = 10000;

std::vector<Pt2> Gear()
{
    std::vector<Pt2> outline;
    for (int i = 0; i < kVertices; ++i) {
        const double a = 2 * kPi * i / kVertices, r = i % 2 == 0 ? 1000.0 : 900.0;
        outline.push_back({r * std::cos(a), r * std::sin(a)});
    }
    return outline;
}

std::vector<HatchIsland> Islands()
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

}  // namespace

int main()
{
    const std::vector<Pt2> outline = Gear();
    const std::vector<HatchIsland> islands = Islands();
    const HatchBoundary boundary(outline);
    const double angle = 17 * kPi / 180;
    const HatchFrame frame(angle);
    double lo = 1e300, hi = -1e300;
    for (Pt2 p : outline) {
        lo = std::min(lo, frame.V(p));
        hi = std::max(hi, frame.V(p));
    }
    // The lines start one spacing below the start vertex, which lies within a
    // spacing of the top: the spacing is set from where it lies.
    const double first = (hi - lo) / (kLines + 0.5);
    const double start = HatchLineLevels(boundary, {angle, first, first}).front() + first;
    const double spacing = (start - lo) / (kLines + 0.5);
    const HatchFamily family{angle, spacing, spacing};
    const std::vector<double> levels = HatchLineLevels(boundary, family);
    if (levels.size() != std::size_t(kLines))
        Fail("the family does not have 10,000 lines");

    std::vector<HatchSegment> segments;
    const double ours = Best(5, [&] {
        segments.clear();
        AddHatchFamily(boundary, islands, family, segments);
    });
    if (segments.size() < std::size_t(kLines))
        Fail("too few segments");

    // Each line through a point at its level in the family's direction,
    // against every edge: the parameter along the line where it meets the edge.
    std::vector<double> crossings;
    std::size_t met = 0;
    const double dx = std::cos(angle), dy = std::sin(angle);
    const double base = Best(5, [&] {
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
    if (met < 2 * std::size_t(kLines))
        Fail("the bare loop met too few edges");

    std::printf("hatch ratio=%.3g ours_ms=%.4g base_ms=%.4g\n", ours / base, ours, base);
}

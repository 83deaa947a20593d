#include "model/hatchlines.h"
#include "support/hatch_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>
#include <random>
#include <vector>

using namespace hatchcheck;

namespace {

constexpr double kPi = std::numbers::pi;

std::vector<HatchSegment> HatchOf(const std::vector<Pt2>& outline, std::vector<HatchIsland> islands,
                                const HatchFamily& family)
{
    const HatchBoundary boundary(outline);
    std::vector<HatchSegment> out;
    AddHatchFamily(boundary, islands, family, out);
    return out;
}

// Convex hull of random grid points, without collinear vertices.
std::vector<Pt2> ConvexPolygon(std::mt19937& rng)
{
    std::uniform_int_distribution<int> coord(-10, 10);
    for (;;) {
        std::vector<Pt2> pts(12);
        for (Pt2& p : pts)
            p = {double(coord(rng)), double(coord(rng))};
        std::sort(pts.begin(), pts.end(), [](Pt2 a, Pt2 b) { return a.x < b.x || (a.x == b.x && a.y < b.y); });
        std::vector<Pt2> hull;
        for (int pass = 0; pass < 2; ++pass) {
            const std::size_t base = hull.size();
            for (Pt2 p : pts) {
                while (hull.size() >= base + 2 && Cross(hull[hull.size() - 2], hull.back(), p) <= 0)
                    hull.pop_back();
                hull.push_back(p);
            }
            hull.pop_back();
            std::reverse(pts.begin(), pts.end());
        }
        if (hull.size() >= 3)
            return hull;
    }
}

bool SegmentsMeet(Pt2 a, Pt2 b, Pt2 c, Pt2 d)
{
    auto sign = [](double v) { return v > 0 ? 1 : v < 0 ? -1 : 0; };
    auto onSeg = [](Pt2 p, Pt2 q, Pt2 r) {
        return std::min(p.x, q.x) <= r.x && r.x <= std::max(p.x, q.x) && std::min(p.y, q.y) <= r.y &&
               r.y <= std::max(p.y, q.y);
    };
    const int d1 = sign(Cross(a, b, c)), d2 = sign(Cross(a, b, d)), d3 = sign(Cross(c, d, a)),
              d4 = sign(Cross(c, d, b));
    if (d1 * d2 < 0 && d3 * d4 < 0)
        return true;
    return (d1 == 0 && onSeg(a, b, c)) || (d2 == 0 && onSeg(a, b, d)) || (d3 == 0 && onSeg(c, d, a)) ||
           (d4 == 0 && onSeg(c, d, b));
}

bool IsSimple(const std::vector<Pt2>& poly)
{
    const std::size_t n = poly.size();
    for (std::size_t i = 0; i < n; ++i) {
        const Pt2 a = poly[i], b = poly[(i + 1) % n], c = poly[(i + 2) % n];
        if (Cross(a, b, c) == 0 && (b.x - a.x) * (c.x - b.x) + (b.y - a.y) * (c.y - b.y) <= 0)
            return false;  // folds back on itself
        for (std::size_t j = i + 2; j < n; ++j) {
            if (i == 0 && j == n - 1)
                continue;
            if (SegmentsMeet(a, b, poly[j], poly[(j + 1) % n]))
                return false;
        }
    }
    return true;
}

// A star around the origin with vertices on the grid: concave as a rule.
std::vector<Pt2> StarPolygon(std::mt19937& rng)
{
    std::uniform_int_distribution<int> count(7, 18);
    std::uniform_real_distribution<double> turn(0.0, 2 * kPi), radius(2.0, 12.0);
    for (;;) {
        std::vector<double> angles(std::size_t(count(rng)));
        for (double& a : angles)
            a = turn(rng);
        std::sort(angles.begin(), angles.end());
        std::vector<Pt2> poly;
        for (double a : angles) {
            const double r = radius(rng);
            const Pt2 p{std::round(r * std::cos(a)), std::round(r * std::sin(a))};
            if (poly.empty() || p.x != poly.back().x || p.y != poly.back().y)
                poly.push_back(p);
        }
        if (poly.size() >= 4 && IsSimple(poly))
            return poly;
    }
}

// A spacing at which the lines of direction a pass through grid vertices.
double GridSpacing(double a)
{
    const double s = std::fabs(std::sin(a));
    return (s > 0.1 ? s : std::fabs(std::cos(a))) / 2;
}

// The kinds of the hatch dialog as families: single lines, two families, double lines.
std::vector<HatchFamily> KindFamilies(int kind, double a)
{
    const double s = GridSpacing(a);
    switch (kind) {
    case 1: return {{a, s, s}};
    case 2: return {{a, s, s}, {a + kPi / 2, GridSpacing(a + kPi / 2), GridSpacing(a + kPi / 2)}};
    default: return {{a, s, 2 * s}};
    }
}

// The lines start within two spacings of the outline's top, step by the
// family's spacings in turn and go on down to its bottom.
void CheckLevels(const HatchBoundary& boundary, const HatchFamily& f)
{
    const std::vector<double> levels = HatchLineLevels(boundary, f);
    ASSERT_FALSE(levels.empty());
    const HatchFrame frame(f.angle);
    double lo = 1e300, hi = -1e300;
    for (Pt2 p : boundary.Points()) {
        lo = std::min(lo, frame.V(p));
        hi = std::max(hi, frame.V(p));
    }
    const double tol = 1e-9 * boundary.Size();
    EXPECT_LE(levels.front(), hi - f.spacing + tol);
    EXPECT_GT(levels.front(), hi - 2 * f.spacing - tol);
    for (std::size_t i = 1; i < levels.size(); ++i)
        EXPECT_NEAR(levels[i - 1] - levels[i], i % 2 == 1 ? f.spacing2 : f.spacing, tol) << i;
    EXPECT_GE(levels.back(), lo - tol);
    EXPECT_LT(levels.back() - (levels.size() % 2 == 1 ? f.spacing2 : f.spacing), lo);
}

}  // namespace

// Random simple outlines with vertices on the grid, so that lines run through
// vertices and along edges: every kind at the five angles keeps inside, ends
// on the outline and covers every line's inside.
TEST(HatchLines, RandomSimpleOutlinesEveryKindAndAngle)
{
    std::mt19937 rng(14);
    std::vector<std::vector<Pt2>> outlines = {
        {{0, 0}, {6, 0}, {6, 4}, {3, 7}, {0, 4}},                   // a house
        {{0, 0}, {8, 0}, {8, 6}, {6, 6}, {6, 2}, {2, 2}, {2, 6}, {0, 6}},  // a U
    };
    for (int i = 0; i < 4; ++i) {
        outlines.push_back(ConvexPolygon(rng));
        outlines.push_back(StarPolygon(rng));
    }
    // Far from the origin the tolerance follows the coordinates.
    std::vector<Pt2> far = outlines.back();
    for (Pt2& p : far)
        p = {p.x + 100000, p.y - 300000};
    outlines.push_back(far);

    for (std::size_t o = 0; o < outlines.size(); ++o) {
        const HatchBoundary boundary(outlines[o]);
        ASSERT_EQ(boundary.Error(), HatchError::none) << o;
        for (double degrees : {0.0, 30.0, 45.0, 90.0, 137.0}) {
            for (int kind = 1; kind <= 3; ++kind) {
                for (const HatchFamily& f : KindFamilies(kind, DegToRad(degrees))) {
                    SCOPED_TRACE("outline " + std::to_string(o) + ", " + std::to_string(degrees) + " degrees, kind " +
                                 std::to_string(kind));
                    ASSERT_EQ(CheckHatchFamily(boundary, f), HatchError::none);
                    CheckLevels(boundary, f);
                    std::vector<HatchSegment> out;
                    AddHatchFamily(boundary, {}, f, out);
                    EXPECT_FALSE(out.empty());
                    CheckHatch({outlines[o], {}, f}, boundary, out);
                }
            }
        }
    }
}

// A line that passes between the teeth of a concave outline does not end the family.
TEST(HatchLines, LinesGoOnPastAGap)
{
    const std::vector<Pt2> teeth = {{0, 0}, {2, 0}, {2, 10}, {1, 10}, {1, 1}, {0.5, 1}, {0.5, 10}, {0, 10}};
    // Direction 90: lines are vertical and fall to the right, x = 1.75, 1.5 ... 0.25.
    const std::vector<double> levels = HatchLineLevels(HatchBoundary(teeth), {kPi / 2, 0.25, 0.25});
    EXPECT_EQ(levels.size(), 8u);
    const auto out = HatchOf(teeth, {}, {kPi / 2, 0.25, 0.25});
    int upper = 0;
    for (const HatchSegment& s : out)
        upper += std::max(s.a.y, s.b.y) > 5;
    EXPECT_EQ(upper, 4);  // x = 0.25, 1.25, 1.5 and 1.75 rise to 10; 0.5 to 1 only run along the bar
}

// The first vertex in outline order that can start the family places every
// line, whichever vertex lies highest (lowest for a negative spacing).
TEST(HatchLines, TheFirstStartVertexInOutlineOrderPlacesTheLines)
{
    const std::vector<Pt2> pentagon = {{0, 0}, {10, 0.5}, {10, 9.5}, {6, 10}, {2, 9.25}};
    struct Case {
        int first;  // the outline from this point on
        double spacing, level;
    };
    const Case cases[] = {{0, 1, 8.5}, {3, 1, 9}, {4, 1, 8.25}, {0, -1, 1}, {1, -1, 1.5}, {2, -1, 1}};
    for (const Case& c : cases) {
        std::vector<Pt2> outline = pentagon;
        std::rotate(outline.begin(), outline.begin() + c.first, outline.end());
        EXPECT_EQ(HatchLineLevels(HatchBoundary(outline), {0.0, c.spacing, c.spacing}).front(), c.level)
            << c.first << ", " << c.spacing;
    }

    // Jagged outlines of 1,000 points, at angles and spacings where many pass.
    std::mt19937 rng(12);
    std::uniform_real_distribution<double> radius(90, 100);
    for (int k = 0; k < 3; ++k) {
        std::vector<Pt2> outline;
        for (int i = 0; i < 1000; ++i) {
            const double a = 2 * kPi * i / 1000 + k, r = radius(rng);
            outline.push_back({r * std::cos(a), r * std::sin(a)});
        }
        const HatchBoundary boundary(outline);
        for (double angle : {0.0, 0.7, 2.5, 4.0}) {
            for (double spacing : {3.0, -3.0}) {
                const auto first = std::find_if(outline.begin(), outline.end(), [&](Pt2 p) {
                    return IsHatchStartVertex(boundary, angle, spacing, p);
                });
                ASSERT_NE(first, outline.end());
                EXPECT_EQ(HatchLineLevels(boundary, {angle, spacing, spacing}).front(),
                          HatchFrame(angle).V(*first) - spacing)
                    << k << ", " << angle << ", " << spacing;
            }
        }
    }
}

// Finding the start walks the outline twice at most, wherever the start
// vertex lies in it: here among the last of 20,000 points.
TEST(HatchLines, FindingTheStartVisitsEachPointTwiceAtMost)
{
    std::vector<Pt2> star;
    for (int i = 0; i < 20000; ++i) {
        const double a = kPi / 2 + 0.2 + 2 * kPi * i / 20000, r = i % 2 == 0 ? 100 : 99;
        star.push_back({r * std::cos(a), r * std::sin(a)});
    }
    const HatchBoundary boundary(star);
    const HatchFamily f{0.0, 0.5, 0.5};
    HatchWork work;
    ASSERT_FALSE(HatchLineLevels(boundary, f, &work).empty());
    EXPECT_LE(work.outlinePoints, 2 * star.size());
    CheckLevels(boundary, f);
}

TEST(HatchIslands, CircleLeavesItsChord)
{
    const std::vector<Pt2> square = {{-10, -10}, {10, -10}, {10, 10}, {-10, 10}};
    HatchIsland circle;
    const Pt2 c{0.3, 0.2};
    const double r = 3.6;
    circle.AddCircle(c, r);
    const auto out = HatchOf(square, {circle}, {0.0, 0.5, 0.5});
    int gaps = 0;
    for (std::size_t i = 0; i + 1 < out.size(); ++i) {
        if (out[i].a.y != out[i + 1].a.y)
            continue;
        const double h = out[i].a.y - c.y;
        ASSERT_LT(std::fabs(h), r);
        EXPECT_NEAR(out[i + 1].a.x - out[i].b.x, 2 * std::sqrt(r * r - h * h), 1e-9);
        ++gaps;
    }
    EXPECT_EQ(gaps, 14);  // every line from y = 3.5 down to -3
}

// An island is cut out only where it lies strictly inside one inside
// stretch: one reaching over the outline splits the line where it runs
// inside, leaving no gap; one over two stretches, the outline itself and one
// inside the gap a first one left change nothing; one that touches the line
// splits it there.
TEST(HatchIslands, OnlyIslandsWithinOneStretchAreCut)
{
    const std::vector<Pt2> comb = {{0, 0}, {10, 0}, {10, 5}, {6, 5}, {6, 1}, {4, 1}, {4, 5}, {0, 5}};
    HatchIsland over, span, self, touch, first, inGap;
    over.AddCircle({0, 4}, 2);
    auto box = [](HatchIsland& island, double x1, double y1, double x2, double y2) {
        for (auto [a, b] : {std::pair<Pt2, Pt2>{{x1, y1}, {x2, y1}}, {{x2, y1}, {x2, y2}}, {{x2, y2}, {x1, y2}},
                            {{x1, y2}, {x1, y1}}})
            island.AddSegment(a, b);
    };
    box(span, 3, 2.5, 7, 3.5);
    for (std::size_t i = 0; i < comb.size(); ++i)
        self.AddSegment(comb[i], comb[(i + 1) % comb.size()]);
    touch.AddSegment({8, 3}, {9, 4});
    first.AddCircle({8.6, 3}, 0.4);  // cuts 8.2..9 on y = 3, after the touch at 8
    inGap.AddCircle({8.6, 3}, 0.2);
    const auto out = HatchOf(comb, {over, span, self, touch, first, inGap}, {0.0, 1.0, 1.0});
    std::vector<std::pair<double, double>> at3;
    for (const HatchSegment& s : out)
        if (std::fabs(s.a.y - 3) < 1e-12)
            at3.emplace_back(s.a.x, s.b.x);
    const std::pair<double, double> expected[] = {{0, std::sqrt(3.0)}, {std::sqrt(3.0), 4}, {6, 8}, {8, 8.2}, {9, 10}};
    ASSERT_EQ(at3.size(), std::size(expected));
    for (std::size_t i = 0; i < at3.size(); ++i) {
        EXPECT_NEAR(at3[i].first, expected[i].first, 1e-12) << i;
        EXPECT_NEAR(at3[i].second, expected[i].second, 1e-12) << i;
    }
}

// An island far along a long line is cut like a near one; one reaching over
// the line's start splits it where it runs inside.
TEST(HatchIslands, StretchesAtAnyDistanceAreCut)
{
    const std::vector<Pt2> strip = {{0, 0}, {30000, 0}, {30000, 2}, {0, 2}};
    HatchIsland far, atStart;
    far.AddCircle({20000, 1}, 0.5);
    atStart.AddSegment({-1, 0.5}, {3, 1.5});
    atStart.AddSegment({3, 1.5}, {-1, 1.5});
    atStart.AddSegment({-1, 1.5}, {-1, 0.5});
    const auto out = HatchOf(strip, {far, atStart}, {0.0, 1.0, 1.0});
    ASSERT_EQ(out.size(), 3u);  // the line y = 1, in three
    EXPECT_NEAR(out[0].b.x, 1, 1e-9);
    EXPECT_NEAR(out[1].a.x, 1, 1e-9);
    EXPECT_NEAR(out[1].b.x, 19999.5, 1e-9);
    EXPECT_NEAR(out[2].a.x, 20000.5, 1e-9);
}

// Each island is tested against one stretch of a line however many the line
// meets: 10,000 circles in a row, taken in no order, then as many inside the
// gaps they leave and as many reaching into them, which change nothing.
TEST(HatchIslands, EachIslandIsTestedAgainstOneStretch)
{
    constexpr int kCircles = 10000;
    const std::vector<Pt2> strip = {{0, 0}, {10.0 * kCircles, 0}, {10.0 * kCircles, 2}, {0, 2}};
    std::vector<int> order(kCircles);
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), std::mt19937(10));
    std::vector<HatchIsland> islands(3 * kCircles);
    for (std::size_t i = 0; i < kCircles; ++i) {
        islands[i].AddCircle({10.0 * order[i] + 5, 1}, 0.5);
        islands[kCircles + i].AddCircle({10.0 * i + 5, 1}, 0.25);
        islands[2 * kCircles + i].AddCircle({10.0 * i + 5.75, 1}, 0.5);
    }
    HatchWork work;
    std::vector<HatchSegment> out;
    AddHatchFamily(HatchBoundary(strip), islands, {0.0, 1.0, 1.0}, out, &work);
    EXPECT_LE(work.stretchTests, islands.size());
    ASSERT_EQ(out.size(), kCircles + 1u);  // the line y = 1
    for (std::size_t i = 0; i < kCircles; ++i) {
        EXPECT_NEAR(out[i].b.x, 10.0 * i + 4.5, 1e-9) << i;
        EXPECT_NEAR(out[i + 1].a.x, 10.0 * i + 5.5, 1e-9) << i;
    }
}

// Fifty circles and fifty turned squares inside a concave outline.
TEST(HatchIslands, FiftyIslandsOfEachShape)
{
    const std::vector<Pt2> outline = {{0, 0}, {60, 0}, {60, 40}, {35, 40}, {30, 25}, {25, 40}, {0, 40}};
    std::mt19937 rng(50);
    std::uniform_real_distribution<double> x(2, 58), y(2, 38), r(0.3, 1.2), turn(0, kPi);
    std::vector<HatchIsland> islands;
    std::vector<Region> regions;
    std::vector<std::pair<Pt2, double>> taken;
    auto clear = [&](Pt2& c, double& size) {
        do {
            c = {x(rng), y(rng)};
            size = r(rng);
        } while (!TakeClearDisc(outline, taken, c, size));
    };
    for (int i = 0; i < 50; ++i) {
        Pt2 c;
        double size = 0.0;
        clear(c, size);
        islands.emplace_back().AddCircle(c, size);
        regions.push_back(Circle(c, size));
    }
    for (int i = 0; i < 50; ++i) {
        Pt2 c;
        double h = 0.0;
        clear(c, h);
        const double a = turn(rng);
        std::vector<Pt2> corners;
        for (int k = 0; k < 4; ++k)
            corners.push_back({c.x + h * std::cos(a + k * kPi / 2), c.y + h * std::sin(a + k * kPi / 2)});
        HatchIsland& island = islands.emplace_back();
        for (int k = 0; k < 4; ++k)
            island.AddSegment(corners[std::size_t(k)], corners[std::size_t(k + 1) % 4]);
        regions.push_back(Polygon(corners));
    }
    for (double degrees : {0.0, 30.0, 45.0, 90.0, 137.0}) {
        SCOPED_TRACE(degrees);
        const HatchFamily f{DegToRad(degrees), 0.37, 0.37};
        const HatchBoundary boundary(outline);
        std::vector<HatchSegment> out;
        AddHatchFamily(boundary, islands, f, out);
        CheckHatch({outline, regions, f}, boundary, out);
    }
}

TEST(HatchIslands, ArcIslandCutsOnlyWhereItRuns)
{
    // The upper half of a circle, open below: lines under the centre pass.
    const std::vector<Pt2> square = {{-5, -5}, {5, -5}, {5, 5}, {-5, 5}};
    HatchIsland arc;
    arc.AddArc({0, 0}, 2, 0, kPi);
    const auto out = HatchOf(square, {arc}, {0.0, 1.0, 1.0});
    int pieces1 = 0, piecesMinus1 = 0;
    for (const HatchSegment& s : out) {
        pieces1 += std::fabs(s.a.y - 1) < 1e-12;
        piecesMinus1 += std::fabs(s.a.y + 1) < 1e-12;
    }
    EXPECT_EQ(pieces1, 2);
    EXPECT_EQ(piecesMinus1, 1);
    arc.AddArc({NAN, 0}, 2, 0, kPi);
    arc.AddArc({0, 0}, 0, 0, kPi);
    arc.AddArc({0, 0}, 2, NAN, kPi);
    arc.AddCircle({0, 0}, 0);
    EXPECT_EQ(arc.Arcs().size(), 1u) << "arcs of no size or with unusable numbers are not kept";
}

TEST(HatchLines, DegenerateOutlines)
{
    EXPECT_EQ(HatchBoundary(std::vector<Pt2>{{0, 0}, {1, 1}, {3, 3}}).Error(), HatchError::noArea);
    EXPECT_EQ(HatchBoundary(std::vector<Pt2>{{0, 0}, {1, 1}, {1, 1}, {0, 0}}).Error(), HatchError::fewPoints);
    EXPECT_EQ(HatchBoundary(std::vector<Pt2>{{0, 0}, {1, 0}}).Error(), HatchError::fewPoints);
    EXPECT_EQ(HatchBoundary(std::vector<Pt2>{}).Error(), HatchError::fewPoints);
    EXPECT_EQ(HatchBoundary(std::vector<Pt2>{{0, 0}, {1, NAN}, {0, 1}}).Error(), HatchError::badPoint);
    EXPECT_EQ(HatchBoundary(std::vector<Pt2>{{0, 0}, {1e300, 0}, {0, 1}}).Error(), HatchError::badPoint);

    // Repeated points, the first again at the end, give the plain square.
    const HatchBoundary repeated(std::vector<Pt2>{{0, 0}, {0, 0}, {4, 0}, {4, 4}, {4, 4}, {4, 4}, {0, 4}, {0, 0}});
    EXPECT_EQ(repeated.Error(), HatchError::none);
    EXPECT_EQ(repeated.Points().size(), 4u);
    std::vector<HatchSegment> a, b;
    AddHatchFamily(repeated, {}, {0.3, 0.5, 0.5}, a);
    AddHatchFamily(HatchBoundary(std::vector<Pt2>{{0, 0}, {4, 0}, {4, 4}, {0, 4}}), {}, {0.3, 0.5, 0.5}, b);
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].a.x, b[i].a.x);
        EXPECT_EQ(a[i].b.y, b[i].b.y);
    }

    // A bow-tie hatches by the even-odd rule: two triangles meeting at (2, 2).
    const auto bow = HatchOf({{0, 0}, {4, 4}, {4, 0}, {0, 4}}, {}, {0.0, 0.5, 0.5});
    std::vector<std::pair<double, double>> at2;
    for (const HatchSegment& s : bow) {
        const double mx = (s.a.x + s.b.x) / 2, my = s.a.y;
        EXPECT_TRUE(mx < std::min(my, 4 - my) || mx > std::max(my, 4 - my)) << mx << ", " << my;
        if (my == 2)
            at2.emplace_back(s.a.x, s.b.x);
    }
    ASSERT_EQ(at2.size(), 2u);
    EXPECT_NEAR(at2[0].second, 2, 1e-12);
    EXPECT_NEAR(at2[1].first, 2, 1e-12);
}

TEST(HatchLines, SpacingsThatCannotBeHatchedAreRefused)
{
    const HatchBoundary square(std::vector<Pt2>{{0, 0}, {10, 0}, {10, 10}, {0, 10}});
    struct Case {
        HatchFamily family;
        HatchError error;
        std::size_t lines, segments;
    };
    const Case cases[] = {
        {{0.0, 0.0, 0.0}, HatchError::none, 0, 0},  // no lines
        {{0.0, 1e-12, 1e-12}, HatchError::tooManyLines, 0, 0},
        {{0.0, 1e-4, 1e-4}, HatchError::none, 100000, 99999},  // the last runs along the bottom edge
        {{0.0, 9e-5, 9e-5}, HatchError::tooManyLines, 0, 0},
        {{0.0, NAN, NAN}, HatchError::badPattern, 0, 0},
        {{0.0, INFINITY, INFINITY}, HatchError::badPattern, 0, 0},
        {{NAN, 1.0, 1.0}, HatchError::badPattern, 0, 0},
        {{0.0, -1.0, -1.0}, HatchError::none, 10, 9},  // upwards from the bottom
        {{0.0, 1.0, -0.5}, HatchError::none, 38, 37},   // double lines stepping back and on
        {{0.0, 1.0, -1.0}, HatchError::noAdvance, 0, 0},
        {{0.0, 20.0, 20.0}, HatchError::none, 0, 0},       // wider than the outline
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.family.angle) + " " + std::to_string(c.family.spacing) + " " +
                     std::to_string(c.family.spacing2));
        EXPECT_EQ(CheckHatchFamily(square, c.family), c.error);
        EXPECT_EQ(HatchLineLevels(square, c.family).size(), c.lines);
        std::vector<HatchSegment> out;
        AddHatchFamily(square, {}, c.family, out);
        EXPECT_EQ(out.size(), c.segments);
    }
    EXPECT_EQ(CheckHatchFamily(HatchBoundary(std::vector<Pt2>{{0, 0}, {1, 0}}), {0.0, 1.0, 1.0}),
              HatchError::fewPoints);

    // Combs of 100000 lines (within bounds), each line in the teeth cut into
    // a segment a tooth: eleven teeth make about a million segments, which
    // are made; twenty-three, over two million, are refused.
    const auto comb = [](int teeth) {
        std::vector<Pt2> points = {{0, 0}, {2.0 * teeth - 1, 0}};
        for (int x = 2 * teeth - 1; x > 0; x -= 2)
            points.insert(points.end(), {{double(x), 10}, {x - 1.0, 10}, {x - 1.0, 1}, {x - 2.0, 1}});
        points.resize(points.size() - 2);
        return HatchBoundary(points);
    };
    const HatchFamily across{kPi / 2, 1.0, 1.0}, along{0.0, 1e-4, 1e-4};
    const HatchBoundary eleven = comb(11), many = comb(23);
    EXPECT_EQ(CheckHatchFamily(many, along), HatchError::none);
    EXPECT_EQ(CheckHatchSize(many, {}, std::vector<HatchFamily>{across, along}), HatchError::tooManySegments);
    EXPECT_EQ(CheckHatchSize(eleven, {}, std::vector<HatchFamily>{across, along}), HatchError::none);
    std::vector<HatchSegment> made;
    AddHatchFamily(eleven, {}, along, made);
    EXPECT_EQ(HatchLineLevels(eleven, along).size(), 100000u);
    EXPECT_EQ(made.size(), 90000u * 11 + 9999u);
    // Each line an island meets may be split: 100000 lines, and 24 islands
    // as deep as 80000 of them.
    std::vector<HatchIsland> rounds(24);
    for (std::size_t i = 0; i < rounds.size(); ++i)
        rounds[i].AddCircle({5, 5}, 4);
    EXPECT_EQ(CheckHatchSize(square, {}, std::vector<HatchFamily>{along}), HatchError::none);
    EXPECT_EQ(CheckHatchSize(square, rounds, std::vector<HatchFamily>{along}), HatchError::tooManySegments);
    rounds.pop_back();
    EXPECT_EQ(CheckHatchSize(square, rounds, std::vector<HatchFamily>{along}), HatchError::none);
    EXPECT_FALSE(HatchErrorText(HatchError::tooManyLines).empty());
    EXPECT_TRUE(HatchErrorText(HatchError::none).empty());
}

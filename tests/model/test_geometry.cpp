#include "model/geometry.h"
#include "model/hatchlines.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <tuple>

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2.0 * std::numbers::pi;
double Deg(double d) { return DegToRad(d); }

#define EXPECT_PT_NEAR(p, ex, ey, tol) \
    do {                               \
        EXPECT_NEAR((p).x, ex, tol);   \
        EXPECT_NEAR((p).y, ey, tol);   \
    } while (0)

// Square (0,0)-(10,10).
const Pt2 kC1{0, 0}, kC2{10, 0}, kC3{10, 10}, kC4{0, 10};

} // namespace

TEST(GeomBasics, AngleAndDeviceMapping)
{
    EXPECT_DOUBLE_EQ(Distance2D(0.0, 3.0, 0.0, 4.0), 5.0);  // x1, x2, y1, y2
    EXPECT_NEAR(Angle2D(0, 0, 1, 0), 0.0001, 1e-9);
    EXPECT_NEAR(Angle2D(0, 0, -1, 0), kPi - 0.0001, 1e-9);
    EXPECT_NEAR(Angle2D(0, 0, 1, -1), 7 * kPi / 4, 1e-12);

    EXPECT_PT_NEAR(LogicalToWorld(20, -3, 2.0, 0.5, 1.0), 10.5, -0.5, 0.0);
}

TEST(GeomIntersect, SegmentsAndLines)
{
    Pt2 out{-99, -99};
    EXPECT_FALSE(IntersectSegments({0, 0}, {1, 1}, {0, 1}, {1, 2}, out));  // parallel: untouched
    EXPECT_FALSE(IntersectSegments({0, 0}, {5, 0}, {1, 3}, {4, 3}, out));
    EXPECT_FALSE(IntersectSegments({0, 0}, {0, 5}, {1, 3}, {1, 4}, out));
    EXPECT_PT_NEAR(out, -99.0, -99.0, 0.0);
    // Crossing on the extension beyond B: point written, result 0.
    EXPECT_FALSE(IntersectSegments({0, 0}, {1, 1}, {4, 0}, {3, 1}, out));
    EXPECT_PT_NEAR(out, 2.0, 2.0, 1e-12);
    // Horizontal x vertical, at the 0.0001 slack past B.
    EXPECT_TRUE(IntersectSegments({0, 0}, {10, 0}, {10.00005, -1}, {10.00005, 1}, out));
    EXPECT_FALSE(IntersectSegments({0, 0}, {10, 0}, {10.0002, -1}, {10.0002, 1}, out));
    EXPECT_TRUE(IntersectSegments({1, -5}, {1, 5}, {0, 0}, {2, 2}, out));  // vertical x sloped
    EXPECT_PT_NEAR(out, 1.0, 1.0, 1e-3);

    // Slopes 1 and 1.0003: parallel for lines (0.0004), not for segments (0.0001).
    out = {-99, -99};
    EXPECT_FALSE(IntersectLines({0, 0}, {1, 1}, {0, 1}, {1, 2.0003}, out));
    EXPECT_EQ(out.x, -99.0);
    IntersectSegments({0, 0}, {1, 1}, {0, 1}, {1, 2.0003}, out);
    EXPECT_NE(out.x, -99.0);
    EXPECT_TRUE(IntersectLines({0, 0}, {1, 0}, {5, 3}, {5, 4}, out));  // no on-segment test
    EXPECT_PT_NEAR(out, 5.0, 0.0, 0.0);
}

TEST(GeomIntersect, Quads)
{
    EXPECT_TRUE(IntersectSegmentQuad(0, kC1, kC2, kC3, kC4, {2, 5}, {8, 6}));
    EXPECT_FALSE(IntersectSegmentQuad(0, kC1, kC2, kC3, kC4, {-5, 5}, {5, 6}));
    EXPECT_TRUE(IntersectSegmentQuad(1, kC1, kC2, kC3, kC4, {-5, 5}, {5, 6}));
    EXPECT_TRUE(IntersectSegmentQuad(1, kC1, kC2, kC3, kC4, {-5, 4}, {15, 6}));
    EXPECT_FALSE(IntersectSegmentQuad(1, kC1, kC2, kC3, kC4, {12, 5}, {15, 6}));
    EXPECT_FALSE(IntersectSegmentQuad(1, kC1, kC2, kC3, kC4, {-1, -1}, {11, 11}));  // through two corners

    const Pt2 d1{5, 0}, d2{10, 5}, d3{5, 10}, d4{0, 5};  // diamond
    EXPECT_TRUE(PointInQuad(d1, d2, d3, d4, {7.5, 2.5}));  // on a side
    EXPECT_FALSE(PointInQuad(d1, d2, d3, d4, {9, 2}));
}

TEST(GeomCircle, SegmentCircleAndArcInQuad)
{
    Pt2 p1, p2;
    bool s1, s2, a1, a2;
    ASSERT_EQ(IntersectSegmentCircle({0, 0}, {10, 0}, 3, 0, kPi / 2, {0, 0}, 5, p1, p2, s1, s2, a1, a2), 2);
    EXPECT_PT_NEAR(p2, -5.0, 0.0, 0.0);
    EXPECT_TRUE(s1 && a1 && !s2 && !a2);
    ASSERT_EQ(IntersectSegmentCircle({4, -10}, {4, 10}, 0, 0, 0, {1, 1}, 5, p1, p2, s1, s2, a1, a2), 2);
    EXPECT_TRUE(p1.y == 5.0 && p2.y == -3.0);
    EXPECT_EQ(IntersectSegmentCircle({-10, 5}, {10, 5}, 0, 0, 0, {0, 0}, 5, p1, p2, s1, s2, a1, a2), 2);  // touching
    EXPECT_EQ(IntersectSegmentCircle({-9, -9}, {9, 9}, 0, 0, 0, {10, -10}, 1, p1, p2, s1, s2, a1, a2), 0);

    EXPECT_TRUE(ArcCrossesQuad(1, kC1, kC2, kC3, kC4, {0, 5}, 2, 0, kTwoPi, false));
    EXPECT_FALSE(ArcCrossesQuad(0, kC1, kC2, kC3, kC4, {0, 5}, 2, 0, kTwoPi, false));
    EXPECT_TRUE(ArcCrossesQuad(0, kC1, kC2, kC3, kC4, {5, 5}, 2, 0, kTwoPi, false));     // inside
    EXPECT_FALSE(ArcCrossesQuad(1, kC1, kC2, kC3, kC4, {5, 5}, 100, 0, kTwoPi, false));  // enclosing
    // The left half of the crossing circle stays outside; the right half crosses.
    EXPECT_FALSE(ArcCrossesQuad(1, kC1, kC2, kC3, kC4, {0, 5}, 2, kPi / 2 + 0.1, 3 * kPi / 2 - 0.1, true));
    EXPECT_TRUE(ArcCrossesQuad(1, kC1, kC2, kC3, kC4, {0, 5}, 2, 3 * kPi / 2 - 0.1, kPi / 2 + 0.1, true));
}

TEST(GeomCircle, IntersectCircles)
{
    Pt2 p1, p2;
    bool f1, f2;
    ASSERT_EQ(IntersectCircles(0, 0, 0, {0, 0}, 4, 0, 0, {3, 0}, 5, p1, p2, f1, f2), 2);
    for (Pt2 p : {p1, p2})
        EXPECT_NEAR(Distance2D(p, {3, 0}), 5.0, 1e-9);  // on both circles, centres on a level too
    EXPECT_TRUE(p1.y > 0.0 && p2.y < 0.0);
    IntersectCircles(3, 0, kPi, {0, 0}, 4, kPi, kTwoPi, {3, 0}, 5, p1, p2, f1, f2);
    EXPECT_TRUE(!f1 && !f2);  // each point lies on one arc only

    ASSERT_EQ(IntersectCircles(0, 0, 0, {0, 0}, 1, 0, 0, {2, 0}, 1, p1, p2, f1, f2), 1);  // touching
    EXPECT_NEAR(p1.x, 1.0, 1e-6);
    p1 = {-99, -99};
    EXPECT_EQ(IntersectCircles(0, 0, 0, {0, 0}, 5, 0, 0, {0.5, 0}, 1, p1, p2, f1, f2), 0);  // 2 in 1
    EXPECT_EQ(IntersectCircles(0, 0, 0, {0, 0}, 1, 0, 0, {0.5, 0}, 5, p1, p2, f1, f2), 0);  // 1 in 2
    EXPECT_EQ(IntersectCircles(0, 0, 0, {1, 1}, 2, 0, 0, {1, 1}, 2, p1, p2, f1, f2), 0);    // concentric
    EXPECT_EQ(IntersectCircles(0, 0, 0, {0, 0}, 0, 0, 0, {1, 0}, 1, p1, p2, f1, f2), 0);
    EXPECT_EQ(p1.x, -99.0);
}

TEST(GeomCircle, TangentsAndCircleFrom3Points)
{
    Pt2 t1, t2;
    ASSERT_EQ(TangentPointsFromPoint({2, 0}, {0, 0}, 1, t1, t2), 2);
    EXPECT_PT_NEAR(t1, 0.5, std::sqrt(0.75), 1e-12);
    EXPECT_PT_NEAR(t2, 0.5, -std::sqrt(0.75), 1e-12);
    EXPECT_EQ(TangentPointsFromPoint({0.5, 0.5}, {0, 0}, 1, t1, t2), 0);
    EXPECT_EQ(TangentPointsFromPoint({0.5, 0}, {0, 0}, 1, t1, t2), 0);  // inside, level with the centre
    EXPECT_EQ(TangentPointsFromPoint({3, 3}, {3, 3}, 1, t1, t2), 0);
    EXPECT_EQ(TangentPointsFromPoint({5, 0}, {0, 0}, 0, t1, t2), 0);

    // From anywhere outside: two distinct points, each on the circle with its
    // radius square to the line from P; on the circle, P itself; inside, none.
    struct Row { Pt2 p, c; double r; int n; };
    const Row rows[] = {
        {{1, 5}, {0, 0}, 1, 2},    {{-1, -3}, {0, 0}, 1, 2},  {{4, 1}, {1, 1}, 3, 1},  {{1, 4}, {1, 1}, 3, 1},
        {{3.5, 3}, {2, 1}, 2.5, 1}, {{0, 1e-12}, {0, 0}, 1, 0}, {{7, 9}, {-2, 3}, 0.5, 2}, {{0, 9}, {0, 0}, 3, 2},
        {{1.2, 1.6}, {0, 0}, 2.5, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "P " << r.p.x << "," << r.p.y);
        Pt2 a{-99, -99}, b{-99, -99};
        ASSERT_EQ(TangentPointsFromPoint(r.p, r.c, r.r, a, b), r.n);
        if (r.n == 1)
            EXPECT_PT_NEAR(a, r.p.x, r.p.y, 1e-12);
        if (r.n < 2)
            continue;
        EXPECT_GT(Distance2D(a.x, b.x, a.y, b.y), 1e-6);
        for (const Pt2& t : {a, b}) {
            EXPECT_NEAR(Distance2D(t.x, r.c.x, t.y, r.c.y), r.r, 1e-9);
            EXPECT_NEAR((t.x - r.c.x) * (r.p.x - t.x) + (t.y - r.c.y) * (r.p.y - t.y), 0, 1e-9);
        }
    }

    Pt2 o;
    ASSERT_TRUE(CircleFrom3Points({5, 2}, {7, 4}, {9, 2}, o));
    EXPECT_PT_NEAR(o, 7.0, 2.0, 1e-9);
    EXPECT_FALSE(CircleFrom3Points({0, 0}, {1, 1}, {2, 2}, o));
    EXPECT_FALSE(CircleFrom3Points({1, 1}, {1, 1}, {3, 0}, o));
}

TEST(GeomArc, AngleInArc)
{
    EXPECT_TRUE(AngleInArc(Deg(350), Deg(10), Deg(5)));
    EXPECT_TRUE(AngleInArc(Deg(350), Deg(10), Deg(355)));
    EXPECT_FALSE(AngleInArc(Deg(350), Deg(10), Deg(180)));
    EXPECT_TRUE(AngleInArc(1.0, 2.0, 2.00009));
    EXPECT_FALSE(AngleInArc(1.0, 2.0, 2.0002));
    EXPECT_TRUE(AngleInArc(1.0, 2.0, 0.99991));
    EXPECT_FALSE(AngleInArc(1.0, 2.0, 0.9998));
    // Angles outside one turn, from mirroring and rotation.
    EXPECT_TRUE(AngleInArc(-0.5, 0.5, 0.2) && AngleInArc(-0.5, 0.5, -0.2) && AngleInArc(-0.5, 0.5, kTwoPi - 0.2));
    EXPECT_FALSE(AngleInArc(-0.5, 0.5, kPi));
    EXPECT_TRUE(AngleInArc(7.0, 8.0, 7.5 - kTwoPi));
    EXPECT_FALSE(AngleInArc(7.0, 8.0, 0.0));
    EXPECT_TRUE(AngleInArc(7.0, 0.5, 0.2));  // 0.72 to 0.5 the long way round
    EXPECT_TRUE(AngleInArc(-kPi, kPi, 5.0));  // a full turn
}

TEST(GeomArc, UnwrapNormalizeBetweenOrder)
{
    double end = Deg(10);
    UnwrapArcEnd(Deg(350), end);
    EXPECT_EQ(end, Deg(10) + kTwoPi);
    end = 0.5;
    UnwrapArcEnd(7.0, end);
    EXPECT_NEAR(end, 0.5 + 2 * kTwoPi, 1e-12);
    double a = Deg(5);
    NormalizeAngleToArc(Deg(350), Deg(10), a);
    EXPECT_EQ(a, Deg(5) + kTwoPi);
    a = 0.2;
    NormalizeAngleToArc(-0.5, 0.5, a);
    EXPECT_NEAR(a, kTwoPi + 0.2, 1e-12);

    EXPECT_NEAR(AngleBetween(0.1, kTwoPi - 0.1), 0.2, 1e-12);
    EXPECT_NEAR(AngleBetween(kTwoPi + 0.1, 0.1), 0.0, 1e-12);
    EXPECT_NEAR(AngleBetween(-0.1, 2 * kTwoPi + 0.1), 0.2, 1e-12);

    double b = 6.0;
    a = 0.1;
    OrderAnglePair(a, b);  // the short way crosses zero: descending
    EXPECT_TRUE(a == 6.0 && b == 0.1);
}

TEST(GeomArc, KeepNearest)
{
    double best1 = 1e9, best2 = 1e9;
    Pt2 pt1, pt2;
    for (Pt2 p : {Pt2{5, 0}, Pt2{-3, 0}, Pt2{3, 4}})  // (3,4): same distance, not taken
        KeepNearestByAngle({0, 0}, p, 0.0, kPi, best1, best2, pt1, pt2);
    EXPECT_TRUE(pt1.x == 5.0 && pt2.x == -3.0);
    KeepNearestByAngle({0, 0}, {1, 0}, 0.5, 0.5, best1, best2, pt1, pt2);  // tie goes to side 2
    EXPECT_EQ(best2, 1.0);
    KeepNearestByAngle({0, 0}, {4, -1e-9}, 0.0, kPi, best1, best2, pt1, pt2);  // a bearing just under 2 pi
    EXPECT_EQ(best1, 4.0);

    // Arc across zero: 355 degrees lies below a pick at 5, 8 degrees above it.
    const Pt2 c{2, 3};
    double below = kNoArcAngle, above = kNoArcAngle, pick = Deg(5);
    NormalizeAngleToArc(Deg(350), Deg(10), pick);
    for (double d : {352.0, 355.0, 9.0, 8.0, 9.5})
        KeepNearestOnArc(c, Polar(c, 5.0, Deg(d)), pick, Deg(350), Deg(10), below, above);
    EXPECT_NEAR(below, Deg(355), 1e-9);
    EXPECT_NEAR(above, Deg(8) + kTwoPi, 1e-9);

    for (double ref : {1.0, 1.0 - kTwoPi}) {
        double cw = 100.0, ccw = 100.0;
        UpdateArcAngleLimits(c, Polar(c, 1.0, 0.5), ref, cw, ccw);
        UpdateArcAngleLimits(c, Polar(c, 1.0, 1.2), ref, cw, ccw);
        EXPECT_NEAR(cw, 0.5, 1e-9);
        EXPECT_NEAR(ccw, 0.2, 1e-9);
    }
}

TEST(GeomRect, PointAndSegment)
{
    EXPECT_TRUE(PointInRect({0, 5}, 0, 0, 10, 10));
    EXPECT_FALSE(SegmentCrossesRect({2, 5}, {8, 5}, 0, 0, 10, 10));  // inside, not spanning
    EXPECT_TRUE(SegmentCrossesRect({11, 5}, {-1, 5.00009}, 0, 0, 10, 10));
    EXPECT_FALSE(SegmentCrossesRect({-5, -1}, {-5, 11}, 0, 0, 10, 10));
    EXPECT_TRUE(SegmentCrossesRect({5, 5}, {15, 7}, 0, 0, 10, 10));
    EXPECT_FALSE(SegmentCrossesRect({11, 0}, {15, 7}, 0, 0, 10, 10));
}

TEST(HatchIsland, PartsOfNoSizeOrNotFiniteArePassedOver)
{
    const double nan = std::nan("");
    HatchIsland i;
    i.AddSegment({0, 0}, {nan, 1});
    i.AddCircle({0, 0}, 0);
    i.AddCircle({nan, 0}, 1);
    for (auto [c, r, start, end] : {std::tuple{Pt2{nan, 0}, 1.0, 0.0, 1.0}, {Pt2{0, 0}, 0.0, 0.0, 1.0},
                                    {Pt2{0, 0}, 1.0, nan, 1.0}, {Pt2{0, 0}, 1.0, 0.0, HUGE_VAL}})
        i.AddArc(c, r, start, end);
    EXPECT_TRUE(i.Empty());
    i.AddArc({0, 0}, 1, 0, 1);
    EXPECT_EQ(i.Arcs().size(), 1u);
}

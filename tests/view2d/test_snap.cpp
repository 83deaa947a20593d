// Grid snap, ortho, fixed distance and object snap.
#include "model/circ.h"
#include "model/punt.h"
#include "model/recta.h"
#include "view2d/snap.h"
#include "view_fixture.h"

#include <cmath>
#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;
const double kSin60 = std::sqrt(0.75);

// The pick box reaches 6 px = 0.18 units either way.
class SnapTest : public ViewTest {
protected:
    void Line(double x1, double y1, double x2, double y2)
    {
        CRecta* l = doc.AddRecta();
        l->m_p1 = CPointd(x1, y1), l->m_p2 = CPointd(x2, y2);
    }
    void Circ(double x, double y, double r)
    {
        CCirc* c = doc.AddCirc();
        c->m_centre = CPointd(x, y), c->m_rx = c->m_ry = r;
    }
    void Arc(double x, double y, double r, double start, double end)
    {
        CArc* a = doc.AddArc();
        a->m_centre = CPointd(x, y), a->m_rx = a->m_ry = r, a->m_start = start, a->m_end = end;
    }
    // A miss must leave the point alone; a hit keeps z.
    ::testing::AssertionResult Snaps(int mode, double x, double y, double ex, double ey, double tol = 1e-9)
    {
        view.m_snapMode = mode;
        CPointd p(x, y, 7);
        if (!view.OnEditPoint(p))
            return ::testing::AssertionFailure() << "missed";
        if (std::fabs(p.x - ex) > tol || std::fabs(p.y - ey) > tol || p.z != 7)
            return ::testing::AssertionFailure() << "got (" << p.x << ", " << p.y << ", " << p.z << ")";
        return ::testing::AssertionSuccess();
    }
    bool Misses(int mode, double x, double y)
    {
        view.m_snapMode = mode;
        CPointd p(x, y, 7);
        return !view.OnEditPoint(p) && p == CPointd(x, y, 7);
    }
};

}  // namespace

TEST(GridSnap, NearestMultipleHalvesUp)
{
    CPointd p(2.4, -2.6, 5);
    SnapToGrid(p, 1.0);
    EXPECT_EQ(p, CPointd(2, -3, 5));
    p = CPointd(2.5, -2.5);
    SnapToGrid(p, 1.0);
    EXPECT_EQ(p, CPointd(3, -2));
    p = CPointd(1e300, 0.3);
    SnapToGrid(p, 1e-10);
    SnapToGrid(p, std::nan(""));
    EXPECT_EQ(p.x, 1e300) << "a coordinate that would overflow stays";
}

TEST_F(SnapTest, OrthoAndFixedDistance)
{
    double x = 1, y = 1;
    view.ApplyOrtho(0, 0, x, y);
    EXPECT_NEAR(x, std::sqrt(2.0), 1e-12) << "the tie at 45 degrees goes to the horizontal";
    EXPECT_NEAR(y, 0, 1e-12);

    view.m_bandStart = CPointd(1, 1);
    view.m_fixedDistance = 2;
    view.m_bandState = 0;
    CPointd p(4, 5);
    view.ApplyDistance(p);
    EXPECT_EQ(p, CPointd(4, 5)) << "no band and no reference point";
    view.m_bandState = 1;
    view.ApplyDistance(p);
    EXPECT_NEAR(p.x, 2.2, 1e-12);
    EXPECT_NEAR(p.y, 2.6, 1e-12);
    EXPECT_EQ(view.m_refPointState, 2);
}

TEST_F(SnapTest, Misses)
{
    EXPECT_TRUE(Misses(2, 5, 5));
    EXPECT_EQ(Pane(0), "EndPoint            ");
    EXPECT_TRUE(Misses(12, 5, 5));
    EXPECT_EQ(view.m_snapMode, 0) << "an unknown mode is dropped";

    Line(1, 1, 5, 1);
    EXPECT_TRUE(Misses(2, 3, 1.2)) << "0.2 is outside the box";
    EXPECT_TRUE(Snaps(2, 3, 1.15, 5, 1)) << "equally near ends give the second";
    for (double s : {0.0, std::nan(""), HUGE_VAL}) {
        view.m_scale = s;
        EXPECT_TRUE(Misses(2, 3, 1.0)) << s;
    }
}

TEST_F(SnapTest, PointsOfLinesArcsCirclesAndPoints)
{
    Line(1, 1, 5, 1);
    Circ(8, 5, 1);
    Arc(3, 5, 1, 3 * kPi / 2, kPi / 2);  // the right half, through angle 0
    doc.AddPunt()->m_point = CPointd(10, 1);

    EXPECT_TRUE(Snaps(3, 2, 1.05, 3, 1));
    EXPECT_TRUE(Snaps(2, 3.1, 5.99, 3, 6));
    EXPECT_TRUE(Snaps(3, 4.05, 5, 4, 5));
    EXPECT_TRUE(Misses(7, 4.05, 5)) << "quadrant on an arc";
    EXPECT_TRUE(Snaps(8, 4.05, 5, 3, 5));

    EXPECT_TRUE(Misses(2, 9.05, 5)) << "end point of a circle";
    EXPECT_TRUE(Misses(3, 9.05, 5)) << "mid point of a circle";
    EXPECT_TRUE(Snaps(4, 9.1, 5.1, 8 + 1.1 / std::sqrt(1.22), 5 + 0.1 / std::sqrt(1.22)));
    EXPECT_TRUE(Snaps(7, 8.7, 5.72, 8, 6));

    EXPECT_TRUE(Snaps(9, 10.1, 1.1, 10, 1));
    EXPECT_TRUE(Snaps(4, 10.1, 1.1, 10, 1)) << "nearest takes a point too";
    EXPECT_TRUE(Misses(3, 10.1, 1.1)) << "mid point of a point";
    Line(10.1, 1.15, 12, 1.15);
    EXPECT_TRUE(Snaps(2, 10, 1, 10.1, 1.15)) << "the point nearer is no end point";
}

TEST_F(SnapTest, PerpendicularAndTangentNeedTheBand)
{
    Line(1, 1, 5, 1);
    Circ(8, 5, 1);
    view.m_bandState = 0;
    EXPECT_TRUE(Misses(5, 3, 1.05));
    EXPECT_TRUE(Misses(6, 8.5, 5.9));

    view.m_bandState = 1;
    view.m_bandStart = CPointd(2, 3);
    EXPECT_TRUE(Snaps(5, 3, 1.05, 2, 1));
    view.m_bandStart = CPointd(10, 5);
    EXPECT_TRUE(Snaps(6, 8.5, 5.9, 8.5, 5 + kSin60));
    EXPECT_TRUE(Snaps(6, 8.5, 4.1, 8.5, 5 - kSin60));
    view.m_bandStart = CPointd(8.2, 5);
    EXPECT_TRUE(Misses(6, 8.5, 5.9)) << "from inside the circle";
}

TEST_F(SnapTest, IntersectionOfTheTwoNearest)
{
    Line(1, 1, 5, 5);
    Line(1, 5, 5, 1);
    EXPECT_TRUE(Snaps(1, 3.06, 2.97, 3, 3));
    EXPECT_TRUE(Misses(1, 2, 2.05)) << "a single line";
    Line(1, 7, 5, 7);
    Line(1, 7.1, 5, 7.1);
    EXPECT_TRUE(Misses(1, 3, 7.05)) << "parallel lines";

    Line(8, 3, 8, 7);
    Circ(8, 5, 1);
    Circ(9, 5, 1);
    EXPECT_TRUE(Snaps(1, 8.05, 6.03, 8, 6));
    // Angle2D nudges the level pair of centres by 0.0001.
    EXPECT_TRUE(Snaps(1, 8.5, 4.13, 8.5, 5 - kSin60, 1e-3));

    Circ(10.5, 1, 1);
    Circ(10.5, 1, 1.05);
    EXPECT_TRUE(Misses(1, 11.52, 1)) << "concentric circles never meet";
    Arc(10, 6, 1, 0.2, kPi);  // starts just above where the line meets its circle
    Line(10.99, 5.5, 10.99, 6.5);
    EXPECT_TRUE(Misses(1, 10.99, 6.1)) << "off the arc";
}

// Rectangle tests and text boxes of the basic entities.
#include "model/circ.h"
#include "model/punt.h"
#include "model/recta.h"
#include "model/text.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

CRecta LineFrom(double x1, double y1, double x2, double y2)
{
    CRecta l;
    l.m_p1 = CPointd(x1, y1);
    l.m_p2 = CPointd(x2, y2);
    return l;
}

CArc ArcOf(double cx, double cy, double r, double startDeg, double endDeg)
{
    CArc a;
    a.m_centre = CPointd(cx, cy);
    a.m_rx = a.m_ry = r;
    a.m_start = startDeg * kPi / 180;
    a.m_end = endDeg * kPi / 180;
    return a;
}

CText TextOf(const char* s, int justify, int height, int escapement)
{
    CText t;
    t.m_text = s;
    t.m_justify = justify;
    t.m_font.lfHeight = height;
    t.m_font.lfEscapement = escapement;
    return t;
}

}  // namespace

// Window (0,0)-(10,10) throughout.
TEST(EntityInRect, Lines)
{
    struct Case { double x1, y1, x2, y2; int in; const char* what; };
    const Case cases[] = {
        {5, 5, 20, 20, 1, "one end inside"},
        {10, 3, 20, 3, 1, "end on the edge"},
        {-5, 3, 15, 3, 1, "horizontal across"},
        {-5, 3, 10, 3, 1, "horizontal ending on x2"},
        {-5, 3, -1, 3, 0, "horizontal short of the window"},
        {3, -5, 3, 15, 1, "vertical across"},
        {-5, 20, 20, -5, 1, "diagonal across two sides"},
        {-5, 15, 15, -5, 1, "through the corners (0,10) and (10,0)"},
        {-5, 5, 5, -5, 1, "touching the corner (0,0)"},
        {-1, 22, 22, -1, 0, "passing outside the corner (10,10)"},
        {-10, -10, 20, 20, 1, "along the diagonal through two opposite corners"},
        {20, 20, 30, 30, 0, "far away"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LineFrom(c.x1, c.y1, c.x2, c.y2).IsInRect(0, 0, 10, 10), c.in) << c.what;
}

TEST(EntityInRect, CirclesAndArcs)
{
    CCirc c;
    c.m_centre = CPointd(5, 5);
    c.m_rx = c.m_ry = 2;
    EXPECT_EQ(c.IsInRect(0, 0, 10, 10), 1) << "wholly inside";
    c.m_rx = c.m_ry = 20;
    EXPECT_EQ(c.IsInRect(0, 0, 10, 10), 0) << "encloses the window";
    c.m_rx = c.m_ry = 6;
    EXPECT_EQ(c.IsInRect(0, 0, 10, 10), 1) << "crosses the sides";
    c.m_centre = CPointd(30, 30);
    EXPECT_EQ(c.IsInRect(0, 0, 10, 10), 0);

    // Centre (5,-1), radius 3: the top of the circle pokes into the window.
    EXPECT_EQ(ArcOf(5, -1, 3, 45, 135).IsInRect(0, 0, 10, 10), 1) << "upper arc crosses y=0";
    EXPECT_EQ(ArcOf(5, -1, 3, 225, 315).IsInRect(0, 0, 10, 10), 0) << "lower arc stays below";
    EXPECT_EQ(ArcOf(5, 5, 2, 0, 90).IsInRect(0, 0, 10, 10), 1) << "chord inside";
    EXPECT_EQ(ArcOf(5, 13, 2, 300, 60).IsInRect(0, 0, 10, 10), 0) << "across angle 0, outside";
    EXPECT_EQ(ArcOf(9, 5, 2, 300, 60).IsInRect(0, 0, 10, 10), 1) << "across angle 0, crossing x=10";
}

TEST(EntityInRect, PointOnTheEdge)
{
    CPunt p;
    p.m_point = CPointd(10, 4);
    EXPECT_EQ(p.IsInRect(0, 0, 10, 10), 1);
    p.m_point = CPointd(10.001, 4);
    EXPECT_EQ(p.IsInRect(0, 0, 10, 10), 0);
}

TEST(TextBox, JustificationAndAngle)
{
    CPointd c1, c2, c3, c4;
    // 4 characters at height 100: 3.24 wide, 1.35 high.
    TextOf("ABCD", JUSTIFY_LEFT, 100, 0).AlignPoint(CPointd(1, 1), c1, c2, c3, c4);
    EXPECT_NEAR(c1.x, 1, 1e-12);
    EXPECT_NEAR(c2.x, 1 + 4 * 0.81, 1e-12);
    EXPECT_NEAR(c3.y, 1 + 1.35, 1e-12);
    EXPECT_NEAR(c4.x, 1, 1e-12);

    TextOf("ABCD", JUSTIFY_RIGHT, 100, 0).AlignPoint(CPointd(0, 0), c1, c2, c3, c4);
    EXPECT_NEAR(c2.x, 0, 1e-12);
    EXPECT_NEAR(c1.x, -3.24, 1e-12);

    TextOf("ABCD", JUSTIFY_CENTRE, 100, 0).AlignPoint(CPointd(0, 0), c1, c2, c3, c4);
    EXPECT_NEAR(c1.x, -1.62, 1e-12);
    EXPECT_NEAR(c2.x, 1.62, 1e-12);

    // Escapement 455 drops the half degree: the box runs at -45 degrees.
    TextOf("AB", JUSTIFY_LEFT, 100, 455).AlignPoint(CPointd(0, 0), c1, c2, c3, c4);
    EXPECT_NEAR(std::atan2(c2.y - c1.y, c2.x - c1.x), -kPi / 4, 1e-12);

    // An empty text is a rising segment of the box height.
    CText empty = TextOf("", JUSTIFY_LEFT, 100, 0);
    empty.m_insert = CPointd(5, -1);
    EXPECT_EQ(empty.IsInRect(0, 0, 10, 10), 1);
    empty.m_insert = CPointd(5, -2);
    EXPECT_EQ(empty.IsInRect(0, 0, 10, 10), 0);
}

TEST(TextBox, SelectedColourStaysTwentyFourBits)
{
    EXPECT_EQ(SelectedTextColor(0), RGB(255, 0, 0));
    EXPECT_EQ(SelectedTextColor(0xFFFFFF), 0x0000FEu);
    EXPECT_LE(SelectedTextColor(0x00FFFF01), 0xFFFFFFu);
}

// The move and stretch family: what each kind moves, and what a stretch window moves.
#include "model/acot.h"
#include "model/circ.h"
#include "model/dib.h"
#include "model/entitykind.h"
#include "model/insbl.h"
#include "model/pline.h"
#include "model/punt.h"
#include "model/recta.h"
#include "model/tdface.h"
#include "model/text.h"
#include "model/transform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

namespace {

constexpr double kPi = std::numbers::pi;

CRecta* Line(const CPointd& a, const CPointd& b)
{
    auto* l = new CRecta;
    l->m_p1 = a;
    l->m_p2 = b;
    return l;
}

CArc* Arc(const CPointd& c, double r, double start, double end)
{
    auto* a = new CArc;
    a->m_centre = c;
    a->m_rx = a->m_ry = r;
    a->m_start = start;
    a->m_end = end;
    return a;
}

CPointd ArcPoint(const CArc& a, double angle)
{
    return CPointd(a.m_centre.x + a.m_rx * std::cos(angle), a.m_centre.y + a.m_rx * std::sin(angle));
}

void ExpectNear(const CPointd& p, const CPointd& q, double tol = 1e-9)
{
    EXPECT_NEAR(p.x, q.x, tol);
    EXPECT_NEAR(p.y, q.y, tol);
}

// The window from (lo) to (hi), corners counter-clockwise.
StretchWindow Window(double x1, double y1, double x2, double y2)
{
    return StretchWindow{{{x1, y1}, {x2, y1}, {x2, y2}, {x1, y2}}};
}

const CPointd kFrom(1, 1, 0), kTo(4, 3, 2);  // d = (3, 2, 2)

}  // namespace

TEST(MoveFamily, EachKindMovesItsDefiningPointsInXYAndZ)
{
    CRecta l;
    l.m_p1 = CPointd(0, 0, 1);
    l.m_p2 = CPointd(2, 0, 1);
    MoveEntity(ENT_LINE, &l, kFrom, kTo);
    EXPECT_EQ(l.m_p1, CPointd(3, 2, 3));
    EXPECT_EQ(l.m_p2, CPointd(5, 2, 3));

    CCirc c;
    c.m_rx = c.m_ry = 1;
    MoveEntity(ENT_CIRCLE, &c, kFrom, kTo);
    EXPECT_EQ(c.m_centre, CPointd(3, 2, 2));
    EXPECT_EQ(c.m_rx, 1);

    CArc a;
    a.m_start = 0.5;
    MoveEntity(ENT_ARC, &a, kFrom, kTo);
    EXPECT_EQ(a.m_centre, CPointd(3, 2, 2));
    EXPECT_EQ(a.m_start, 0.5);

    CPunt pt;
    MoveEntity(ENT_POINT, &pt, kFrom, kTo);
    EXPECT_EQ(pt.m_point, CPointd(3, 2, 2));

    CText t;
    MoveEntity(ENT_TEXT, &t, kFrom, kTo);
    EXPECT_EQ(t.m_insert, CPointd(3, 2, 2));

    CInsBl ins;
    ins.m_block = "B";
    ins.m_rotation = 1.0;
    MoveEntity(ENT_INSERT, &ins, kFrom, kTo);
    EXPECT_EQ(ins.m_insert, CPointd(3, 2, 2));
    EXPECT_EQ(ins.m_rotation, 1.0);

    CTdface f;
    for (int i = 0; i < 4; ++i)
        f.m_c[i] = CPointd(i, 0, 0);
    MoveEntity(ENT_3DFACE, &f, kFrom, kTo);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(f.m_c[i], CPointd(i + 3, 2, 2));

    CPLine pl;
    pl.m_segments.AddTail(new CDib(ENT_LINE, Line({0, 0}, {1, 0})));
    pl.m_segments.AddTail(new CDib(ENT_ARC, Arc({1, 1}, 1, 1.5 * kPi, 0)));
    MoveEntity(ENT_PLINE, &pl, kFrom, kTo);
    int type = 0;
    POSITION pos = pl.GetFirstSegmentPosition();
    EXPECT_EQ(static_cast<CRecta*>(pl.GetNextSegment(pos, type))->m_p2, CPointd(4, 2, 2));
    EXPECT_EQ(static_cast<CArc*>(pl.GetNextSegment(pos, type))->m_centre, CPointd(4, 3, 2));

    CAcot dim;
    dim.m_parts.AddTail(new CDib(ENT_LINE, Line({0, 0}, {1, 0})));  // the definition line moves too
    dim.m_parts.AddTail(new CDib(ENT_TEXT, new CText));
    MoveEntity(ENT_DIMENSION, &dim, kFrom, kTo);
    EXPECT_EQ(dim.DefinitionLine()->m_p1, CPointd(3, 2, 2));
    pos = dim.GetFirstPartPosition();
    dim.GetNextPart(pos, type);
    EXPECT_EQ(static_cast<CText*>(dim.GetNextPart(pos, type))->m_insert, CPointd(3, 2, 2));

    EXPECT_FALSE(MoveEntity(ENT_LINE, nullptr, kFrom, kTo));
}

TEST(StretchFamily, LineEndsInsideTheWindowMove)
{
    struct Row {
        StretchWindow w;
        CPointd p1, p2;
    };
    const Row rows[] = {
        {Window(-1, -1, 1, 1), {3, 2, 2}, {10, 0}},   // the first end only
        {Window(9, -1, 11, 1), {0, 0}, {13, 2, 2}},    // the second end only
        {Window(-1, -1, 11, 1), {3, 2, 2}, {13, 2, 2}},  // both: moved whole
        {Window(4, -1, 6, 1), {0, 0}, {10, 0}},        // the middle only: stays
    };
    for (const Row& r : rows) {
        CRecta l;
        l.m_p2 = CPointd(10, 0);
        EXPECT_TRUE(StretchEntity(ENT_LINE, &l, kFrom, kTo, r.w));
        EXPECT_EQ(l.m_p1, r.p1);
        EXPECT_EQ(l.m_p2, r.p2);
    }
}

TEST(StretchFamily, FaceCornersInsideTheWindowMove)
{
    CTdface f;
    const CPointd c[4] = {{0, 0}, {4, 0}, {4, 2}, {0, 2}};
    for (int i = 0; i < 4; ++i)
        f.m_c[i] = c[i];
    EXPECT_TRUE(StretchEntity(ENT_3DFACE, &f, kFrom, kTo, Window(3, -1, 5, 3)));
    EXPECT_EQ(f.m_c[0], c[0]);
    EXPECT_EQ(f.m_c[1], CPointd(7, 2, 2));
    EXPECT_EQ(f.m_c[2], CPointd(7, 4, 2));
    EXPECT_EQ(f.m_c[3], c[3]);
}

TEST(StretchFamily, KindsWithoutAStretchAreLeftToTheCaller)
{
    CCirc c;
    CArc a;
    CPunt p;
    CText t;
    CInsBl i;
    const StretchWindow all = Window(-100, -100, 100, 100);
    EXPECT_FALSE(StretchEntity(ENT_CIRCLE, &c, kFrom, kTo, all));
    EXPECT_FALSE(StretchEntity(ENT_ARC, &a, kFrom, kTo, all));
    EXPECT_FALSE(StretchEntity(ENT_POINT, &p, kFrom, kTo, all));
    EXPECT_FALSE(StretchEntity(ENT_TEXT, &t, kFrom, kTo, all));
    EXPECT_FALSE(StretchEntity(ENT_INSERT, &i, kFrom, kTo, all));
    EXPECT_EQ(c.m_centre, CPointd());
    EXPECT_EQ(i.m_insert, CPointd());
}

// A polyline: a line (0,0)-(2,0), a half circle (2,0) to (4,0) through
// (3,-1), a line (4,0)-(6,0).
class StretchPolyline : public ::testing::Test {
protected:
    void SetUp() override
    {
        pl.m_segments.AddTail(new CDib(ENT_LINE, Line({0, 0}, {2, 0})));
        arc = Arc({3, 0}, 1, kPi, 0);
        pl.m_segments.AddTail(new CDib(ENT_ARC, arc));
        pl.m_segments.AddTail(new CDib(ENT_LINE, Line({4, 0}, {6, 0})));
    }
    CRecta& Seg(int i)
    {
        return *static_cast<CRecta*>(static_cast<CDib*>(pl.m_segments.GetAt(pl.m_segments.FindIndex(i)))->m_entity);
    }
    CPLine pl;
    CArc* arc = nullptr;
};

TEST_F(StretchPolyline, ArcWithBothEndsInsideMovesWhole)
{
    StretchPLine(pl, {0, 0}, {1, 1}, Window(1, -2, 5, 1));
    EXPECT_EQ(arc->m_centre, CPointd(4, 1, 0));
    EXPECT_EQ(arc->m_rx, 1);
    EXPECT_EQ(Seg(0).m_p2, CPointd(3, 1, 0));
    EXPECT_EQ(Seg(2).m_p1, CPointd(5, 1, 0));
}

TEST_F(StretchPolyline, ArcFarOutsideTheWindowStays)
{
    StretchPLine(pl, {0, 0}, {1, 1}, Window(5.5, -1, 7, 1));
    EXPECT_EQ(arc->m_centre, CPointd(3, 0));
    EXPECT_EQ(Seg(2).m_p2, CPointd(7, 1, 0));
    EXPECT_EQ(Seg(2).m_p1, CPointd(4, 0));
}

TEST_F(StretchPolyline, ArcWithOneEndInsideFollowsItAndKeepsItsSweep)
{
    StretchPLine(pl, {0, 0}, {2, 0}, Window(3.5, -1, 7, 1));  // the arc's end (4, 0) and the last line
    ExpectNear(ArcPoint(*arc, arc->m_start), Seg(0).m_p2);
    ExpectNear(ArcPoint(*arc, arc->m_end), Seg(2).m_p1);
    ExpectNear(Seg(2).m_p1, {6, 0});
    EXPECT_NEAR(std::abs(std::remainder(arc->m_end - arc->m_start, 2 * kPi)), kPi, 1e-9) << "still a half circle";
    EXPECT_NEAR(arc->m_rx, 2, 1e-9);
    ExpectNear(arc->m_centre, {4, 0});
}

// Random polylines of lines and arcs stay joined whatever the window catches.
TEST(StretchFamily, PolylinesStayJoined)
{
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> u(-10, 10), sweep(0.1, 2 * kPi - 0.1);
    for (int round = 0; round < 300; ++round) {
        CPLine pl;
        CPointd at(u(rng), u(rng));
        for (int i = 0; i < 6; ++i) {
            if (rng() % 2) {
                const CPointd next(u(rng), u(rng));
                pl.m_segments.AddTail(new CDib(ENT_LINE, Line(at, next)));
                at = next;
            } else {
                const double r = 1 + std::abs(u(rng)) / 2, a0 = sweep(rng), s = sweep(rng);
                const CPointd c(at.x - r * std::cos(a0), at.y - r * std::sin(a0));
                CArc* a = Arc(c, r, a0, std::fmod(a0 + s, 2 * kPi));
                pl.m_segments.AddTail(new CDib(ENT_ARC, a));
                at = ArcPoint(*a, a->m_end);
            }
        }
        const double x = u(rng), y = u(rng);
        StretchPLine(pl, {0, 0}, {u(rng), u(rng)}, Window(x, y, x + 8, y + 8));
        CPointd end;
        bool first = true;
        for (POSITION pos = pl.GetFirstSegmentPosition(); pos;) {
            int type = 0;
            CObject* seg = pl.GetNextSegment(pos, type);
            CPointd s, e;
            if (type == ENT_LINE) {
                s = static_cast<CRecta*>(seg)->m_p1;
                e = static_cast<CRecta*>(seg)->m_p2;
            } else {
                const auto* a = static_cast<CArc*>(seg);
                s = ArcPoint(*a, a->m_start);
                e = ArcPoint(*a, a->m_end);
            }
            if (!first)
                ExpectNear(s, end, 1e-7);
            first = false;
            end = e;
        }
        if (::testing::Test::HasFailure())
            break;
    }
}

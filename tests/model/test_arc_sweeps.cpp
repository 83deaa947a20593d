// Arcs whatever their angles: far outside one turn, sweeping past a whole
// turn, or too small to see.
#include "doc/rectadoc.h"
#include "model/bloq.h"
#include "model/circ.h"
#include "model/entitydraw.h"
#include "model/extentpoints.h"
#include "model/extruded.h"
#include "model/pline.h"
#include "model/recta.h"
#include "model/transform.h"
#include "platform/imagedc.h"
#include "support/blocks.h"
#include "support/pixels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace {

constexpr double kPi = std::numbers::pi;

CArc ArcAt(double cx, double cy, double r, double start, double end, int word = 1)
{
    CArc a;
    a.m_centre = CPointd(cx, cy);
    a.m_rx = a.m_ry = r;
    a.m_start = start;
    a.m_end = end;
    a.m_arcWord = word;
    return a;
}

PlanBox BoundsOf(const CArc& arc)
{
    PlanBox box;
    AddBoundsPoints(ENT_ARC, &arc, [&](const CPointd& p) { box.Add(p.x, p.y); });
    return box;
}

std::vector<CPointd> Vertices(const CArc& arc)
{
    CObList segments(ListOwnership::owns);
    auto* copy = new CArc;
    copy->Copy(arc);
    segments.AddTail(new CDib(ENT_ARC, copy));
    CPLine pline(1, 0, "L", segments, 0, 0, 0, 1);
    CObList points(ListOwnership::owns);
    double area = 0, perimeter = 1;
    pline.GetVertices(area, points, perimeter);
    std::vector<CPointd> v;
    for (CObject* obj : points)
        v.push_back(*static_cast<CPointd*>(obj));
    pline.DeleteSegments();
    return v;
}

void ExpectNear(const CPointd& a, const CPointd& b, double tol)
{
    EXPECT_NEAR(a.x, b.x, tol);
    EXPECT_NEAR(a.y, b.y, tol);
}

}  // namespace

// Centre (1, 2), radius 3: the circle's box is (-2, -1) to (4, 5).
TEST(ArcSweeps, BoundsTakeTheAnglesIntoOneTurnFirst)
{
    struct Row {
        double start, end;
        double x1, y1, x2, y2;
    };
    const double c1 = 1 + 3 * std::cos(1e300), s1 = 2 + 3 * std::sin(1e300);
    const Row rows[] = {
        {-1e300, 1, -2, -1, 4, 5},         // past a whole turn from far below
        {0, 8000, -2, -1, 4, 5},           // past a whole turn from zero
        {-kPi / 2, 0, 1, -1, 4, 2},        // a quarter across angle zero
        {5 * kPi / 2, 3 * kPi, -2, 2, 1, 5},  // a quarter a turn up
        {1e300, 1e300, c1, s1, c1, s1},    // no sweep: the one point
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.start << " to " << row.end);
        CArc* arc = NewArc(1, 2, 3, row.start, row.end);
        const PlanBox box = BoundsOf(*arc);
        EXPECT_NEAR(box.lo.x, row.x1, 1e-9);
        EXPECT_NEAR(box.lo.y, row.y1, 1e-9);
        EXPECT_NEAR(box.hi.x, row.x2, 1e-9);
        EXPECT_NEAR(box.hi.y, row.y2, 1e-9);

        // So does a block holding it.
        CRectaDoc doc;
        const CBloq* block = AddNamedBlock(doc, "B", {{ENT_ARC, arc}});
        EXPECT_NEAR(block->m_box.hi.y, row.y2, 1e-9);
    }
}

TEST(ArcSweeps, AnOutlinePastAWholeTurnGoesRoundOnceToItsEnd)
{
    for (int word : {1, 0}) {
        SCOPED_TRACE(word);
        const CArc arc = ArcAt(1, 2, 3, 0, 8000, word);
        const std::vector<CPointd> v = Vertices(arc);
        // One turn and the 1.4 radians past it, every 5 degrees: not 91,000 points.
        EXPECT_LE(v.size(), 2u * 72 + 2);
        EXPECT_GE(v.size(), 72u);
        ExpectNear(v.front(), word == 1 ? arc.StartPoint() : arc.EndPoint(), 1e-9);
        ExpectNear(v.back(), word == 1 ? arc.EndPoint() : arc.StartPoint(), 1e-9);
        PlanBox box;
        for (const CPointd& p : v)
            box.Add(p.x, p.y);
        EXPECT_NEAR(box.lo.x, -2, 0.02);
        EXPECT_NEAR(box.hi.y, 5, 0.02);
    }
    // Angles far outside one turn walk the same short way; a sweep too wide
    // for a double leaves no point off the circle.
    EXPECT_LE(Vertices(ArcAt(0, 0, 1, -1e300, 1)).size(), 2u * 72 + 2);
    for (int word : {1, 0}) {
        const CArc wide = ArcAt(0, 0, 1, -1e308, 1e308, word);
        const std::vector<CPointd> v = Vertices(wide);
        ASSERT_GE(v.size(), 72u);
        for (const CPointd& p : v)
            EXPECT_NEAR(std::hypot(p.x, p.y), 1.0, 1e-9) << word;
    }
}

TEST(ArcSweeps, APlanArcPastAWholeTurnDrawsAsItsCircle)
{
    constexpr int kW = 120, kH = 120;
    auto draw = [&](auto& entity, DrawKind kind, CImageDC& dc) { entity.Draw(dc, {10, 0, 0}, kind); };
    CCirc circle;
    circle.m_centre = CPointd(6, 6);
    circle.m_rx = circle.m_ry = 4;
    for (double end : {8000.0, 4 * kPi + 0.5}) {
        CArc arc = ArcAt(6, 6, 4, 0, end);
        CImageDC a(kW, kH), b(kW, kH);
        a.SetYUpMapping(kW, kH);
        b.SetYUpMapping(kW, kH);
        draw(arc, DrawKind::normal, a);
        draw(circle, DrawKind::normal, b);
        EXPECT_EQ(a.Image(), b.Image()) << end;
        draw(arc, DrawKind::erase, a);
        EXPECT_EQ(InkPixels(a.Image()), 0);
    }
}

TEST(ArcSweeps, ExtrudedEdgesGoRoundOnce)
{
    CArc arc = ArcAt(0, 0, 2, -1e300, 8000);
    arc.m_thick1 = arc.m_thick2 = 1;
    const ExtrudedBand band = ExtrudedBandOf(arc);
    ASSERT_EQ(band.base.size(), 25u);
    ExpectNear(band.base.front(), band.base.back(), 1e-9);
    PlanBox box;
    for (const CPointd& p : band.base)
        box.Add(p.x, p.y);
    EXPECT_NEAR(box.hi.x - box.lo.x, 4, 0.05);
    EXPECT_NEAR(box.hi.y - box.lo.y, 4, 0.05);
}

// An insert turned, mirrored or reflected keeps the arc whole and its end
// where the placement puts it.
TEST(ArcSweeps, PlacementsKeepAWholeTurnWhole)
{
    const CPlacement placements[] = {{5, 1, 0, kPi / 3, 1, 1}, {5, 1, 0, 0, -1, 1}, {5, 1, 0, 0.4, 2, -2}};
    for (const CPlacement& p : placements) {
        SCOPED_TRACE(testing::Message() << p.a << " " << p.sx << " " << p.sy);
        const CArc arc = ArcAt(1, 2, 3, 0, 8000);
        const CPointd end = PlacePoint(arc.EndPoint(), p);
        const CElementPtr placed = PlacedCopy(ENT_ARC, &arc, p);
        const auto* a = static_cast<const CArc*>(placed->m_entity);
        EXPECT_TRUE(ArcPastWholeTurn(a->m_start, a->m_end)) << a->m_start << " " << a->m_end;
        ExpectNear(p.Reflects() ? a->StartPoint() : a->EndPoint(), end, 1e-6);
    }
    CArc arc = ArcAt(1, 2, 3, 0, 8000);
    CRecta mirror;
    mirror.m_p2 = CPointd(0, 1);
    MirrorEntity(arc, mirror, kPi / 2);
    EXPECT_TRUE(ArcPastWholeTurn(arc.m_start, arc.m_end));
}

// Rectangle [-5, 5]² around centre (0.3, 0.2): a circle or arc inside it is
// inside however small; one outside it is not.
TEST(ArcSweeps, TinyCirclesAndArcsLieInsideAWindowAroundThem)
{
    const Pt2 q[4] = {{-5, -5}, {5, -5}, {5, 5}, {-5, 5}};
    for (double r : {1.0, 1e-2, 1e-4, 1e-6, 1e-8, 1e-10, 1e-12}) {
        for (double x : {0.3, 6.0}) {
            SCOPED_TRACE(testing::Message() << "radius " << r << " at x " << x);
            const bool inside = x < 5;
            CCirc circle;
            circle.m_centre = CPointd(x, 0.2);
            circle.m_rx = circle.m_ry = r;
            const CArc arc = ArcAt(x, 0.2, r, 0.3, 1.2);
            EXPECT_EQ(circle.IsInRect(-5, -5, 5, 5), inside);
            EXPECT_EQ(arc.IsInRect(-5, -5, 5, 5), inside);
            // Window selection: wholly inside, nothing crossing.
            EXPECT_EQ(ArcCrossesQuad(0, q[0], q[1], q[2], q[3], {x, 0.2}, r, 0, 2 * kPi, false), inside);
            EXPECT_EQ(ArcCrossesQuad(0, q[0], q[1], q[2], q[3], {x, 0.2}, r, 0.3, 1.2, true), inside);
            // A line as short: wholly inside, and overlapping the window.
            EXPECT_EQ(IntersectSegmentQuad(0, q[0], q[1], q[2], q[3], {x, 0.2}, {x + r, 0.2 + r}), inside);
            EXPECT_EQ(IntersectSegmentQuad(1, q[0], q[1], q[2], q[3], {x, 0.2}, {x + r, 0.2 - r}), inside);
        }
    }
    // A circle round the whole window is not inside it.
    CCirc around;
    around.m_centre = CPointd(0.3, 0.2);
    around.m_rx = around.m_ry = 20;
    EXPECT_EQ(around.IsInRect(-5, -5, 5, 5), 0);
}

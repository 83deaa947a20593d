// The elevation and thickness of one entity by type, and polygon measures.
#include "model/bmp.h"
#include "model/circ.h"
#include "model/dib.h"
#include "model/elevation.h"
#include "model/hatch.h"
#include "model/insbl.h"
#include "model/pline.h"
#include "model/pointlist.h"
#include "model/punt.h"
#include "model/recta.h"
#include "model/tdface.h"
#include "model/text.h"
#include "platform/archive.h"
#include "support/stored.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

CRecta* Line(double z1, double z2)
{
    auto* l = new CRecta(1, 0, "ZP", 0, 0, 0, 0, 1);
    l->m_p1 = CPointd(0, 0, z1);
    l->m_p2 = CPointd(1, 0, z2);
    return l;
}

CPLine* Chain()
{
    CObList segments(ListOwnership::owns);
    segments.AddTail(new CDib(ENT_LINE, Line(3, 4)));
    auto* arc = new CArc(1, 0, "ZP", 0, 0, 0, 0, 1);
    arc->m_centre = CPointd(1, 1, 4);
    arc->m_rx = arc->m_ry = 1;
    segments.AddTail(new CDib(ENT_ARC, arc));
    return new CPLine(1, 0, "ZP", segments, 0, 0, 0, 1);
}

struct Row {
    const char* what;
    int type;
    std::function<CObject*()> make;
    bool changes;
    std::function<void(const CObject&)> check;
};

}  // namespace

TEST(Elevation, EachKindTakesTheElevation)
{
    const Row rows[] = {
        {"line: its lower end at 5, the height kept", ENT_LINE, [] { return Line(3, 2); }, true,
         [](const CObject& e) {
             EXPECT_EQ(static_cast<const CRecta&>(e).m_p1.z, 6.0);
             EXPECT_EQ(static_cast<const CRecta&>(e).m_p2.z, 5.0);
         }},
        {"circle", ENT_CIRCLE, [] { return new CCirc; }, true,
         [](const CObject& e) { EXPECT_EQ(static_cast<const CCirc&>(e).m_centre.z, 5.0); }},
        {"arc", ENT_ARC, [] { return new CArc; }, true,
         [](const CObject& e) { EXPECT_EQ(static_cast<const CArc&>(e).m_centre.z, 5.0); }},
        {"point", ENT_POINT, [] { return new CPunt; }, true,
         [](const CObject& e) { EXPECT_EQ(static_cast<const CPunt&>(e).m_point.z, 5.0); }},
        {"insert", ENT_INSERT, [] { return new CInsBl; }, true,
         [](const CObject& e) { EXPECT_EQ(static_cast<const CInsBl&>(e).m_insert.z, 5.0); }},
        {"polyline: moved so that its start is at 5", ENT_PLINE, [] { return Chain(); }, true,
         [](const CObject& e) {
             const auto& pl = static_cast<const CPLine&>(e);
             POSITION pos = pl.GetFirstSegmentPosition();
             int type = 0;
             EXPECT_EQ(static_cast<const CRecta*>(pl.GetNextSegment(pos, type))->m_p2.z, 6.0);
             EXPECT_EQ(static_cast<const CArc*>(pl.GetNextSegment(pos, type))->m_centre.z, 6.0);
         }},
        {"3D face: the lowest corner at 5", ENT_3DFACE,
         [] {
             auto* f = new CTdface;
             for (int i = 0; i < 4; ++i)
                 f->m_c[i].z = 2 + i;
             return f;
         },
         true,
         [](const CObject& e) {
             for (int i = 0; i < 4; ++i)
                 EXPECT_EQ(static_cast<const CTdface&>(e).m_c[i].z, 5.0 + i);
         }},
        {"text", ENT_TEXT, [] { return new CText; }, false, {}},
        {"hatch", ENT_HATCH, [] { return new CHatch; }, false, {}},
        {"bitmap", ENT_BITMAP, [] { return new CBmp; }, false, {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        std::unique_ptr<CObject> e(r.make());
        const auto before = Stored(*e);
        EXPECT_EQ(SetEntityElevation(r.type, e.get(), 5.0), r.changes);
        if (r.changes)
            r.check(*e);
        else
            EXPECT_EQ(Stored(*e), before);
    }
}

TEST(Elevation, ThicknessOfLinesCirclesArcsAndPolylineSegments)
{
    std::unique_ptr<CRecta> line(Line(0, 0));
    EXPECT_TRUE(SetEntityThickness(ENT_LINE, line.get(), 2.5));
    EXPECT_EQ(line->m_thick1, 2.5);
    EXPECT_EQ(line->m_thick2, 2.5);
    CCirc circle;
    EXPECT_TRUE(SetEntityThickness(ENT_CIRCLE, &circle, 2.5));
    EXPECT_EQ(circle.m_thickness, 2.5);
    CArc arc;
    EXPECT_TRUE(SetEntityThickness(ENT_ARC, &arc, 2.5));
    EXPECT_EQ(arc.m_thick2, 2.5);
    std::unique_ptr<CPLine> pl(Chain());
    EXPECT_TRUE(SetEntityThickness(ENT_PLINE, pl.get(), 2.5));
    POSITION pos = pl->GetFirstSegmentPosition();
    int type = 0;
    EXPECT_EQ(static_cast<const CRecta*>(pl->GetNextSegment(pos, type))->m_thick2, 2.5);
    const auto* a = static_cast<const CArc*>(pl->GetNextSegment(pos, type));
    EXPECT_EQ(a->m_thick1, 2.5);
    EXPECT_EQ(a->m_thick2, 0.0) << "an arc segment takes the first only";
    for (int other : {ENT_POINT, ENT_TEXT, ENT_INSERT, ENT_3DFACE, ENT_HATCH, ENT_BITMAP})
        EXPECT_FALSE(SetEntityThickness(other, nullptr, 1.0)) << other;
}

TEST(PolygonMeasures, UnitSquareBothWaysAndShortLists)
{
    CObList square(ListOwnership::owns);
    for (const CPointd& p : {CPointd(0, 0), CPointd(1, 0), CPointd(1, 1), CPointd(0, 1)})
        AppendPointCopy(p, square);
    EXPECT_EQ(PolygonArea(square), 1.0);
    EXPECT_EQ(PolygonPerimeter(square), 4.0);

    CObList clockwise(ListOwnership::owns);
    for (const CPointd& p : {CPointd(0, 0), CPointd(0, 1), CPointd(1, 1), CPointd(1, 0)})
        AppendPointCopy(p, clockwise);
    EXPECT_EQ(PolygonArea(clockwise), -1.0);

    CObList two(ListOwnership::owns);
    AppendPointCopy(CPointd(0, 0, 9), two);
    EXPECT_EQ(static_cast<const CPointd*>(two.GetHead())->z, 9.0) << "a copy of x, y and z";
    AppendPointCopy(CPointd(3, 4), two);
    EXPECT_EQ(PolygonArea(two), 0.0);
    EXPECT_EQ(PolygonPerimeter(two), 10.0) << "there and back";
    CObList none(ListOwnership::owns);
    EXPECT_EQ(PolygonArea(none), 0.0);
    EXPECT_EQ(PolygonPerimeter(none), 0.0);
}

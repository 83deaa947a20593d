// The wall tools' edit helpers, with their undo steps.
#include "model/recta.h"
#include "view2d/archedit.h"
#include "view2d/archgeom.h"
#include "view_fixture.h"

#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;

CRecta Line(CPointd a, CPointd b)
{
    CRecta line;
    line.m_p1 = a;
    line.m_p2 = b;
    return line;
}

int Lines(const CRectaDoc& doc)
{
    return doc.GetEntityList().GetCount();
}

}  // namespace

TEST_F(ViewTest, WallHelpersRecordTheirSteps)
{
    CRecta* wall = AddLineByLayer(doc, view, CPointd(0, 2), CPointd(10, 2), "WALLS", RGB(0, 0, 255), 1, 2);
    CLayer* layer = nullptr;
    ASSERT_EQ(doc.FindLayer("WALLS", layer), 1);
    EXPECT_EQ(wall->m_color, RGB(0, 0, 255));
    EXPECT_EQ(wall->m_style, 1);
    EXPECT_EQ(wall->m_width, 2);
    view.SaveUndoState();
    view.ClearPendingSteps();

    CDib* record = doc.GetLastEntityRecord();
    ASSERT_TRUE(CutGapInLine(doc, view, *wall, *record, doc.GetLastEntityPosition(), CPointd(6, 2),
                             CPointd(4, 2)));
    view.SaveUndoState();
    view.ClearPendingSteps();
    ASSERT_EQ(Lines(doc), 2);
    EXPECT_EQ(wall->m_p2, CPointd(4, 2));
    const CRecta* rest = static_cast<CRecta*>(doc.GetLastEntityRecord()->m_entity);
    EXPECT_EQ(rest->m_p1, CPointd(6, 2));
    EXPECT_EQ(rest->m_p2, CPointd(10, 2));
    EXPECT_EQ(rest->m_layer, "WALLS");

    CDib* restRecord = doc.GetLastEntityRecord();
    ASSERT_TRUE(EraseEntityWithUndo(doc, view, *restRecord, doc.GetLastEntityPosition()));
    EXPECT_FALSE(EraseEntityWithUndo(doc, view, *restRecord, nullptr)) << "no longer in the drawing";
    view.SaveUndoState();
    view.ClearPendingSteps();
    EXPECT_EQ(Lines(doc), 1);

    view.DoUndo();  // the erase
    EXPECT_EQ(Lines(doc), 2);
    view.DoUndo();  // the gap
    ASSERT_EQ(Lines(doc), 1);
    EXPECT_EQ(static_cast<CRecta*>(doc.GetLastEntityRecord()->m_entity)->m_p2, CPointd(10, 2));
    view.DoUndo();  // the wall
    EXPECT_EQ(Lines(doc), 0);
}

TEST_F(ViewTest, LineByLayerNamesItsLayerWhole)
{
    const std::string name = "STRUCTURE-WALLS-GROUND-FLOOR";  // longer than 23 bytes
    const int before = doc.GetLayerList().GetCount();
    AddLineByLayer(doc, view, CPointd(0, 0), CPointd(4, 0), name, RGB(255, 0, 0), 0, 1);
    AddLineByLayer(doc, view, CPointd(0, 1), CPointd(4, 1), name, RGB(0, 255, 0), 0, 1);
    EXPECT_EQ(doc.GetLayerList().GetCount(), before + 1) << "the second line finds the layer";
    CLayer* layer = nullptr;
    ASSERT_EQ(doc.FindLayer(name, layer), 1);
    EXPECT_EQ(layer->m_color, RGB(255, 0, 0));
    for (CObject* obj : doc.GetEntityList()) {
        const auto* line = static_cast<CRecta*>(static_cast<CDib*>(obj)->m_entity);
        EXPECT_EQ(line->m_layer, name);
        EXPECT_EQ(line->m_color, RGB(255, 0, 0));
    }
    view.ClearPendingSteps();
}


TEST(ArchGeometry, PointsAndAngles)
{
    CPointd p(1, 2, 5);
    PolarPoint(p, 2.0, kPi / 2, p);  // out aliases in
    EXPECT_NEAR(p.x, 1.0, 1e-12);
    EXPECT_DOUBLE_EQ(p.y, 4.0);
    EXPECT_EQ(p.z, 5.0);

    EXPECT_DOUBLE_EQ(DistancePoints(CPointd(0, 0, 0), CPointd(3, 4, 100)), 5.0);

    EXPECT_EQ(AnglePoints(CPointd(1, 1), CPointd(2, 1)), 0.0);
    EXPECT_DOUBLE_EQ(AnglePoints(CPointd(1, 1), CPointd(0, 1)), kPi);
    EXPECT_DOUBLE_EQ(AnglePoints(CPointd(0, 0), CPointd(0, -1)), 1.5 * kPi);
    EXPECT_EQ(AnglePoints(CPointd(2, 2, 0), CPointd(2, 2, 9)), 0.0);
    const double nearlyFull = AnglePoints(CPointd(0, 0), CPointd(1, -1e-300));
    EXPECT_GE(nearlyFull, 0.0);
    EXPECT_LT(nearlyFull, 2 * kPi);

    CPointd m(0, 0, 0);
    MidPoint(CPointd(0, 2, 4), CPointd(2, 6, 0), m);
    EXPECT_EQ(m, CPointd(1, 4, 2));
}

TEST(ArchGeometry, PerpendicularFoot)
{
    const CRecta line = Line(CPointd(0, 0, 0), CPointd(4, 0, 2));
    CPointd foot;
    EXPECT_DOUBLE_EQ(PerpendicularFoot(CPointd(1, 3, 0), line, foot), 3.0);
    EXPECT_EQ(foot, CPointd(1, 0, 0.5));

    // Beyond the segment: the carrier still counts.
    EXPECT_DOUBLE_EQ(PerpendicularFoot(CPointd(-2, -1, 0), line, foot), 1.0);
    EXPECT_EQ(foot, CPointd(-2, 0, -1));

    CPointd p(3, 3, 0);
    EXPECT_DOUBLE_EQ(PerpendicularFoot(p, Line(CPointd(0, 0), CPointd(2, 2)), p), 0.0);
    EXPECT_EQ(p, CPointd(3, 3, 0));

    CPointd untouched(7, 7, 7);
    EXPECT_EQ(PerpendicularFoot(CPointd(1, 1), Line(CPointd(5, 5, 0), CPointd(5, 5, 3)), untouched), 0.0);
    EXPECT_EQ(untouched, CPointd(7, 7, 7));
}

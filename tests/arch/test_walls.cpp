// Walls and their chains, pillars and solid walls.
#include "arch/archgen.h"
#include "arch_fixture.h"
#include "model/layer.h"
#include "model/pline.h"
#include "model/tdface.h"
#include "support/segments.h"
#include "view2d/viewtools.h"

// A chain of four walls round a square, closed by the right button's join:
// the outer and inner faces meet at their corners; each wall is one undo state.
TEST_F(ArchTest, WallChainClosesIntoARoom)
{
    const CPointd corners[] = {{0, 0}, {4, 0}, {4, 4}, {0, 4}, {0, 0}};
    for (int i = 0; i < 4; ++i)
        ViewTools().MakeWall(doc, view, corners[i], corners[i + 1], CPointd(2, 2), i + 1, 0, 0.2);
    EXPECT_EQ(Count(ENT_LINE, "WALLS"), 8);
    EXPECT_EQ(view.UndoStateCount(), 4);
    CLayer* layer = nullptr;
    EXPECT_EQ(doc.FindLayer("WALLS", layer), 1);

    CPointd* chain = doc.m_toolPoints;
    ViewTools().JoinWalls(doc, view, chain[1], chain[2], chain[3], chain[4], 0.4);
    const std::multiset<Seg> room{S(0, 0, 4, 0),       S(4, 0, 4, 4),       S(4, 4, 0, 4),       S(0, 4, 0, 0),
                             S(0.2, 0.2, 3.8, 0.2), S(3.8, 0.2, 3.8, 3.8), S(3.8, 3.8, 0.2, 3.8), S(0.2, 3.8, 0.2, 0.2)};
    EXPECT_EQ(Lines(doc, "WALLS"), room);
    EXPECT_EQ(view.UndoStateCount(), 5);

    view.DoUndo();  // the closing join
    EXPECT_EQ(Lines(doc, "WALLS").count(S(0.2, 0.2, 3.8, 0.2)), 0u);
    view.DoUndo();  // the fourth wall, with its join to the third
    EXPECT_EQ(Count(ENT_LINE), 6);
    EXPECT_EQ(Lines(doc, "WALLS").count(S(3.8, 0.2, 3.8, 3.8)), 1u) << "the third wall's inner corner stays";
    for (int i = 0; i < 3; ++i)
        view.DoUndo();
    EXPECT_EQ(Count(), 0);
}

// The second face goes to the side point's side; an open chain stays open.
TEST_F(ArchTest, WallFaceFollowsTheSidePoint)
{
    MakeWall(doc, view, CPointd(0, 0), CPointd(5, 0), CPointd(1, -3), 1, 0, 0.3);
    EXPECT_EQ(Lines(doc, "WALLS"), (std::multiset<Seg>{S(0, 0, 5, 0), S(0, -0.3, 5, -0.3)}));
    MakeWall(doc, view, CPointd(5, 0), CPointd(5, -4), CPointd(9, -1), 2, 0, 0.3);
    // Turning right with the wall outside the corner: the outer faces meet at
    // (5.3, 0), the inner ones at (5, -0.3).
    EXPECT_EQ(Lines(doc, "WALLS"),
              (std::multiset<Seg>{S(0, 0, 5.3, 0), S(0, -0.3, 5, -0.3), S(5.3, 0, 5.3, -4), S(5, -0.3, 5, -4)}));
    CPointd* chain = doc.m_toolPoints;
    JoinWalls(doc, view, chain[1], chain[2], chain[3], chain[4], 0.4);
    EXPECT_EQ(Count(ENT_LINE), 4);
    EXPECT_EQ(Lines(doc, "WALLS").count(S(0, -0.3, 5, -0.3)), 1u) << "far from the start: nothing joins";
}

TEST_F(ArchTest, WallWithoutThicknessOrLengthIsRefused)
{
    EXPECT_FALSE(MakeWall(doc, view, CPointd(0, 0), CPointd(5, 0), CPointd(1, 1), 1, 0, 0.0));
    EXPECT_NE(view.PromptBuffer().find("thickness"), std::string::npos);
    EXPECT_FALSE(MakeWall(doc, view, CPointd(2, 1), CPointd(2, 1, 3), CPointd(1, 1), 1, 0, 0.25));
    EXPECT_NE(view.PromptBuffer().find("end point lies on the start point"), std::string::npos);
    EXPECT_EQ(Count(), 0);
    EXPECT_EQ(view.UndoStateCount(), 0);
    EXPECT_TRUE(MakeWall(doc, view, CPointd(2, 1), CPointd(3, 1), CPointd(1, 1), 1, 0, 0.25));
}

TEST_F(ArchTest, IntersectionOfTheFirstTwoSelectedLines)
{
    CPointd out(7, 7);
    view.SelectEntity(ENT_LINE, WallLine(0, 1, 5, 1));
    EXPECT_EQ(IntersectSelectedLines(doc, view, out), 0);
    EXPECT_EQ(out, CPointd(7, 7));
    view.SelectEntity(ENT_LINE, WallLine(2, -3, 2, 8));
    EXPECT_EQ(ViewTools().IntersectSelectedLines(doc, view, out), 1);
    EXPECT_EQ(out, CPointd(2, 1));
    view.SelectEntity(ENT_LINE, WallLine(0, 3, 5, 2));  // a third is not read
    EXPECT_EQ(IntersectSelectedLines(doc, view, out), 1);
    view.ClearSelection();
}

// The pillar runs from the crossing of its reference lines to the side point,
// its sides along the lines.
TEST_F(ArchTest, PillarFillsTheCornerTowardsTheSidePoint)
{
    view.SelectEntity(ENT_LINE, WallLine(0, 1, 5, 1));
    view.SelectEntity(ENT_LINE, WallLine(1, 0, 6, 5));  // at 45 degrees
    ViewTools().MakePillar(doc, view, CPointd(1, 1), CPointd(2.5, 1.5));
    ASSERT_EQ(Count(ENT_PLINE, "WALLS"), 1);
    CPLine* pillar = Last<CPLine>();
    CPointd start, end;
    ASSERT_TRUE(pillar->GetStartPoint(start));
    ASSERT_TRUE(pillar->GetEndPoint(end));
    EXPECT_EQ(start, CPointd(1, 1));
    EXPECT_NEAR(end.x, 1, 1e-12);
    EXPECT_NEAR(end.y, 1, 1e-12) << "closed";
    double area = 0.0, perimeter = 0.0;
    CObList points{ListOwnership::owns};
    pillar->GetVertices(area, points, perimeter);
    EXPECT_NEAR(std::abs(area), 1.0 * 0.5, 1e-12) << "a parallelogram 1 along x, 0.5 high";
    view.ClearSelection();
    view.DoUndo();
    EXPECT_EQ(Count(ENT_PLINE), 0);

    MakePillar(doc, view, CPointd(1, 1), CPointd(3, 1));
    EXPECT_EQ(Count(ENT_PLINE), 0) << "on a reference line";
    EXPECT_NE(view.PromptBuffer().find("Pillar"), std::string::npos);
}

// Every wall line gets a vertical face the document's thickness high; one undo takes them all.
TEST_F(ArchTest, SolidWallsRaiseEveryWallLine)
{
    MakeWall(doc, view, CPointd(0, 0), CPointd(5, 0), CPointd(1, 1), 1, 0, 0.25);
    WallLine(0, 9, 1, 9);
    CRecta* other = doc.AddRecta();
    other->m_p2 = CPointd(1, 1);
    doc.m_thickness = 2.5;
    MakeSolidWalls(doc, view);
    ASSERT_EQ(Count(ENT_3DFACE, "WALLS"), 3);
    const CTdface* face = Last<CTdface>();
    EXPECT_EQ(face->m_c[0], CPointd(0, 9));
    EXPECT_EQ(face->m_c[2], CPointd(1, 9, 2.5));
    view.DoUndo();
    EXPECT_EQ(Count(ENT_3DFACE), 0);
}

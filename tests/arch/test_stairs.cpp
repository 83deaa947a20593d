// Stairs in plan.
#include "arch/archgen.h"
#include "arch_fixture.h"
#include "model/circ.h"
#include "model/pline.h"
#include "view2d/viewtools.h"

// 2.8 long and 1 wide: the outline, 9 tread lines between 10 treads, the
// walking line and its head, all on "ESCAL2D"; one undo takes them all.
TEST_F(ArchTest, StraightStair)
{
    ViewTools().GenEscaleraRecta(doc, view, CPointd(0, 0), CPointd(2.8, 0), CPointd(1, -1));
    EXPECT_EQ(Count(0, "ESCAL2D"), 1 + 9 + 1 + 2);
    EXPECT_EQ(Count(ENT_PLINE), 1);
    CPointd corner;
    ASSERT_TRUE(static_cast<CPLine*>(static_cast<CDib*>(doc.GetEntityList().GetHead())->m_entity)->GetEndPoint(corner));
    EXPECT_EQ(view.UndoStateCount(), 1);
    const CRecta* tread = static_cast<CRecta*>(static_cast<CDib*>(doc.GetEntityList().GetAt(
                                                   doc.GetEntityList().FindIndex(1)))->m_entity);
    EXPECT_NEAR(tread->m_p1.x, 0.28, 1e-12);
    EXPECT_NEAR(tread->m_p2.y, -1.0, 1e-12) << "on the width point's side";
    view.DoUndo();
    EXPECT_EQ(Count(), 0);
}

// 3.8 long, flights 1 wide: a landing 1 deep, flights of 10 treads side by side.
TEST_F(ArchTest, TwoFlightStair)
{
    ViewTools().GenEscaleraDosTramos(doc, view, CPointd(0, 0), CPointd(0, 3.8), CPointd(-1, 0));
    EXPECT_EQ(Count(0, "ESCAL2D"), 1 + 1 + 1 + 2 * 9 + 1 + 2);
    EXPECT_EQ(Count(ENT_PLINE), 2);
    view.DoUndo();
    EXPECT_EQ(Count(), 0);

    GenEscaleraDosTramos(doc, view, CPointd(0, 0), CPointd(0, 0.8), CPointd(-1, 0));
    EXPECT_EQ(Count(), 0) << "no room for a landing";

    // Too many treads: nothing is made, and the prompt says why.
    for (double length : {281.0, 1e300}) {
        GenEscaleraRecta(doc, view, CPointd(0, 0), CPointd(length, 0), CPointd(0, 1));
        GenEscaleraDosTramos(doc, view, CPointd(0, 0), CPointd(length + 1, 0), CPointd(0, 1));
        EXPECT_EQ(Count(), 0) << length;
        EXPECT_NE(view.PromptBuffer().find("more than 1000 treads"), std::string::npos);
    }
}

// One turn of 16 treads between the core and the outer circle.
TEST_F(ArchTest, SpiralStair)
{
    ViewTools().GenEscaleraEspiral(doc, view, CPointd(1, 1), CPointd(3, 1));
    EXPECT_EQ(Count(ENT_CIRCLE, "ESCAL2D"), 2);
    EXPECT_EQ(Count(ENT_LINE, "ESCAL2D"), 16);
    const auto* first = static_cast<CCirc*>(static_cast<CDib*>(doc.GetEntityList().GetHead())->m_entity);
    EXPECT_EQ(first->m_rx, 2.0);
    const auto* tread = static_cast<CRecta*>(static_cast<CDib*>(doc.GetEntityList().GetAt(
                                                 doc.GetEntityList().FindIndex(2)))->m_entity);
    EXPECT_NEAR(tread->m_p1.x, 1.4, 1e-12);
    EXPECT_NEAR(tread->m_p2.x, 3.0, 1e-12);
    view.DoUndo();
    EXPECT_EQ(Count(), 0);

    GenEscaleraEspiral(doc, view, CPointd(1, 1), CPointd(1, 1));
    GenEscaleraRecta(doc, view, CPointd(0, 0), CPointd(3, 0), CPointd(2, 0));
    EXPECT_EQ(Count(), 0);
    GenEscaleraEspiral(doc, view, CPointd(-8e14, 0), CPointd(8e14, 0));
    EXPECT_EQ(Count(), 0);
    EXPECT_EQ(view.PromptBuffer().find("Radius out of range"), 0u);
    EXPECT_EQ(view.UndoStateCount(), 1);
}

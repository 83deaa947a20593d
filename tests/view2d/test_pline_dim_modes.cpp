// Polylines and dimensions in the plan view: drawing modes, undo, picking,
// window selection and snap.
#include "model/acot.h"
#include "model/circ.h"
#include "model/dib.h"
#include "model/entitykind.h"
#include "model/pline.h"
#include "model/recta.h"
#include "support/blocks.h"
#include "view2d/compositepick.h"
#include "view2d/pickdist.h"
#include "view2d/undo.h"
#include "view_fixture.h"

namespace {

class PLineDimTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        doc.m_ortho = 0;
        doc.m_gridStep = 0;
    }
};

}  // namespace

TEST_F(PLineDimTest, PolylineChainIsOnePolylineAndOneUndoState)
{
    view.OnCommand(10074);
    ASSERT_EQ(view.m_mode, MODE_PLINE);
    Click(1, 1);
    Click(5, 1);
    Click(5, 4);
    EXPECT_EQ(doc.GetEntityList().GetCount(), 0) << "segments wait in the block list";
    EXPECT_EQ(view.UndoStateCount(), 0);
    Right();
    ASSERT_EQ(Count(ENT_PLINE), 1);
    EXPECT_EQ(static_cast<CPLine*>(doc.GetLastEntityRecord()->m_entity)->m_segments.GetCount(), 2);
    EXPECT_TRUE(view.m_blockList.IsEmpty());
    EXPECT_EQ(view.UndoStateCount(), 1);
    EXPECT_EQ(view.m_mode, MODE_PLINE);

    Right();  // no segment since: nothing more
    EXPECT_EQ(doc.GetEntityList().GetCount(), 1);
    EXPECT_EQ(view.UndoStateCount(), 1);

    view.OnCommand(ID_UNDO);
    EXPECT_EQ(doc.GetEntityList().GetCount(), 0);
    EXPECT_EQ(Ink(), 0);
    view.OnCommand(ID_REDO);
    EXPECT_EQ(Count(ENT_PLINE), 1);

    // Cancelling mid-chain keeps what was drawn rather than leaving it for the next chain.
    view.OnCommand(10074);
    Click(1, 6);
    Click(3, 6);
    view.CancelCommand();
    EXPECT_EQ(Count(ENT_PLINE), 2);
    EXPECT_TRUE(view.m_blockList.IsEmpty());
}

TEST_F(PLineDimTest, LinearAndRadialDimensionsAreOneUndoStateEach)
{
    view.OnCommand(10213);
    Click(1, 1);
    Click(5, 1);
    EXPECT_EQ(view.PromptBuffer().substr(0, 9), "Position:");
    Click(3, 2);
    ASSERT_EQ(Count(ENT_DIMENSION), 1);
    EXPECT_EQ(view.m_mode, MODE_NONE);
    EXPECT_EQ(view.UndoStateCount(), 1);
    EXPECT_GT(Ink(), 0);

    CCirc* c = doc.AddCirc();
    c->m_centre = CPointd(6, 5);
    c->m_rx = c->m_ry = 2;
    view.OnCommand(10228);
    Click(8, 5);
    EXPECT_EQ(view.m_mode, MODE_DIM_RADIAL);
    Click(9, 6);
    ASSERT_EQ(Count(ENT_DIMENSION), 2);
    EXPECT_EQ(view.UndoStateCount(), 2) << "no empty state for the pick";
    view.OnCommand(ID_UNDO);
    view.OnCommand(ID_UNDO);
    EXPECT_EQ(Count(ENT_DIMENSION), 0);
    EXPECT_EQ(Count(ENT_CIRCLE), 1);
}

TEST_F(PLineDimTest, PickWindowAndSnapSeeTheParts)
{
    CObList segs(ListOwnership::owns);
    segs.AddTail(new CDib(ENT_LINE, NewLine(1, 1, 5, 1)));
    segs.AddTail(new CDib(ENT_LINE, NewLine(5, 1, 5, 4)));
    doc.AddPLine(segs);
    EXPECT_EQ(Pick(5.1, 3), doc.GetLastEntityPosition());
    view.SelectByWindow(0, CPointd(0, 0), CPointd(6, 2));
    EXPECT_TRUE(view.m_selection.IsEmpty()) << "window mode needs every segment inside";
    view.SelectByWindow(1, CPointd(0, 0), CPointd(6, 2));
    EXPECT_EQ(view.m_selection.GetCount(), 1);

    view.m_snapMode = 2;
    CPointd p(4.95, 1.05);
    ASSERT_EQ(view.OnEditPoint(p), 1);
    EXPECT_EQ(p, CPointd(5, 1));

    CAcot* dim = doc.AddLinearDim(1, 0, "ZP", {1, 8}, {5, 8}, {3, 7});
    view.m_snapMode = 3;
    p = CPointd(2, 7.02);
    ASSERT_EQ(view.OnEditPoint(p), 1);
    EXPECT_NEAR(p.x, 3, 1e-3) << "mid point of the dimension line";
    EXPECT_EQ(PickDistAcot(*dim, CPointd(10, 7.5)), kNoPickDist);
    EXPECT_NEAR(PickDistAcot(*dim, CPointd(2, 7.1)), 0.1, 1e-3);
}

TEST_F(PLineDimTest, EmptyCompositesAreHarmless)
{
    CObList none(ListOwnership::owns);
    CPLine* pl = doc.AddPLine(none);
    CAcot* dim = doc.AddAcot(none);
    view.Invalidate();
    EXPECT_EQ(Ink(), 0);
    CObject* e = nullptr;
    int type = 0;
    EXPECT_EQ(view.PickNearestEntity(CPointd(0, 0), e, type), nullptr);
    view.SelectByWindow(0, CPointd(-100, -100), CPointd(100, 100));
    EXPECT_TRUE(view.m_selection.IsEmpty());
    const Pt2 box[4] = {{-1, 1}, {1, 1}, {1, -1}, {-1, -1}};
    const CObject* part = nullptr;
    Pt2 foot;
    double d = 0;
    EXPECT_FALSE(SnapPLine(*pl, box, {0, 0}, type, part, foot, d) || SnapAcot(*dim, box, {0, 0}, type, part, foot, d));
    delete new CDib(ENT_PLINE, DuplicateEntity(ENT_PLINE, pl));
}

TEST_F(PLineDimTest, BlockListBuildersTakeTheListOver)
{
    CObList segs(ListOwnership::owns);
    segs.AddTail(new CDib(ENT_LINE, new CRecta));
    view.NewBlockPLine(1, 0, "NO SUCH LAYER", segs);
    EXPECT_TRUE(segs.IsEmpty());
    EXPECT_EQ(static_cast<CDib*>(view.m_blockList.GetTail())->m_visible, 0) << "the layer's on/off word";
    view.NewBlockAcot(1, 0, doc.m_layerName, segs);
    EXPECT_EQ(static_cast<CDib*>(view.m_blockList.GetTail())->m_visible, 1);
}

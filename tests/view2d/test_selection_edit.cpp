// Move, copy, block define and 3D faces, end to end through the view's handlers.
#include "model/bloq.h"
#include "model/circ.h"
#include "model/dib.h"
#include "model/hatch.h"
#include "model/recta.h"
#include "model/tdface.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_forms.h"
#include "view_fixture.h"

#include <algorithm>
#include <vector>

namespace {

class SelectionEdit : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        doc.m_ortho = 0;
        doc.m_gridStep = 0.5;  // clicks land on whole points
        line = doc.AddRecta();
        line->m_p1 = CPointd(1, 1);
        line->m_p2 = CPointd(3, 1);
        circle = doc.AddCirc();
        circle->m_centre = CPointd(2, 3);
        circle->m_rx = circle->m_ry = 0.5;
    }
    // Starts the command and selects everything by a window.
    void SelectAllFor(int id)
    {
        view.OnCommand(id);
        Click(0.3, 0.3);
        Click(5, 5);
        Right();
    }
    CRecta* line = nullptr;
    CCirc* circle = nullptr;
};

}  // namespace

TEST_F(SelectionEdit, MoveByClicksThenUndo)
{
    SelectAllFor(10451);
    EXPECT_EQ(view.m_command, CMD_MOVE_BASE);
    Click(1, 1);
    Click(3, 2);
    EXPECT_EQ(view.m_command, CMD_NONE);
    EXPECT_EQ(line->m_p1, CPointd(3, 2));
    EXPECT_EQ(line->m_p2, CPointd(5, 2));
    EXPECT_EQ(circle->m_centre, CPointd(4, 4));
    EXPECT_EQ(view.UndoStateCount(), 1);
    EXPECT_EQ(view.GetFirstSelectedPosition(), nullptr);
    view.OnCommand(ID_UNDO);
    auto* first = static_cast<CRecta*>(static_cast<CDib*>(doc.GetEntityList().GetHead())->m_entity);
    EXPECT_EQ(first->m_p1, CPointd(1, 1));
    EXPECT_EQ(first->m_p2, CPointd(3, 1));
}

TEST_F(SelectionEdit, CopyByClicksThenUndo)
{
    SelectAllFor(10452);
    Click(1, 1);
    Click(1, 4);
    ASSERT_EQ(Count(), 4);
    EXPECT_EQ(line->m_p1, CPointd(1, 1)) << "the source stays";
    const CObject* copy = static_cast<CDib*>(doc.GetEntityList().GetAt(doc.GetEntityList().FindIndex(2)))->m_entity;
    EXPECT_EQ(static_cast<const CRecta*>(copy)->m_p1, CPointd(1, 4));
    EXPECT_EQ(static_cast<CCirc*>(doc.GetLastEntityRecord()->m_entity)->m_centre, CPointd(2, 6));
    EXPECT_EQ(view.UndoStateCount(), 1);
    view.OnCommand(ID_UNDO);
    EXPECT_EQ(Count(), 2);
}

// A hatch listed before its ring fills only the ring when an erase of all
// is undone or all is copied, as on a repaint; the undone erase puts the
// records back in the order they were erased, the hatch last.
TEST_F(SelectionEdit, HatchesFillAfterTheOtherRecordsComeBack)
{
    doc.AddHatchOnLayer(1, RGB(255, 0, 0), "ZP", HATCH_SOLID, CPointd(4, 3));
    CCirc* ring = doc.AddCirc();
    ring->m_centre = CPointd(4, 3);
    ring->m_rx = ring->m_ry = 0.5;
    for (const bool copy : {true, false}) {
        SCOPED_TRACE(copy ? "copy" : "undone erase");
        std::vector<const CDib*> order;
        for (CObject* obj : doc.GetEntityList())
            order.push_back(static_cast<CDib*>(obj));
        // Hatches are erased last.
        std::stable_partition(order.begin(), order.end(), [](const CDib* d) { return d->m_type != ENT_HATCH; });
        if (copy) {  // the selection in list order, the hatch before its ring
            view.SelectByWindow(0, CPointd(0.3, 0.3), CPointd(5, 5));
            view.m_firstPoint = CPointd(1, 1);
            view.m_secondPoint = CPointd(1, 2);
            Red();  // painted: what follows draws over it
            view.CopySelection();
        } else {
            SelectAllFor(10450);
            Red();
            view.OnCommand(ID_UNDO);
            std::vector<const CDib*> now;
            for (CObject* obj : doc.GetEntityList())
                now.push_back(static_cast<CDib*>(obj));
            EXPECT_EQ(now, order);
        }
        const int drawn = Red();
        view.Invalidate();
        EXPECT_LT(drawn, 2 * Red());
    }
}

TEST_F(SelectionEdit, BlockDefineErasesSourcesAndRefusesATakenName)
{
    ScriptedForms forms;
    forms.Expect("BLOQDEF", OkWith({{"name", "B1"}, {"erase", "1"}}));
    SelectAllFor(10081);
    EXPECT_EQ(view.m_command, CMD_BLOCK_BASE);
    Click(1, 1);
    const CBloq* block = doc.FindBlock("B1");
    ASSERT_NE(block, nullptr);
    ASSERT_EQ(block->GetEntityList().GetCount(), 2);
    const auto* inBlock = static_cast<CRecta*>(static_cast<CDib*>(block->GetEntityList().GetHead())->m_entity);
    EXPECT_EQ(inBlock->m_p1, CPointd(0, 0));
    EXPECT_EQ(inBlock->m_p2, CPointd(2, 0));
    EXPECT_EQ(Count(), 0);
    view.OnCommand(ID_UNDO);
    EXPECT_EQ(Count(), 2);

    ScriptedMessageBoxes boxes({IDOK});
    forms.Expect("BLOQDEF", OkWith({{"name", "B1"}, {"erase", "1"}}));
    SelectAllFor(10081);
    Click(1, 1);
    EXPECT_EQ(boxes.asked.size(), 1u);
    EXPECT_EQ(doc.GetBlockList().GetCount(), 1);
    EXPECT_EQ(Count(), 2);
}

TEST_F(SelectionEdit, FaceByFourClicksOrThreeAndRight)
{
    view.OnCommand(4002);
    Click(1, 1);
    Click(4, 1);
    Click(4, 4);
    Click(1, 4);
    ASSERT_EQ(Count(ENT_3DFACE), 1);
    const auto* face = static_cast<CTdface*>(doc.GetLastEntityRecord()->m_entity);
    EXPECT_EQ(face->m_c[1], CPointd(4, 1));
    EXPECT_EQ(face->m_c[3], CPointd(1, 4));
    EXPECT_EQ(view.UndoStateCount(), 1);

    view.OnCommand(4002);
    Click(5, 1);
    Click(7, 1);
    Click(7, 3);
    Right();
    ASSERT_EQ(Count(ENT_3DFACE), 2);
    face = static_cast<CTdface*>(doc.GetLastEntityRecord()->m_entity);
    EXPECT_EQ(face->m_c[3], CPointd(7, 3)) << "the fourth corner is the third";
    EXPECT_EQ(view.UndoStateCount(), 2);
    view.OnCommand(ID_UNDO);
    EXPECT_EQ(Count(ENT_3DFACE), 1);
}

// Hatches and bitmaps in the plan view: drawn last and by their layer,
// picked, selected by window, moved, copied, put in blocks and undone.
#include "model/bloq.h"
#include "model/bmp.h"
#include "model/circ.h"
#include "model/hatch.h"
#include "model/recta.h"
#include "platform/archive.h"
#include "support/blocks.h"
#include "support/scripted_forms.h"
#include "support/stored.h"
#include "view2d/rastercopy.h"
#include "view2d/undo.h"
#include "view_fixture.h"

#include <algorithm>

namespace {

class HatchBmpView : public ViewTest {
protected:
    // Every record's stored bytes, in list order.
    std::vector<std::vector<BYTE>> Records()
    {
        std::vector<std::vector<BYTE>> all;
        for (CObject* e : doc.GetEntityList())
            all.push_back(Stored(*static_cast<CDib*>(e)));
        return all;
    }
};

}  // namespace

TEST_F(HatchBmpView, HatchesFillLastAndOnlyOnLayersThatAreOn)
{
    doc.AddHatchOnLayer(1, RGB(255, 0, 0), "ZP", HATCH_SOLID, CPointd(5, 4));
    doc.AddCircOnLayer(1, 0, "ZP", CPointd(5, 4), 1);
    view.Invalidate();
    const int filled = Red();
    EXPECT_GT(filled, 3000) << "listed before the ring, filled after it";
    EXPECT_LT(filled, 4000);

    CLayer* layer = nullptr;
    ASSERT_TRUE(doc.FindLayer("ZP", layer));
    layer->m_on = 0;
    view.Invalidate();
    EXPECT_EQ(Red(), 0) << "whatever its element's visible word";
}

TEST_F(HatchBmpView, ABitmapIsPickedInsideAtOnceAHatchNever)
{
    doc.AddHatchOnLayer(1, 0, "ZP", HATCH_SOLID, CPointd(2, 2));
    LineFrom(0, 3, 10, 3);
    doc.AddBmpOnLayer(1, 0, "ZP", "none.bmp", CPointd(1, 1), 4, 3);
    const POSITION bitmap = doc.GetLastEntityPosition();
    EXPECT_EQ(Pick(2, 3.01), bitmap) << "inside the picture wins over the nearer line";
    EXPECT_EQ(Pick(2, 2), bitmap) << "at the hatch's seed: the hatch is not picked";
    EXPECT_NE(Pick(6, 3.01), bitmap);

    view.SelectByWindow(0, CPointd(1.5, 1.5), CPointd(2.5, 2.5));
    ASSERT_EQ(view.m_selection.GetCount(), 1);
    POSITION node = view.GetFirstSelectedPosition();
    EXPECT_EQ(view.GetNextSelected(node)->m_kind, ENT_HATCH);
    view.ClearSelection();
    view.SelectByWindow(0, CPointd(0.5, 0.5), CPointd(5.5, 4.5));
    EXPECT_EQ(view.m_selection.GetCount(), 2) << "the hatch and the whole bitmap";
    view.ClearSelection();
    view.SelectByWindow(1, CPointd(4.5, 2.5), CPointd(6, 3.5));
    EXPECT_EQ(view.m_selection.GetCount(), 2) << "crossing: the line and a side of the bitmap";
}

TEST_F(HatchBmpView, SnapPassesOverHatchesAndBitmaps)
{
    doc.AddHatchOnLayer(1, 0, "ZP", HATCH_SOLID, CPointd(2, 2));
    doc.AddBmpOnLayer(1, 0, "ZP", "none.bmp", CPointd(4, 4), 2, 1);
    for (int mode = 1; mode <= 9; ++mode) {
        for (const CPointd& at : {CPointd(2, 2), CPointd(4, 4), CPointd(5, 4)}) {
            view.m_snapMode = mode;
            CPointd p = at;
            EXPECT_EQ(view.OnEditPoint(p), 0) << mode;
            EXPECT_EQ(p, at);
        }
    }
}

TEST_F(HatchBmpView, MoveCopyAndBlockThenUndoRestoreEveryRecord)
{
    doc.AddHatchOnLayer(1, RGB(255, 0, 0), "ZP", HATCH_SOLID, CPointd(2, 2, 1));
    doc.AddBmpOnLayer(1, 0, "ZP", "none.bmp", CPointd(4, 4, 2), 2, 1);
    const auto before = Records();
    auto selectAll = [&] {
        for (POSITION pos = doc.GetFirstEntityPosition(); pos; doc.GetEntityList().GetNext(pos))
            view.SelectEntity(doc.GetEntityRecord(pos)->m_type, pos);
    };

    selectAll();
    view.m_firstPoint = CPointd(0, 0, 0);
    view.m_secondPoint = CPointd(1, 2, 3);
    view.MoveSelection();
    const auto* hatch = static_cast<CHatch*>(doc.GetEntityRecord(doc.GetFirstEntityPosition())->m_entity);
    EXPECT_EQ(hatch->m_seed, CPointd(3, 4, 1)) << "z stays";
    EXPECT_EQ(static_cast<CBmp*>(doc.GetLastEntityRecord()->m_entity)->m_corner, CPointd(5, 6, 2));
    view.DoUndo();
    EXPECT_EQ(Records(), before);

    selectAll();
    view.CopySelection();
    EXPECT_EQ(doc.GetEntityList().GetCount(), 4);
    view.DoUndo();
    EXPECT_EQ(Records(), before);

    selectAll();
    ScriptedForms forms;
    forms.Expect("BLOQDEF", OkWith({{"name", "HB"}, {"erase", "1"}}));
    view.BlockFromSelection(CPointd(1, 1));
    const CBloq* block = doc.FindBlock("HB");
    ASSERT_NE(block, nullptr);
    ASSERT_EQ(block->GetEntityList().GetCount(), 2);
    const auto* inBlock = static_cast<CDib*>(block->GetEntityList().GetHead());
    EXPECT_EQ(inBlock->m_type, ENT_HATCH);
    EXPECT_EQ(static_cast<CHatch*>(inBlock->m_entity)->m_seed, CPointd(1, 1, 1));
    EXPECT_EQ(doc.GetEntityList().GetCount(), 0);
    view.DoUndo();
    auto after = Records();
    std::sort(after.begin(), after.end());
    auto expected = before;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(after, expected) << "both back (at the end of the list)";

    // The block inserted draws its bitmap's frame and its hatch over it.
    doc.AddInsBlOnLayer(1, 0, "ZP", CPointd(6, 2), 1, 0, 1, "HB");
    view.Invalidate();
    EXPECT_GT(Ink(), 0);
}

TEST_F(HatchBmpView, DisplacedCopiesComeWithTheirUndoSteps)
{
    CHatch* hatch = doc.AddHatchOnLayer(1, RGB(255, 0, 0), "LAYER A", HATCH_PATTERN, CPointd(2, 2, 1));
    hatch->SetPattern(QImage(8, 8, QImage::Format_RGB32));
    CBmp* bmp = doc.AddBmpOnLayer(1, 0, "ZP", "none.bmp", CPointd(4, 4, 2), 2, 1);
    const int count = doc.GetEntityList().GetCount();

    CHatch* h = CopyHatchMoved(view, *hatch, CPointd(1, 1, 0), CPointd(2, 3, 9));
    CBmp* b = CopyBmpMoved(view, *bmp, CPointd(1, 1, 0), CPointd(2, 3, 9));
    EXPECT_EQ(h->m_seed, CPointd(3, 4, 1));
    EXPECT_EQ(h->m_layer, "LAYER A");
    EXPECT_EQ(h->m_pattern, hatch->m_pattern);
    EXPECT_EQ(b->m_corner, CPointd(5, 6, 2));
    EXPECT_EQ(b->m_file, "none.bmp");
    EXPECT_EQ(doc.GetEntityList().GetCount(), count + 2);
    view.SaveUndoState();
    view.ClearPendingSteps();
    view.DoUndo();
    EXPECT_EQ(doc.GetEntityList().GetCount(), count);
}

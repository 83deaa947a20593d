// Explode as the explode command drives it, then undo, redo and close:
// every element is freed exactly once, and the parts draw exactly where
// the exploded entity drew.
#include "model/acot.h"
#include "model/circ.h"
#include "model/dib.h"
#include "model/hatch.h"
#include "model/insbl.h"
#include "model/pline.h"
#include "model/recta.h"
#include "support/blocks.h"
#include "support/pixels.h"
#include "view2d/undo.h"
#include "view_fixture.h"

#include <numbers>

namespace {

class ExplodeUndo : public FreedOnceTest {
protected:

    // The explode command on the record at pos alone; one state.
    void Explode(POSITION pos)
    {
        view.SelectEntity(doc.GetEntityRecord(pos)->m_type, pos);
        view.ExplodeSelection();
        view.SaveUndoState();
        view.ClearPendingSteps();
        view.ClearSelection();
    }

    QImage Shown()
    {
        view.Invalidate();
        return view.Image().copy();
    }

    // Explodes the record at pos, checking the picture and the live elements
    // through explode, undo, redo, undo, redo.
    void ExplodeAndReplay(POSITION pos, int parts)
    {
        const QImage before = Shown();
        const std::int64_t live = CDib::LiveCount();
        const int count = doc.GetEntityList().GetCount();
        Explode(pos);
        EXPECT_EQ(doc.GetEntityList().GetCount(), count - 1 + parts);
        EXPECT_EQ(Shown(), before) << "the parts draw where the entity drew";
        EXPECT_EQ(CDib::LiveCount(), live + parts);
        for (int round = 0; round < 2; ++round) {
            view.DoUndo();
            EXPECT_EQ(doc.GetEntityList().GetCount(), count);
            EXPECT_EQ(Shown(), before);
            view.DoRedo();
            EXPECT_EQ(doc.GetEntityList().GetCount(), count - 1 + parts);
            EXPECT_EQ(Shown(), before);
            EXPECT_EQ(CDib::LiveCount(), live + parts) << "nothing freed, nothing copied again";
        }
    }
};

}  // namespace

TEST_F(ExplodeUndo, Polyline)
{
    CObList segments(ListOwnership::owns);
    segments.AddTail(new CDib(ENT_LINE, NewLine(1, 1, 6, 1)));
    auto* arc = new CArc(1, 0, "L", 0, 0, 0, 0, 1);
    arc->m_centre = CPointd(6, 3);
    arc->m_rx = arc->m_ry = 2;
    arc->m_start = -std::numbers::pi / 2;
    arc->m_end = std::numbers::pi / 2;
    segments.AddTail(new CDib(ENT_ARC, arc));
    segments.AddTail(new CDib(ENT_LINE, NewLine(6, 5, 1, 1)));
    SetLastLayerName("L");
    doc.AddLayer(0, 1);
    doc.AddPLine(segments);
    ExplodeAndReplay(doc.GetLastEntityPosition(), 3);
}

TEST_F(ExplodeUndo, Dimension)
{
    doc.AddLinearDim(1, 0, "ZP", CPointd(1, 2), CPointd(9, 3), CPointd(5, 5));
    int parts = static_cast<CAcot*>(doc.GetLastEntityRecord()->m_entity)->m_parts.GetCount();
    ExplodeAndReplay(doc.GetLastEntityPosition(), parts - 1);
}

// An insert turned and scaled unevenly, holding a turned insert whose block
// holds a line, a ring and a hatch in the ring; then that nested insert too.
TEST_F(ExplodeUndo, NestedRotatedInserts)
{
    auto* ring = new CCirc(1, RGB(0, 0, 200), "L", 0, 0, 0, 0, 1);
    ring->m_rx = ring->m_ry = 0.6;
    AddNamedBlock(doc, "INNER", {{ENT_HATCH, new CHatch(1, RGB(200, 0, 0), "L", HATCH_SOLID, CPointd(0, 0))},
                                 {ENT_LINE, NewLine(-1, 0.8, 1, 0.8)},
                                 {ENT_CIRCLE, ring}});
    AddNamedBlock(doc, "OUTER", {{ENT_LINE, NewLine(0, 0, 3, 0)}, {ENT_INSERT, NewInsert("INNER", 2, 1, 0.4, 1, 1)}});
    SetLastLayerName("L");
    doc.AddLayer(0, 1);
    CInsBl* outer = doc.AddInsBlOnLayer(1, 0, "L", CPointd(4, 3), 1.5, std::numbers::pi / 6, 1.5, "OUTER");
    ASSERT_NE(outer, nullptr);
    const QImage shown = Shown();
    const int red = CountPixels(shown, 0xC80000);
    EXPECT_GT(red, 100) << "the hatch fills its ring: drawn after the ring though listed before";
    EXPECT_LT(red, 2000);

    ExplodeAndReplay(doc.GetLastEntityPosition(), 2);
    ASSERT_EQ(doc.GetLastEntityRecord()->m_type, ENT_INSERT);
    ExplodeAndReplay(doc.GetLastEntityPosition(), 3);
    EXPECT_EQ(Shown(), shown);

    // Undo both explodes, then close with the parts owned by the history.
    view.DoUndo();
    view.DoUndo();
    EXPECT_EQ(Shown(), shown);
}

// Snap, pick and drawing inside block inserts: every insert is searched
// whatever its place in the list, every entity in the view is drawn, and
// blocks that multiply each other stop at a bound the status pane names.
#include "model/blockindex.h"
#include "model/pline.h"
#include "model/recta.h"
#include "platform/recordingdc.h"
#include "support/blocks.h"
#include "view_fixture.h"

#include <optional>
#include <string>
#include <vector>

namespace {

class InsertSearch : public ViewTest {
protected:
    // Shows the window (x1, y1)-(x2, y2) of the drawing.
    void Show(double x1, double y1, double x2, double y2)
    {
        doc.m_windowMin = CPointd(x1, y1);
        doc.m_windowMax = CPointd(x2, y2);
        view.OnInitialUpdate();
    }
    CInsBl* Insert(const char* block, double x, double y, double sx = 1, double sy = 1, double a = 0)
    {
        return doc.AddInsBlOnLayer(1, 0, "ZP", CPointd(x, y), sy, a, sx, block);
    }
    // The snapped point, or nothing on a miss.
    std::optional<Pt2> Snap(int mode, double x, double y)
    {
        view.m_snapMode = mode;
        CPointd p(x, y);
        if (!view.OnEditPoint(p))
            return std::nullopt;
        return Pt2{p.x, p.y};
    }
    // The record of the nth entity of the drawing (0 the first).
    POSITION Nth(int n) const
    {
        POSITION pos = doc.GetFirstEntityPosition();
        for (int i = 0; i < n; ++i)
            doc.GetEntityList().GetNext(pos);
        return pos;
    }
    // Empties the entity list; the blocks stay.
    void ClearEntities()
    {
        while (POSITION pos = doc.GetFirstEntityPosition()) {
            CDib* record = doc.GetEntityRecord(pos);
            doc.RemoveEntityRecord(pos);
            delete record;
        }
    }
    // Lines drawn by a repaint of the view.
    std::size_t LinesDrawn()
    {
        CRecordingDC dc;
        view.OnDraw(dc);
        return dc.CallsNamed("LineTo").size();
    }
};

// 50,000 short vertical lines on a grid 0.4 by 0.5 over 100 x 100.
void AddGridBlock(CRectaDoc& doc)
{
    CObList lines(ListOwnership::owns);
    for (int i = 0; i < 50000; ++i) {
        const double x = (i % 250) * 0.4, y = (i / 250) * 0.5;
        lines.AddTail(new CDib(ENT_LINE, NewLine(x, y, x, y + 0.1)));
    }
    doc.AddBlock(CPointd(), lines, "GRID");
}

// One polyline of 30,000 segments round the square 100 x 100: 29,997 along its bottom side.
void AddRimBlock(CRectaDoc& doc)
{
    CObList segments(ListOwnership::owns);
    constexpr int kBottom = 29997;
    for (int k = 0; k < kBottom; ++k)
        segments.AddTail(new CDib(ENT_LINE, NewLine(100.0 * k / kBottom, 0, 100.0 * (k + 1) / kBottom, 0)));
    segments.AddTail(new CDib(ENT_LINE, NewLine(100, 0, 100, 100)));
    segments.AddTail(new CDib(ENT_LINE, NewLine(100, 100, 0, 100)));
    segments.AddTail(new CDib(ENT_LINE, NewLine(0, 100, 0, 0)));
    CObList entities(ListOwnership::owns);
    entities.AddTail(new CDib(ENT_PLINE, new CPLine(1, 0, "L", segments, 0, 0, 0, 1)));
    doc.AddBlock(CPointd(), entities, "RIM");
}

}  // namespace

// One insert of a block of 50,000 lines and one of a single line inside its
// box: a click on that line snaps to it and picks it, whichever is listed first.
TEST_F(InsertSearch, AnInsertListedAfterALargeOneIsSearched)
{
    AddGridBlock(doc);
    AddNamedBlock(doc, "ONE", {{ENT_LINE, NewLine(0, 0, 0.2, 0)}});
    for (const bool gridFirst : {true, false}) {
        SCOPED_TRACE(gridFirst ? "grid first" : "line first");
        ClearEntities();
        if (gridFirst)
            Insert("GRID", 0, 0);
        Insert("ONE", 50.1, 50.3);  // the line (50.1, 50.3)-(50.3, 50.3), between the grid's lines
        if (!gridFirst)
            Insert("GRID", 0, 0);
        Show(49.5, 49.5, 51, 51.125);
        const auto nearest = Snap(4, 50.2, 50.31);
        ASSERT_TRUE(nearest);
        EXPECT_NEAR(nearest->x, 50.2, 1e-4);
        EXPECT_NEAR(nearest->y, 50.3, 1e-4);
        const auto end = Snap(2, 50.29, 50.305);
        ASSERT_TRUE(end);
        EXPECT_NEAR(end->x, 50.3, 1e-9);
        EXPECT_NEAR(end->y, 50.3, 1e-9);
        EXPECT_EQ(Pick(50.2, 50.31), Nth(gridFirst ? 1 : 0));
        EXPECT_NE(Pane(2), kNestedWorkMessage);
    }
}

// Three inserts of a block of one 30,000-segment polyline, their boxes over
// one another: a click on the third's side finds the third.
TEST_F(InsertSearch, TheThirdOfThreeLongPolylinesIsSearched)
{
    AddRimBlock(doc);
    Insert("RIM", 0, 0);
    Insert("RIM", 10, 10);
    Insert("RIM", 20, 20);  // its bottom side runs along y = 20, inside the others' boxes
    Show(49, 19, 51, 21);
    const auto nearest = Snap(4, 50, 20.01);
    ASSERT_TRUE(nearest);
    // The foot on a segment 0.003 long, as the angle helper's tolerance gives it.
    EXPECT_NEAR(nearest->x, 50, 0.005);
    EXPECT_NEAR(nearest->y, 20, 0.005);
    const auto end = Snap(2, 50, 20.01);
    ASSERT_TRUE(end);
    EXPECT_NEAR(end->y, 20, 1e-9);
    EXPECT_NEAR(end->x, 50, 0.04) << "an end of a segment inside the snap box";
    EXPECT_EQ(Pick(50, 20.01), Nth(2));
}

// A circle in a block keeps its radius when the insert scales the block down,
// so the insert is picked and drawn where the circle runs, far outside the
// block's placed box.
TEST_F(InsertSearch, ACircleKeepsItsSizeInAScaledInsert)
{
    AddNamedBlock(doc, "C", {{ENT_CIRCLE, NewCircle(0, 0, 1)}});
    Insert("C", 5, 5, 0.1, 0.1);
    Show(5.8, 4.8, 6.2, 5.1);
    EXPECT_EQ(Pick(6, 5), Nth(0));
    EXPECT_GT(Ink(), 0);
    const auto nearest = Snap(4, 6.003, 5);
    ASSERT_TRUE(nearest);
    EXPECT_NEAR(nearest->x, 6, 1e-6);
}

// An insert of a flat block of 60,000 lines draws every line in the view, and
// only those near it when the view shows a part.
TEST_F(InsertSearch, EveryLineOfALargeBlockIsDrawn)
{
    CObList lines(ListOwnership::owns);
    for (int i = 0; i < 60000; ++i) {
        const double x = (i % 300) * 0.5, y = (i / 300) * 0.5;
        lines.AddTail(new CDib(ENT_LINE, NewLine(x, y, x + 0.3, y)));
    }
    doc.AddBlock(CPointd(), lines, "FLAT");
    Insert("FLAT", 0, 0);
    Show(-1, -1, 151, 101);
    EXPECT_EQ(LinesDrawn(), 60000u);
    Show(0, 0, 10, 7.5);  // 21 x 16 of the lines, and those a step beyond
    EXPECT_GE(LinesDrawn(), 21u * 16u);
    EXPECT_LE(LinesDrawn(), 23u * 18u);
    EXPECT_NE(Pane(2), kNestedWorkMessage);
}

// An insert, or a nested insert, whose placed block covers less than a pixel
// draws as one pixel.
TEST_F(InsertSearch, APlacementUnderAPixelDrawsAsAPoint)
{
    CObList lines(ListOwnership::owns);
    for (int i = 0; i < 1000; ++i)
        lines.AddTail(new CDib(ENT_LINE, NewLine(i * 0.001, 0, i * 0.001, 1)));
    doc.AddBlock(CPointd(), lines, "COMB");
    CObList inserts(ListOwnership::owns);
    for (int i = 0; i < 100; ++i)
        inserts.AddTail(new CDib(ENT_INSERT, NewInsert("COMB", i * 3, 0, 0, 0.001, 0.001)));
    doc.AddBlock(CPointd(), inserts, "ROW");
    Show(0, 0, 4, 3);  // 100 px to the unit
    Insert("COMB", 1, 1, 0.005, 0.005);
    CRecordingDC dc;
    view.OnDraw(dc);
    const LPoint at = view.Map()(1.0025, 1.0025);
    const std::string dot = "MoveTo(" + std::to_string(at.x) + "," + std::to_string(at.y) + ")\nLineTo(" +
                            std::to_string(at.x + 1) + "," + std::to_string(at.y) + ")";
    EXPECT_EQ(dc.Log().find(dot), dc.Log().rfind("MoveTo")) << dc.Log();
    EXPECT_EQ(dc.CallsNamed("LineTo").size(), 1u);

    ClearEntities();
    Insert("ROW", 0, 1, 0.01, 0.01);  // each comb 0.00001 across, 0.03 apart
    EXPECT_EQ(LinesDrawn(), 100u) << "a point each";
    Insert("COMB", 2, 1);
    EXPECT_EQ(LinesDrawn(), 1100u) << "a comb 1 across draws whole";
}

// Blocks that insert thirty of the one below, eight deep: a pick and a snap
// end, and the status pane says that some was left out. (A repaint of the
// same: InsertView.BlocksThatMultiplyEachOtherEndWithinTheirBudget.)
TEST_F(InsertSearch, BlocksThatMultiplyEachOtherStopAndSaySo)
{
    AddNamedBlock(doc, "B7", {{ENT_LINE, NewLine(0, 0, 0.5, 0)}});
    for (int level = 6; level >= 0; --level) {
        CObList list(ListOwnership::owns);
        for (int i = 0; i < 30; ++i)
            list.AddTail(new CDib(ENT_INSERT, NewInsert(("B" + std::to_string(level + 1)).c_str(), 0.0001 * i, 0)));
        doc.AddBlock(CPointd(), list, "B" + std::to_string(level));
    }
    Insert("B0", 1, 1);
    Show(0, 0, 4, 3);
    theApp.Status().SetPaneText(2, "");
    EXPECT_EQ(Pick(1.2, 1), Nth(0));
    EXPECT_EQ(Pane(2), kNestedWorkMessage);
    theApp.Status().SetPaneText(2, "");
    EXPECT_TRUE(Snap(4, 1.2, 1.01));
    EXPECT_EQ(Pane(2), kNestedWorkMessage);
}

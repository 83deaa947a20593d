// Prompts, the rubber band, what the starters set, cursors by command code and repaints.
#include "model/dib.h"
#include "model/recta.h"
#include "model/text.h"
#include "view_fixture.h"

#include <tuple>

TEST_F(ViewTest, ReadoutsAndPrompts)
{
    view.ShowCoords(CPointd(1.5, -2));
    EXPECT_EQ(Pane(2), "(1.50,-2.00)");
    view.ShowDistAngle(CPointd(0, 0), CPointd(3, 4));
    EXPECT_EQ(Pane(2), "D:5.00  A:53.13 ");
    view.ShowPrompt(0, std::string(60, 'x'));
    EXPECT_EQ(view.PromptBuffer().size(), CRectaView::kPromptMax);
    EXPECT_EQ(Pane(0).size(), 60u);
    view.ShowSelectPrompt();
    EXPECT_EQ(view.PromptBuffer(), "Select Objects:            ");
}

TEST_F(ViewTest, RubberBandInvertsTwiceToNothingAndSurvivesRepaints)
{
    LineFrom(1, 1, 11, 7);
    view.Invalidate();
    const QImage clean = view.Image().copy();

    view.m_bandStart = view.m_bandEnd = CPointd(2, 6);
    view.m_bandState = 1;
    view.OnMouseMove(0, At(8, 2));
    view.OnMouseMove(0, At(9, 1));
    EXPECT_NE(view.Image(), clean);
    view.Invalidate();  // a repaint puts the band back on
    EXPECT_NE(view.Image(), clean);
    view.EraseRubberBand();
    EXPECT_EQ(view.Image(), clean);

    view.DrawRubberBand(CPointd(5, 5), CPointd(1, 1), CPointd(1, 1), false);
    view.DrawRubberBand(CPointd(5, 5), CPointd(1, 1), CPointd(5, 5), true);
    EXPECT_EQ(view.Image(), clean);

    view.OnMouseMove(0, At(8, 2));
    EXPECT_NE(view.Image(), clean);
    view.OnCommand(ID_REDRAW);
    EXPECT_EQ(view.Image(), clean) << "a redraw takes the band off until the mouse moves";
}

// What the starters of the sweep (test_view_sweep.cpp) leave aside: the
// drawing is marked, the mode remembered, the text alignment set; an unknown
// id is not taken.
TEST_F(ViewTest, StartersCancelBeginAndPrompt)
{
    EXPECT_TRUE(view.OnCommand(10009));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(view.m_lastMode, MODE_LINE);
    EXPECT_TRUE(view.OnCommand(10077));
    EXPECT_EQ(view.m_textAlign, 2);
    EXPECT_FALSE(view.OnCommand(12345));
}

TEST(Starters, RowsOfOneCommandStateAgreeOnTheRepeatPrompt)
{
    for (const StarterInfo& s : Starters()) {
        SCOPED_TRACE(s.id);
        const StarterInfo* repeated = FindRepeat(s.code, s.mode, s.textAlign);
        ASSERT_NE(repeated, nullptr);
        EXPECT_STREQ(repeated->repeatPrompt, s.repeatPrompt);
    }
}

// The command code's range chooses the cursor, whether typed points are taken,
// and whether a relative one counts from the band start without a band.
TEST_F(ViewTest, CommandCodeRanges)
{
    struct CursorHost : CViewHost {
        void UpdateWindow() override {}
        void SetMouseCapture(bool) override {}
        void SetCursorShape(ViewCursor c) override { cursor = c; }
        ViewCursor cursor = ViewCursor::snap;
    } host;
    view.SetHost(&host);
    struct Row { CommandCode code; int mode; ViewCursor cursor; bool typed; bool relative; };
    const Row rows[] = {
        {CMD_NONE, MODE_NONE, ViewCursor::cross, false, false},
        {CMD_NONE, MODE_LINE, ViewCursor::cross, true, false},
        {CMD_ERASE, MODE_PICK, ViewCursor::pick, true, false},
        {CMD_SHOW_CAMERAS, MODE_NONE, ViewCursor::pick, false, false},
        {CMD_MOVE_BASE, MODE_NONE, ViewCursor::cross, true, false},
        {CMD_PLANE_3_POINTS, MODE_NONE, ViewCursor::cross, true, false},
        {CMD_MOVE_TARGET, MODE_NONE, ViewCursor::cross, true, true},
        {CMD_PLANE_3_POINTS_EDGE_Y, MODE_NONE, ViewCursor::cross, true, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.code);
        view.m_command = r.code;
        view.m_mode = r.mode;
        view.m_bandState = 0;
        view.m_typed.clear();
        view.OnMouseMove(0, At(3, 3));
        EXPECT_EQ(host.cursor, r.cursor);
        EXPECT_EQ(view.OnChar('@'), r.typed);
        if (!r.typed)
            continue;
        for (char c : std::string("1,1"))
            view.OnChar(c);
        EXPECT_EQ(view.ParseTypedPoint(), r.relative);
    }
    view.SetHost(nullptr);
}

TEST_F(ViewTest, LeavingTheClientAreaReleasesTheMouse)
{
    struct CaptureHost : CViewHost {
        void UpdateWindow() override {}
        void SetMouseCapture(bool on) override { captured = on; }
        void SetCursorShape(ViewCursor) override {}
        bool captured = false;
    } host;
    view.SetHost(&host);
    for (auto [x, y, in] : {std::tuple{10, 10, true}, {-5, 10, false}, {10, 10, true}, {10, -5, false}, {10, 10, true},
                            {kW + 1, 10, false}, {kW, kH, true}, {10, kH + 1, false}}) {
        view.OnMouseMove(0, CPoint{x, y});
        EXPECT_EQ(host.captured, in) << x << "," << y;
    }
    view.SetHost(nullptr);
}

TEST_F(ViewTest, TheImageFollowsTheClientSize)
{
    for (auto [w, h] : {std::pair{500, 300}, {500, 200}, {300, 200}}) {
        view.OnSize(w, h);
        EXPECT_EQ(view.Image().size(), QSize(w, h));
    }
}

TEST_F(ViewTest, CancelKeepsZoomSnapAndResetsAskZOnce)
{
    doc.m_askZ = 1;
    view.m_zoomState = 1;
    view.m_snapMode = 3;
    view.CancelCommand();
    EXPECT_EQ(doc.m_askZ, 0);
    EXPECT_EQ(view.m_zoomState, 1);
    EXPECT_EQ(view.m_snapMode, 3);
    doc.m_askZ = 2;
    view.CancelCommand();
    EXPECT_EQ(doc.m_askZ, 2);
}

TEST_F(ViewTest, DrawingPassSkipsHiddenRecords)
{
    LineFrom(1, 1, 5, 1);
    view.Invalidate();
    const int one = Ink();
    EXPECT_GT(one, 0);
    LineFrom(1, 3, 5, 3);
    doc.GetLastEntityRecord()->m_flag = 0;
    LineFrom(1, 5, 5, 5);
    doc.GetLastEntityRecord()->m_visible = 0;
    view.Invalidate();
    EXPECT_EQ(Ink(), one);
}

TEST_F(ViewTest, TextsShowAtTheDrawingsScale)
{
    CText* t = doc.AddText();
    t->m_text = "PLAN";
    t->m_font = doc.m_textFont;
    t->m_justify = 1;
    t->m_insert = CPointd(2, 2);
    view.Invalidate();
    EXPECT_GT(Ink(), 20);
}

TEST_F(ViewTest, HighlightAndEraseRepaintFromTheDrawing)
{
    doc.m_gridStep = 0;
    LineFrom(1, 4, 11, 4);
    LineFrom(6, 1, 6, 7);
    view.Invalidate();
    const QImage both = view.Image().copy();

    // A selected line shows dotted, also after a repaint.
    view.OnCommand(10450);
    view.OnLButtonDown(MK_LBUTTON, At(3, 4));
    ASSERT_EQ(view.m_selection.GetCount(), 1);
    const CPoint onLine = At(3, 4);
    int gaps = 0;
    for (int x = onLine.x; x < onLine.x + 12; ++x)
        gaps += (view.Image().pixel(x, onLine.y) & 0xFFFFFF) == 0xFFFFFF;
    EXPECT_GT(gaps, 0);
    view.Invalidate();
    int gapsAfter = 0;
    for (int x = onLine.x; x < onLine.x + 12; ++x)
        gapsAfter += (view.Image().pixel(x, onLine.y) & 0xFFFFFF) == 0xFFFFFF;
    EXPECT_EQ(gapsAfter, gaps);

    // Erasing the horizontal line leaves the vertical one whole where they crossed.
    view.OnRButtonDown(MK_RBUTTON, CPoint{5, 5});
    const CPoint cross = At(6, 4);
    EXPECT_NE(view.Image().pixel(cross.x, cross.y) & 0xFFFFFF, 0xFFFFFFu);
    view.OnCommand(ID_UNDO);
    EXPECT_EQ(view.Image(), both);
}

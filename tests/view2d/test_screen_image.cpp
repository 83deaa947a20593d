// What the window shows once a command is over: the same as Redraw, with
// paints between the events as a window makes them.
#include "support/screen_host.h"
#include "view_fixture.h"

#include <functional>

namespace {

class ScreenTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        doc.m_gridStep = 0;
        doc.m_ortho = 0;
        LineFrom(1, 1, 9, 7);
        LineFrom(1, 7, 9, 1);
        host = std::make_unique<ScreenHost>(view);
    }
    void TearDown() override
    {
        host.reset();
        ViewTest::TearDown();
    }
    // Each event followed by the paint it asked for.
    void Painted(const std::function<void()>& event)
    {
        event();
        host->Screen();
    }
    // Pixels where the screen differs from a fresh repaint.
    int Stale()
    {
        const QImage screen = host->Screen().copy();
        const QImage fresh = host->Redrawn();
        int n = 0;
        for (int y = 0; y < screen.height(); ++y)
            for (int x = 0; x < screen.width(); ++x)
                n += screen.pixel(x, y) != fresh.pixel(x, y);
        return n;
    }

    std::unique_ptr<ScreenHost> host;
};

}  // namespace

// The cutting edge, shown dotted while it is picked, is drawn plain again
// however the cut ends.
TEST_F(ScreenTest, CutLeavesNoDottedEdge)
{
    const struct {
        const char* name;
        std::function<void(CRectaView&)> end;
    } ends[] = {
        {"right button", [](CRectaView& v) { v.OnRButtonDown(MK_RBUTTON, CPoint{5, 5}); }},
        {"cancel", [](CRectaView& v) { v.OnCommand(ID_CANCEL_COMMAND); }},
        {"Ctrl+C", [](CRectaView& v) { v.OnChar(3); }},
        {"another command", [](CRectaView& v) { v.OnCommand(10009); }},
    };
    for (const auto& way : ends) {
        SCOPED_TRACE(way.name);
        Painted([&] { view.OnCommand(10057); });
        Painted([&] { Click(3, 2.5); });  // the edge (1,1)-(9,7)
        ASSERT_EQ(view.m_selection.GetCount(), 1);
        Painted([&] { Right(); });
        ASSERT_EQ(view.m_command, CMD_CUT_OBJECTS);
        Painted([&] { Click(7, 2.5); });  // cuts (1,7)-(9,1) at (5,4)
        Painted([&] { way.end(view); });
        EXPECT_EQ(view.m_selection.GetCount(), 0);
        EXPECT_EQ(Stale(), 0);
        view.CancelCommand();
    }
}

// A zoom window refused for want of width or height leaves no band behind.
TEST_F(ScreenTest, RefusedZoomWindowLeavesNoBand)
{
    const struct {
        const char* name;
        CPoint first, second;
        bool zooms;
    } rows[] = {
        {"no height", {100, 150}, {300, 150}, false},
        {"no width", {200, 50}, {200, 250}, false},
        {"a point", {200, 150}, {200, 150}, false},
        {"a window", {100, 50}, {300, 250}, true},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        const CPointd before = doc.m_windowMax;
        Painted([&] { view.OnZoomWindow(); });
        Painted([&] { view.OnLButtonDown(MK_LBUTTON, r.first); });
        Painted([&] { view.OnMouseMove(0, CPoint{(r.first.x + r.second.x) / 2, r.first.y + 20}); });
        Painted([&] { view.OnMouseMove(0, r.second); });
        Painted([&] { view.OnLButtonDown(MK_LBUTTON, r.second); });
        EXPECT_EQ(doc.m_windowMax != before, r.zooms);
        EXPECT_EQ(view.m_zoomState, 0);
        EXPECT_EQ(Stale(), 0);
        view.OnZoomPrevious();
    }
}

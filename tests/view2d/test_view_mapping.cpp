// Mapping, zoom and printing of the plan view.
#include "doc/srvritem.h"
#include "model/circ.h"
#include "model/dib.h"
#include "model/geometry.h"
#include "model/hatch.h"
#include "model/recta.h"
#include "platform/imagedc.h"
#include "platform/recordingdc.h"
#include "view_fixture.h"

#include <cmath>
#include <functional>

TEST_F(ViewTest, ScaleFitsTheWholeWindow)
{
    // New drawing: window (0,0)-(12,8) from the first to the last of 400 x 300 pixels.
    EXPECT_DOUBLE_EQ(view.m_scale, 399.0 / 12.0);
    view.m_viewMin = CPointd(0, 0);
    view.m_viewMax = CPointd(200, 100);
    view.OnSize(101, 201);
    EXPECT_DOUBLE_EQ(view.m_scale, 0.5);

    const CPointd p = view.DeviceToWorld(CPoint{50, 150});
    EXPECT_DOUBLE_EQ(p.x, 100);
    EXPECT_DOUBLE_EQ(p.y, 100);
    EXPECT_EQ(view.WorldToDevicePoint(CPointd(100, 100)).y, 150);
    EXPECT_EQ(view.Image().size(), QSize(101, 201));
    view.OnSize(150, 201);  // only the width changes
    EXPECT_EQ(view.Image().size(), QSize(150, 201));
    const QImage shown = view.Image().copy();
    view.m_bandEnd = CPointd(50, 50);  // no band is shown: nothing to erase
    view.m_reqMin = view.m_reqMax = CPointd(1, 1);  // a window of no size changes nothing
    view.ApplyWindow();
    EXPECT_EQ(view.Image(), shown);
}

TEST_F(ViewTest, DegenerateWindowStopsDrawingAndTheMouse)
{
    CRecta* l = doc.AddRecta();
    l->m_p2 = CPointd(10, 5);
    view.m_viewMax.y = view.m_viewMin.y;
    view.ComputeScale();
    EXPECT_EQ(view.m_scale, 0.0);
    view.Invalidate();
    EXPECT_EQ(Ink(), 0);
    view.OnCommand(ID_ZOOM_WINDOW);
    view.OnLButtonDown(MK_LBUTTON, CPoint{10, 10});
    EXPECT_EQ(view.m_zoomState, 1) << "clicks are ignored while the scale is unusable";
}

TEST_F(ViewTest, ZoomWindowInAnyCornerOrder)
{
    auto zoom = [&](CPoint a, CPoint b) {
        view.OnCommand(ID_ZOOM_WINDOW);
        EXPECT_EQ(view.PromptBuffer().substr(0, 13), "First Corner:");
        view.OnLButtonDown(MK_LBUTTON, a);
        EXPECT_EQ(Pane(0).substr(0, 13), "Other corner:");
        view.OnMouseMove(MK_LBUTTON, b);
        view.OnLButtonDown(MK_LBUTTON, b);
        return std::pair(doc.m_windowMin, doc.m_windowMax);
    };
    const auto first = zoom(At(2, 2), At(6, 5));
    view.OnZoomPrevious();
    const auto second = zoom(At(6, 5), At(2, 2));
    EXPECT_EQ(first, second);
    EXPECT_NEAR(first.first.x, 2, 0.05);
    EXPECT_NEAR(first.second.y, 5, 0.05);

    // The zoom rectangle leaves nothing behind.
    EXPECT_EQ(Ink(), 0);

    // A window one pixel wide is a window; one with no width is none.
    const auto narrow = zoom(CPoint{100, 100}, CPoint{101, 180});
    EXPECT_GT(narrow.second.x - narrow.first.x, 0.0);
    EXPECT_LT(narrow.second.x - narrow.first.x, 0.05);
    EXPECT_GT(view.m_scale, 0.0);
    view.OnZoomPrevious();
    const auto before = std::pair(doc.m_windowMin, doc.m_windowMax);
    zoom(CPoint{100, 100}, CPoint{100, 180});
    EXPECT_EQ(std::pair(doc.m_windowMin, doc.m_windowMax), before);
    EXPECT_EQ(view.m_zoomState, 0);
}

TEST_F(ViewTest, ZoomPreviousSwapsAndExtentsAndFactor)
{
    view.ZoomByFactor(2.0);
    EXPECT_EQ(doc.m_windowMin, CPointd(-6, -4));
    EXPECT_EQ(doc.m_windowMax, CPointd(18, 12));
    view.OnZoomPrevious();
    EXPECT_EQ(doc.m_windowMax, CPointd(12, 8));
    view.OnZoomPrevious();
    EXPECT_EQ(doc.m_windowMax, CPointd(18, 12));

    doc.m_windowMin = CPointd(0, 0);
    doc.m_windowMax = CPointd(10, 10);
    view.ZoomByFactor(2.0);
    EXPECT_EQ(doc.m_windowMin, CPointd(-5, -5));
    EXPECT_EQ(doc.m_windowMax, CPointd(15, 15));
    view.ZoomByFactor(0.0);
    view.ZoomByFactor(-1.0);
    EXPECT_EQ(doc.m_windowMax, CPointd(15, 15));

    // Reversed extents (as a file may hold them) change nothing.
    doc.m_extMin = CPointd(5, 5);
    doc.m_extMax = CPointd(1, 1);
    doc.AppendEntityRecord(new CDib(ENT_HATCH, new CHatch));  // nothing that measures: extents kept
    view.OnZoomExtents();
    EXPECT_EQ(doc.m_windowMax, CPointd(15, 15));
    EXPECT_EQ(doc.m_extMax, CPointd(1, 1));
    LineFrom(1, 2, 31, 22);
    view.OnZoomExtents();
    EXPECT_EQ(doc.m_windowMin, CPointd(1, 2));
    EXPECT_EQ(doc.m_windowMax, CPointd(31, 22));
    EXPECT_EQ(doc.m_prevWindowMax, CPointd(15, 15));
    EXPECT_DOUBLE_EQ(view.m_scale, std::min(399.0 / 30, 299.0 / 20));
}

TEST_F(ViewTest, AerialViewShowsTheExtentsAndZoomsThePlanViews)
{
    CRectaView aerial;
    aerial.m_aerial = 1;
    doc.AddView(&aerial);
    doc.m_extMin = CPointd(0, 0);
    doc.m_extMax = CPointd(100, 100);
    aerial.OnSize(201, 201);
    aerial.OnInitialUpdate();
    EXPECT_DOUBLE_EQ(aerial.m_scale, 2.0);
    // The current window's rectangle is drawn inverted.
    EXPECT_NE(aerial.Image().pixel(0, 190) & 0xFFFFFF, 0xFFFFFFu);

    aerial.OnLButtonDown(MK_LBUTTON, aerial.WorldToDevicePoint(CPointd(10, 10)));
    aerial.OnLButtonDown(MK_LBUTTON, aerial.WorldToDevicePoint(CPointd(50, 40)));
    EXPECT_NEAR(doc.m_windowMax.x, 50, 0.5);
    EXPECT_NEAR(view.m_viewMin.x, 10, 0.5) << "the plan view follows the aerial zoom";
    EXPECT_NEAR(view.m_originY, 10, 0.5);
    doc.RemoveView(&aerial);
}

TEST_F(ViewTest, AerialViewFollowsTheGrowingExtents)
{
    CRectaView aerial;
    aerial.m_aerial = 1;
    doc.AddView(&aerial);
    doc.AddRecta()->m_p2 = CPointd(10, 10);
    doc.CalcExtents();
    aerial.OnSize(101, 101);
    aerial.OnInitialUpdate();
    aerial.Image();
    ASSERT_DOUBLE_EQ(aerial.m_scale, 10.0);

    // A line added beyond the extents widens them, and the aerial view shows them all.
    CRecta* far = LineFrom(20, 0, 40, 0);
    doc.ExtendAndDrawEntity(ENT_LINE, far);
    const QImage& image = aerial.Image();
    EXPECT_EQ(aerial.m_viewMax, doc.m_extMax);
    EXPECT_DOUBLE_EQ(aerial.m_scale, 2.5);
    EXPECT_NE(image.pixel(75, 100) & 0xFFFFFF, 0xFFFFFFu) << "(30, 0) on the last row";

    // Its clicks zoom onto the window they show.
    aerial.OnLButtonDown(MK_LBUTTON, CPoint{50, 100});
    aerial.OnLButtonDown(MK_LBUTTON, CPoint{100, 75});
    EXPECT_NEAR(doc.m_windowMin.x, 20, 0.5);
    EXPECT_NEAR(doc.m_windowMin.y, 0, 0.5);
    EXPECT_NEAR(doc.m_windowMax.x, 40, 0.5);
    EXPECT_NEAR(doc.m_windowMax.y, 10, 0.5);
    doc.RemoveView(&aerial);
}

TEST_F(ViewTest, ZoomExtentsShowsWhatLiesOnEveryEdge)
{
    // The four sides of a box, each shown alone; the box is wider than the view, then taller.
    CRecta* sides[4];
    for (CRecta*& side : sides)
        side = doc.AddRecta();
    for (const CPointd& box : {CPointd(30, 10), CPointd(10, 30)}) {
        SCOPED_TRACE(box.x);
        const CPointd corners[4] = {CPointd(0, 0), CPointd(box.x, 0), CPointd(box.x, box.y), CPointd(0, box.y)};
        for (int i = 0; i < 4; ++i) {
            sides[i]->m_p1 = corners[i];
            sides[i]->m_p2 = corners[(i + 1) % 4];
        }
        view.OnZoomExtents();
        for (int i = 0; i < 4; ++i) {
            int k = 0;
            for (CObject* obj : doc.GetEntityList())
                static_cast<CDib*>(obj)->m_visible = k++ == i ? 1 : 0;
            view.Invalidate();
            EXPECT_GT(Ink(), 0) << "side " << i;
        }
    }
}

// Extents without height or width still zoom: the line fills the view's
// width (or height), centred on the other axis.
TEST_F(ViewTest, ZoomExtentsShowsAFlatDrawing)
{
    const struct {
        CPointd a, b;
    } rows[] = {{CPointd(2, 5), CPointd(12, 5)}, {CPointd(3, -4), CPointd(3, 6)}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.b.x);
        CRecta* line = doc.AddRecta();
        line->m_p1 = r.a;
        line->m_p2 = r.b;
        view.OnZoomExtents();
        ASSERT_TRUE(view.ScaleUsable());
        const CPoint p = view.WorldToDevicePoint(r.a), q = view.WorldToDevicePoint(r.b);
        const int along = std::max(std::abs(q.x - p.x), std::abs(q.y - p.y));
        EXPECT_GE(along, std::min(view.m_clientWidth, view.m_clientHeight) - 2);
        const CPoint mid = view.WorldToDevicePoint(CPointd((r.a.x + r.b.x) / 2, (r.a.y + r.b.y) / 2));
        EXPECT_NEAR(mid.x, (view.m_clientWidth - 1) / 2.0, 1.5);
        EXPECT_NEAR(mid.y, (view.m_clientHeight - 1) / 2.0, 1.5);
        CDib* record = doc.GetLastEntityRecord();
        doc.RemoveEntityRecord(doc.GetLastEntityPosition());
        delete record;  // and its line
    }
}

TEST_F(ViewTest, PrintingUsesItsOwnMapping)
{
    LineFrom(1, 1, 9, 6);
    const double scale = view.m_scale, ox = view.m_originX;
    auto print = [&](CPointd a, CPointd b) {
        view.m_firstPoint = a;
        view.m_secondPoint = b;
        QImage page(210, 297, QImage::Format_RGB32);  // one pixel per millimetre
        page.fill(Qt::white);
        page.setDotsPerMeterX(1000);
        page.setDotsPerMeterY(1000);
        CImageDC dc(&page);
        view.PrintPage(dc, 2100, 2970);
        return page;
    };
    const QImage one = print(CPointd(0, 0), CPointd(10, 8));
    const QImage two = print(CPointd(10, 0), CPointd(0, 8));
    EXPECT_EQ(one, two);
    EXPECT_EQ(view.m_scale, scale);
    EXPECT_EQ(view.m_originX, ox);
    EXPECT_EQ(view.m_firstPoint, CPointd(10, 0));
    EXPECT_DOUBLE_EQ(std::min(2100.0 / 10, 2970.0 / 8), 210.0);
    EXPECT_EQ(doc.m_pageWidth, 2100);

    EXPECT_GT(InkPixels(one), 50);

    // A window of no width or height prints nothing.
    EXPECT_EQ(InkPixels(print(CPointd(3, 3), CPointd(3, 9))), 0);
    EXPECT_EQ(InkPixels(print(CPointd(1, 3), CPointd(9, 3))), 0);
    EXPECT_EQ(InkPixels(print(CPointd(5, 0), CPointd(5, 8))), 0);
    EXPECT_EQ(InkPixels(print(CPointd(0, 3.5), CPointd(10, 3.5))), 0);
}

// No zoom leaves the view without a scale: windows too wide or too narrow to
// map are refused, and extents stay of finite width whatever a drawing holds.
TEST_F(ViewTest, NoZoomLeavesTheViewWithoutAScale)
{
    const double huge = 8e307;  // beyond the range, as a damaged file may hold it
    const struct {
        const char* name;
        std::function<void(CRectaView&, CRectaDoc&)> zoom;
    } rows[] = {
        {"extents of a huge circle",
         [&](CRectaView& v, CRectaDoc& d) {
             auto* c = new CCirc;
             c->m_rx = c->m_ry = huge;
             d.AppendEntityRecord(new CDib(ENT_CIRCLE, c));
             v.OnZoomExtents();
         }},
        {"extents of huge lines",
         [&](CRectaView& v, CRectaDoc& d) {
             CRecta* l = d.AddRecta();
             l->m_p1 = CPointd(-1.7e308, -1.7e308);
             l->m_p2 = CPointd(1.7e308, 1.7e308);
             v.OnZoomExtents();
         }},
        {"zoom out by a huge factor", [](CRectaView& v, CRectaDoc&) { v.ZoomByFactor(1e300); v.ZoomByFactor(1e300); }},
        {"zoom in by a tiny factor",
         [](CRectaView& v, CRectaDoc& d) {
             d.m_windowMin = CPointd(-1, -1);
             d.m_windowMax = CPointd(1, 1);
             for (double f : {1e-150, 1e-150, 1e-10})  // the last: a window of 2e-310
                 v.ZoomByFactor(f);
         }},
        {"zoom previous to a huge window",
         [](CRectaView& v, CRectaDoc& d) {
             d.m_prevWindowMin = CPointd(-1.7e308, -1.7e308);
             d.m_prevWindowMax = CPointd(1.7e308, 1.7e308);
             v.OnZoomPrevious();
         }},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        CRectaDoc d;
        d.OnNewDocument();
        CRectaView v;
        Open(d, v);
        r.zoom(v, d);
        EXPECT_TRUE(v.ScaleUsable()) << v.m_scale;
        EXPECT_TRUE(std::isfinite(d.m_windowMax.x - d.m_windowMin.x));
        EXPECT_LE(d.m_extMax.x - d.m_extMin.x, 2 * kCoordinateLimit);
        d.RemoveView(&v);
    }
}

// The drawing embedded elsewhere draws its window from this view's origin,
// and everything while the view zooms to the extents.
TEST_F(ViewTest, EmbeddedPictureTakesTheViewsOriginAndZoomState)
{
    LineFrom(2, 2, 4, 3);
    LineFrom(30, 2, 40, 3);  // beyond the window
    view.ZoomByFactor(2.0);  // the window (-6, -4) to (18, 12)
    double ox = 0, oy = 0;
    int zoom = -1;
    ASSERT_TRUE(view.GetOriginAndZoom(ox, oy, zoom));
    EXPECT_EQ(ox, view.m_originX);
    EXPECT_EQ(oy, view.m_originY);
    EXPECT_EQ(ox, -6);
    EXPECT_EQ(zoom, 0);
    CRectaSrvrItem item(&doc);
    for (int state : {0, 3}) {
        SCOPED_TRACE(state);
        view.m_zoomState = state;
        CRecordingDC rec;
        LSize size;
        ASSERT_TRUE(item.OnDraw(rec, size));
        EXPECT_EQ(rec.CallsNamed("SetWindowExt")[0].ToString(), "SetWindowExt(2400,-1600)");
        const std::vector<DCCall> moves = rec.CallsNamed("MoveTo");
        ASSERT_EQ(moves.size(), state == 3 ? 2u : 1u);
        EXPECT_EQ(moves[0].ToString(), "MoveTo(800,600)");
    }
}

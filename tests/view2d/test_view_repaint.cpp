// What editing costs the plan views' images, and what every plan view of a drawing shows.
#include "model/dib.h"
#include "model/recta.h"
#include "support/scripted_forms.h"
#include "support/painting_host.h"
#include "view_fixture.h"

#include <functional>

namespace {

// Two plan views of a drawing of 400 short lines in 20 rows, each painted
// after every event; the two lowest rows (40 lines) are selected by a window,
// and a vertical line on the right serves as mirror.
struct TwoViews {
    static constexpr int kW = 400, kH = 300;

    TwoViews()
    {
        doc.OnNewDocument();
        doc.m_ortho = 0;
        doc.m_gridStep = 0.5;  // clicks land on half units
        for (int i = 0; i < 400; ++i) {
            CRecta* l = doc.AddRecta();
            l->m_p1 = CPointd(1 + (i % 20) * 0.5, 1 + (i / 20) * 0.3);
            l->m_p2 = CPointd(l->m_p1.x + 0.3, l->m_p1.y + 0.1);
        }
        CRecta* mirror = doc.AddRecta();
        mirror->m_p1 = CPointd(11.5, 3);
        mirror->m_p2 = CPointd(11.5, 7);
        for (CRectaView* v : {&view, &other}) {
            doc.AddView(v);
            v->OnSize(kW, kH);
            v->OnInitialUpdate();
        }
        view.SetHost(&host);
        other.SetHost(&otherHost);
        view.Image();
        other.Image();
    }
    ~TwoViews()
    {
        doc.RemoveView(&view);
        doc.RemoveView(&other);
    }
    TwoViews(const TwoViews&) = delete;
    TwoViews& operator=(const TwoViews&) = delete;

    void Paint()
    {
        host.Paint();
        otherHost.Paint();
    }
    void Click(double x, double y)
    {
        view.OnLButtonDown(MK_LBUTTON, view.WorldToDevicePoint(CPointd(x, y)));
        Paint();
    }
    void Right()
    {
        view.OnRButtonDown(MK_RBUTTON, CPoint{5, 5});
        Paint();
    }
    void Command(int id)
    {
        view.OnCommand(id);
        Paint();
    }
    void SelectLowRowsFor(int id)
    {
        Command(id);
        Click(0.5, 0.5);
        Click(11.5, 1.5);
        ASSERT_EQ(view.m_selection.GetCount(), 40);
    }

    ScriptedForms forms;
    CRectaDoc doc;
    CRectaView view, other;
    PaintingHost host{view}, otherHost{other};
};

// The image as shown equals a full repaint of the drawing.
void ShowsTheDrawing(CRectaView& v, const char* which)
{
    const QImage shown = v.Image().copy();
    v.Invalidate();
    EXPECT_EQ(v.Image(), shown) << which;
}

}  // namespace

TEST(ViewRepaint, EditingASelectionCostsOnePaintPerView)
{
    struct Case {
        const char* name;
        std::function<void(TwoViews&)> prepare;  // not counted
        std::function<void(TwoViews&)> act;      // counted
    };
    auto moveAll = [](TwoViews& t) {
        t.SelectLowRowsFor(10451);
        t.Right();
        t.Click(1, 1);
        t.Click(3, 2);
    };
    auto eraseAll = [](TwoViews& t) {
        t.SelectLowRowsFor(10450);
        t.Right();
    };
    const Case cases[] = {
        {"erase", [](TwoViews& t) { t.SelectLowRowsFor(10450); }, [](TwoViews& t) { t.Right(); }},
        {"move",
         [](TwoViews& t) {
             t.SelectLowRowsFor(10451);
             t.Right();
             t.Click(1, 1);
         },
         [](TwoViews& t) { t.Click(3, 2); }},
        {"copy",
         [](TwoViews& t) {
             t.SelectLowRowsFor(10452);
             t.Right();
             t.Click(1, 1);
         },
         [](TwoViews& t) { t.Click(1, 8); }},
        {"rotate",
         [](TwoViews& t) {
             t.forms.Expect("AGIRO", OkWith({{"angle", "90"}}));
             t.SelectLowRowsFor(10058);
             t.Right();
         },
         [](TwoViews& t) { t.Click(1, 1); }},
        {"mirror",
         [](TwoViews& t) {
             t.SelectLowRowsFor(10059);
             t.Right();
         },
         [](TwoViews& t) { t.Click(11.5, 5); }},
        {"block define, erasing",
         [](TwoViews& t) {
             t.forms.Expect("BLOQDEF", OkWith({{"name", "B1"}, {"erase", "1"}}));
             t.SelectLowRowsFor(10081);
             t.Right();
         },
         [](TwoViews& t) { t.Click(1, 1); }},
        {"undo of a move", moveAll, [](TwoViews& t) { t.Command(ID_UNDO); }},
        {"redo of a move",
         [&](TwoViews& t) {
             moveAll(t);
             t.Command(ID_UNDO);
         },
         [](TwoViews& t) { t.Command(ID_REDO); }},
        {"undo of an erase", eraseAll, [](TwoViews& t) { t.Command(ID_UNDO); }},
        {"redo of an erase",
         [&](TwoViews& t) {
             eraseAll(t);
             t.Command(ID_UNDO);
         },
         [](TwoViews& t) { t.Command(ID_REDO); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TwoViews t;
        c.prepare(t);
        const QImage shown = t.view.Image().copy();
        const int repaints = t.view.RepaintCount(), otherRepaints = t.other.RepaintCount();
        c.act(t);
        EXPECT_NE(t.view.Image(), shown) << "the operation changed the drawing";
        EXPECT_LE(t.view.RepaintCount() - repaints, 1);
        EXPECT_LE(t.other.RepaintCount() - otherRepaints, 1);
        ShowsTheDrawing(t.view, "this view");
        ShowsTheDrawing(t.other, "the other view");
    }
}

TEST(ViewRepaint, AnImageDueForARepaintIsNotDrawnInto)
{
    TwoViews t;
    t.view.Invalidate();
    const int repaints = t.view.RepaintCount();
    POSITION pos = t.doc.GetFirstEntityPosition();
    for (int i = 0; i < 20; ++i, t.doc.GetEntityList().GetNext(pos)) {
        const CDib* dib = t.doc.GetEntityRecord(pos);
        t.view.DrawEntity(dib->m_type, dib->m_entity);
        t.view.ToggleSelection(dib->m_type, pos);
    }
    EXPECT_EQ(t.view.RepaintCount(), repaints);
    t.Paint();
    EXPECT_EQ(t.view.RepaintCount(), repaints + 1);
}

TEST(ViewRepaint, EveryPlanViewShowsWhatIsAdded)
{
    TwoViews t;
    t.doc.m_gridStep = 0;
    t.Command(10009);  // a chain of lines
    t.Click(2, 7.6);
    t.Click(10, 7.6);
    t.Click(10, 7.9);
    t.Right();
    ASSERT_EQ(t.doc.GetEntityList().GetCount(), 403);
    const int repaints = t.other.RepaintCount();
    for (double x : {3.0, 6.0, 9.0}) {
        const CPoint p = t.other.WorldToDevicePoint(CPointd(x, 7.6));
        EXPECT_NE(t.other.Image().pixel(p.x, p.y) & 0xFFFFFF, 0xFFFFFFu) << x;
    }
    EXPECT_EQ(t.other.RepaintCount(), repaints) << "drawn in, not repainted";
    ShowsTheDrawing(t.other, "the other view");
}

#include "app/mainwnd.h"
#include "app/menus.h"
#include "app/printing.h"
#include "app/printpreview.h"
#include "app/viewwidget.h"
#include "doc/rectadoc.h"
#include "model/recta.h"
#include "res/commands.h"
#include "support/any_dialog.h"
#include "support/scripted_forms.h"
#include "view2d/rectaview.h"

#include <QAction>
#include <QToolBar>
#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

void CollectIds(const std::vector<MenuItem>& items, std::multimap<int, std::string>& out)
{
    for (const MenuItem& item : items) {
        if (item.id)
            out.emplace(item.id, item.text);
        CollectIds(item.items, out);
    }
}

}  // namespace

// Every starter with a menu text is in the menus with that text, once; the
// others are on the architectural tool bar.
TEST(Menus, EveryStarterIsReachable)
{
    std::multimap<int, std::string> menu;
    CollectIds(MainMenu(), menu);
    for (const auto& [id, text] : menu)
        EXPECT_EQ(menu.count(id), 1u) << "id " << id << " is in the menus twice";

    std::set<int> arch;
    for (const ToolButton& button : ArchToolButtons())
        arch.insert(button.id);
    std::set<int> threeD;
    for (const ToolButton& button : ThreeDToolButtons())
        threeD.insert(button.id);
    EXPECT_TRUE(threeD.count(10417)) << "World System is on the 3D palette";

    for (const StarterInfo& starter : Starters()) {
        if (*starter.menuText == '\0') {
            EXPECT_TRUE(arch.count(starter.id)) << "id " << starter.id;
            continue;
        }
        const auto it = menu.find(starter.id);
        ASSERT_NE(it, menu.end()) << "id " << starter.id << " " << starter.menuText;
        EXPECT_EQ(it->second, starter.menuText);
    }
    const std::pair<int, const char*> fixed[] = {
        {ID_UNDO, "Undo!"}, {ID_REDO, "Redo!"}, {ID_ZOOM_WINDOW, "Zoom &Window"}, {ID_ORTHO, "&Ortho"},
        {10082, "Write"}, {10083, "Read"}, {10171, "DXF Write"}, {10170, "DXF Read"},
        {ID_FILE_PRINT, "&Printing"}, {ID_FILE_PRINT_PREVIEW, "Printing &Preview"}};
    for (const auto& [id, text] : fixed) {
        ASSERT_EQ(menu.count(id), 1u) << id;
        EXPECT_EQ(menu.find(id)->second, text);
    }
}

TEST(Menus, ViewCommandsNeedADrawing)
{
    Cwm_MainWnd frame;
    frame.show();
    EXPECT_FALSE(frame.Action(10009)->isEnabled());
    EXPECT_FALSE(frame.Action(ID_FILE_SAVE)->isEnabled());
    EXPECT_TRUE(frame.Action(ID_FILE_OPEN)->isEnabled());
    frame.NewDocument();
    EXPECT_TRUE(frame.Action(10009)->isEnabled());
    frame.Action(ID_PREVIEW_AT_INSERT)->trigger();
    EXPECT_EQ(frame.m_previewAtInsert, 1);
    EXPECT_TRUE(frame.Action(ID_PREVIEW_AT_INSERT)->isChecked());
}

// Every command of the menus and tool bars has its handler, in the frame or
// in the plan view, or is shown disabled with the reason as its tip.
TEST(Menus, EveryCommandWorksOrSaysWhyNot)
{
    Cwm_MainWnd frame;
    frame.show();
    frame.NewDocument();
    frame.m_askOpenName = frame.m_askSaveName = [](const FileQuestion&) { return std::string(); };
    std::multimap<int, std::string> ids;
    CollectIds(MainMenu(), ids);
    for (auto buttons : {StandardToolButtons(), AidsToolButtons(), ArchToolButtons(), ThreeDToolButtons()})
        for (const ToolButton& b : buttons)
            if (b.id)
                ids.emplace(b.id, b.tip);
    const std::set<int> frameOwn = {ID_FILE_NEW,     ID_FILE_OPEN,       ID_FILE_CLOSE,    ID_FILE_SAVE,
                                    ID_FILE_SAVE_AS, ID_APP_EXIT,        ID_APP_ABOUT,     ID_WINDOW_NEW,
                                    ID_WINDOW_CASCADE, ID_WINDOW_TILE,   ID_VIEW_AERIAL,   ID_WINDOW_3D,
                                    ID_SNAP_MODES,   ID_FIXED_DISTANCE,  ID_PREVIEW_AT_INSERT};
    CRectaView& view = *frame.ActiveView();
    for (const auto& [id, text] : ids) {
        SCOPED_TRACE(std::to_string(id) + " " + text);
        QAction* action = frame.Action(id);
        ASSERT_NE(action, nullptr);
        if (const char* reason = UnavailableReason(id)) {
            EXPECT_FALSE(action->isEnabled());
            EXPECT_EQ(action->toolTip().toStdString(), reason);
            continue;
        }
        // Commands on a selected object wait for one.
        EXPECT_EQ(action->isEnabled(), view.IsCommandEnabled(id));
        if (frameOwn.count(id))
            continue;
        AnyDialog cancel(2, IDNO);
        EXPECT_TRUE(view.OnCommand(id));
        view.CancelCommand();
    }
}

// The stair buttons start their command with the stair kind they stand for.
TEST(Menus, StairButtonsChooseTheKind)
{
    Cwm_MainWnd frame;
    frame.show();
    CRectaDoc* doc = frame.NewDocument();
    const struct {
        int id;
        CommandCode code;
        int kind;
    } rows[] = {{ID_STAIR_ONE_FLIGHT, CMD_STAIR_FLIGHTS, 1}, {ID_STAIR_TWO_FLIGHTS, CMD_STAIR_FLIGHTS, 2},
                {ID_STAIR_SPIRAL, CMD_STAIR_SPIRAL, 2}};
    for (const auto& r : rows) {
        frame.Action(r.id)->trigger();
        EXPECT_EQ(frame.ActiveView()->m_command, r.code) << r.id;
        EXPECT_EQ(frame.ActiveView()->m_mode, MODE_NONE) << r.id;
        EXPECT_EQ(doc->m_toolWords[TW_STAIR_KIND], r.kind) << r.id;
    }
    doc->SetModifiedFlag(false);
}

// A diagonal of the print window runs corner to corner of the printed page
// whatever the resolution, so the page image carries its resolution.
TEST(Printing, PageImageMapsThePrintWindowOntoThePage)
{
    auto* doc = new CRectaDoc;
    doc->OnNewDocument();
    CRecta* line = doc->AddRecta();
    line->m_p1 = CPointd(0, 0);
    line->m_p2 = CPointd(10, 10);
    CRectaViewWidget widget(doc, false);
    CRectaView& view = widget.View();
    view.m_firstPoint = CPointd(0, 0);
    view.m_secondPoint = CPointd(10, 10);

    for (int dpi : {100, 200}) {
        const QImage page = RenderPrintPage(view, QSizeF(100, 100), dpi);
        const int n = int(100 / 25.4 * dpi + 0.5);
        ASSERT_EQ(page.width(), n);
        ASSERT_EQ(page.height(), n);
        EXPECT_EQ(page.dotsPerMeterX(), int(dpi / 0.0254 + 0.5));
        auto darkNear = [&](int x, int y) {
            for (int dy = -3; dy <= 3; ++dy)
                for (int dx = -3; dx <= 3; ++dx)
                    if (page.valid(x + dx, y + dy) && qGray(page.pixel(x + dx, y + dy)) < 128)
                        return true;
            return false;
        };
        EXPECT_TRUE(darkNear(n / 2, n / 2)) << dpi;
        EXPECT_TRUE(darkNear(n * 9 / 10, n / 10)) << dpi;
        EXPECT_FALSE(darkNear(n / 10, n / 10)) << dpi;
        EXPECT_EQ(doc->m_pageWidth, 1000);
    }
}

// The aids tool bar: the snap-mode and distance buttons run their dialogs on
// the active view; buttons without a handler here are shown disabled.
TEST(Menus, AidsButtonsWorkOrShowDisabled)
{
    Cwm_MainWnd frame;
    frame.show();
    frame.NewDocument();
    for (int id : {4010, 10034, 10036, 4013, 4012}) {
        ASSERT_TRUE(frame.Action(id)) << id;
        EXPECT_FALSE(frame.Action(id)->isEnabled()) << id;
        EXPECT_NE(frame.Action(id)->toolTip().indexOf("not in this program"), -1) << id;
    }
    CRectaView& view = *frame.ActiveView();
    {
        ScriptedForms forms;
        forms.Expect("APROX", OkWith({{"mode", "Mid Point"}}));
        ASSERT_TRUE(frame.Action(ID_SNAP_MODES)->isEnabled());
        frame.Action(ID_SNAP_MODES)->trigger();
        EXPECT_EQ(view.m_snapMode, 3);
    }
    struct Case {
        FormAnswer answer;
        double before, after;
    };
    const Case cases[] = {
        {OkWith({{"distance", "2.5"}}), 0.0, 2.5},
        {OkWith({{"distance", "0"}}), 1.0, 0.0},
        {OkWith({{"distance", "-3"}}), 1.0, 0.0},
        {CancelWith({{"distance", "7"}}), 1.5, 1.5},
    };
    for (const Case& c : cases) {
        view.m_fixedDistance = c.before;
        ScriptedForms forms;
        forms.Expect("DISTANCIA", c.answer);
        frame.Action(ID_FIXED_DISTANCE)->trigger();
        EXPECT_EQ(view.m_fixedDistance, c.after) << c.before;
    }
}

// A page rendered for a shrunk preview keeps every thin line: the preview
// renders at the resolution it shows instead of scaling a finer page down.
TEST(Printing, PreviewShowsEveryLineAtEveryZoom)
{
    auto* doc = new CRectaDoc;
    doc->OnNewDocument();
    for (double y : {1.0, 3.0, 5.0, 7.0, 9.0}) {
        CRecta* line = doc->AddRecta();
        line->m_p1 = CPointd(0, y);
        line->m_p2 = CPointd(10, y);
    }
    CRectaViewWidget widget(doc, false);
    CRectaView& view = widget.View();
    view.m_firstPoint = CPointd(0, 0);
    view.m_secondPoint = CPointd(10, 10);
    const QPageLayout layout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                             QPageLayout::Millimeter);
    CPrintPreviewDlg preview(&widget, layout, nullptr);
    const double pageWidthMm = layout.paintRect(QPageLayout::Millimeter).width();
    for (int dpi : {CPrintPreviewDlg::kMinDpi, 17, 40, 96, 150}) {
        preview.SetDpi(dpi);
        ASSERT_EQ(preview.Dpi(), dpi);
        const QImage& page = preview.Page();
        EXPECT_EQ(page.width(), int(std::lround(pageWidthMm / 25.4 * dpi)));
        // Count the separate dark runs down the page's middle column.
        int runs = 0;
        bool dark = false;
        for (int y = 0; y < page.height(); ++y) {
            const bool d = qGray(page.pixel(page.width() / 2, y)) < 128;
            runs += d && !dark;
            dark = d;
        }
        EXPECT_EQ(runs, 5) << dpi;
    }
    preview.SetDpi(100000);
    EXPECT_EQ(preview.Dpi(), CPrintPreviewDlg::kMaxDpi);
}

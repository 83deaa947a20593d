// Every command starter from a busy view; print mapping; where entities land on the image.
#include "model/circ.h"
#include "model/recta.h"
#include "platform/recordingdc.h"
#include "support/any_dialog.h"
#include "support/scripted_forms.h"
#include "view_fixture.h"

#include <cmath>
#include <set>

namespace {

// The erase command with a shown band and one selected record.
void MakeBusy(CRectaView& view)
{
    view.CancelCommand();
    view.OnCommand(10450);
    view.OnLButtonDown(MK_LBUTTON, view.WorldToDevicePoint(CPointd(5, 1)));  // picks the line
    view.m_bandState = 1;
    view.m_bandStart = view.m_bandEnd = CPointd(2, 6);
    view.OnMouseMove(0, view.WorldToDevicePoint(CPointd(9, 3)));
}

}  // namespace

TEST_F(ViewTest, EveryStarterCancelsWhatRuns)
{
    doc.m_gridStep = 0;
    CRecta* l = doc.AddRecta();
    l->m_p1 = CPointd(1, 1);
    l->m_p2 = CPointd(9, 1);
    view.Invalidate();
    const QImage clean = view.Image().copy();

    for (const StarterInfo& s : Starters()) {
        if (s.ownSetUp)
            continue;  // below, with their dialogs
        SCOPED_TRACE(s.id);
        MakeBusy(view);
        ASSERT_EQ(view.m_selection.GetCount(), 1);
        ASSERT_TRUE(view.OnCommand(s.id));
        EXPECT_EQ(view.m_command, s.code);
        EXPECT_EQ(view.m_mode, s.mode);
        EXPECT_EQ(view.m_bandState, 0);
        EXPECT_TRUE(view.m_selection.IsEmpty());
        EXPECT_EQ(view.Image(), clean) << "band and highlight are gone";
        const std::string prompt = s.prompt;
        EXPECT_EQ(view.PromptBuffer().substr(0, prompt.size()), prompt);

        // The right button with nothing running repeats it.
        view.CancelCommand();
        view.OnRButtonDown(MK_RBUTTON, CPoint{5, 5});
        EXPECT_EQ(view.m_command, s.code);
        EXPECT_EQ(view.m_mode, s.mode);
        const std::string repeat = *s.repeatPrompt ? s.repeatPrompt : std::string(CRectaView::kPromptMax, ' ');
        EXPECT_EQ(view.PromptBuffer().substr(0, repeat.size()), repeat);
    }
}

TEST_F(ViewTest, CancelPutsBackOrthoAndTheReferenceAngle)
{
    doc.m_ortho = 1;
    view.m_refAngle = 0.25;
    ScriptedForms forms;
    forms.Expect("SELCAMARA", OkWith());
    view.OnCommand(10362);  // focal plane: ortho on along the camera's line of sight
    EXPECT_NE(view.m_refAngle, 0.25);
    view.CancelCommand();
    EXPECT_EQ(view.m_refAngle, 0.25);
    EXPECT_EQ(doc.m_ortho, 1);

    view.OnCommand(ID_FILE_PRINT);
    view.OnLButtonDown(MK_LBUTTON, At(1, 1));
    EXPECT_EQ(doc.m_ortho, 0) << "ortho is off while the print window is dragged";
    view.OnCommand(10009);
    EXPECT_EQ(doc.m_ortho, 1);
}

TEST_F(ViewTest, FittedPrintScale)
{
    CRecta* l = doc.AddRecta();
    l->m_p1 = CPointd(0, 0);
    l->m_p2 = CPointd(200, 100);
    const double scale = view.m_scale;
    view.m_firstPoint = CPointd(200, 0);
    view.m_secondPoint = CPointd(0, 100);
    CRecordingDC dc;
    view.PrintPage(dc, 2100, 2970);
    // 2100 / 200 = 10.5 tenths of a millimetre per unit; the window's top edge is the page's.
    EXPECT_NE(dc.Log().find("MoveTo(0,-1050)"), std::string::npos) << dc.Log();
    EXPECT_NE(dc.Log().find("LineTo(2100,0)"), std::string::npos) << dc.Log();
    EXPECT_EQ(view.m_scale, scale);
}

TEST_F(ViewTest, EntitiesLandWhereTheMappingSays)
{
    CRecta* l = doc.AddRecta();
    l->m_p1 = CPointd(1, 2);
    l->m_p2 = CPointd(11, 2);
    CCirc* c = doc.AddCirc();
    c->m_centre = CPointd(6, 5);
    c->m_rx = c->m_ry = 2;
    view.Invalidate();
    const QImage& img = view.Image();
    // Ink within one pixel: mapping truncates the centre and the radius separately.
    auto inked = [&](CPoint p) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if ((img.pixel(p.x + dx, p.y + dy) & 0xFFFFFF) != 0xFFFFFF)
                    return true;
        return false;
    };
    EXPECT_TRUE(inked(At(6, 2)));
    EXPECT_TRUE(inked(At(6, 7)));  // top of the circle
    EXPECT_TRUE(inked(At(4, 5)));  // left of the circle
    EXPECT_FALSE(inked(At(6, 5)));
    EXPECT_FALSE(inked(At(6, 4)));

    // Device to world and back within one device unit.
    for (CPoint d : {CPoint{0, 0}, CPoint{17, 233}, CPoint{399, 299}}) {
        const CPoint back = view.WorldToDevicePoint(view.DeviceToWorld(d));
        EXPECT_LE(std::abs(back.x - d.x), 1);
        EXPECT_LE(std::abs(back.y - d.y), 1);
    }
}

TEST_F(ViewTest, WindowOrCrossingByDragDirection)
{
    doc.m_gridStep = 0;
    CRecta* inside = doc.AddRecta();
    inside->m_p1 = CPointd(4, 3);
    inside->m_p2 = CPointd(5, 3);
    CRecta* crossing = doc.AddRecta();
    crossing->m_p1 = CPointd(4, 4);
    crossing->m_p2 = CPointd(11, 4);
    struct Drag { CPointd a, b; int selected; };
    const Drag drags[] = {
        {{3, 2}, {6, 5}, 1},  // up and to the right: wholly inside only
        {{6, 5}, {3, 2}, 2},  // down and to the left: crossing too
        {{3, 5}, {6, 2}, 2},  // down and to the right
        {{6, 2}, {3, 5}, 2},  // up and to the left
    };
    for (const Drag& d : drags) {
        view.OnCommand(10450);
        view.OnLButtonDown(MK_LBUTTON, At(d.a.x, d.a.y));
        EXPECT_EQ(view.m_mode, MODE_PICK_WINDOW);
        view.OnMouseMove(0, At(d.b.x, d.b.y));
        view.OnLButtonDown(MK_LBUTTON, At(d.b.x, d.b.y));
        EXPECT_EQ(view.m_selection.GetCount(), d.selected);
        EXPECT_EQ(view.m_mode, MODE_PICK);
    }
}

TEST_F(ViewTest, StartersWithDialogsCancelWhatRunsToo)
{
    doc.m_gridStep = 0;
    CRecta* l = doc.AddRecta();
    l->m_p1 = CPointd(1, 1);
    l->m_p2 = CPointd(9, 1);
    view.Invalidate();
    const QImage clean = view.Image().copy();
    doc.m_toolWords[5] = 0;  // windows are placed in a wall picked first

    struct Special {
        int id;
        const char* dialog;
        CommandCode code;
        int mode;
        const char* prompt;
        const char* repeatPrompt;  // the right button with nothing running runs the dialog again
    };
    const Special specials[] = {
        {10360, "SELCAMARA", CMD_CAMERA, MODE_NONE, "Camera Position:", "Camera Position:"},
        {10371, "SELLUZ", CMD_LIGHT, MODE_NONE, "Light from point:", "Light from point:"},
        {10414, nullptr, CMD_PLANE_VERTICAL, MODE_NONE, "Origin Point for Plane:", "Origin Point for Plane:"},
        {10415, nullptr, CMD_PLANE_3_POINTS, MODE_NONE, "Origin Point for Plane:", "Origin Point for Plane:"},
        {10354, "Z", CMD_DEFAULT_ELEVATION, MODE_NONE, "", ""},
        {10355, "ESPESOR", CMD_DEFAULT_THICKNESS, MODE_NONE, "", ""},
        {10263, "PARPUERT2", CMD_DOOR, MODE_NONE, "Ref.Point Ext.Wall:", "Ref. Point Ext. Wall:"},
        {10265, "HOJAS", CMD_DOOR, MODE_NONE, "Ref.Point Ext. Wall:", "Ref. Point Ext. Wall:"},
        {10267, "PARVENT2", CMD_WINDOW_IN_WALL, MODE_PICK, "Internal Wall:", "Int. Wall:"},
        {10257, "REGRUESM", CMD_WALL, MODE_NONE, "From point:", "From point:"},
    };
    const std::string blank(CRectaView::kPromptMax, ' ');
    for (const Special& s : specials) {
        SCOPED_TRACE(s.id);
        MakeBusy(view);
        {
            ScriptedForms forms;
            if (s.dialog)
                forms.Expect(s.dialog, CancelWith());
            ASSERT_TRUE(view.OnCommand(s.id));
        }
        EXPECT_EQ(view.m_command, s.code);
        EXPECT_EQ(view.m_mode, s.mode);
        EXPECT_TRUE(view.m_selection.IsEmpty());
        EXPECT_EQ(view.Image(), clean);
        EXPECT_EQ(view.PromptBuffer().substr(0, std::string(s.prompt).size()), s.prompt);

        view.CancelCommand();
        ScriptedForms forms;
        if (s.dialog)
            forms.Expect(s.dialog, CancelWith());
        view.OnRButtonDown(MK_RBUTTON, CPoint{5, 5});
        EXPECT_EQ(view.m_command, s.code);
        EXPECT_EQ(view.m_mode, s.mode);
        const std::string repeat = *s.repeatPrompt ? s.repeatPrompt : blank;
        EXPECT_EQ(view.PromptBuffer().substr(0, repeat.size()), repeat);
    }
}

// Paste and Default Color run their operation as they start.
TEST_F(ViewTest, StartersThatRunTheirOperationFirst)
{
    doc.m_gridStep = 0;
    CRecta* l = doc.AddRecta();
    l->m_p1 = CPointd(1, 1);
    l->m_p2 = CPointd(9, 1);
    struct Row {
        int id;
        CommandCode code;
        int mode;
    };
    const Row rows[] = {
        {4006, CMD_PASTE, MODE_NONE},
        {10119, CMD_NONE, MODE_PICK},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.id);
        MakeBusy(view);
        AnyDialog dialogs(2);
        ASSERT_TRUE(view.OnCommand(r.id));
        EXPECT_TRUE(view.m_selection.IsEmpty());
        EXPECT_EQ(view.m_command, r.code);
        EXPECT_EQ(view.m_mode, r.mode);
    }
}

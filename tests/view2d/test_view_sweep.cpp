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

// A line off the grid for MakeBusy to pick; the view's image without it picked.
QImage BusyLine(CRectaDoc& doc, CRectaView& view)
{
    doc.m_gridStep = 0;
    CRecta* l = doc.AddRecta();
    l->m_p1 = CPointd(1, 1);
    l->m_p2 = CPointd(9, 1);
    view.Invalidate();
    return view.Image().copy();
}

// The starter from a busy view, then the right button with nothing running:
// each time the band, selection and highlight go and the command's code,
// mode and prompt show. A dialog the starter shows is cancelled.
void ExpectStartsFromBusy(CRectaView& view, const QImage& clean, int id, const char* dialog, CommandCode code,
                          int mode, const std::string& prompt, const char* repeatPrompt)
{
    SCOPED_TRACE(id);
    MakeBusy(view);
    ASSERT_EQ(view.m_selection.GetCount(), 1);
    {
        ScriptedForms forms;
        if (dialog)
            forms.Expect(dialog, CancelWith());
        ASSERT_TRUE(view.OnCommand(id));
    }
    EXPECT_EQ(view.m_command, code);
    EXPECT_EQ(view.m_mode, mode);
    EXPECT_EQ(view.m_bandState, 0);
    EXPECT_TRUE(view.m_selection.IsEmpty());
    EXPECT_EQ(view.Image(), clean) << "band and highlight are gone";
    EXPECT_EQ(view.PromptBuffer().substr(0, prompt.size()), prompt);

    view.CancelCommand();
    EXPECT_EQ(view.PromptBuffer(), std::string(CRectaView::kPromptMax, ' '));
    ScriptedForms forms;
    if (dialog)
        forms.Expect(dialog, CancelWith());
    view.OnRButtonDown(MK_RBUTTON, CPoint{5, 5});
    EXPECT_EQ(view.m_command, code);
    EXPECT_EQ(view.m_mode, mode);
    const std::string repeat = *repeatPrompt ? repeatPrompt : std::string(CRectaView::kPromptMax, ' ');
    EXPECT_EQ(view.PromptBuffer().substr(0, repeat.size()), repeat);
}

}  // namespace

TEST_F(ViewTest, EveryStarterCancelsWhatRuns)
{
    const QImage clean = BusyLine(doc, view);
    for (const StarterInfo& s : Starters())
        if (!s.ownSetUp)  // below, with their dialogs
            ExpectStartsFromBusy(view, clean, s.id, nullptr, s.code, s.mode, s.prompt, s.repeatPrompt);
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
    LineFrom(0, 0, 200, 100);
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
    LineFrom(1, 2, 11, 2);
    CCirc* c = doc.AddCirc();
    c->m_centre = CPointd(6, 5);
    c->m_rx = c->m_ry = 2;
    view.Invalidate();
    // Ink within one pixel: mapping truncates the centre and the radius separately.
    auto inked = [&](CPoint p) { return InkNear(view.Image(), p.x, p.y); };
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
    LineFrom(4, 3, 5, 3);   // inside
    LineFrom(4, 4, 11, 4);  // crossing
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
    const QImage clean = BusyLine(doc, view);
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
        {ID_STAIR_ONE_FLIGHT, nullptr, CMD_STAIR_FLIGHTS, MODE_NONE, "Stair Start Point:", ""},
        {ID_STAIR_SPIRAL, nullptr, CMD_STAIR_SPIRAL, MODE_NONE, "Center Point:", ""},
        {ID_SURFACE_REVOLUTION, nullptr, CMD_REVOLUTION_AXIS, MODE_PICK, "Select Axis Line:", ""},
        {ID_SURFACE_TABULATED, nullptr, CMD_TABULATED_PLINE, MODE_PICK, "Select Polyline:", ""},
    };
    for (const Special& s : specials)
        ExpectStartsFromBusy(view, clean, s.id, s.dialog, s.code, s.mode, s.prompt, s.repeatPrompt);
}

// Paste and Default Color run their operation as they start.
TEST_F(ViewTest, StartersThatRunTheirOperationFirst)
{
    BusyLine(doc, view);
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

// Drawing with the mouse and typed points, end to end through the view's handlers.
#include "model/circ.h"
#include "model/dib.h"
#include "model/geometry.h"
#include "model/punt.h"
#include "model/recta.h"
#include "model/text.h"
#include "support/scripted_forms.h"
#include "view_fixture.h"

#include <cmath>
#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;

class Drafting : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        doc.m_ortho = 0;
        doc.m_gridStep = 0;  // clicks land where they are
    }
    void Type(const std::string& s)
    {
        for (char c : s)
            view.OnChar(static_cast<unsigned char>(c));
    }
    template <class T>
    T* Last() const
    {
        return static_cast<T*>(doc.GetLastEntityRecord()->m_entity);
    }
};

}  // namespace

TEST_F(Drafting, LineChainIsOneUndoState)
{
    doc.m_gridStep = 0.5;
    view.OnCommand(10009);
    Click(1, 1);
    Click(5.1, 1.2);
    Click(5, 4);
    EXPECT_EQ(Count(ENT_LINE), 2);
    EXPECT_EQ(view.UndoStateCount(), 0);
    EXPECT_EQ(Last<CRecta>()->m_p1, CPointd(5, 1)) << "grid snap";
    const QImage drawn = view.Image().copy();
    view.Invalidate();
    EXPECT_EQ(view.Image(), drawn) << "a repaint shows the chain's lines as they were";
    Right();
    EXPECT_EQ(view.UndoStateCount(), 1);
    EXPECT_EQ(view.m_mode, MODE_LINE) << "the mode stays for the next chain";
    view.OnCommand(ID_UNDO);
    EXPECT_EQ(Count(), 0);
    EXPECT_EQ(Ink(), 0);
}

TEST_F(Drafting, UndoDuringAChainRemovesWhatItDrew)
{
    view.OnCommand(10009);
    Click(1, 1);
    Click(4, 1);
    Click(4, 4);
    Click(1, 4);
    Click(1, 4);  // on the last point: no zero-length line
    EXPECT_EQ(Count(ENT_LINE), 3);
    view.OnCommand(ID_UNDO);
    EXPECT_EQ(Count(), 0);
    view.OnCommand(ID_REDO);
    EXPECT_EQ(Count(ENT_LINE), 3);
}

TEST_F(Drafting, CirclesArcsAndPoints)
{
    ScriptedForms forms;
    forms.Expect("RADIO", OkWith({{"radius", "2.5"}}));
    view.OnCommand(10063);
    Click(6, 4);
    ASSERT_EQ(Count(ENT_CIRCLE), 1);
    EXPECT_DOUBLE_EQ(Last<CCirc>()->m_rx, 2.5);
    EXPECT_NEAR(Last<CCirc>()->m_centre.x, 6, 0.05);
    EXPECT_EQ(view.m_mode, MODE_NONE);

    view.OnCommand(10068);  // arc through three points
    Click(2, 4);
    Click(4, 6);
    Click(6, 4);
    ASSERT_EQ(Count(ENT_ARC), 1);
    EXPECT_NEAR(Last<CArc>()->m_rx, 2, 0.05);
    EXPECT_NEAR(std::remainder(Last<CArc>()->m_start, 2 * kPi), 0, 0.05) << "the upper half, through (4,6)";
    EXPECT_NEAR(Last<CArc>()->m_end, kPi, 0.05);

    view.OnCommand(10066);  // three points on a line make nothing
    Click(1, 1);
    Click(2, 2);
    Click(3, 3);
    EXPECT_EQ(Count(ENT_CIRCLE), 1);

    view.OnCommand(10065);
    Click(3, 3);
    EXPECT_EQ(Count(ENT_POINT), 1);
    EXPECT_EQ(view.UndoStateCount(), 3);
}

// The arc by a centre and two angle points takes its radius from the radius
// dialog (0 makes nothing) and leaves no band behind, however it ends.
TEST_F(Drafting, ArcByCentreAndAnglePoints)
{
    ScriptedForms forms;
    for (const char* radius : {"3", "0", ""}) {  // "": the right button ends it
        view.OnCommand(10069);
        Click(5, 4);
        view.OnMouseMove(0, At(6, 5));
        Click(7, 4);
        view.OnMouseMove(0, At(6, 6));
        if (*radius) {
            forms.Expect("RADIO", OkWith({{"radius", radius}}));
            Click(5, 6);
        } else {
            Right();
        }
        const QImage shown = view.Image().copy();
        view.Invalidate();
        EXPECT_TRUE(view.Image() == shown) << "a band is left behind: " << radius;
    }
    ASSERT_EQ(Count(), 1);
    EXPECT_EQ(Last<CArc>()->m_rx, 3.0);
    EXPECT_NEAR(Last<CArc>()->m_start, 0, 0.01);
    EXPECT_NEAR(Last<CArc>()->m_end, kPi / 2, 0.01);
}

TEST_F(Drafting, LongTextIsCutInto40CharacterLines)
{
    ScriptedForms forms;
    forms.Expect("TEXTO", OkWith({{"text", std::string(100, 'a')}}));
    forms.Expect("TEXTO", OkWith({{"text", std::string(80, 'b')}}));
    view.OnCommand(10076);
    Click(1, 7);
    EXPECT_EQ(Count(ENT_TEXT), 3);
    EXPECT_EQ(Last<CText>()->m_text.size(), 20u);
    EXPECT_EQ(view.UndoStateCount(), 1);
    const double step = 1.4 * doc.m_textFont.lfHeight / 100.0;
    EXPECT_NEAR(Last<CText>()->m_insert.y, view.DeviceToWorld(At(1, 7)).y - 2 * step, 1e-9);

    view.OnCommand(10076);
    Click(1, 3);
    EXPECT_EQ(Count(ENT_TEXT), 5) << "exactly 80 characters make two texts";
}

TEST_F(Drafting, ShiftAndCtrlClicks)
{
    ScriptedForms forms;
    view.OnCommand(10009);
    Click(1, 1);
    forms.Expect("APROX", CancelWith());
    Click(5, 1, MK_LBUTTON | MK_SHIFT);
    EXPECT_EQ(Count(), 0) << "a shift-click is not a point";

    forms.Expect("DISTANCIA", OkWith({{"distance", "2"}}));
    Click(5, 1, MK_LBUTTON | MK_CONTROL);
    ASSERT_EQ(Count(ENT_LINE), 1);
    const CRecta* l = Last<CRecta>();
    EXPECT_NEAR(std::hypot(l->m_p2.x - l->m_p1.x, l->m_p2.y - l->m_p1.y), 2.0, 1e-9);

    // A cancelled or zero distance leaves the click a plain point where it was.
    const auto near = [](const CPointd& p, double x, double y) { return std::hypot(p.x - x, p.y - y) < 0.05; };
    forms.Expect("DISTANCIA", CancelWith());
    Click(5, 5, MK_LBUTTON | MK_CONTROL);
    ASSERT_EQ(Count(ENT_LINE), 2);
    EXPECT_TRUE(near(Last<CRecta>()->m_p2, 5, 5));
    EXPECT_EQ(view.m_fixedDistance, 0.0);
    forms.Expect("DISTANCIA", OkWith({{"distance", "0"}}));
    Click(6, 5, MK_LBUTTON | MK_CONTROL);
    ASSERT_EQ(Count(ENT_LINE), 3);
    EXPECT_TRUE(near(Last<CRecta>()->m_p2, 6, 5));

    view.OnCommand(10065);
    forms.Expect("DISTANCIA", CancelWith());
    Click(3, 3, MK_LBUTTON | MK_CONTROL);
    ASSERT_EQ(Count(ENT_POINT), 1);
    EXPECT_TRUE(near(Last<CPunt>()->m_point, 3, 3));
}

TEST_F(Drafting, TypedPoints)
{
    view.OnCommand(10009);
    Type("@3,4");
    Right();
    EXPECT_EQ(Count(), 0) << "relative input needs a last point";
    Type("1,1");
    Right();
    Type("@3,4");
    Right();
    ASSERT_EQ(Count(ENT_LINE), 1);
    EXPECT_EQ(Last<CRecta>()->m_p2, CPointd(4, 5));
    Type("@5<90");
    Right();
    EXPECT_NEAR(Last<CRecta>()->m_p2.y, 10, 1e-9);
    EXPECT_NEAR(Last<CRecta>()->m_p2.x, 4, 1e-9);

    Type("1;2");
    Right();
    EXPECT_EQ(Count(ENT_LINE), 2) << "no comma: no point";
    EXPECT_EQ(view.PromptBuffer(), std::string(CRectaView::kPromptMax, ' '));

    Type("12");
    view.OnChar(8);
    view.OnChar(8);
    view.OnChar(8);
    Type("8,9");
    view.OnChar(13);  // Enter parses without processing
    EXPECT_EQ(view.m_current, CPointd(8, 9));
    EXPECT_EQ(Count(ENT_LINE), 2);

    Type(std::string(60, '1'));
    EXPECT_EQ(view.m_typed.size(), 55u);
    for (char c : std::string("+-.,@<"))
        EXPECT_TRUE(view.OnChar(c)) << c;
    view.OnChar(3);
    EXPECT_EQ(view.m_mode, MODE_NONE);
    EXPECT_FALSE(view.OnChar('5')) << "no command: typing is left to the window";
}

// Every typed character is kept; each number reads as far as it is a number,
// text that is no number as 0.
TEST_F(Drafting, TypedTextAndHowItReads)
{
    view.OnCommand(10009);
    Type("1,1");
    Right();
    ASSERT_EQ(view.m_bandStart, CPointd(1, 1));
    const CPointd none(-7, -7);
    const struct {
        const char* text;
        CPointd expect;  // none: refused
    } rows[] = {
        {"10,20", {10, 20}}, {"10, 20", {10, 20}},  {" 3 ,4", {3, 4}},     {"5,", {5, 0}},
        {"1e2,3", {100, 3}}, {"+2,-3E-1", {2, -0.3}}, {"a,b", {0, 0}},     {"1,2,3", {1, 2}},
        {"1.2.3,4", {1.2, 4}}, {"--5,1", {0, 1}},   {"0x10,1", {16, 1}},  {"1e-999,1", {0, 1}},
        {"@3,4", {4, 5}},    {"@5<90,1", {6, 2}},   {"@<", {1, 1}},       {"@,5", {1, 6}},
        {"@5<90", {1, 6}},   {"@2<x", {3, 1}},
        {"1;2", none},       {",5", none},          {"@5", none},         {"1e999,1", none},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.text);
        view.m_current = none;
        Type(r.text);
        EXPECT_EQ(view.m_typed, r.text) << "every character is kept";
        view.OnChar(13);
        EXPECT_NEAR(view.m_current.x, r.expect.x, 1e-12);
        EXPECT_NEAR(view.m_current.y, r.expect.y, 1e-12);
        EXPECT_TRUE(view.m_typed.empty());
    }
    EXPECT_EQ(Count(ENT_LINE), 0);
}

TEST_F(Drafting, ReferencePointStartsRelativeInput)
{
    view.OnCommand(10009);
    view.OnCommand(ID_REFERENCE_POINT);
    Click(2, 2);
    EXPECT_EQ(view.m_refPointState, 2);
    const CPointd ref = view.m_bandStart;
    Type("@3,4");
    Right();
    EXPECT_EQ(view.m_bandStart, CPointd(ref.x + 3, ref.y + 4));
}

TEST_F(Drafting, EraseByPickAndUndo)
{
    LineFrom(1, 1, 9, 1);
    CCirc* c = doc.AddCirc();
    c->m_centre = CPointd(6, 5);
    c->m_rx = c->m_ry = 1;
    view.Invalidate();
    const QImage drawn = view.Image().copy();

    view.OnCommand(10450);
    Click(5, 1);
    EXPECT_EQ(view.m_selection.GetCount(), 1);
    Right();
    EXPECT_EQ(Count(ENT_LINE), 0);
    EXPECT_EQ(view.m_mode, MODE_NONE);
    view.OnCommand(ID_UNDO);
    EXPECT_EQ(Count(ENT_LINE), 1);
    view.Invalidate();
    EXPECT_EQ(view.Image(), drawn);
}

TEST_F(Drafting, SnapRestoresThePrompt)
{
    LineFrom(1, 1, 9, 1);
    view.OnCommand(10009);
    view.m_snapMode = 2;  // end point
    Click(8.95, 1.05);
    EXPECT_EQ(view.m_bandStart, CPointd(9, 1));
    EXPECT_EQ(view.PromptBuffer().substr(0, 9), "To point:") << "not the snap's name";
    view.m_snapMode = 2;
    Click(5, 7);  // nothing near: the click is dropped
    EXPECT_EQ(view.m_bandStart, CPointd(9, 1));
    EXPECT_EQ(view.PromptBuffer().substr(0, 9), "To point:");
}

TEST_F(Drafting, OrthoLeavesTheFirstPointFree)
{
    doc.m_ortho = 1;
    view.OnCommand(10009);
    Click(1.3, 1.7);
    const CPointd first = view.m_bandStart;
    EXPECT_NEAR(first.x, 1.3, 0.05);
    Click(6, 2.2);
    EXPECT_EQ(Last<CRecta>()->m_p2.y, first.y);
}

TEST_F(Drafting, CircleRadiusByASecondPoint)
{
    ScriptedForms forms;
    forms.Expect("RADIO", OkWith({{"radius", "0"}}));
    forms.Expect("RADIO", CancelWith());
    view.OnCommand(10063);
    Click(5, 4);
    EXPECT_EQ(view.PromptBuffer().substr(0, 23), "Other point for radius:");
    Click(5, 4);  // on the centre: ignored
    EXPECT_EQ(Count(), 0);
    Click(7, 4);
    ASSERT_EQ(Count(ENT_CIRCLE), 1);
    EXPECT_NEAR(Last<CCirc>()->m_rx, 2, 0.05);

    view.OnCommand(10063);
    Click(5, 4);  // cancelled radius: the click is dropped
    EXPECT_EQ(view.m_bandState, 0);
    EXPECT_EQ(Count(ENT_CIRCLE), 1);
}

TEST_F(Drafting, TangentCircleNeedsARadius)
{
    ScriptedForms forms;
    forms.Expect("RADIO", OkWith({{"radius", "0"}})).Expect("RADIO", CancelWith());
    LineFrom(0, 0, 4, 0);
    LineFrom(0, 0, 0, 4);
    for (int i = 0; i < 2; ++i) {
        view.OnCommand(10067);
        Click(2, 0);
        Click(0, 2);
        EXPECT_EQ(view.PromptBuffer().find("does not fit"), std::string::npos) << "no radius, no complaint";
    }
    EXPECT_EQ(Count(ENT_CIRCLE), 0);
}

TEST_F(Drafting, ThreePointArcRunsThroughItsSecondPoint)
{
    struct Row { CPointd a, b, c; };
    // Both senses, both halves, and arcs that pass the zero direction.
    const Row rows[] = {
        {{2, 4}, {4, 6}, {6, 4}}, {{6, 4}, {4, 6}, {2, 4}}, {{2, 4}, {4, 2}, {6, 4}}, {{6, 4}, {4, 2}, {2, 4}},
        {{4, 2}, {6, 4}, {4, 6}}, {{4, 6}, {6, 4}, {4, 2}}, {{4, 6}, {2.6, 5.4}, {6, 4}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "second point " << r.b.x << "," << r.b.y);
        view.OnCommand(10068);
        Click(r.a.x, r.a.y);
        Click(r.b.x, r.b.y);
        Click(r.c.x, r.c.y);
        const CArc* arc = Last<CArc>();
        ASSERT_EQ(doc.GetLastEntityRecord()->m_type, ENT_ARC);
        const CPointd& o = arc->m_centre;
        auto angleOf = [&](const CPointd& p) { return Angle2D(o.x, o.y, p.x, p.y); };
        // Of the two arcs between the first and third point, the one through the second.
        EXPECT_TRUE(AngleInArc(arc->m_start, arc->m_end, angleOf(view.DeviceToWorld(At(r.b.x, r.b.y)))));
        const double ends[] = {angleOf(view.DeviceToWorld(At(r.a.x, r.a.y))),
                               angleOf(view.DeviceToWorld(At(r.c.x, r.c.y)))};
        EXPECT_TRUE((arc->m_start == ends[0] && arc->m_end == ends[1]) ||
                    (arc->m_start == ends[1] && arc->m_end == ends[0]));
    }
}

TEST_F(Drafting, MissedLinePickKeepsTheChain)
{
    ScriptedForms forms;
    CRecta* ref = doc.AddRecta();  // at 200 degrees
    ref->m_p1 = CPointd(1, 6);
    ref->m_p2 = CPointd(1 - 3 * std::cos(0.35), 6 - 3 * std::sin(0.35));
    view.OnCommand(10009);
    Click(2, 1);
    Click(5, 1);

    forms.Expect("ANGSEL", OkWith({{"pick", "1"}}));
    view.OnCommand(ID_ANGLE);
    EXPECT_EQ(view.m_pickLine, 1);
    EXPECT_EQ(forms.shown[0].values["pick"], "0");
    Click(6, 6);  // nothing there
    EXPECT_EQ(view.m_pickLine, 1) << "still waiting for a line";
    EXPECT_EQ(view.m_mode, MODE_LINE);
    EXPECT_EQ(Count(ENT_LINE), 2) << "the miss drew nothing";
    Click(6, 6);  // a second miss
    Click(1 - 1.5 * std::cos(0.35), 6 - 1.5 * std::sin(0.35));
    EXPECT_EQ(view.m_pickLine, 0);
    EXPECT_EQ(view.m_mode, MODE_LINE);
    EXPECT_NEAR(view.m_refAngle, 0.35, 1e-3);

    Click(5, 4);
    EXPECT_EQ(Count(ENT_LINE), 3);
    Right();
    EXPECT_EQ(view.UndoStateCount(), 1);
    view.OnCommand(ID_UNDO);
    EXPECT_EQ(Count(ENT_LINE), 1) << "both lines of the chain were recorded";
}

TEST_F(Drafting, TypedPointWhilePickingIsAPick)
{
    LineFrom(1, 3, 5, 3);
    view.OnCommand(10450);
    Type("3,3");
    Right();
    EXPECT_EQ(view.m_selection.GetCount(), 1) << "the line under the typed point is picked";
    EXPECT_EQ(view.m_mode, MODE_PICK);
    EXPECT_EQ(view.m_bandState, 0) << "no rubber band";
    EXPECT_NE(view.PromptBuffer().substr(0, 9), "To point:");

    Type("7,7");  // a miss starts a window there, as a click does
    Right();
    EXPECT_EQ(view.m_mode, MODE_PICK_WINDOW);
    EXPECT_EQ(view.m_winCorner, CPointd(7, 7));
    Type("6,6");  // an empty window
    Right();
    EXPECT_EQ(view.m_mode, MODE_PICK);
    EXPECT_EQ(view.m_selection.GetCount(), 1);
    Right();
    EXPECT_EQ(Count(), 0) << "erased";
}

// "Y" typed at the wall's end point asks for the wall thickness again; it is no point.
TEST_F(Drafting, TypedYAtTheWallEndAsksForTheThickness)
{
    view.m_command = CMD_WALL_END;
    view.m_bandState = 1;
    ScriptedForms forms;
    forms.Expect("REGRUESM", OkWith({{"thickness", "0.35"}}));
    Type("Y");
    Right();
    EXPECT_EQ(doc.m_wallOffset, 0.35);
    EXPECT_EQ(view.m_command, CMD_WALL_SKIP_POINT);
    EXPECT_NE(view.PromptBuffer().find("To point:"), std::string::npos);
    EXPECT_EQ(Count(), 0);

    view.m_command = CMD_DISTANCE;
    Type("y");
    Right();
    EXPECT_EQ(view.m_command, CMD_DISTANCE) << "only the wall's end point takes it";
}

// Points and radii beyond the drawing's range are refused with a message:
// nothing is made or changed; distances of large finite points do not overflow.
TEST_F(ViewTest, OutOfRangePointsAndRadiiAreRefused)
{
    doc.m_gridStep = 0;
    doc.m_ortho = 0;
    // Two lines meeting at the origin, for the commands on two lines.
    LineFrom(0, 0, 4, 0);
    LineFrom(0, 0, 0, 4);
    const double big = 1.5e308;
    const double far = 6e14;  // within the range; twice it is not
    struct Row {
        const char* name;
        int id;
        const char* radius;  // the radius dialog's answer, or none asked
        std::vector<CPointd> clicks;
        const char* typed;  // then typed and taken by the right button
        const char* message;
    } rows[] = {
        {"a point without a value", 10065, nullptr, {CPointd(HUGE_VAL, 0)}, "", "Point out of range"},
        {"a point beyond the range", 10065, nullptr, {CPointd(2e15, 1)}, "", "Point out of range"},
        {"a line to a point beyond it", 10009, nullptr, {CPointd(1, 1), CPointd(1, -big)}, "", "Point out of range"},
        {"a typed point beyond the range", 10009, nullptr, {}, "0,-2e15", "Point out of range"},
        {"a typed polar point beyond it", 10009, nullptr, {CPointd(1, 1)}, "@2e15<90", "Point out of range"},
        {"a typed radius of 1e308", 10063, "1e308", {CPointd(1, 1)}, "", "Radius out of range"},
        {"a typed radius beyond the range", 10063, "1.5e15", {CPointd(1, 1)}, "", "Radius out of range"},
        {"a circle through a point too far", 10063, "0", {CPointd(-far, 0), CPointd(far, 0)}, "", "Radius out of range"},
        {"a circle through points too far", 10063, nullptr, {CPointd(-big, 0), CPointd(big, 0)}, "", "Point out of range"},
        {"a circle through three points", 10066, nullptr, {CPointd(-far, 0), CPointd(0, 1e14), CPointd(far, 0)}, "",
         "Radius out of range"},
        {"an arc through three points", 10068, nullptr, {CPointd(-far, 0), CPointd(0, 1e14), CPointd(far, 0)}, "",
         "Radius out of range"},
        {"an arc of a typed radius", 10069, "2e15", {CPointd(1, 1), CPointd(2, 1), CPointd(1, 2)}, "",
         "Radius out of range"},
        {"a fillet", 10102, "2e15", {CPointd(2, 0), CPointd(0, 2)}, "", "Radius out of range"},
        {"a tangent circle", 10067, "2e15", {CPointd(2, 0), CPointd(0, 2)}, "", "Radius out of range"},
    };
    auto lines = [&] {
        std::vector<CPointd> ends;
        for (CObject* obj : doc.GetEntityList())
            if (auto* dib = static_cast<CDib*>(obj); dib->m_type == ENT_LINE) {
                ends.push_back(static_cast<CRecta*>(dib->m_entity)->m_p1);
                ends.push_back(static_cast<CRecta*>(dib->m_entity)->m_p2);
            }
        return ends;
    };
    const std::vector<CPointd> before = lines();
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        ScriptedForms forms;
        if (r.radius)
            forms.Expect("RADIO", OkWith({{"radius", r.radius}}));
        view.OnCommand(r.id);
        for (const CPointd& p : r.clicks)
            view.ClickAt(MK_LBUTTON, p);
        for (char c : std::string(r.typed))
            view.OnChar(static_cast<unsigned char>(c));
        if (*r.typed)
            Right();
        EXPECT_EQ(Count(), 2) << "nothing made";
        EXPECT_EQ(lines(), before) << "nothing changed";
        EXPECT_EQ(view.PromptBuffer().substr(0, std::string(r.message).size()), r.message);
        view.CancelCommand();
    }
    EXPECT_EQ(Distance2D(0, 1e160, 0, 0), 1e160);

    // At the edge of the range points and radii are taken.
    ScriptedForms forms;
    forms.Expect("RADIO", OkWith({{"radius", "1e15"}}));
    view.OnCommand(10063);
    view.ClickAt(MK_LBUTTON, CPointd(-1e15, 1e15));
    EXPECT_EQ(Count(ENT_CIRCLE), 1);
}

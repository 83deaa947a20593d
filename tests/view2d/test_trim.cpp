// Extend, cut, fillet, unify and the tangent circle, one row per case: the
// drawing before, the picks, and the drawing after. Every row that changes
// the drawing is undone (the records come back byte for byte) and redone.
#include "edit_fixture.h"
#include "view2d/lineedit.h"

#include <cmath>
#include <numbers>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace {

// ---------------------------------------------------------------- extend

// Entity 0 is extended, picked at pick; entity 1 is the boundary.
struct ExtendRow {
    const char* name;
    Texts before;
    CPointd pick;
    Texts after;
};

void PrintTo(const ExtendRow& r, std::ostream* os)
{
    *os << r.name;
}

class Extend : public EditTest, public ::testing::WithParamInterface<ExtendRow> {};

TEST_P(Extend, Row)
{
    const ExtendRow& r = GetParam();
    Expect(r.before, r.after, [&] {
        CDib* boundary = Rec(1);
        view.m_pickedEntity = boundary->m_entity;
        view.m_pickedType = boundary->m_type;
        view.m_pickedSerial = boundary->m_serial;
        view.ExtendToBoundary(r.pick, Rec(0)->m_entity, Rec(0)->m_type, Pos(0));
    });
}

const ExtendRow kExtendRows[] = {
    {"line to a line ahead", {"L 0 0 2 0", "L 5 -1 5 1"}, {1.5, 0}, {"L 0 0 5 0", "L 5 -1 5 1"}},
    {"line to a boundary beyond its segment", {"L 0 0 2 0", "L 5 1 5 3"}, {1.5, 0}, {"L 0 0 5 0", "L 5 1 5 3"}},
    {"line shortened by a crossing boundary", {"L 0 0 6 0", "L 5 -1 5 1"}, {1, 0}, {"L 0 0 5 0", "L 5 -1 5 1"}},
    {"backwards to a boundary behind P1", {"L 3 0 6 0", "L 1 -1 1 1"}, {4, 0}, {"L 1 0 6 0", "L 1 -1 1 1"}},
    {"vertical line", {"L 0 0 0 2", "L -1 5 1 5"}, {0, 1}, {"L 0 0 0 5", "L -1 5 1 5"}},
    {"parallel boundary", {"L 0 0 2 0", "L 0 1 2 1"}, {1, 0}, {"L 0 0 2 0", "L 0 1 2 1"}},
    {"collinear boundary", {"L 0 0 2 0", "L 3 0 5 0"}, {1, 0}, {"L 0 0 2 0", "L 3 0 5 0"}},
    {"zero-length line", {"L 1 1 1 1", "L 5 -1 5 1"}, {1, 1}, {"L 1 1 1 1", "L 5 -1 5 1"}},
    {"boundary already touched", {"L 0 0 5 0", "L 5 -1 5 1"}, {1, 0}, {"L 0 0 5 0", "L 5 -1 5 1"}},
    {"line to the near side of a circle", {"L 0 0 2 0", "C 5 0 1"}, {1.5, 0}, {"L 0 0 4 0", "C 5 0 1"}},
    {"line inside a circle to the side of the pick", {"L 4.5 0 5.5 0", "C 5 0 1"}, {5.4, 0},
     {"L 4.5 0 6 0", "C 5 0 1"}},
    {"line that misses the circle", {"L 0 2 2 2", "C 5 0 1"}, {1, 2}, {"L 0 2 2 2", "C 5 0 1"}},
    {"line to an arc boundary", {"L 0 0 2 0", "A 5 0 1 90 270"}, {1.5, 0}, {"L 0 0 4 0", "A 5 0 1 90 270"}},
    {"line whose carrier meets the arc outside its angles", {"L 0 0 2 0", "A 5 0 1 -60 60"}, {1.5, 0},
     {"L 0 0 6 0", "A 5 0 1 300 60"}},
    {"arc start to a line", {"A 0 0 2 0 90", "L -3 -1 3 -1"}, {2, 0.1}, {"A 0 0 2 330 90", "L -3 -1 3 -1"}},
    {"arc end to a line", {"A 0 0 2 0 90", "L -1 -3 -1 3"}, {0.1, 2}, {"A 0 0 2 0 120", "L -1 -3 -1 3"}},
    {"arc to a line that misses it", {"A 0 0 2 0 90", "L 5 -3 5 3"}, {2, 0.1}, {"A 0 0 2 0 90", "L 5 -3 5 3"}},
    {"arc to a circle", {"A 0 0 2 90 180", "C 3 0 2"}, {0.1, 2}, {"A 0 0 2 41.41 180", "C 3 0 2"}},
    {"arc to a concentric circle", {"A 0 0 2 90 180", "C 0 0 3"}, {0.1, 2}, {"A 0 0 2 90 180", "C 0 0 3"}},
    {"a picked circle stays", {"C 0 0 1", "L 5 -1 5 1"}, {1, 0}, {"C 0 0 1", "L 5 -1 5 1"}},
};

INSTANTIATE_TEST_SUITE_P(Rows, Extend, ::testing::ValuesIn(kExtendRows));

TEST_F(EditTest, ExtendAllMovesSelectedLinesOnly)
{
    Expect({"L 5 -1 5 3", "L 0 0 2 0", "L 0 1 2 1", "C 1 2 0.5", "A 1 2 1 0 90", "L 6 0 6 1"},
           {"L 5 -1 5 3", "L 0 0 5 0", "L 0 1 5 1", "C 1 2 0.5", "A 1 2 1 0 90", "L 6 0 6 1"}, [&] {
               view.m_pickedEntity = Rec(0)->m_entity;
               view.m_pickedType = ENT_LINE;
               view.m_pickedSerial = Rec(0)->m_serial;
               for (int i = 0; i < 6; ++i)
                   view.SelectEntity(Rec(i)->m_type, Pos(i));
               view.m_command = CMD_EXTEND_ALL;
               view.m_mode = MODE_PICK;
               view.OnRButtonDown(MK_RBUTTON, At(9, 9));
           });
    EXPECT_EQ(view.m_command, CMD_NONE);
    EXPECT_EQ(view.GetFirstSelectedPosition(), nullptr);
}

TEST_F(EditTest, ExtendAllToACircleTakesThePointNearerAnEnd)
{
    Expect({"C 5 0 1", "L 0 0 2 0", "L 9 0 8 0"}, {"C 5 0 1", "L 0 0 4 0", "L 9 0 6 0"}, [&] {
        view.m_pickedEntity = Rec(0)->m_entity;
        view.m_pickedType = ENT_CIRCLE;
        view.m_pickedSerial = Rec(0)->m_serial;
        view.SelectEntity(ENT_LINE, Pos(1));
        view.SelectEntity(ENT_LINE, Pos(2));
        view.ExtendAllToBoundary();
        view.SaveUndoState();
        view.ClearPendingSteps();
    });
}

TEST_F(EditTest, ExtendAfterTheBoundaryLeftAsksForItAgain)
{
    sketch::Sketch(doc, {"L 0 0 2 0", "L 5 -1 5 1"});
    view.m_pickedEntity = Rec(1)->m_entity;
    view.m_pickedType = ENT_LINE;
    view.m_pickedSerial = Rec(1)->m_serial + 1000;  // not a record of the drawing
    view.ExtendToBoundary(CPointd(1, 0), Rec(0)->m_entity, ENT_LINE, Pos(0));
    EXPECT_EQ(sketch::Drawing(doc), sketch::Sorted({"L 0 0 2 0", "L 5 -1 5 1"}));
    EXPECT_EQ(view.m_pickedEntity, nullptr);
    EXPECT_EQ(view.PromptBuffer().substr(0, 23), "Select Boundary object:");
}

// ---------------------------------------------------------------- cut

// Entity 0 is cut, picked at pick; the entities of edges are selected.
struct CutRow {
    const char* name;
    Texts before;
    std::vector<int> edges;
    CPointd pick;
    Texts after;
};

void PrintTo(const CutRow& r, std::ostream* os)
{
    *os << r.name;
}

class Cut : public EditTest, public ::testing::WithParamInterface<CutRow> {};

TEST_P(Cut, Row)
{
    const CutRow& r = GetParam();
    Expect(r.before, r.after, [&] {
        for (int i : r.edges)
            view.SelectEntity(Rec(i)->m_type, Pos(i));
        view.CutEntity(r.pick, Rec(0)->m_entity, Rec(0)->m_type, Pos(0));
    });
}

// A spoke of the circle of radius 2 at the origin, from its centre far past it, at deg degrees.
std::string Spoke(double deg)
{
    const double a = deg * std::numbers::pi / 180.0;
    return "L 0 0 " + sketch::Num(1000 * std::cos(a)) + " " + sketch::Num(1000 * std::sin(a));
}

// An arc of radius 2 at the origin cut by spokes at the cuts (degrees), picked at pick degrees.
CutRow ArcBySpokes(const char* name, const char* arc, const std::vector<double>& cuts, double pick, Texts left)
{
    const double a = pick * std::numbers::pi / 180.0;
    CutRow r{name, {arc}, {}, {2 * std::cos(a), 2 * std::sin(a)}, std::move(left)};
    for (double d : cuts) {
        r.edges.push_back(int(r.before.size()));
        r.before.push_back(Spoke(d));
        r.after.push_back(Spoke(d));
    }
    return r;
}

const char* const kEdge3 = "L 3 -1 3 1";
const char* const kEdge7 = "L 7 -1 7 1";

const CutRow kCutRows[] = {
    {"line between two edges", {"L 0 0 10 0", kEdge3, kEdge7}, {1, 2}, {5, 0},
     {"L 0 0 3 0", "L 7 0 10 0", kEdge3, kEdge7}},
    {"line drawn the other way", {"L 10 0 0 0", kEdge3, kEdge7}, {1, 2}, {5, 0},
     {"L 10 0 7 0", "L 3 0 0 0", kEdge3, kEdge7}},
    {"pick before the first cut", {"L 0 0 10 0", kEdge3, kEdge7}, {1, 2}, {1, 0}, {"L 3 0 10 0", kEdge3, kEdge7}},
    {"pick beyond the last cut", {"L 0 0 10 0", kEdge3, kEdge7}, {1, 2}, {9, 0}, {"L 0 0 7 0", kEdge3, kEdge7}},
    {"vertical line", {"L 0 0 0 10", "L -1 4 1 4"}, {1}, {0, 8}, {"L 0 0 0 4", "L -1 4 1 4"}},
    {"parallel edge", {"L 0 0 10 0", "L 0 1 10 1"}, {1}, {5, 0}, {"L 0 0 10 0", "L 0 1 10 1"}},
    {"collinear edge", {"L 0 0 10 0", "L 12 0 14 0"}, {1}, {5, 0}, {"L 0 0 10 0", "L 12 0 14 0"}},
    {"edge touching the line's end", {"L 0 0 10 0", "L 10 -1 10 1"}, {1}, {5, 0}, {"L 0 0 10 0", "L 10 -1 10 1"}},
    {"edge that stops short", {"L 0 0 10 0", "L 5 1 5 3"}, {1}, {2, 0}, {"L 0 0 10 0", "L 5 1 5 3"}},
    {"no cutting edges", {"L 0 0 10 0"}, {}, {5, 0}, {"L 0 0 10 0"}},
    {"line across a circle edge", {"L 0 0 10 0", "C 5 0 1"}, {1}, {5, 0}, {"L 0 0 4 0", "L 6 0 10 0", "C 5 0 1"}},
    {"circle by a chord", {"C 0 0 2", "L -3 1 3 1"}, {1}, {0, 2}, {"A 0 0 2 150 30", "L -3 1 3 1"}},
    {"circle by a chord, picked below", {"C 0 0 2", "L -3 1 3 1"}, {1}, {0, -2}, {"A 0 0 2 30 150", "L -3 1 3 1"}},
    {"circle by a tangent edge", {"C 0 0 2", "L -3 2 3 2"}, {1}, {0, -2}, {"C 0 0 2", "L -3 2 3 2"}},
    {"circle by a concentric circle", {"C 0 0 2", "C 0 0 1"}, {1}, {0, 2}, {"C 0 0 2", "C 0 0 1"}},
    {"circle by an edge outside it", {"C 0 0 2", "L 5 -1 5 1"}, {1}, {0, 2}, {"C 0 0 2", "L 5 -1 5 1"}},
    {"arc, one cut after the pick", {"A 0 0 2 0 180", "L 0 -3 0 3"}, {1}, {1.414, 1.414},
     {"A 0 0 2 90 180", "L 0 -3 0 3"}},
    {"arc, one cut before the pick", {"A 0 0 2 0 180", "L 0 -3 0 3"}, {1}, {-1.414, 1.414},
     {"A 0 0 2 0 90", "L 0 -3 0 3"}},
    {"arc between two cuts", {"A 0 0 2 0 180", "L 1 -3 1 3", "L -1 -3 -1 3"}, {1, 2}, {0, 2},
     {"A 0 0 2 0 60", "A 0 0 2 120 180", "L 1 -3 1 3", "L -1 -3 -1 3"}},
    {"arc across 0 degrees", {"A 0 0 2 270 90", "L -3 1 3 1", "L -3 -1 3 -1"}, {1, 2}, {2, 0},
     {"A 0 0 2 270 330", "A 0 0 2 30 90", "L -3 1 3 1", "L -3 -1 3 -1"}},
    {"arc by an edge at its end", {"A 0 0 2 0 180", "L 2 -3 2 3"}, {1}, {0, 2}, {"A 0 0 2 0 180", "L 2 -3 2 3"}},
    // Cuts more than half a turn from the pick, measured along the arc.
    ArcBySpokes("large arc, both cuts after the pick", "A 0 0 2 0 350", {200, 300}, 10, {"A 0 0 2 200 350"}),
    ArcBySpokes("large arc, both cuts before the pick", "A 0 0 2 0 350", {50, 150}, 340, {"A 0 0 2 0 150"}),
    ArcBySpokes("large arc, the cut before far round", "A 0 0 2 0 350", {20, 200, 330}, 300,
                {"A 0 0 2 0 200", "A 0 0 2 330 350"}),
    ArcBySpokes("arc across 0, cuts after the pick past 0", "A 0 0 2 300 250", {100, 200}, 310, {"A 0 0 2 100 250"}),
    ArcBySpokes("arc across 0, cuts before the pick past 0", "A 0 0 2 300 250", {10, 100}, 240, {"A 0 0 2 300 100"}),
    ArcBySpokes("arc across 0, picked past 0", "A 0 0 2 300 250", {320, 190, 200}, 10,
                {"A 0 0 2 300 320", "A 0 0 2 190 250"}),
};

INSTANTIATE_TEST_SUITE_P(Rows, Cut, ::testing::ValuesIn(kCutRows));

TEST_F(EditTest, CutCircleKeepsItsProperties)
{
    sketch::Sketch(doc, {"C 0 0 2", "L -3 1 3 1"});
    auto* circle = static_cast<CCirc*>(Rec(0)->m_entity);
    circle->m_color = 0x00FF00;
    circle->m_style = 2;
    circle->m_width = 3;
    circle->m_centre.z = 1.5;
    circle->m_thickness = 0.7;
    circle->m_extrusionMode = 1;
    circle->m_dir = CPointd(0, 0.6, 0.8);
    view.SelectEntity(ENT_LINE, Pos(1));
    view.CutEntity(CPointd(0, 2), circle, ENT_CIRCLE, Pos(0));
    ASSERT_EQ(Rec(1)->m_type, ENT_ARC);
    const auto& arc = *static_cast<const CArc*>(Rec(1)->m_entity);
    EXPECT_EQ(arc.m_color, 0x00FF00u);
    EXPECT_EQ(arc.m_style, 2);
    EXPECT_EQ(arc.m_width, 3);
    EXPECT_EQ(arc.m_layer, "ZP");
    EXPECT_EQ(arc.m_centre.z, 1.5);
    EXPECT_EQ(arc.m_thick1, 0.7);
    EXPECT_EQ(arc.m_thick2, 0.7);
    EXPECT_EQ(arc.m_extrusionMode, 1);
    EXPECT_EQ(arc.m_dir.y, 0.6);
    EXPECT_EQ(arc.m_ry, 2.0);
}

TEST_F(EditTest, CutEdgeThatIsCutLeavesItsPiecesSelected)
{
    // Two circles and a line cut each other; the selection names live records only.
    sketch::Sketch(doc, {"C 0 0 2", "L -3 1 3 1", "L -3 -1 3 -1"});
    for (int i = 0; i < 3; ++i)
        view.SelectEntity(Rec(i)->m_type, Pos(i));
    view.CutEntity(CPointd(2, 0), Rec(0)->m_entity, ENT_CIRCLE, Pos(0));
    view.CutEntity(CPointd(0, 1), Rec(0)->m_entity, ENT_LINE, Pos(0));
    EXPECT_EQ(sketch::Drawing(doc), sketch::Sorted({"A 0 0 2 30 330", "L -3 1 -1.732 1", "L 1.732 1 3 1",
                                                    "L -3 -1 3 -1"}));
    std::vector<std::string> selected;
    for (CDib* record : view.SelectedRecords())
        selected.push_back(sketch::Describe(record->m_type, record->m_entity));
    EXPECT_EQ(sketch::Sorted(selected), sketch::Drawing(doc));
    view.DoUndo();
    view.DoUndo();
    EXPECT_EQ(sketch::Drawing(doc), sketch::Sorted({"C 0 0 2", "L -3 1 3 1", "L -3 -1 3 -1"}));
}

// ---------------------------------------------------------------- fillet, unify, tangent circle

// Entities 0 and 1 are the lines, picked at k1 and k2; radius < 0: no dialog.
struct TwoLineRow {
    const char* name;
    CommandCode code;
    Texts before;
    CPointd k1, k2;
    const char* radius;
    Texts after;
};

void PrintTo(const TwoLineRow& r, std::ostream* os)
{
    *os << r.name;
}

class TwoLines : public EditTest, public ::testing::WithParamInterface<TwoLineRow> {};

TEST_P(TwoLines, Row)
{
    const TwoLineRow& r = GetParam();
    if (r.radius)
        forms.Expect("RADIO", OkWith({{"radius", r.radius}}));
    Expect(r.before, r.after, [&] { RunTwoLines(r.code, r.k1, r.k2); });
}

constexpr auto kF = CMD_FILLET;
constexpr auto kR = CMD_FILLET_RADIUS;
constexpr auto kU = CMD_UNIFY;
constexpr auto kT = CMD_CIRCLE_TAN_TAN_RADIUS;

const TwoLineRow kTwoLineRows[] = {
    {"fillet apart", kF, {"L 0 0 2 0", "L 3 1 3 3"}, {1, 0}, {3, 2}, nullptr, {"L 0 0 3 0", "L 3 0 3 3"}},
    {"fillet crossing, picked sides stay", kF, {"L 0 0 4 0", "L 2 -2 2 2"}, {1, 0}, {2, 1}, nullptr,
     {"L 0 0 2 0", "L 2 0 2 2"}},
    {"fillet crossing, other sides", kF, {"L 0 0 4 0", "L 2 -2 2 2"}, {3, 0}, {2, -1}, nullptr,
     {"L 2 0 4 0", "L 2 -2 2 0"}},
    {"fillet vertical and oblique", kF, {"L 0 0 0 2", "L 1 3 2 4"}, {0, 1}, {1.5, 3.5}, nullptr,
     {"L 0 0 0 2", "L 0 2 2 4"}},
    {"fillet parallel", kF, {"L 0 0 4 0", "L 0 1 4 1"}, {1, 0}, {1, 1}, nullptr, {"L 0 0 4 0", "L 0 1 4 1"}},
    {"fillet collinear", kF, {"L 0 0 2 0", "L 3 0 5 0"}, {1, 0}, {4, 0}, nullptr, {"L 0 0 2 0", "L 3 0 5 0"}},
    {"fillet zero-length line", kF, {"L 0 0 2 0", "L 3 3 3 3"}, {1, 0}, {3, 3}, nullptr, {"L 0 0 2 0", "L 3 3 3 3"}},
    {"fillet with radius", kR, {"L 0 0 4 0", "L 5 1 5 5"}, {1, 0}, {5, 3}, "1",
     {"L 0 0 4 0", "L 5 1 5 5", "A 4 1 1 270 0"}},
    {"fillet with radius, lines drawn inwards", kR, {"L 4 0 0 0", "L 5 5 5 1"}, {1, 0}, {5, 3}, "1",
     {"L 4 0 0 0", "L 5 5 5 1", "A 4 1 1 270 0"}},
    {"fillet with a radius too large", kR, {"L 0 0 4 0", "L 5 1 5 5"}, {1, 0}, {5, 3}, "10",
     {"L 0 0 5 0", "L 5 0 5 5"}},
    {"fillet with radius 0", kR, {"L 0 0 4 0", "L 5 1 5 5"}, {1, 0}, {5, 3}, "0", {"L 0 0 5 0", "L 5 0 5 5"}},
    {"fillet with radius, parallel", kR, {"L 0 0 4 0", "L 0 1 4 1"}, {1, 0}, {1, 1}, nullptr,
     {"L 0 0 4 0", "L 0 1 4 1"}},
    {"unify with a gap", kU, {"L 0 0 2 0", "L 3 0 5 0"}, {1, 0}, {4, 0}, nullptr, {"L 0 0 5 0"}},
    {"unify the second drawn the other way", kU, {"L 0 0 2 0", "L 5 0 3 0"}, {1, 0}, {4, 0}, nullptr, {"L 0 0 5 0"}},
    {"unify keeps the first's direction", kU, {"L 2 0 0 0", "L 3 0 5 0"}, {1, 0}, {4, 0}, nullptr, {"L 5 0 0 0"}},
    {"unify overlapping", kU, {"L 0 0 5 0", "L 1 0 2 0"}, {3, 0}, {1.5, 0}, nullptr, {"L 0 0 5 0"}},
    {"unify touching", kU, {"L 0 1 0 3", "L 0 3 0 4"}, {0, 2}, {0, 3.5}, nullptr, {"L 0 1 0 4"}},
    {"unify crossing", kU, {"L 0 0 2 0", "L 1 -1 1 1"}, {1, 0}, {1, 0.5}, nullptr, {"L 0 0 2 0", "L 1 -1 1 1"}},
    {"unify parallel apart", kU, {"L 0 0 2 0", "L 0 1 2 1"}, {1, 0}, {1, 1}, nullptr, {"L 0 0 2 0", "L 0 1 2 1"}},
    {"unify nearly in line", kU, {"L 0 0 2 0", "L 3 0.01 5 0.01"}, {1, 0}, {4, 0}, nullptr,
     {"L 0 0 2 0", "L 3 0.01 5 0.01"}},
    {"unify a zero-length line", kU, {"L 0 0 2 0", "L 3 0 3 0"}, {1, 0}, {3, 0}, nullptr, {"L 0 0 2 0", "L 3 0 3 0"}},
    {"tangent circle", kT, {"L 0 0 4 0", "L 0 0 0 4"}, {1, 0}, {0, 1}, "1", {"L 0 0 4 0", "L 0 0 0 4", "C 1 1 1"}},
    {"tangent circle, lines apart", kT, {"L 1 0 4 0", "L 0 4 0 1"}, {2, 0}, {0, 2}, "1",
     {"L 1 0 4 0", "L 0 4 0 1", "C 1 1 1"}},
    {"tangent circle too large", kT, {"L 0 0 4 0", "L 0 0 0 4"}, {1, 0}, {0, 1}, "5", {"L 0 0 4 0", "L 0 0 0 4"}},
    {"tangent circle radius 0", kT, {"L 0 0 4 0", "L 0 0 0 4"}, {1, 0}, {0, 1}, "0", {"L 0 0 4 0", "L 0 0 0 4"}},
    {"tangent circle, parallel", kT, {"L 0 0 4 0", "L 0 1 4 1"}, {1, 0}, {1, 1}, nullptr, {"L 0 0 4 0", "L 0 1 4 1"}},
};

INSTANTIATE_TEST_SUITE_P(Rows, TwoLines, ::testing::ValuesIn(kTwoLineRows));

TEST_F(EditTest, FilletArcIsTangentToBothLines)
{
    // Lines at 30 degrees to each other, meeting at (1, 2).
    const double c = std::cos(std::numbers::pi / 6), s = std::sin(std::numbers::pi / 6);
    sketch::Sketch(doc, {"L 1 2 6 2", "L 0 0 0 0"});
    auto* second = static_cast<CRecta*>(Rec(1)->m_entity);
    second->m_p1 = CPointd(1 + 5 * c, 2 + 5 * s);
    second->m_p2 = CPointd(1 + c, 2 + s);
    forms.Expect("RADIO", OkWith({{"radius", "0.5"}}));
    RunTwoLines(CMD_FILLET_RADIUS, CPointd(4, 2), CPointd(1 + 3 * c, 2 + 3 * s));
    ASSERT_EQ(doc.GetEntityList().GetCount(), 3);
    const auto& arc = *static_cast<const CArc*>(Rec(2)->m_entity);
    for (int i = 0; i < 2; ++i) {
        const auto& l = *static_cast<const CRecta*>(Rec(i)->m_entity);
        const double dx = l.m_p2.x - l.m_p1.x, dy = l.m_p2.y - l.m_p1.y;
        const double distance =
            std::fabs(dx * (arc.m_centre.y - l.m_p1.y) - dy * (arc.m_centre.x - l.m_p1.x)) / std::hypot(dx, dy);
        EXPECT_NEAR(distance, 0.5, 1e-9) << i;
    }
    // The arc runs the short way between the lines' new ends.
    const CPointd& a = static_cast<const CRecta*>(Rec(0)->m_entity)->m_p1;
    const CPointd& b = second->m_p2;
    auto at = [](const CPointd& p, const CPointd& q) { return std::hypot(p.x - q.x, p.y - q.y) < 1e-9; };
    EXPECT_TRUE((at(arc.StartPoint(), a) && at(arc.EndPoint(), b)) || (at(arc.StartPoint(), b) && at(arc.EndPoint(), a)));
    EXPECT_LT(std::fmod(arc.m_end - arc.m_start + 4 * std::numbers::pi, 2 * std::numbers::pi), std::numbers::pi);
}

// The fillet arc on lines that run to their corner: each corner end moves to its tangent point.
TEST_F(EditTest, FilletArcRoundsTheCorner)
{
    const struct {
        double radius;
        Texts after;
    } rows[] = {{1, {"L 0 0 3 0", "L 4 4 4 1", "A 3 1 1 270 0"}}, {5, {"L 0 0 4 0", "L 4 4 4 0"}}};
    for (const auto& r : rows) {
        doc.DeleteContents();
        sketch::Sketch(doc, {"L 0 0 4 0", "L 4 4 4 0"});
        auto& l1 = *static_cast<CRecta*>(Rec(0)->m_entity);
        auto& l2 = *static_cast<CRecta*>(Rec(1)->m_entity);
        EXPECT_EQ(FilletArc(doc, l1, l2, {4, 0}, r.radius) != nullptr, r.after.size() == 3) << r.radius;
        EXPECT_EQ(sketch::Drawing(doc), sketch::Sorted(r.after)) << r.radius;
    }
}

}  // namespace

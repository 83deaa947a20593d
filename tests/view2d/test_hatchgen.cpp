// Line hatches end to end: the point list and the selection through the
// dialogs into a block of lines and one insert of it.
#include "model/bloq.h"
#include "model/circ.h"
#include "model/dib.h"
#include "model/insbl.h"
#include "model/pline.h"
#include "model/recta.h"
#include "model/text.h"
#include "support/hatch_check.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_forms.h"
#include "view_fixture.h"

#include <cmath>
#include <initializer_list>
#include <numbers>
#include <string>
#include <vector>

namespace {

class HatchGen : public ViewTest {
protected:
    void Boundary(std::initializer_list<Pt2> points)
    {
        for (Pt2 p : points)
            view.m_pointList.AddTail(new CPointd(p.x, p.y));
    }
    // Kind 1 at the angle and spacing typed.
    void ExpectSingle(ScriptedForms& forms, const char* angle, const char* spacing)
    {
        forms.Expect("TRAMA", Press("single")).Expect("TRAMAP1", OkWith({{"angle1", angle}, {"space1", spacing}}));
    }
    std::vector<const CRecta*> Lines(const char* block) const
    {
        std::vector<const CRecta*> lines;
        const CBloq* b = doc.FindBlock(block);
        if (!b)
            return lines;
        for (CObject* obj : b->GetEntityList()) {
            const auto* dib = static_cast<const CDib*>(obj);
            EXPECT_EQ(dib->m_type, ENT_LINE);
            lines.push_back(static_cast<const CRecta*>(dib->m_entity));
        }
        return lines;
    }
    POSITION Select(int type)
    {
        const POSITION pos = doc.GetLastEntityPosition();
        view.AddToSelection(type, pos);
        return pos;
    }
    // Nothing was made and the view's lists ended empty.
    void ExpectNothingMade()
    {
        EXPECT_EQ(doc.GetFirstBlockPosition(), nullptr);
        EXPECT_EQ(Count(ENT_INSERT), 0);
        EXPECT_EQ(view.UndoStateCount(), 0);
        EXPECT_EQ(doc.m_toolWords[TW_HATCH_BLOCKS], 0);
        EXPECT_TRUE(view.m_pointList.IsEmpty());
        EXPECT_EQ(view.GetFirstSelectedPosition(), nullptr);
    }
};

}  // namespace

TEST_F(HatchGen, RectangleBecomesABlockAndOneInsertWithOneUndoState)
{
    doc.m_currentZ = 2.5;
    doc.m_color = RGB(0, 0, 255);
    const int inkBefore = Ink();
    ScriptedForms forms;
    ExpectSingle(forms, "0", "1");
    Boundary({{0, 0}, {4, 0}, {4, 3}, {0, 3}});
    view.GenerateHatch();

    // From one spacing below the top edge downwards; the line on the bottom edge draws nothing.
    const std::vector<const CRecta*> lines = Lines("XT1");
    ASSERT_EQ(lines.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(lines[i]->m_p1, CPointd(0, 2.0 - double(i), 2.5));
        EXPECT_EQ(lines[i]->m_p2, CPointd(4, 2.0 - double(i), 2.5));
        EXPECT_EQ(lines[i]->m_color, doc.m_color);
        EXPECT_EQ(lines[i]->m_layer, doc.m_layerName);
    }
    const CDib* last = doc.GetLastEntityRecord();
    ASSERT_EQ(last->m_type, ENT_INSERT);
    const auto* insert = static_cast<const CInsBl*>(last->m_entity);
    EXPECT_EQ(insert->m_block, "XT1");
    EXPECT_EQ(insert->m_insert, CPointd(0, 0, 0));
    EXPECT_EQ(insert->m_rotation, 0.0);
    EXPECT_EQ(insert->m_sx, 1.0);
    EXPECT_EQ(insert->m_sy, 1.0);
    EXPECT_EQ(doc.m_toolWords[TW_HATCH_BLOCKS], 1);
    EXPECT_EQ(view.UndoStateCount(), 1);
    EXPECT_TRUE(view.m_pointList.IsEmpty());
    EXPECT_GT(Ink(), inkBefore);

    // Undo takes the insert away; the block stays.
    view.DoUndo();
    EXPECT_EQ(Count(ENT_INSERT), 0);
    EXPECT_NE(doc.FindBlock("XT1"), nullptr);
}

TEST_F(HatchGen, NamesTakeTheNextNumberNoBlockHas)
{
    ScriptedForms forms;
    for (int i = 0; i < 3; ++i)
        ExpectSingle(forms, "45", "0.5");
    Boundary({{0, 0}, {4, 0}, {4, 3}});
    view.GenerateHatch();
    Boundary({{0, 0}, {4, 0}, {4, 3}});
    view.GenerateHatch();
    CObList none(ListOwnership::owns);
    doc.AddBlock(CPointd(), none, "XT3");
    Boundary({{0, 0}, {4, 0}, {4, 3}});
    view.GenerateHatch();
    EXPECT_FALSE(Lines("XT1").empty());
    EXPECT_FALSE(Lines("XT2").empty());
    EXPECT_FALSE(Lines("XT4").empty());
    EXPECT_EQ(doc.m_toolWords[TW_HATCH_BLOCKS], 4);
    EXPECT_EQ(Count(ENT_INSERT), 3);
}

TEST_F(HatchGen, DoubleLinesThenTwoFamiliesInOrder)
{
    ScriptedForms forms;
    forms.Expect("TRAMA", Press("double"))
        .Expect("TRAMAP3", OkWith({{"angle1", "0"}, {"space1", "0.1"}, {"space2", "0.2"}}))
        .Expect("TRAMA", Press("families"))
        .Expect("TRAMAP2", OkWith({{"angle1", "0"}, {"space1", "1"}, {"angle2", "90"}, {"space2", "1"}}));
    Boundary({{0, 0}, {2, 0}, {2, 1}, {0, 1}});
    view.GenerateHatch();
    const double offsets[] = {0.1, 0.3, 0.4, 0.6, 0.7, 0.9};
    const std::vector<const CRecta*> doubles = Lines("XT1");
    ASSERT_EQ(doubles.size(), std::size(offsets));
    for (std::size_t i = 0; i < doubles.size(); ++i)
        EXPECT_NEAR(doubles[i]->m_p1.y, 1 - offsets[i], 1e-12);

    // Family 1 whole, then family 2 from the left edge rightwards.
    Boundary({{0, 0}, {4, 0}, {4, 3}, {0, 3}});
    view.GenerateHatch();
    const std::vector<const CRecta*> two = Lines("XT2");
    ASSERT_EQ(two.size(), 5u);
    for (std::size_t i = 0; i < 2; ++i)
        EXPECT_NEAR(two[i]->m_p1.y, 2.0 - double(i), 1e-12);
    for (std::size_t i = 2; i < 5; ++i) {
        EXPECT_NEAR(two[i]->m_p1.x, double(i) - 1, 1e-12);
        EXPECT_NEAR(two[i]->m_p2.x, double(i) - 1, 1e-12);
        EXPECT_NEAR(two[i]->m_p1.y, 0, 1e-12);
        EXPECT_NEAR(two[i]->m_p2.y, 3, 1e-12);
    }
}

TEST_F(HatchGen, CancelMakesNothing)
{
    struct Row {
        const char* what;
        std::vector<std::pair<std::string, FormAnswer>> answers;
    };
    const Row rows[] = {
        {"hatch dialog cancelled", {{"TRAMA", CancelWith()}}},
        {"hatch dialog closed without a kind", {{"TRAMA", OkWith()}}},
        {"parameters cancelled", {{"TRAMA", Press("single")}, {"TRAMAP1", CancelWith({{"space1", "0.5"}})}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ScriptedForms forms;
        for (const auto& [name, answer] : row.answers)
            forms.Expect(name, answer);
        auto* circle = doc.AddCirc();
        circle->m_rx = 1;
        Select(ENT_CIRCLE);
        Boundary({{0, 0}, {4, 0}, {4, 3}, {0, 3}});
        view.GenerateHatch();
        ExpectNothingMade();
    }
}

TEST_F(HatchGen, BoundariesAndSpacingsThatCannotBeHatchedAreRefused)
{
    struct Row {
        std::initializer_list<Pt2> boundary;
        const char* kind;  // null: refused before the dialogs
        std::vector<std::pair<std::string, std::string>> values;
        HatchError error;
    };
    const Row rows[] = {
        {{{0, 0}, {4, 0}}, nullptr, {}, HatchError::fewPoints},
        {{{0, 0}, {4, 0}, {4, 0}, {0, 0}}, nullptr, {}, HatchError::fewPoints},
        {{{0, 0}, {1, 1}, {3, 3}}, nullptr, {}, HatchError::noArea},
        {{{0, 0}, {4, 0}, {4, 3}}, "single", {{"space1", "1e-12"}}, HatchError::tooManyLines},
        {{{0, 0}, {4, 0}, {4, 3}}, "double", {{"space1", "0.1"}, {"space2", "-0.1"}}, HatchError::noAdvance},
        {{{0, 0}, {4, 0}, {4, 3}}, "families", {{"space1", "0.1"}, {"space2", "1e-9"}}, HatchError::tooManyLines},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(HatchErrorText(row.error));
        ScriptedMessageBoxes boxes({IDOK});
        ScriptedForms forms;
        if (row.kind) {
            const std::string kind = row.kind;
            forms.Expect("TRAMA", Press(kind))
                .Expect(kind == "single" ? "TRAMAP1" : kind == "families" ? "TRAMAP2" : "TRAMAP3", OkWith(row.values));
        }
        auto* circle = doc.AddCirc();
        circle->m_rx = 1;
        Select(ENT_CIRCLE);
        Boundary(row.boundary);
        view.GenerateHatch();
        ASSERT_EQ(boxes.asked.size(), 1u);
        EXPECT_EQ(boxes.asked[0], HatchErrorText(row.error));
        ExpectNothingMade();
    }
}

// The selected circle, text, polyline and insert are left out; a selected
// line is not an island.
TEST_F(HatchGen, SelectedIslandsAreLeftOut)
{
    auto* circle = doc.AddCirc();
    circle->m_centre = CPointd(2, 7);
    circle->m_rx = 1;
    Select(ENT_CIRCLE);
    auto* text = doc.AddText();
    text->m_insert = CPointd(5, 6);
    text->m_text = "AB";
    text->m_font.lfHeight = 100;
    text->m_justify = JUSTIFY_LEFT;
    Select(ENT_TEXT);
    CObList segments(ListOwnership::owns);
    const Pt2 tri[] = {{6, 1}, {9, 1}, {7.5, 3}};
    for (int i = 0; i < 3; ++i) {
        auto* seg = new CRecta;
        seg->m_p1 = CPointd(tri[i].x, tri[i].y);
        seg->m_p2 = CPointd(tri[(i + 1) % 3].x, tri[(i + 1) % 3].y);
        segments.AddTail(new CDib(ENT_LINE, seg));
    }
    doc.AddPLine(segments);
    Select(ENT_PLINE);
    CObList square(ListOwnership::owns);
    for (auto [a, b] : {std::pair<Pt2, Pt2>{{0, 0}, {1, 0}}, {{1, 0}, {1, 1}}, {{1, 1}, {0, 1}}, {{0, 1}, {0, 0}}}) {
        auto* side = doc.NewRecta(1, 0, "0");
        side->m_p1 = CPointd(a.x, a.y);
        side->m_p2 = CPointd(b.x, b.y);
        square.AddTail(new CDib(ENT_LINE, side));
    }
    doc.AddBlock(CPointd(), square, "SQ");
    auto* insert = doc.AddInsBl();
    insert->m_block = "SQ";
    insert->m_insert = CPointd(2, 2);
    insert->m_rotation = 0.5;
    insert->m_sx = insert->m_sy = 1.5;
    Select(ENT_INSERT);
    auto* line = doc.AddRecta();
    line->m_p1 = CPointd(8.5, 0);
    line->m_p2 = CPointd(8.5, 10);
    Select(ENT_LINE);

    ScriptedForms forms;
    ExpectSingle(forms, "30", "0.25");
    Boundary({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
    view.GenerateHatch();
    EXPECT_EQ(view.GetFirstSelectedPosition(), nullptr);

    using namespace hatchcheck;
    CPointd t[4];
    text->AlignPoint(text->m_insert, t[0], t[1], t[2], t[3]);
    std::vector<Pt2> placed;
    for (Pt2 q : {Pt2{0, 0}, Pt2{1, 0}, Pt2{1, 1}, Pt2{0, 1}})
        placed.push_back({2 + 1.5 * (q.x * std::cos(0.5) - q.y * std::sin(0.5)),
                          2 + 1.5 * (q.x * std::sin(0.5) + q.y * std::cos(0.5))});
    const HatchCase expected{
        {{0, 0}, {10, 0}, {10, 10}, {0, 10}},
        {Circle({2, 7}, 1), Polygon({{t[0].x, t[0].y}, {t[1].x, t[1].y}, {t[2].x, t[2].y}, {t[3].x, t[3].y}}),
         Polygon({tri[0], tri[1], tri[2]}), Polygon(placed)},
        {DegToRad(30), 0.25, 0.25}};
    std::vector<HatchSegment> segs;
    for (const CRecta* l : Lines("XT1"))
        segs.push_back({{l->m_p1.x, l->m_p1.y}, {l->m_p2.x, l->m_p2.y}});
    ASSERT_FALSE(segs.empty());
    CheckHatch(expected, HatchBoundary(expected.outline), segs);
}

// The hatch-by-polyline command hands over the picked polyline's vertices,
// arcs in steps, as the point list. The polyline itself selected as an
// island, as a window round everything selects it, leaves the lines whole.
TEST_F(HatchGen, PolylineVerticesAsTheBoundary)
{
    CObList segments(ListOwnership::owns);
    auto* base = new CRecta;
    base->m_p2 = CPointd(6, 0);
    segments.AddTail(new CDib(ENT_LINE, base));
    auto* arc = new CArc;
    arc->m_centre = CPointd(3, 0);
    arc->m_rx = arc->m_ry = 3;
    arc->m_start = 0;
    arc->m_end = std::numbers::pi;
    segments.AddTail(new CDib(ENT_ARC, arc));
    CPLine* pline = doc.AddPLine(segments);
    double area = 0.0, perimeter = 1.0;
    pline->GetVertices(area, view.m_pointList, perimeter);
    std::vector<Pt2> outline;
    for (CObject* obj : view.m_pointList)
        outline.push_back({static_cast<CPointd*>(obj)->x, static_cast<CPointd*>(obj)->y});
    ASSERT_GT(outline.size(), 30u);
    Select(ENT_PLINE);

    ScriptedForms forms;
    ExpectSingle(forms, "137", "0.2");
    view.GenerateHatch();
    std::vector<HatchSegment> segs;
    for (const CRecta* l : Lines("XT1"))
        segs.push_back({{l->m_p1.x, l->m_p1.y}, {l->m_p2.x, l->m_p2.y}});
    ASSERT_GT(segs.size(), 20u);
    hatchcheck::CheckHatch({outline, {}, {DegToRad(137), 0.2, 0.2}}, HatchBoundary(outline), segs);
}

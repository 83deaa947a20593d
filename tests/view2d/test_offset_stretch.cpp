// Offset and stretch of the selection, one row per case: the drawing before
// (all of it selected), the distance and side or the window and displacement,
// and the drawing after; each change is undone and redone.
#include "edit_fixture.h"
#include "model/bmp.h"
#include "model/tdface.h"

#include <memory>
#include <ostream>

namespace {

// ---------------------------------------------------------------- offset

struct OffsetRow {
    const char* name;
    Texts before;
    double distance;
    CPointd towards;
    Texts after;  // the new entities besides the selected ones
    bool skipped = false;  // says that a radius would not stay above 0
};

void PrintTo(const OffsetRow& r, std::ostream* os)
{
    *os << r.name;
}

class Offset : public EditTest, public ::testing::WithParamInterface<OffsetRow> {};

TEST_P(Offset, Row)
{
    const OffsetRow& r = GetParam();
    Texts after = r.after;
    for (const std::string& text : r.before) {  // as the drawing writes them back
        const std::unique_ptr<CDib> e(sketch::Element(text));
        after.push_back(sketch::Describe(e->m_type, e->m_entity));
    }
    Expect(r.before, after, [&] {
        SelectAll();
        view.m_fixedDistance = r.distance;
        view.OffsetSelection(r.towards);
    });
    EXPECT_EQ(view.GetFirstSelectedPosition(), nullptr);
    EXPECT_EQ(view.PromptBuffer().find("Offset: a radius") == 0, r.skipped) << view.PromptBuffer();
}

const char* const kSquare = "P L 0 0 4 0; L 4 0 4 4; L 4 4 0 4; L 0 4 0 0";
const char* const kRoundEnd = "P L 0 0 4 0; A 4 2 2 270 90; L 4 4 0 4";
// A short arc bulging down between two lines, meeting both off the tangent.
const char* const kKinked = "P L 0 0 5 0; A 5.5 10 10.0124921972504 267.137594773888 272.862405226112; L 6 0 6 5";
const char* const kRoundEndBack = "P L 0 4 4 4; a 4 2 2 270 90; L 4 0 0 0";

const OffsetRow kOffsetRows[] = {
    {"line, side above", {"L 0 0 4 0"}, 1, {2, 3}, {"L 0 1 4 1"}},
    {"line, side below beyond its end", {"L 0 0 4 0"}, 1, {6, -2}, {"L 0 -1 4 -1"}},
    {"vertical line", {"L 0 0 0 4"}, 0.5, {-3, 2}, {"L -0.5 0 -0.5 4"}},
    {"oblique line", {"L 0 0 3 4"}, 5, {4, 0}, {"L 4 -3 7 1"}},
    {"side on the line", {"L 0 0 4 0"}, 1, {2, 0}, {}},
    {"side on the line's carrier beyond its end", {"L 0 0 4 0"}, 1, {7, 0}, {}},
    {"zero-length line", {"L 1 1 1 1"}, 1, {2, 3}, {}},
    {"distance 0", {"L 0 0 4 0", "C 0 0 2"}, 0, {2, 3}, {}},
    {"negative distance", {"L 0 0 4 0"}, -1, {2, 3}, {}},
    {"circle, side outside", {"C 0 0 2"}, 1, {5, 0}, {"C 0 0 3"}},
    {"circle, side inside", {"C 0 0 2"}, 1, {0.5, 0}, {"C 0 0 1"}},
    {"circle, side at the centre", {"C 0 0 2"}, 1, {0, 0}, {"C 0 0 1"}},
    {"circle, side on it", {"C 0 0 2"}, 1, {0, 2}, {"C 0 0 3"}},
    {"circle shrunk to nothing", {"C 0 0 2"}, 2, {0.5, 0}, {}, true},
    {"circle shrunk past its centre", {"C 0 0 2"}, 3, {0.5, 0}, {}, true},
    {"circle grown beyond the coordinate range", {"C 0 0 2"}, 1e15, {5, 0}, {}},
    {"arc, side inside", {"A 0 0 2 0 90"}, 0.5, {0.5, 0.5}, {"A 0 0 1.5 0 90"}},
    {"arc, side outside its sweep", {"A 0 0 2 0 90"}, 0.5, {-3, -3}, {"A 0 0 2.5 0 90"}},
    {"arc, side on it", {"A 0 0 2 0 90"}, 0.5, {0, 2}, {"A 0 0 2.5 0 90"}},
    {"polyline corner, inside", {"P L 0 0 4 0; L 4 0 4 3"}, 1, {2, 1}, {"P L 0 1 3 1; L 3 1 3 3"}},
    {"polyline corner, outside", {"P L 0 0 4 0; L 4 0 4 3"}, 1, {2, -1}, {"P L 0 -1 5 -1; L 5 -1 5 3"}},
    {"polyline with collinear segments", {"P L 0 0 2 0; L 2 0 4 0"}, 1, {1, 1}, {"P L 0 1 2 1; L 2 1 4 1"}},
    {"closed square, inside", {kSquare}, 1, {2, 2}, {"P L 1 1 3 1; L 3 1 3 3; L 3 3 1 3; L 1 3 1 1"}},
    {"closed square, outside", {kSquare}, 1, {5, 2}, {"P L -1 -1 5 -1; L 5 -1 5 5; L 5 5 -1 5; L -1 5 -1 -1"}},
    {"polyline with an arc, inside", {kRoundEnd}, 1, {2, 2}, {"P L 0 1 4 1; A 4 2 1 270 90; L 4 3 0 3"}},
    {"polyline with an arc, outside", {kRoundEnd}, 1, {2, -1}, {"P L 0 -1 4 -1; A 4 2 3 270 90; L 4 5 0 5"}},
    {"polyline with an arc followed backwards", {kRoundEndBack}, 1, {2, 2},
     {"P L 0 3 4 3; a 4 2 1 270 90; L 4 1 0 1"}},
    {"polyline with an arc off the tangents keeps its gaps", {kKinked}, 1, {2, 2},
     {"P L 0 1 5 1; A 5.5 10 9.012 267.138 272.862; L 5 0 5 5"}},
    {"closed polyline with an arc, lines joined round the close", {kRoundEnd + std::string("; L 0 4 0 0")}, 1,
     {2, 2}, {"P L 1 1 4 1; A 4 2 1 270 90; L 4 3 1 3; L 1 3 1 1"}},
    {"polyline whose arc would vanish", {kRoundEnd}, 2, {2, 2}, {}, true},
    {"polyline, side on it", {kRoundEnd}, 1, {2, 0}, {}},
    {"polyline of a line and an oblique one", {"P L 0 0 4 0; L 4 0 8 4"}, 1, {4, 2},
     {"P L 0 1 3.586 1; L 3.586 1 7.293 4.707"}},
    {"line and circle together", {"L 0 0 4 0", "C 10 0 2"}, 1, {2, 3}, {"L 0 1 4 1", "C 10 0 3"}},
};

INSTANTIATE_TEST_SUITE_P(Rows, Offset, ::testing::ValuesIn(kOffsetRows));

// The menu's offset and the wall offset end in the same operation, each with its own distance.
TEST_F(EditTest, OffsetAndWallOffsetCommands)
{
    sketch::Sketch(doc, {"L 0 0 4 0"});
    const struct {
        int id;
        const char* form;
        const char* field;
        const char* prompt;
    } commands[] = {{10107, "DISTANCIA", "distance", "Towards:"}, {10256, "REGRUESM", nullptr, "To side:"}};
    for (const auto& c : commands) {
        if (c.field)
            forms.Expect(c.form, OkWith({{c.field, "0.5"}}));
        else
            forms.Expect(c.form, OkWith());
        doc.m_wallOffset = 0.25;
        view.OnCommand(c.id);
        view.SelectEntity(ENT_LINE, Pos(0));
        view.OnRButtonDown(MK_RBUTTON, At(9, 9));
        EXPECT_EQ(view.PromptBuffer().substr(0, std::string(c.prompt).size()), c.prompt);
        view.ClickAt(MK_LBUTTON, CPointd(2, 3));
        EXPECT_EQ(view.m_command, CMD_NONE);
        EXPECT_EQ(view.m_fixedDistance, 0.0);
    }
    EXPECT_EQ(sketch::Drawing(doc), sketch::Sorted({"L 0 0 4 0", "L 0 0.5 4 0.5", "L 0 0.25 4 0.25"}));
    EXPECT_EQ(view.UndoStateCount(), 2);
}

// ---------------------------------------------------------------- stretch

struct StretchRow {
    const char* name;
    Texts before;
    CPointd corner1, corner2;  // the last selection window
    CPointd from, to;
    Texts after;
};

void PrintTo(const StretchRow& r, std::ostream* os)
{
    *os << r.name;
}

class Stretch : public EditTest, public ::testing::WithParamInterface<StretchRow> {};

TEST_P(Stretch, Row)
{
    const StretchRow& r = GetParam();
    // Stretch records its changed steps whatever moves.
    Expect(r.before, r.after, kStateAlways, [&] {
        SelectAll();
        view.m_winCorner = r.corner1;
        view.m_winCorner2 = r.corner2;
        view.m_firstPoint = r.from;
        view.m_secondPoint = r.to;
        view.StretchSelection();
    });
    EXPECT_EQ(view.GetFirstSelectedPosition(), nullptr);
}

const CPointd kLo{0, 0}, kHi{3, 3}, kUp{1, 1};

const StretchRow kStretchRows[] = {
    {"line inside moves whole", {"L 1 1 2 1"}, kLo, kHi, kLo, kUp, {"L 2 2 3 2"}},
    {"line across a side: its inside end moves", {"L 1 1 5 1"}, kLo, kHi, kLo, kUp, {"L 2 2 5 1"}},
    {"window given the other way round", {"L 1 1 5 1"}, kHi, kLo, kLo, kUp, {"L 2 2 5 1"}},
    {"line outside the window moves whole", {"L 5 5 6 5"}, kLo, kHi, kLo, kUp, {"L 6 6 7 6"}},
    {"line through the window, ends outside", {"L -1 1 5 1"}, kLo, kHi, kLo, kUp, {"L -1 1 5 1"}},
    {"circle across a side moves whole", {"C 3 1 1"}, kLo, kHi, kLo, kUp, {"C 4 2 1"}},
    {"arc across a side moves whole", {"A 3 1 1 0 180"}, kLo, kHi, kLo, kUp, {"A 4 2 1 0 180"}},
    {"polyline across a side", {"P L 1 1 5 1; L 5 1 5 4"}, kLo, kHi, kLo, kUp, {"P L 2 2 5 1; L 5 1 5 4"}},
    {"polyline inside moves whole", {"P L 1 1 2 1; A 2 2 1 270 90"}, {0, 0}, {4, 4}, kLo, kUp,
     {"P L 2 2 3 2; A 3 3 1 270 90"}},
    {"polyline arc with one end inside keeps its sweep", {"P L 5 1 2 1; A 2 2 1 270 90"}, {0, 0}, {2.5, 2.5}, kLo,
     {0, 1}, {"P L 5 1 2 2; A 2 2.5 0.5 270 90"}},
};

INSTANTIATE_TEST_SUITE_P(Rows, Stretch, ::testing::ValuesIn(kStretchRows));

TEST_F(EditTest, StretchMovesABitmapInsideWholeAndStretchesOneAcross)
{
    CBmp* inside = doc.AddBmp();
    inside->m_corner = CPointd(1, 1);
    inside->m_w = inside->m_h = 1;
    CBmp* across = doc.AddBmp();
    across->m_corner = CPointd(-2, 1);
    across->m_w = 3;
    across->m_h = 1;
    CTdface* face = doc.AddTdface();
    const CPointd corners[4] = {{-2, 0.5}, {1, 0.5}, {1, 2}, {-2, 2}};
    std::copy(std::begin(corners), std::end(corners), face->m_c);
    SelectAll();
    const auto before = RecordBytes(doc);
    view.m_winCorner = kLo;
    view.m_winCorner2 = kHi;
    view.m_firstPoint = kLo;
    view.m_secondPoint = CPointd(1, 0);
    view.StretchSelection();
    EXPECT_EQ(inside->m_corner.x, 2.0);
    EXPECT_EQ(inside->m_w, 1.0);
    EXPECT_EQ(across->m_corner.x, -2.0);
    EXPECT_EQ(across->m_w, 4.0);
    EXPECT_EQ(face->m_c[0].x, -2.0);
    EXPECT_EQ(face->m_c[1].x, 2.0);
    EXPECT_EQ(face->m_c[2].x, 2.0);
    const auto after = RecordBytes(doc);
    view.DoUndo();
    EXPECT_EQ(RecordBytes(doc), before);
    view.DoRedo();
    EXPECT_EQ(RecordBytes(doc), after);
}

}  // namespace

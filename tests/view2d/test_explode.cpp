// Explode, convert to polyline, add to polyline and close polyline, one row
// per case: the drawing expected after each, then one undo gives the records
// back exactly (as a multiset of their file bytes), redo gives the result
// again, and every element is freed once.
#include "model/acot.h"
#include "model/circ.h"
#include "model/dib.h"
#include "model/insbl.h"
#include "model/pline.h"
#include "model/recta.h"
#include "support/blocks.h"
#include "steps_fixture.h"
#include "support/record_bytes.h"
#include "view2d/undo.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr double kPi = std::numbers::pi;

// A vertex to a ten-thousandth.
using Vertex = std::pair<long long, long long>;

Vertex V(double x, double y)
{
    return {std::llround(x * 1e4), std::llround(y * 1e4)};
}

// Where a segment's run starts and ends, by its arc word for arcs.
std::pair<CPointd, CPointd> Run(const CDib& segment)
{
    if (segment.m_type == ENT_ARC) {
        const auto& a = *static_cast<const CArc*>(segment.m_entity);
        return a.m_arcWord == 1 ? std::pair{a.StartPoint(), a.EndPoint()} : std::pair{a.EndPoint(), a.StartPoint()};
    }
    const auto& l = *static_cast<const CRecta*>(segment.m_entity);
    return {l.m_p1, l.m_p2};
}

// The polyline's vertices in run order: the first start, then each end.
// Each segment must start where the one before it ends (within the join gap).
std::vector<Vertex> Vertices(const CPLine& pl)
{
    std::vector<Vertex> out;
    CPointd last;
    for (CObject* obj : pl.m_segments) {
        const auto [from, to] = Run(*static_cast<const CDib*>(obj));
        if (out.empty())
            out.push_back(V(from.x, from.y));
        else
            EXPECT_LT(std::hypot(from.x - last.x, from.y - last.y), 0.001) << "a gap in the chain";
        out.push_back(V(to.x, to.y));
        last = to;
    }
    return out;
}

// A piece of a row's drawing: a line (x1, y1, x2, y2), an arc (cx, cy, r,
// start, end, word), a circle (cx, cy, r), or the row's polyline itself.
struct Piece {
    int type;
    double a = 0, b = 0, c = 0, d = 0, e = 0;
    int word = 1;
};

Piece Line(double x1, double y1, double x2, double y2)
{
    return {ENT_LINE, x1, y1, x2, y2};
}

Piece Arc(double cx, double cy, double r, double start, double end, int word = 1)
{
    return {ENT_ARC, cx, cy, r, start, end, word};
}

Piece Circle(double cx, double cy, double r)
{
    return {ENT_CIRCLE, cx, cy, r};
}

const Piece kSelf{ENT_PLINE};

CDib* NewPiece(const Piece& p)
{
    switch (p.type) {
    case ENT_LINE: return new CDib(ENT_LINE, NewLine(p.a, p.b, p.c, p.d));
    case ENT_ARC: return new CDib(ENT_ARC, NewArc(p.a, p.b, p.c, p.d, p.e, p.word));
    default: return new CDib(ENT_CIRCLE, NewCircle(p.a, p.b, p.c));
    }
}

class PLineEdit : public FreedOnceTest {
protected:
    void SetUp() override
    {
        FreedOnceTest::SetUp();
        doc.AddLayer(0, 1)->m_name = "L";
    }

    POSITION Append(CDib* record) { return doc.AppendEntityRecord(record); }

    // A polyline of the pieces (lines and arcs) in order, in the drawing.
    POSITION AddPLine(const std::vector<Piece>& pieces)
    {
        CObList segments(ListOwnership::owns);
        for (const Piece& p : pieces)
            segments.AddTail(NewPiece(p));
        return Append(new CDib(ENT_PLINE, new CPLine(1, 0, "L", segments, 0, 0, 0, 1)));
    }

    // The last record of the drawing as a polyline; it must be one.
    const CPLine& LastPLine() const
    {
        const CDib* last = doc.GetLastEntityRecord();
        EXPECT_EQ(last->m_type, ENT_PLINE);
        return *static_cast<const CPLine*>(last->m_entity);
    }

    // Saves what the operation recorded as one state (states: the count
    // before it), then checks one undo against before and redo against the
    // result, twice over. A row that changes nothing must record nothing.
    void ExpectUndoRedo(const std::vector<std::string>& before, int states)
    {
        view.SaveUndoState();
        view.ClearPendingSteps();
        const std::vector<std::string> after = RecordBytes(doc);
        if (after == before) {
            EXPECT_EQ(view.UndoStateCount(), states) << "no change, no undo state";
            return;
        }
        EXPECT_EQ(view.UndoStateCount(), states + 1);
        for (int round = 0; round < 2; ++round) {
            view.DoUndo();
            EXPECT_EQ(RecordBytes(doc), before) << "one undo restores the list";
            view.DoRedo();
            EXPECT_EQ(RecordBytes(doc), after) << "redo gives the result again";
        }
    }
};

// ---------------------------------------------------------------- add

struct AddRow {
    const char* name;
    std::vector<Piece> selected;  // in selection order
    std::vector<Vertex> want;     // the polyline after; empty: the drawing unchanged
    int joined = 0;
};

void PrintTo(const AddRow& r, std::ostream* os)
{
    *os << r.name;
}

class AddToPLineRows : public PLineEdit, public ::testing::WithParamInterface<AddRow> {};

// The polyline runs (0,0) -> (4,0) -> (4,3).
const std::vector<Vertex> kBase{V(0, 0), V(4, 0), V(4, 3)};

std::vector<Vertex> Then(std::vector<Vertex> front, const std::vector<Vertex>& back)
{
    front.insert(front.end(), back.begin(), back.end());
    return front;
}

TEST_P(AddToPLineRows, Row)
{
    const AddRow& r = GetParam();
    const POSITION pos = AddPLine({Line(0, 0, 4, 0), Line(4, 0, 4, 3)});
    CObject* pl = doc.GetEntityRecord(pos)->m_entity;
    for (const Piece& p : r.selected)
        view.SelectEntity(p.type, p.type == ENT_PLINE ? pos : Append(NewPiece(p)));
    const int count = doc.GetEntityList().GetCount();
    const auto before = RecordBytes(doc);
    const int states = view.UndoStateCount();

    view.AddToPLine(pl, ENT_PLINE, pos);

    if (r.want.empty()) {
        EXPECT_EQ(RecordBytes(doc), before);
    } else {
        EXPECT_EQ(Vertices(LastPLine()), r.want);
        EXPECT_EQ(doc.GetEntityList().GetCount(), count - r.joined) << "joined records leave the drawing";
    }
    ExpectUndoRedo(before, states);
}

const AddRow kAddRows[] = {
    {"line from the end goes last", {Line(4, 3, 6, 3)}, Then(kBase, {V(6, 3)}), 1},
    {"line to the end is turned and goes last", {Line(6, 3, 4, 3)}, Then(kBase, {V(6, 3)}), 1},
    {"line from the start is turned and goes first", {Line(0, 0, -2, 0)}, Then({V(-2, 0)}, kBase), 1},
    {"line to the start goes first", {Line(-2, 0, 0, 0)}, Then({V(-2, 0)}, kBase), 1},
    {"line within the join gap", {Line(4.0009, 3, 6, 3)}, Then(kBase, {V(6, 3)}), 1},
    {"line just beyond the join gap", {Line(4.0011, 3, 6, 3)}, {}},
    {"line touching neither end", {Line(1, 1, 2, 2)}, {}},
    {"line across the middle", {Line(2, -1, 2, 1)}, {}},
    {"line of no length at the end", {Line(4, 3, 4, 3)}, {}},
    {"arc from its start angle at the end", {Arc(4, 4, 1, -kPi / 2, 0)}, Then(kBase, {V(5, 4)}), 1},
    {"arc to its end angle at the end runs backwards", {Arc(5, 3, 1, kPi / 2, kPi)}, Then(kBase, {V(5, 4)}), 1},
    {"arc backwards already keeps running the way it joins", {Arc(5, 3, 1, kPi / 2, kPi, -1)},
     Then(kBase, {V(5, 4)}), 1},
    {"arc from its start angle at the start runs backwards", {Arc(-1, 0, 1, 0, kPi / 2)},
     Then({V(-1, 1)}, kBase), 1},
    {"arc to its end angle at the start", {Arc(0, -1, 1, kPi, 5 * kPi / 2)}, Then({V(-1, -1)}, kBase),
     1},
    {"chain in selection order joins whole", {Line(4, 3, 6, 3), Line(6, 3, 6, 5)},
     Then(kBase, {V(6, 3), V(6, 5)}), 2},
    {"chain out of order: the far line is skipped", {Line(6, 3, 6, 5), Line(4, 3, 6, 3)},
     Then(kBase, {V(6, 3)}), 1},
    {"pieces at both ends", {Line(4, 3, 6, 3), Line(-2, 0, 0, 0)}, Then(Then({V(-2, 0)}, kBase), {V(6, 3)}), 2},
    {"circle at the end is skipped", {Circle(5, 3, 1)}, {}},
    {"the polyline itself in the selection", {kSelf, Line(4, 3, 6, 3)}, Then(kBase, {V(6, 3)}), 1},
    {"nothing selected", {}, {}},
};

INSTANTIATE_TEST_SUITE_P(Cases, AddToPLineRows, ::testing::ValuesIn(kAddRows));

// ---------------------------------------------------------------- close

struct CloseRow {
    const char* name;
    std::vector<Piece> chain;
    std::vector<Vertex> want;  // empty: unchanged
};

void PrintTo(const CloseRow& r, std::ostream* os)
{
    *os << r.name;
}

class ClosePLineRows : public PLineEdit, public ::testing::WithParamInterface<CloseRow> {};

TEST_P(ClosePLineRows, Row)
{
    const CloseRow& r = GetParam();
    const POSITION pos = AddPLine(r.chain);
    const auto before = RecordBytes(doc);
    const int states = view.UndoStateCount();

    view.ClosePLine(doc.GetEntityRecord(pos)->m_entity, ENT_PLINE, pos);

    if (r.want.empty()) {
        EXPECT_EQ(RecordBytes(doc), before);
        EXPECT_EQ(view.UndoStateCount(), states);
        return;
    }
    EXPECT_EQ(doc.GetEntityList().GetCount(), 1);
    EXPECT_EQ(Vertices(LastPLine()), r.want);
    EXPECT_EQ(view.UndoStateCount(), states + 1) << "close saves its own state";
    ExpectUndoRedo(before, states);
}

const CloseRow kCloseRows[] = {
    {"open chain gets its closing line", {Line(0, 0, 4, 0), Line(4, 0, 4, 3)}, {V(0, 0), V(4, 0), V(4, 3), V(0, 0)}},
    {"ends 0.1 apart", {Line(0, 0, 4, 0), Line(4, 0, 0, 0.1)}, {V(0, 0), V(4, 0), V(0, 0.1), V(0, 0)}},
    {"ends 0.000005 apart are closed already", {Line(0, 0, 4, 0), Line(4, 0, 0, 0.000005)}, {}},
    {"ends together are closed already", {Line(0, 0, 4, 0), Line(4, 0, 4, 3), Line(4, 3, 0, 0)}, {}},
    {"chain ending in an arc", {Line(0, 0, 4, 0), Arc(4, 1, 1, -kPi / 2, kPi / 2)},
     {V(0, 0), V(4, 0), V(4, 2), V(0, 0)}},
    {"chain ending in a backwards arc", {Line(0, 0, 4, 0), Arc(4, -1, 1, -kPi / 2, kPi / 2, -1)},
     {V(0, 0), V(4, 0), V(4, -2), V(0, 0)}},
    {"chain starting with a backwards arc", {Arc(0, 1, 1, -kPi / 2, kPi / 2, -1), Line(0, 0, 4, 0)},
     {V(0, 2), V(0, 0), V(4, 0), V(0, 2)}},
    {"a single line goes out and back", {Line(0, 0, 4, 0)}, {V(0, 0), V(4, 0), V(0, 0)}},
    {"empty polyline", {}, {}},
};

INSTANTIATE_TEST_SUITE_P(Cases, ClosePLineRows, ::testing::ValuesIn(kCloseRows));

// ---------------------------------------------------------------- convert

struct ConvertRow {
    const char* name;
    Piece piece;
    std::vector<Vertex> want;  // empty: unchanged
};

void PrintTo(const ConvertRow& r, std::ostream* os)
{
    *os << r.name;
}

class ConvertRows : public PLineEdit, public ::testing::WithParamInterface<ConvertRow> {};

TEST_P(ConvertRows, Row)
{
    const ConvertRow& r = GetParam();
    Append(new CDib(ENT_LINE, NewLine(9, 9, 10, 9)));
    const POSITION pos = Append(NewPiece(r.piece));
    const auto before = RecordBytes(doc);
    const int states = view.UndoStateCount();
    CDib* record = doc.GetEntityRecord(pos);

    view.ConvertToPLine(record->m_entity, record->m_type, pos);

    if (r.want.empty()) {
        EXPECT_EQ(RecordBytes(doc), before);
        EXPECT_EQ(view.UndoStateCount(), states);
        return;
    }
    EXPECT_EQ(doc.GetEntityList().GetCount(), 2);
    EXPECT_EQ(Vertices(LastPLine()), r.want);
    EXPECT_EQ(view.UndoStateCount(), states + 1) << "convert saves its own state";
    ExpectUndoRedo(before, states);
}

const ConvertRow kConvertRows[] = {
    {"line", Line(1, 2, 3, 4), {V(1, 2), V(3, 4)}},
    {"line of no length", Line(1, 2, 1, 2), {V(1, 2), V(1, 2)}},
    {"arc", Arc(0, 0, 2, 0, kPi / 2), {V(2, 0), V(0, 2)}},
    {"backwards arc keeps its run", Arc(0, 0, 2, 0, kPi / 2, -1), {V(0, 2), V(2, 0)}},
    {"circle stays", Circle(0, 0, 2), {}},
};

INSTANTIATE_TEST_SUITE_P(Cases, ConvertRows, ::testing::ValuesIn(kConvertRows));

// A pick whose record has left the list, or whose position names another
// record, changes nothing.
TEST_F(PLineEdit, StaleArgumentsChangeNothing)
{
    const POSITION first = Append(new CDib(ENT_LINE, NewLine(0, 0, 1, 0)));
    const POSITION pl = AddPLine({Line(0, 0, 4, 0)});
    CObject* line = doc.GetEntityRecord(first)->m_entity;
    CObject* polyline = doc.GetEntityRecord(pl)->m_entity;
    const auto before = RecordBytes(doc);
    view.ConvertToPLine(line, ENT_LINE, pl);
    view.ConvertToPLine(polyline, ENT_LINE, pl);
    view.ClosePLine(line, ENT_PLINE, first);
    view.ClosePLine(polyline, ENT_PLINE, nullptr);
    view.SelectEntity(ENT_LINE, first);
    view.AddToPLine(line, ENT_PLINE, first);
    EXPECT_EQ(RecordBytes(doc), before);
    EXPECT_EQ(view.UndoStateCount(), 0);
}

// ---------------------------------------------------------------- explode

struct ExplodeRow {
    const char* name;
    std::vector<int> selected;  // type codes of the drawing's records to select
    int added;                  // records after minus records before, the dimension's aside
};

void PrintTo(const ExplodeRow& r, std::ostream* os)
{
    *os << r.name;
}

class ExplodeRows : public PLineEdit, public ::testing::WithParamInterface<ExplodeRow> {
protected:
    // One record of each kind that explodes, and a line, a circle and an
    // insert of a block the drawing lacks.
    void SetUp() override
    {
        PLineEdit::SetUp();
        AddNamedBlock(doc, "B", {{ENT_LINE, NewLine(0, 0, 1, 0)}, {ENT_CIRCLE, NewCircle(0, 0, 1)}});
        Append(new CDib(ENT_LINE, NewLine(5, 5, 6, 6)));
        Append(new CDib(ENT_CIRCLE, NewCircle(8, 8, 1)));
        AddPLine({Line(0, 0, 4, 0), Arc(4, 1, 1, -kPi / 2, kPi / 2), Line(4, 2, 0, 2)});
        Append(new CDib(ENT_INSERT, NewInsert("B", 3, 3, kPi / 4, 2, 1)));
        Append(new CDib(ENT_INSERT, NewInsert("GONE", 1, 1)));
        const CAcot* dim = doc.AddLinearDim(1, 0, "L", CPointd(1, 5), CPointd(4, 5), CPointd(2, 6));
        // All its parts but the definition line come in; the dimension goes.
        dimensionAdds = dim->m_parts.GetCount() - 2;
    }

    int dimensionAdds = 0;

    // The record of the type after skip others of it.
    POSITION Nth(int type, int skip) const
    {
        for (POSITION pos = doc.GetFirstEntityPosition(); pos; doc.GetEntityList().GetNext(pos))
            if (doc.GetEntityRecord(pos)->m_type == type && skip-- == 0)
                return pos;
        return nullptr;
    }
};

TEST_P(ExplodeRows, Row)
{
    const ExplodeRow& r = GetParam();
    int inserts = 0;
    for (int type : r.selected)
        view.SelectEntity(type, Nth(type, type == ENT_INSERT ? inserts++ : 0));
    const int count = doc.GetEntityList().GetCount();
    const auto before = RecordBytes(doc);
    const int states = view.UndoStateCount();

    view.ExplodeSelection();

    const bool dimension = std::ranges::find(r.selected, int(ENT_DIMENSION)) != r.selected.end();
    EXPECT_EQ(doc.GetEntityList().GetCount(), count + r.added + (dimension ? dimensionAdds : 0));
    ExpectUndoRedo(before, states);
}

const ExplodeRow kExplodeRows[] = {
    {"lines and circles stay", {ENT_LINE, ENT_CIRCLE}, 0},
    {"polyline into its segments", {ENT_PLINE}, 3 - 1},
    {"insert into its block's entities", {ENT_INSERT}, 2 - 1},
    {"insert of a missing block stays", {ENT_INSERT, ENT_INSERT}, 2 - 1},
    {"dimension into all but its definition line", {ENT_DIMENSION}, 0},
    {"every kind at once", {ENT_LINE, ENT_CIRCLE, ENT_PLINE, ENT_INSERT, ENT_DIMENSION}, 2 + 1},
    {"nothing selected", {}, 0},
};

INSTANTIATE_TEST_SUITE_P(Cases, ExplodeRows, ::testing::ValuesIn(kExplodeRows));

// ---------------------------------------------------------------- the new polyline's look

// Every new polyline takes its pen width, colour, layer and extrusion from
// what it replaces, and its pen style from the drawing's current settings.
TEST_F(PLineEdit, NewPolylinesKeepTheSourcesLook)
{
    doc.AddLayer(0, 0)->m_name = "L2";  // off: the new polyline is hidden too
    doc.m_color = RGB(1, 2, 3);
    doc.m_extrusionMode = EXTRUSION_FLAT;
    doc.m_layerName = "0";
    const COLORREF colour = RGB(10, 20, 30);
    const auto look = [&](CEntity& e, int& mode, CPointd& dir) {
        e.m_width = 3;
        e.m_style = 2;
        e.m_color = colour;
        e.m_layer = "L2";
        mode = EXTRUSION_THICK;
        dir = CPointd(0, 1, 0);
    };
    const auto expectLook = [&](const char* what) {
        const CDib* last = doc.GetLastEntityRecord();
        ASSERT_EQ(last->m_type, ENT_PLINE) << what;
        const auto& pl = *static_cast<const CPLine*>(last->m_entity);
        EXPECT_EQ(pl.m_width, 3) << what;
        EXPECT_EQ(pl.m_style, 0) << what;
        EXPECT_EQ(pl.m_color, colour) << what;
        EXPECT_EQ(pl.m_layer, "L2") << what;
        EXPECT_EQ(pl.m_extrusionMode, EXTRUSION_THICK) << what;
        EXPECT_EQ(pl.m_dir.y, 1.0) << what;
        EXPECT_EQ(last->m_visible, 0) << what << ": visible as its layer is";
    };

    CRecta* line = NewLine(0, 0, 4, 0);
    look(*line, line->m_extrusionMode, line->m_dir);
    POSITION pos = Append(new CDib(ENT_LINE, line));
    view.ConvertToPLine(line, ENT_LINE, pos);
    expectLook("convert a line");

    CArc* arc = NewArc(0, 0, 1, 0, 1);
    look(*arc, arc->m_extrusionMode, arc->m_dir);
    pos = Append(new CDib(ENT_ARC, arc));
    view.ConvertToPLine(arc, ENT_ARC, pos);
    expectLook("convert an arc");

    pos = AddPLine({Line(0, 0, 4, 0)});
    auto* pl = static_cast<CPLine*>(doc.GetEntityRecord(pos)->m_entity);
    look(*pl, pl->m_extrusionMode, pl->m_dir);
    view.SelectEntity(ENT_LINE, Append(new CDib(ENT_LINE, NewLine(4, 0, 4, 3))));
    view.AddToPLine(pl, ENT_PLINE, pos);
    expectLook("add");
    view.SaveUndoState();
    view.ClearPendingSteps();
    view.ClearSelection();

    pos = doc.GetLastEntityPosition();
    view.ClosePLine(doc.GetEntityRecord(pos)->m_entity, ENT_PLINE, pos);
    expectLook("close");
    const auto& closed = *static_cast<const CPLine*>(doc.GetLastEntityRecord()->m_entity);
    const auto* closing = static_cast<const CRecta*>(static_cast<const CDib*>(closed.m_segments.GetTail())->m_entity);
    EXPECT_EQ(closing->m_color, colour);
    EXPECT_EQ(closing->m_layer, "L2");
    EXPECT_EQ(closing->m_extrusionMode, EXTRUSION_THICK);
}

// ---------------------------------------------------------------- the commands

// Each command from its starter through its picks (and the right button):
// the drawing after it, no command running, no selection, one undo state
// that one undo takes back and redo gives again.
struct FlowRow {
    const char* name;
    int id;
    std::vector<CPointd> clicks;
    bool right;
    int added;     // records after minus records before
    int segments;  // of the last record, a polyline; -1: not one
};

void PrintTo(const FlowRow& r, std::ostream* os)
{
    *os << r.name;
}

class CommandFlows : public StepsTest, public ::testing::WithParamInterface<FlowRow> {};

TEST_P(CommandFlows, Row)
{
    const FlowRow& r = GetParam();
    Add(ENT_LINE, NewLine(3, 4.5, 3.8, 4.5));  // on from the polyline's end
    const auto before = RecordBytes(doc);
    ASSERT_TRUE(view.OnCommand(r.id));
    for (const CPointd& p : r.clicks)
        Click(p.x, p.y);
    if (r.right)
        Right();

    EXPECT_EQ(view.m_command, CMD_NONE);
    EXPECT_EQ(view.m_mode, MODE_NONE);
    EXPECT_TRUE(view.SelectedRecords().empty());
    EXPECT_EQ(Records() - int(before.size()), r.added);
    if (r.segments >= 0) {
        const CDib* last = doc.GetLastEntityRecord();
        ASSERT_EQ(last->m_type, ENT_PLINE);
        EXPECT_EQ(static_cast<const CPLine*>(last->m_entity)->m_segments.GetCount(), r.segments);
    }
    ASSERT_EQ(view.UndoStateCount(), 1);
    const auto after = RecordBytes(doc);
    view.DoUndo();
    EXPECT_EQ(RecordBytes(doc), before);
    view.DoRedo();
    EXPECT_EQ(RecordBytes(doc), after);
    FreeUndoHistory(view);
}

const FlowRow kFlowRows[] = {
    {"explode an insert", 10114, {{7.5, 3.2}}, true, 2 - 1, -1},
    {"explode a polyline", 10114, {{2, 3}}, true, 2 - 1, -1},
    {"convert an arc", 10115, {{8, 2}}, false, 0, 1},
    {"add the line on from the end", 10116, {{2, 3}, {3.4, 4.5}}, true, -1, 3},
    {"close", 10166, {{2, 3}}, false, 0, 3},
};

INSTANTIATE_TEST_SUITE_P(Commands, CommandFlows, ::testing::ValuesIn(kFlowRows));

}  // namespace

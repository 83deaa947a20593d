// What the command steps do to the drawing: move, copy and stretch of every
// kind with their undo, block insertion, dimension texts, the point list, the
// selection filter, the two-pick commands and ortho while a step suspends it.
#include "dialogs/stepdlg.h"
#include "model/bloq.h"
#include "model/insbl.h"
#include "model/punt.h"
#include "model/transform.h"
#include "platform/archive.h"
#include "support/any_dialog.h"
#include "support/record_bytes.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_forms.h"
#include "steps_fixture.h"
#include "view2d/undo.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace {

class StepEffects : public StepsTest {
protected:
    const CDib* Last() const { return doc.GetLastEntityRecord(); }
};

}  // namespace

TEST_F(StepEffects, MoveCopyAndStretchOfEveryKindUndoExactly)
{
    const std::pair<int, CObject*> kinds[] = {
        {ENT_LINE, line},     {ENT_CIRCLE, circle}, {ENT_ARC, arc},          {ENT_POINT, nullptr},
        {ENT_TEXT, text},     {ENT_PLINE, pline},   {ENT_INSERT, insert},    {ENT_DIMENSION, dim},
        {ENT_3DFACE, face},
    };
    auto* point = new CPunt;
    point->m_point = CPointd(11, 1);
    Add(ENT_POINT, point);
    const std::vector<std::string> before = RecordBytes(doc);
    const StretchWindow window{{{2.5, 0}, {12, 0}, {12, 8}, {2.5, 8}}};  // catches a part of every kind
    for (auto [type, entity] : kinds) {
        SCOPED_TRACE(type);
        if (!entity)
            entity = point;
        const std::function<void()> operations[] = {
            [&] { view.MoveSelection(); },
            [&] { view.CopySelection(); },
            [&] {  // the stretch command's recording around the kind's stretch
                view.RecordSelectionUndo(UNDO_CHANGED);
                for (CDib* record : view.SelectedRecords())
                    if (!StretchEntity(record->m_type, record->m_entity, view.m_firstPoint, view.m_secondPoint,
                                       window))
                        MoveEntity(record->m_type, record->m_entity, view.m_firstPoint, view.m_secondPoint);
                view.SaveUndoState();
                view.ClearPendingSteps();
                view.ClearSelection();
            },
        };
        // An undo of a change swaps the record's entity: the record stays where it is.
        const POSITION pos = PosOf(entity);
        for (std::size_t i = 0; i < std::size(operations); ++i) {
            SCOPED_TRACE(i);
            view.SelectEntity(type, pos);
            view.m_firstPoint = CPointd(1, 1, 0);
            view.m_secondPoint = CPointd(2.5, 1.75, 0.5);
            operations[i]();
            EXPECT_TRUE(RecordBytes(doc) != before) << "the operation changed the drawing";
            view.OnCommand(ID_UNDO);
            EXPECT_TRUE(RecordBytes(doc) == before) << "one undo restores it";
        }
    }
}

TEST_F(StepEffects, CopyFamilyAddsDisplacedCopiesWithTheirSteps)
{
    const CPointd from(0, 0), to(1, 2, 3);
    const int pending = view.m_pendingSteps.GetCount();
    EXPECT_EQ(view.CopyRectaMoved(line, from, to)->m_p1, CPointd(2, 3, 3));
    EXPECT_EQ(view.CopyCircMoved(circle, from, to)->m_centre, CPointd(7, 3.5, 3));
    EXPECT_EQ(view.CopyArcMoved(arc, from, to)->m_end, arc->m_end);
    EXPECT_EQ(view.CopyTextMoved(text, from, to)->m_text, "ABC");
    EXPECT_EQ(view.CopyInsBlMoved(insert, from, to)->m_insert, CPointd(8, 5.2, 3));
    EXPECT_EQ(view.CopyTdfaceMoved(face, from, to)->m_c[2], CPointd(11, 6, 3));
    CPunt p;
    EXPECT_EQ(view.CopyPuntMoved(&p, from, to)->m_point, to);
    EXPECT_EQ(view.CopyPLineMoved(pline, from, to, 1)->PartCount(), 2u);
    EXPECT_EQ(view.CopyAcotMoved(dim, from, to, 1)->PartCount(), dim->PartCount());
    EXPECT_EQ(Last()->m_type, ENT_DIMENSION);
    EXPECT_EQ(view.m_pendingSteps.GetCount(), pending + 9) << "one added step each";
    view.SaveUndoState();
    view.ClearPendingSteps();

    // Any other mode builds into the block-construction list.
    const int records = Records();
    CPLine* inBlock = view.CopyPLineMoved(pline, from, from, 0);
    view.CopyAcotMoved(dim, from, from, 0);
    EXPECT_EQ(Records(), records);
    EXPECT_EQ(view.m_blockList.GetCount(), 2);
    EXPECT_EQ(static_cast<CDib*>(view.m_blockList.GetHead())->m_entity, inBlock);
    view.m_blockList.DeleteAll();

    view.OnCommand(ID_UNDO);
    EXPECT_EQ(Records(), records - 9);
}

TEST_F(StepEffects, DuplicatesStayInPlaceAndTheSelectionStays)
{
    view.SelectEntity(ENT_LINE, PosOf(line));
    view.SelectEntity(ENT_PLINE, PosOf(pline));
    const std::vector<std::string> before = RecordBytes(doc);
    view.DuplicateSelection();
    EXPECT_EQ(view.SelectedRecords().size(), 2u);
    EXPECT_EQ(view.UndoStateCount(), 0) << "the caller closes the state";
    const std::vector<std::string> doubled = RecordBytes(doc);
    EXPECT_EQ(doubled.size(), before.size() + 2);
    for (const CDib* record : view.SelectedRecords()) {
        CArchive ar;
        const_cast<CDib*>(record)->Serialize(ar);
        const std::vector<BYTE> bytes = ar.TakeData();
        EXPECT_EQ(std::ranges::count(doubled, std::string(bytes.begin(), bytes.end())), 2) << "an exact copy";
    }
    view.SaveUndoState();
    view.ClearPendingSteps();
    view.OnCommand(ID_UNDO);
    EXPECT_EQ(RecordBytes(doc), before);
}

TEST_F(StepEffects, BlockDefineCountsWhatItTook)
{
    ScriptedForms forms;
    forms.Expect("BLOQDEF", OkWith({{"name", "TWO"}}));
    view.OnCommand(10081);
    Pick(kLine);
    Pick(kCircle);
    Right();
    Click(1, 1);
    EXPECT_EQ(view.m_selCount, 2);
    const CBloq* block = doc.FindBlock("TWO");
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block->GetEntityList().GetCount(), 2);
}

// ---------------------------------------------------------------- block insertion

class InsertBlock : public StepEffects {
protected:
    class PreviewHost : public CViewHost {
    public:
        void UpdateWindow() override {}
        void SetMouseCapture(bool) override {}
        bool PreviewAtInsert() const override { return true; }
    };
};

TEST_F(InsertBlock, CancelAddsNothing)
{
    const int records = Records();
    ScriptedForms forms;
    forms.Expect("INSERTAR", CancelWith());
    view.OnCommand(10084);
    Click(10, 7);
    EXPECT_EQ(Records(), records);
    EXPECT_EQ(view.m_command, CMD_NONE);
    EXPECT_EQ(view.UndoStateCount(), 0);
}

TEST_F(InsertBlock, ABlockNotNamedLikeZPGoesOnTheLayerOfItsName)
{
    AddNamedBlock(doc, "ZDOOR", {{ENT_LINE, NewLine(0, 0, 1, 1)}});
    doc.m_color = RGB(0, 0, 200);
    const std::string current = doc.m_layerName;
    struct Row {
        const char* block;
        const char* layer;  // null: the current layer
    };
    for (const Row& r : {Row{"B", "B"}, Row{"ZDOOR", nullptr}, Row{"B", "B"}}) {
        SCOPED_TRACE(r.block);
        ScriptedForms forms;
        forms.Expect("INSERTAR", OkWith({{"block", r.block}, {"rotation", "90"}, {"sx", "2"}, {"sy", "3"}}));
        view.OnCommand(10084);
        view.ClickAt(MK_LBUTTON, CPointd(10, 7));
        ASSERT_EQ(Last()->m_type, ENT_INSERT);
        const auto* ins = static_cast<const CInsBl*>(Last()->m_entity);
        EXPECT_EQ(ins->m_block, r.block);
        EXPECT_EQ(ins->m_insert, CPointd(10, 7));
        EXPECT_NEAR(ins->m_rotation, std::acos(-1.0) / 2, 1e-12);
        EXPECT_EQ(ins->m_sx, 2);
        EXPECT_EQ(ins->m_sy, 3);
        EXPECT_EQ(ins->m_layer, r.layer ? r.layer : current);
    }
    int named = 0;
    for (POSITION pos = doc.GetFirstLayerPosition(); pos;) {
        const CLayer* layer = doc.GetNextLayer(pos);
        if (layer->m_name == "B") {
            ++named;
            EXPECT_EQ(layer->m_on, 1);
            EXPECT_EQ(layer->m_color, RGB(0, 0, 200));
        }
    }
    EXPECT_EQ(named, 1) << "made once, found the next time";
    EXPECT_EQ(view.UndoStateCount(), 3);
}

TEST_F(InsertBlock, ABlockItsNameDoesNotFindIsRefused)
{
    // A second block named "B": an insert of it would show the first.
    AddNamedBlock(doc, "B", {{ENT_LINE, NewLine(0, 0, 2, 2)}});
    const int records = Records();
    PreviewHost host;
    view.SetHost(&host);
    ScriptedForms forms;
    forms.Expect("BLOQINSPREV", Press("block1"));
    ScriptedMessageBoxes boxes({IDOK});
    view.OnCommand(10084);
    Click(10, 7);
    view.SetHost(nullptr);
    EXPECT_EQ(Records(), records);
    ASSERT_EQ(boxes.asked.size(), 1u);
    EXPECT_NE(boxes.asked[0].find("B"), std::string::npos);
    EXPECT_EQ(view.m_command, CMD_NONE);
}

TEST_F(InsertBlock, PreviewsShowEveryBlockAndTheChosenOneIsInserted)
{
    AddNamedBlock(doc, "WIDE", {{ENT_LINE, NewLine(0, 0, 10, 1)}});
    PreviewHost host;
    view.SetHost(&host);
    ScriptedForms forms;
    forms.Expect("BLOQINSPREV", Press("block1", {{"sx", "0.5"}}));
    view.OnCommand(10084);
    Click(10, 7);
    view.SetHost(nullptr);
    ASSERT_EQ(forms.shown.size(), 1u);
    ASSERT_EQ(Last()->m_type, ENT_INSERT);
    const auto* ins = static_cast<const CInsBl*>(Last()->m_entity);
    EXPECT_EQ(ins->m_block, "WIDE");
    EXPECT_EQ(ins->m_sx, 0.5);
    EXPECT_EQ(ins->m_sy, 1);
}

// ---------------------------------------------------------------- steps with effects of their own

TEST_F(StepEffects, DimensionTextsMoveAndOneUndoStateCoversThem)
{
    auto textsAt = [&] {
        std::vector<CPointd> at;
        for (POSITION pos = dim->GetFirstPartPosition(); pos;) {
            int type = 0;
            const CObject* part = dim->GetNextPart(pos, type);
            if (type == ENT_TEXT)
                at.push_back(static_cast<const CText*>(part)->m_insert);
        }
        return at;
    };
    const std::vector<std::string> before = RecordBytes(doc);
    const std::vector<CPointd> texts = textsAt();
    ASSERT_FALSE(texts.empty());
    view.OnCommand(10330);
    for (int round = 0; round < 2; ++round) {
        Pick(kDim);
        ASSERT_EQ(view.m_command, CMD_MOVE_DIM_TEXTS_BASE);
        view.ClickAt(MK_LBUTTON, CPointd(6, 7));
        view.ClickAt(MK_LBUTTON, CPointd(6.5, 7.25));
        EXPECT_EQ(view.m_command, CMD_MOVE_DIM_TEXTS);
        EXPECT_EQ(view.m_mode, MODE_PICK);
        dim = static_cast<CAcot*>(doc.GetEntityRecord(PosOf(dim) ? PosOf(dim) : doc.GetLastEntityPosition())->m_entity);
    }
    const std::vector<CPointd> moved = textsAt();
    for (std::size_t i = 0; i < texts.size(); ++i) {
        EXPECT_NEAR(moved[i].x, texts[i].x + 1.0, 1e-9);
        EXPECT_NEAR(moved[i].y, texts[i].y + 0.5, 1e-9);
    }
    EXPECT_EQ(view.UndoStateCount(), 0) << "saved when the command ends";
    Right();
    EXPECT_EQ(view.m_command, CMD_NONE);
    EXPECT_EQ(view.UndoStateCount(), 1);
    view.OnCommand(ID_UNDO);
    EXPECT_TRUE(RecordBytes(doc) == before);

    // Ended by another command instead, the moves are still undone in one.
    view.OnCommand(10330);
    Pick(kDim);
    view.ClickAt(MK_LBUTTON, CPointd(6, 7));
    view.ClickAt(MK_LBUTTON, CPointd(7, 7));
    view.OnCommand(10009);
    EXPECT_EQ(view.UndoStateCount(), 1);
    view.OnCommand(ID_UNDO);
    EXPECT_TRUE(RecordBytes(doc) == before);
}

TEST_F(StepEffects, ObjectElevationChangesThePickedObjectOnOk)
{
    line->m_p1.z = 2;
    line->m_p2.z = 3;
    const POSITION pos = PosOf(line);
    ScriptedForms forms;
    forms.Expect("ZOBJ", OkWith({{"elevation", "5"}, {"thickness", "1.5"}}));
    forms.Expect("ZOBJ", CancelWith({{"elevation", "9"}}));
    view.OnCommand(10379);
    Pick(kLine);
    EXPECT_EQ(doc.m_toolWords[13], ENT_LINE);
    const auto* changed = static_cast<const CRecta*>(doc.GetEntityRecord(pos)->m_entity);
    EXPECT_EQ(changed->m_p1.z, 5);
    EXPECT_EQ(changed->m_p2.z, 6) << "the lower end goes to the elevation";
    EXPECT_EQ(changed->m_thick1, 1.5);
    EXPECT_EQ(changed->m_thick2, 1.5);
    EXPECT_EQ(view.m_mode, MODE_PICK) << "the next object can be picked";
    EXPECT_EQ(view.UndoStateCount(), 1);
    Pick(kArc);  // cancelled
    EXPECT_EQ(arc->m_centre.z, 0);
    EXPECT_EQ(view.UndoStateCount(), 1) << "Cancel records nothing";
    view.OnCommand(ID_UNDO);
    EXPECT_EQ(static_cast<const CRecta*>(doc.GetEntityRecord(pos)->m_entity)->m_p1.z, 2);
}

TEST_F(StepEffects, PointListCollectsAndACancelEmptiesIt)
{
    view.OnCommand(10162);
    view.ClickAt(MK_LBUTTON, CPointd(5, 6));
    view.ClickAt(MK_LBUTTON, CPointd(7, 6));
    view.ClickAt(MK_LBUTTON, CPointd(7, 7.5, 1));
    ASSERT_EQ(view.m_pointList.GetCount(), 3);
    EXPECT_EQ(*static_cast<CPointd*>(view.m_pointList.GetTail()), CPointd(7, 7.5, 0));
    EXPECT_EQ(view.m_command, CMD_AREA_POINTS);
    view.OnCommand(ID_CANCEL_COMMAND);
    EXPECT_TRUE(view.m_pointList.IsEmpty()) << "a new area starts from no points";
}

TEST_F(StepEffects, ReferenceAngleFromAPickedLine)
{
    struct Row {
        double degrees, folded;
    };
    for (const Row& r : {Row{200, 20}, Row{100, 10}, Row{30, 30}, Row{300, 30}}) {
        SCOPED_TRACE(r.degrees);
        const double a = r.degrees * std::acos(-1.0) / 180;
        line->m_p2 = CPointd(line->m_p1.x + 0.8 * std::cos(a), line->m_p1.y + 0.8 * std::sin(a));
        view.Invalidate();
        view.m_pickLine = 1;
        view.ClickAt(MK_LBUTTON, CPointd(line->m_p1.x + 0.4 * std::cos(a), line->m_p1.y + 0.4 * std::sin(a)));
        EXPECT_EQ(view.m_pickLine, 0);
        EXPECT_NEAR(view.m_refAngle * 180 / std::acos(-1.0), r.folded, 1e-9);
    }
}

// ---------------------------------------------------------------- two-pick commands

TEST_F(StepEffects, TheLinePickedFirstIsNotTheSecond)
{
    for (int id : {10101, 10102, 10165, 10067, 10272}) {
        SCOPED_TRACE(id);
        view.OnCommand(id);
        const CommandCode code = view.m_command;
        Pick(kLine);
        EXPECT_EQ(view.SelectedRecords().size(), 1u);
        Pick(kLine);
        EXPECT_EQ(view.m_command, code) << "still waiting for the second line";
        EXPECT_EQ(view.m_mode, MODE_PICK);
        EXPECT_EQ(view.SelectedRecords().size(), 1u) << "not toggled out";
    }
}

TEST_F(StepEffects, ALineThatLeftTheDrawingIsNotActedOn)
{
    for (int id : {10101, 10165, 10067, 10272}) {
        SCOPED_TRACE(id);
        view.OnCommand(id);
        Pick(kLine);
        // Another view's undo takes the first line out of the drawing.
        const POSITION pos = PosOf(line);
        CDib* record = doc.GetEntityRecord(pos);
        doc.RemoveEntityRecord(pos);
        Pick(kLine2);
        EXPECT_NE(view.m_command, CMD_PILLAR_SIDE);
        EXPECT_EQ(view.SelectedRecords().size(), 1u) << "the remaining line counts as the first";
        doc.AppendEntityRecord(record);
        view.CancelCommand();
    }
}

TEST_F(StepEffects, AWallLineThatLeftTheDrawingEndsTheStep)
{
    for (int id : {10267, 10269}) {
        SCOPED_TRACE(id);
        doc.m_toolWords[5] = 0;
        AnyDialog dialogs;
        view.OnCommand(id);
        view.m_pickedLine = line;
        view.m_pickedLineSerial = 0;  // not the line's record any more
        view.m_mode = MODE_NONE;
        tools.calls.clear();
        view.ClickAt(MK_LBUTTON, CPointd(6, 7));
        EXPECT_EQ(view.m_command, CMD_NONE);
        EXPECT_EQ(view.m_mode, MODE_NONE);
        EXPECT_TRUE(tools.calls.empty()) << "no generator ran";
    }
}

// ---------------------------------------------------------------- architectural and 3D steps

// Reference lines that do not meet make no pillar, and the user is told why.
TEST_F(StepEffects, APillarOnParallelLinesSaysWhy)
{
    Add(ENT_LINE, NewLine(1, 0.4, 3, 0.4));
    const int records = Records();
    view.OnCommand(10272);
    Pick(kLine);
    Click(2, 0.4);
    EXPECT_EQ(view.m_command, CMD_NONE);
    EXPECT_EQ(view.m_mode, MODE_NONE);
    EXPECT_EQ(view.m_bandState, 0);
    EXPECT_TRUE(view.SelectedRecords().empty());
    EXPECT_EQ(view.PromptBuffer().substr(0, 39), "Pillar: the reference lines do not meet");
    EXPECT_EQ(Records(), records);
}

// A wall the generator refuses keeps its message on the prompt line, is not
// counted, and the chain goes on from its end point.
TEST_F(StepEffects, AWallNotMadeIsNotCountedInTheChain)
{
    ScriptedForms forms;
    forms.Expect("REGRUESM", OkWith({{"thickness", "0.25"}}));
    view.OnCommand(10257);
    const int records = Records();
    for (const CPointd& p : {CPointd(6, 6.5), CPointd(6, 6.5), CPointd(6, 7)})
        view.ClickAt(MK_LBUTTON, p);
    EXPECT_EQ(view.m_command, CMD_WALL_END);
    EXPECT_EQ(view.PromptBuffer().substr(0, 44), "Walls: the end point lies on the start point");
    EXPECT_EQ(doc.m_wallCounter, 0);
    EXPECT_EQ(Records(), records);

    for (const CPointd& p : {CPointd(8, 6.5), CPointd(8, 7)})
        view.ClickAt(MK_LBUTTON, p);
    EXPECT_EQ(doc.m_wallCounter, 1) << "the first wall of the chain";
    EXPECT_EQ(Records(), records + 2);
    EXPECT_EQ(doc.m_toolPoints[2], CPointd(6, 6.5)) << "the chain starts where this wall does";
    EXPECT_EQ(view.PromptBuffer().substr(0, 9), "To point:");
    Right();
    EXPECT_EQ(view.m_command, CMD_NONE);
}

// Surfaces whose picked axis or profile left the drawing make nothing and say what they miss.
TEST_F(StepEffects, SurfacesWithoutTheirPicksSayWhatTheyMiss)
{
    for (CommandCode code : {CMD_REVOLUTION_PLINE, CMD_TABULATED_PLINE}) {
        view.m_command = code;
        view.m_mode = MODE_NONE;
        view.m_workEntity = line;
        view.m_workSerial = 0;  // not the records any more
        view.m_pickedPolyline = pline;
        view.m_pickedPolylineSerial = 0;
        const int records = Records();
        Click(6, 7);
        EXPECT_EQ(view.m_command, CMD_NONE);
        EXPECT_EQ(Records(), records);
        EXPECT_NE(view.PromptBuffer().find(code == CMD_REVOLUTION_PLINE ? "Revolution:" : "Tab. surface:"),
                  std::string::npos);
    }
}

// ---------------------------------------------------------------- the selection filter

TEST_F(StepEffects, FiltersKeepOnlyWhatPassesAndTheCommandRuns)
{
    struct Row {
        std::vector<std::pair<std::string, std::string>> unticked;
        int erased;
    };
    const Row rows[] = {
        {{}, 3},
        {{{"type2", "0"}}, 2},           // circles pass no more
        {{{"layer:L", "0"}}, 2},         // nor the line on layer L
        {{{"type1", "0"}, {"type3", "0"}}, 1},
    };
    for (const Row& r : rows) {
        const int records = Records();
        view.OnCommand(10450);
        view.OnCommand(ID_FILTERS);
        Pick(kLine);
        Pick(kCircle);
        Pick(kArc);
        ScriptedForms forms;
        forms.Expect("FILTROS", OkWith(r.unticked));
        Right();
        EXPECT_EQ(doc.m_selectionFilter, 0);
        EXPECT_EQ(view.m_command, CMD_NONE) << "the erase ran";
        EXPECT_EQ(records - Records(), r.erased);
        if (r.erased)
            view.OnCommand(ID_UNDO);
    }
    // Cancel keeps the selection as it was.
    view.OnCommand(10450);
    view.OnCommand(ID_FILTERS);
    Pick(kLine);
    ScriptedForms forms;
    forms.Expect("FILTROS", CancelWith({{"type1", "0"}}));
    const int records = Records();
    Right();
    EXPECT_EQ(records - Records(), 1);
}

// ---------------------------------------------------------------- ortho

// Each command that switches ortho off while a point is dragged gives it back
// on every way out: its last point, a cancel, another command, an undo.
TEST_F(StepEffects, SuspendedOrthoComesBackOnEveryWayOut)
{
    struct Row {
        const char* name;
        std::function<void()> toSuspended;  // ends with ortho overridden
        std::function<void()> finish;       // the command's own last input
        int during;                         // ortho while suspended; -1 as before
    };
    auto clicks = [&](int n) {
        return [this, n] {
            for (int i = 0; i < n; ++i)
                view.ClickAt(MK_LBUTTON, CPointd(6 + i, 6.5 + 0.25 * i));
        };
    };
    const Row rows[] = {
        {"metafile copy", [&] { view.OnCommand(10348); clicks(1)(); }, clicks(1), 0},
        {"print", [&] { view.OnCommand(ID_FILE_PRINT); clicks(1)(); }, clicks(1), 0},
        {"print preview", [&] { view.OnCommand(ID_FILE_PRINT_PREVIEW); clicks(1)(); }, clicks(1), 0},
        {"section", [&] { view.OnCommand(10385); clicks(2)(); }, clicks(1), -1},
        {"wall", [&] { view.OnCommand(10257); clicks(2)(); }, clicks(1), 0},
        {"pillar", [&] { view.OnCommand(10272); Pick(kLine); Pick(kLine2); }, clicks(1), 0},
        {"L joint", [&] { view.OnCommand(10261); Pick(kLine); Pick(kLine2); Right(); }, clicks(1), 0},
        {"focal plane", [&] { view.OnCommand(10362); }, clicks(1), 1},
    };
    const std::function<void()> exits[] = {
        [&] { view.OnCommand(ID_CANCEL_COMMAND); },
        [&] { view.OnCommand(10009); },
        [&] { view.OnCommand(ID_UNDO); },
        [&] { view.OnChar(3); },
    };
    for (const Row& r : rows) {
        for (int orthoBefore : {0, 1}) {
            for (std::size_t e = 0; e <= std::size(exits); ++e) {
                SCOPED_TRACE(std::string(r.name) + " ortho " + std::to_string(orthoBefore) + " exit " +
                             std::to_string(e));
                AnyDialog dialogs;
                view.CancelCommand();
                doc.m_ortho = orthoBefore;
                view.m_refAngle = 0.125;
                r.toSuspended();
                EXPECT_EQ(doc.m_ortho, r.during < 0 ? orthoBefore : r.during);
                (e < std::size(exits) ? exits[e] : r.finish)();
                if (e == std::size(exits))
                    view.CancelCommand();  // a wall chain goes on after its wall
                EXPECT_EQ(doc.m_ortho, orthoBefore);
                EXPECT_EQ(view.m_refAngle, 0.125);
            }
        }
    }
}

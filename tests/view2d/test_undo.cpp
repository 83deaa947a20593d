// Undo history: limits, redo, step order, ownership across views.
#include "model/dib.h"
#include "model/recta.h"
#include "view2d/undo.h"
#include "support/scripted_dialogs.h"
#include "support/stored.h"
#include "view_fixture.h"

#include <QTemporaryDir>

#include <memory>

namespace {

// Counts live instances, so every record is seen freed exactly once.
struct CountedLine : CRecta {
    static inline int live = 0;  // every test ends with 0
    CountedLine() { ++live; }
    ~CountedLine() override { --live; }
};

void Close(CRectaView& v)
{
    v.SaveUndoState();
    v.ClearPendingSteps();
}

CDib* AddLine(CRectaView& v, double y)
{
    auto* line = new CountedLine;
    line->m_p1 = CPointd(1, y);
    line->m_p2 = CPointd(9, y);
    auto* dib = new CDib(ENT_LINE, line);
    v.AddUndoStep(1, ENT_LINE, dib, v.GetDocument()->AppendEntityRecord(dib));
    Close(v);
    return dib;
}

// Records an erase step and takes the record out, leaving the state open.
void EraseLine(CRectaView& v, CDib* dib)
{
    CRectaDoc* doc = v.GetDocument();
    v.AddUndoStep(-1, ENT_LINE, dib, doc->FindEntityRecord(dib));
    doc->DrawInAllViews(0, dib);
    doc->RemoveEntityRecord(doc->FindEntityRecord(dib));
}

// Records a change step, then moves the line by dx.
void MoveLine(CRectaView& v, CDib* dib, double dx)
{
    v.AddUndoStep(0, ENT_LINE, dib, v.GetDocument()->FindEntityRecord(dib));
    static_cast<CRecta*>(dib->m_entity)->m_p1.x += dx;
}

double X1(const CDib* dib) { return static_cast<const CRecta*>(dib->m_entity)->m_p1.x; }

class UndoTest : public ViewTest {
protected:
    void TearDown() override
    {
        FreeUndoHistory(view);
        doc.DeleteContents();
        EXPECT_EQ(CountedLine::live, 0);
        ViewTest::TearDown();
    }
    bool InList(const CDib* dib) const { return doc.FindEntityRecord(dib) != nullptr; }
};

}  // namespace

TEST_F(UndoTest, KeepsNinetyNineStates)
{
    for (int i = 0; i < 120; ++i)
        AddLine(view, 1 + i % 6);
    EXPECT_EQ(view.UndoStateCount(), 99);
    for (int i = 0; i < 99; ++i)
        view.DoUndo();
    view.DoUndo();
    EXPECT_EQ(Pane(0), "Can not undo");
    EXPECT_EQ(Count(), 21);
}

TEST_F(UndoTest, RedoAndDiscardRules)
{
    CDib* a = AddLine(view, 1);
    AddLine(view, 2);
    view.DoUndo();
    view.DoUndo();
    EXPECT_EQ(Count(), 0);
    view.DoRedo();  // only the state undone last comes back
    EXPECT_TRUE(InList(a));
    EXPECT_EQ(view.UndoStateCount(), 1);
    EXPECT_EQ(CountedLine::live, 1) << "the discarded state freed its line";
    view.DoRedo();
    EXPECT_EQ(Pane(0), "Can not redo              ");

    AddLine(view, 3);
    view.DoUndo();
    AddLine(view, 4);  // discards the undone state
    EXPECT_EQ(CountedLine::live, 2);
    EXPECT_EQ(view.UndoStateCount(), 2);
}

TEST_F(UndoTest, NothingChangedRecordsNoState)
{
    AddLine(view, 1);
    AddLine(view, 2);
    view.DoUndo();
    view.SaveUndoState();  // nothing pending
    EXPECT_EQ(view.UndoStateCount(), 2);
    EXPECT_EQ(view.m_undone, 1);

    view.OnCommand(10450);  // Erase with nothing selected
    view.OnRButtonDown(MK_RBUTTON, CPoint{5, 5});
    EXPECT_EQ(view.m_command, CMD_NONE);
    EXPECT_EQ(view.UndoStateCount(), 2);
    view.OnCommand(ID_REDO);
    EXPECT_EQ(Count(), 2) << "the undone state was still waiting for redo";
}

TEST_F(UndoTest, UndoAndRedoMarkTheDrawingModified)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("u.zpd").toStdString();
    doc.SetTitle("u.zpd");
    view.OnCommand(10065);
    view.OnLButtonDown(MK_LBUTTON, At(3, 3));  // a point
    for (int id : {ID_UNDO, ID_REDO}) {
        SCOPED_TRACE(id);
        ASSERT_TRUE(doc.OnSaveDocument(path));
        ASSERT_FALSE(doc.IsModified());
        view.OnCommand(id);
        ScriptedMessageBoxes boxes({IDCANCEL});
        EXPECT_FALSE(doc.SaveModified()) << "closing asks to save";
        EXPECT_EQ(boxes.asked.size(), 1u);
    }
    ASSERT_TRUE(doc.OnSaveDocument(path));
    view.OnCommand(ID_REDO);  // nothing to redo: nothing changed
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(UndoTest, StepsReverseInOrder)
{
    CDib* twice = AddLine(view, 1);
    CDib* gone = AddLine(view, 2);
    MoveLine(view, twice, 5);
    MoveLine(view, twice, 7);
    MoveLine(view, gone, 3);
    EraseLine(view, gone);
    Close(view);
    view.DoUndo();
    EXPECT_DOUBLE_EQ(X1(twice), 1);
    ASSERT_TRUE(InList(gone));
    EXPECT_DOUBLE_EQ(X1(gone), 1);
    EXPECT_EQ(doc.GetLastEntityRecord(), gone) << "an erased record comes back at the end";
    view.DoRedo();
    EXPECT_DOUBLE_EQ(X1(twice), 13);
    EXPECT_FALSE(InList(gone));
}

TEST_F(UndoTest, ErasedRecordsComeBackInStepOrder)
{
    CDib* lines[5];
    for (int i = 0; i < 5; ++i)
        lines[i] = AddLine(view, i);
    const std::vector<BYTE> before = Stored(doc);
    for (int i = 2; i < 5; ++i)
        EraseLine(view, lines[i]);
    Close(view);
    view.DoUndo();
    EXPECT_EQ(Stored(doc), before) << "the file as before the erase";
}

TEST_F(UndoTest, DroppedStatesFreeWhatOnlyTheyHold)
{
    EraseLine(view, AddLine(view, 1));
    Close(view);
    MoveLine(view, AddLine(view, 2), 1);
    Close(view);
    for (int i = 0; i < 98; ++i)
        AddLine(view, 3);
    EXPECT_EQ(CountedLine::live, 99) << "the erased line went with its state";
    // An abandoned operation frees what it erased.
    EraseLine(view, AddLine(view, 4));
    view.ClearPendingSteps();
    EXPECT_EQ(CountedLine::live, 99);
}

TEST_F(UndoTest, TwoViewsNeverShareARecord)
{
    CRectaView other;
    Open(doc, other);

    CDib* l = AddLine(view, 1);
    MoveLine(other, l, 2);
    Close(other);
    EraseLine(other, l);  // the other view's erase step holds l
    Close(other);
    view.DoUndo();
    view.DoRedo();
    EXPECT_FALSE(InList(l));
    other.DoUndo();
    EXPECT_EQ(Count(), 1);
    ASSERT_GT(Ink(), 0);

    view.DoUndo();  // now this view's add step holds l
    EXPECT_EQ(Count(), 0);
    EXPECT_EQ(Ink(), 0);
    other.DoRedo();
    other.DoUndo();  // not the erase step's to put back
    other.DoUndo();  // the change is skipped
    EXPECT_EQ(Count(), 0);

    FreeUndoHistory(other);
    EXPECT_EQ(CountedLine::live, 1);
    view.DoRedo();
    ASSERT_EQ(Count(), 1);
    EXPECT_DOUBLE_EQ(X1(l), 3);
    doc.RemoveView(&other);
}

// View A moves a line, view B erases it, and each undoes and redoes in turn: a
// step that undo skipped is skipped by its redo, and the other way round.
TEST_F(UndoTest, SkippedStepsStaySkipped)
{
    CRectaView other;
    Open(doc, other);
    CDib* l = AddLine(view, 1);

    MoveLine(view, l, 2);
    Close(view);
    EraseLine(other, l);
    Close(other);
    view.DoUndo();  // skipped: the line is gone
    other.DoUndo();
    ASSERT_TRUE(InList(l));
    EXPECT_DOUBLE_EQ(X1(l), 3);
    view.DoRedo();  // skipped as its undo was
    EXPECT_DOUBLE_EQ(X1(l), 3);

    MoveLine(view, l, 4);
    Close(view);
    view.DoUndo();
    EXPECT_DOUBLE_EQ(X1(l), 3);
    other.DoRedo();  // the line is erased again
    view.DoRedo();   // skipped: nothing to move
    other.DoUndo();
    EXPECT_DOUBLE_EQ(X1(l), 3);
    view.DoUndo();  // its redo was skipped, so there is nothing to undo
    EXPECT_DOUBLE_EQ(X1(l), 3);
    view.DoRedo();
    EXPECT_DOUBLE_EQ(X1(l), 7) << "undone and redone as a pair";

    FreeUndoHistory(other);
    doc.RemoveView(&other);
}

TEST(UndoLifetime, ViewOutlivesItsDocument)
{
    CRectaView view;
    auto doc = std::make_unique<CRectaDoc>();
    doc->OnNewDocument();
    doc->AddView(&view);
    CDib* a = AddLine(view, 1);
    CDib* b = AddLine(view, 2);
    MoveLine(view, a, 1);
    Close(view);
    EraseLine(view, b);
    Close(view);
    MoveLine(view, a, 1);  // pending when the document goes
    doc.reset();
    EXPECT_EQ(CountedLine::live, 1);
    FreeUndoHistory(view);
    EXPECT_EQ(CountedLine::live, 0);
}

// Undo puts back a line on a hidden layer without drawing it.
TEST_F(UndoTest, HiddenRecordsComeBackUndrawn)
{
    CDib* hidden = AddLine(view, 5);
    hidden->m_visible = 0;
    EraseLine(view, hidden);
    Close(view);
    EXPECT_EQ(Ink(), 0);
    view.DoUndo();
    EXPECT_TRUE(InList(hidden));
    EXPECT_EQ(Ink(), 0);
}

// A plan view over drawings written as short texts (support/sketch.h), for
// tables of editing cases: each runs an operation, compares the drawing with
// the one expected, then undoes it (the records come back byte for byte) and
// redoes it.
#pragma once

#include "support/scripted_forms.h"
#include "support/record_bytes.h"
#include "support/sketch.h"
#include "view_fixture.h"

#include <string>
#include <vector>

using Texts = std::vector<std::string>;

class EditTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        doc.m_ortho = 0;
        doc.m_gridStep = 0;
    }

    POSITION Pos(int i) const { return doc.GetEntityList().FindIndex(i); }
    CDib* Rec(int i) const { return doc.GetEntityRecord(Pos(i)); }

    void SelectAll()
    {
        for (int i = 0; i < doc.GetEntityList().GetCount(); ++i)
            view.SelectEntity(Rec(i)->m_type, Pos(i));
    }

    // Whether an operation that changes nothing leaves an undo state.
    enum UnchangedState { kNoState, kStateAlways };

    // Runs op on the drawing and checks the result, then one undo and one redo.
    template <class Op>
    void Expect(const Texts& before, const Texts& after, Op op)
    {
        Expect(before, after, kNoState, op);
    }
    template <class Op>
    void Expect(const Texts& before, const Texts& after, UnchangedState unchanged, Op op)
    {
        sketch::Sketch(doc, before);
        const auto bytesBefore = RecordBytes(doc);
        const int states = view.UndoStateCount();
        op();
        EXPECT_EQ(sketch::Drawing(doc), sketch::Sorted(after));
        const auto bytesAfter = RecordBytes(doc);
        if (bytesAfter == bytesBefore && unchanged == kNoState) {
            EXPECT_EQ(view.UndoStateCount(), states) << "no change, no undo state";
            return;
        }
        ASSERT_EQ(view.UndoStateCount(), states + 1);
        view.DoUndo();
        EXPECT_EQ(RecordBytes(doc), bytesBefore) << "undo";
        view.DoRedo();
        EXPECT_EQ(RecordBytes(doc), bytesAfter) << "redo";
        EXPECT_EQ(sketch::Drawing(doc), sketch::Sorted(after));
    }

    // The command runs on the two selected lines, picked at k1 and k2.
    void RunTwoLines(CommandCode code, const CPointd& k1, const CPointd& k2)
    {
        view.SelectEntity(ENT_LINE, Pos(0));
        view.SelectEntity(ENT_LINE, Pos(1));
        view.m_firstPoint = k1;
        view.m_secondPoint = k2;
        view.m_command = code;
        view.m_mode = MODE_NONE;
        view.OnLButtonDown(MK_LBUTTON, At(9, 9));
        EXPECT_EQ(view.m_command, CMD_NONE);
        EXPECT_EQ(view.GetFirstSelectedPosition(), nullptr);
    }

    ScriptedForms forms;
};

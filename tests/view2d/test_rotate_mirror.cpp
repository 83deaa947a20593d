// Rotate and mirror of the selection, end to end through the view's handlers.
#include "model/circ.h"
#include "model/dib.h"
#include "model/recta.h"
#include "support/scripted_forms.h"
#include "view_fixture.h"

#include <cmath>
#include <numbers>

namespace {

class RotateMirror : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        doc.m_ortho = 0;
        doc.m_gridStep = 0.5;
        line = AddLine(CPointd(1, 1), CPointd(3, 1));
        arc = doc.AddArc();
        arc->m_centre = CPointd(2, 3);
        arc->m_rx = arc->m_ry = 1.0;
        arc->m_end = std::numbers::pi / 2;
        // Outside the selection window: a mirror line and a circle.
        AddLine(CPointd(5, 0), CPointd(5, 6));
        CCirc* c = doc.AddCirc();
        c->m_centre = CPointd(7, 1);
        c->m_rx = c->m_ry = 0.5;
    }
    CRecta* AddLine(const CPointd& a, const CPointd& b)
    {
        CRecta* l = doc.AddRecta();
        l->m_p1 = a;
        l->m_p2 = b;
        return l;
    }
    void SelectAllFor(int id)
    {
        view.OnCommand(id);
        Click(0.3, 0.3);
        Click(4, 4.5);
        view.OnRButtonDown(MK_RBUTTON, CPoint{5, 5});
    }
    CDib* Record(int i) const { return static_cast<CDib*>(doc.GetEntityList().GetAt(doc.GetEntityList().FindIndex(i))); }
    static void Near(const CPointd& a, const CPointd& b) { EXPECT_LT(std::hypot(a.x - b.x, a.y - b.y), 1e-9); }
    CRecta* line = nullptr;
    CArc* arc = nullptr;
    ScriptedForms forms;
};

}  // namespace

TEST_F(RotateMirror, RotateAboutClickedPointThenUndo)
{
    forms.Expect("AGIRO", OkWith({{"angle", "90"}}));
    SelectAllFor(10058);
    EXPECT_EQ(view.m_command, CMD_ROTATE_CENTRE);
    Click(1, 1);
    EXPECT_EQ(view.m_command, CMD_NONE);
    EXPECT_EQ(doc.GetEntityList().GetCount(), 4);
    // "+ in clockwise": 90 turns (3,1) about (1,1) down to (1,-1).
    Near(line->m_p1, CPointd(1, 1));
    Near(line->m_p2, CPointd(1, -1));
    Near(arc->m_centre, CPointd(3, 0));
    EXPECT_EQ(view.UndoStateCount(), 1);
    EXPECT_EQ(view.GetFirstSelectedPosition(), nullptr);
    view.OnCommand(ID_UNDO);
    Near(static_cast<CRecta*>(Record(0)->m_entity)->m_p2, CPointd(3, 1));
}

TEST_F(RotateMirror, RotateWithCopyTurnsSourcesAndKeepsCopiesInPlace)
{
    forms.Expect("AGIRO", OkWith({{"angle", "90"}}));
    SelectAllFor(10061);
    EXPECT_EQ(view.m_command, CMD_ROTATE_COPY_CENTRE);
    Click(1, 1);
    ASSERT_EQ(doc.GetEntityList().GetCount(), 6);
    Near(line->m_p2, CPointd(1, -1));
    ASSERT_EQ(Record(4)->m_type, ENT_LINE);
    Near(static_cast<CRecta*>(Record(4)->m_entity)->m_p2, CPointd(3, 1));
    EXPECT_EQ(view.UndoStateCount(), 1);
    view.OnCommand(ID_UNDO);
    EXPECT_EQ(doc.GetEntityList().GetCount(), 4);
    Near(static_cast<CRecta*>(Record(0)->m_entity)->m_p2, CPointd(3, 1));
}

TEST_F(RotateMirror, MirrorArcNeedsALineAndSwapsItsEnds)
{
    SelectAllFor(10059);
    EXPECT_EQ(view.m_command, CMD_MIRROR_LINE);
    Click(7.5, 1);  // a circle is no mirror line
    EXPECT_EQ(view.m_command, CMD_MIRROR_LINE);
    Near(arc->m_centre, CPointd(2, 3));
    Click(5, 2);
    EXPECT_EQ(view.m_command, CMD_NONE);
    Near(arc->m_centre, CPointd(8, 3));
    Near(arc->StartPoint(), CPointd(8, 4));
    Near(arc->EndPoint(), CPointd(7, 3));
    EXPECT_EQ(arc->m_arcWord, 0);
    Near(line->m_p1, CPointd(9, 1));
    EXPECT_EQ(view.UndoStateCount(), 1);
    EXPECT_EQ(view.GetFirstSelectedPosition(), nullptr);
}

TEST_F(RotateMirror, MirrorWithCopyLeavesTheOriginal)
{
    SelectAllFor(10062);
    EXPECT_EQ(view.m_command, CMD_MIRROR_COPY_LINE);
    Click(5, 2);
    ASSERT_EQ(doc.GetEntityList().GetCount(), 6);
    Near(arc->m_centre, CPointd(8, 3));
    ASSERT_EQ(Record(5)->m_type, ENT_ARC);
    Near(static_cast<CArc*>(Record(5)->m_entity)->m_centre, CPointd(2, 3));
    view.OnCommand(ID_UNDO);
    EXPECT_EQ(doc.GetEntityList().GetCount(), 4);
}

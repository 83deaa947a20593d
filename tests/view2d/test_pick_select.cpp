// Pick distances, nearest-entity picking and the selection list.
#include "model/circ.h"
#include "model/dib.h"
#include "model/hatch.h"
#include "model/punt.h"
#include "model/recta.h"
#include "model/text.h"
#include "view2d/pickdist.h"
#include "view_fixture.h"

#include <cmath>
#include <numbers>

namespace {

class SelectTest : public ViewTest {
protected:
    POSITION At(int i) const { return doc.GetEntityList().FindIndex(i); }
    POSITION Last() const { return doc.GetLastEntityPosition(); }
};

// "AB" at height 1: box (x, y)-(x + 1.62, y + 1.35).
void SetText(CText& t, double x, double y)
{
    t.m_text = "AB";
    t.m_font.lfHeight = 100;
    t.m_insert = CPointd(x, y);
}

}  // namespace

TEST(PickDist, EachKindMeasuresOnlyWhereItQualifies)
{
    CRecta line;
    line.m_p2 = CPointd(10, 0);
    double d = -1;
    EXPECT_FALSE(PickDistRecta(line, CPointd(10.01, 0.001), d)) << "beyond the end, however close";
    ASSERT_TRUE(PickDistRecta(line, CPointd(4, -0.5), d));
    EXPECT_DOUBLE_EQ(d, 0.5);

    CCirc circ;
    circ.m_rx = 5;
    EXPECT_DOUBLE_EQ(PickDistCirc(circ, CPointd(0, 0)), 5.0);

    CArc arc;  // through angle 0, from 3pi/2 round to pi/2
    arc.m_rx = 2;
    arc.m_start = 3 * std::numbers::pi / 2;
    arc.m_end = std::numbers::pi / 2;
    d = -1;
    EXPECT_FALSE(PickDistArc(arc, CPointd(-2, 0), d));
    EXPECT_EQ(d, -1);
    ASSERT_TRUE(PickDistArc(arc, CPointd(2.25, 0), d));
    EXPECT_DOUBLE_EQ(d, 0.25);

    CText text;
    SetText(text, 0, 0);
    EXPECT_FALSE(PickDistText(text, CPointd(0.5, -0.01), d)) << "just below the box";
    ASSERT_TRUE(PickDistText(text, CPointd(1.6, 1.3), d));
    EXPECT_EQ(d, 0.0);
}

TEST_F(SelectTest, PickNearestWithinTheAperture)
{
    // Aperture 8 px at 100/3 px per unit: 0.24 units.
    LineFrom(1, 1, 11, 1);
    LineFrom(1, 1.25, 11, 1.25);
    EXPECT_EQ(Pick(5, 0.75), nullptr) << "0.25 away";
    EXPECT_EQ(Pick(5, 0.8), At(0));
    EXPECT_EQ(Pick(5, 1.125), At(0)) << "equal distances keep the earlier record";
    EXPECT_EQ(Pick(5, 1.2), At(1));

    CText* t = doc.AddText();
    SetText(*t, 4, 0.5);  // over both lines
    CObject* e = nullptr;
    int type = 0;
    EXPECT_EQ(view.PickNearestEntity(CPointd(5, 1.01), e, type), Last()) << "inside a text beats a nearer line";
    EXPECT_EQ(e, t);
    EXPECT_EQ(type, ENT_TEXT);

    doc.GetEntityRecord(Last())->m_visible = 0;
    EXPECT_EQ(Pick(5, 1.01), At(0));
    for (double s : {0.0, -1.0, std::nan(""), HUGE_VAL}) {
        view.m_scale = s;
        EXPECT_EQ(Pick(5, 1.01), nullptr) << s;
    }
}

TEST_F(SelectTest, WindowAndCrossingToggle)
{
    LineFrom(2, 2, 4, 2);                         // inside (1,1)-(6,5)
    LineFrom(5, 3, 9, 3);                         // crosses its right side
    doc.AddPunt()->m_point = CPointd(3, 4);       // inside
    CCirc* c = doc.AddCirc();                     // crosses the top
    c->m_centre = CPointd(3, 5);
    c->m_rx = 0.5;
    SetText(*doc.AddText(), 2, 3.2);              // inside
    CArc* a = doc.AddArc();                       // inside, its centre not
    a->m_centre = CPointd(3.5, -7);
    a->m_rx = a->m_ry = 10;
    a->m_start = 1.47;
    a->m_end = 1.67;
    auto selected = [&] {
        std::string s;
        for (int i = 0; i < 6; ++i)
            s += view.FindSelected(At(i)) ? '1' : '0';
        return s;
    };

    view.SelectByWindow(0, CPointd(6, 1), CPointd(1, 5));
    EXPECT_EQ(selected(), "101011");

    view.SelectByWindow(1, CPointd(1, 1), CPointd(6, 5));
    EXPECT_EQ(selected(), "010100") << "what was selected toggles off";
    view.UnhighlightSelection();
    EXPECT_EQ(view.m_selCount, 2);
}

TEST_F(SelectTest, RemovedRecordsAndHatches)
{
    LineFrom(1, 1, 2, 2);
    LineFrom(3, 3, 4, 4);
    doc.AppendEntityRecord(new CDib(ENT_HATCH, new CHatch(1, 0, "ZP", HATCH_SOLID, CPointd(3.5, 3.5))));
    EXPECT_EQ(Pick(3.5, 3.5), At(1)) << "a hatch is never picked, even at its seed";
    view.SelectEntity(ENT_HATCH, Last());
    view.ToggleSelection(ENT_LINE, At(0));
    view.ToggleSelection(ENT_LINE, At(1));

    CDib* gone = doc.GetEntityRecord(At(1));
    doc.RemoveEntityRecord(At(1));
    delete gone;
    view.UnhighlightSelection();
    EXPECT_EQ(view.m_selCount, 2);
    POSITION node = view.GetFirstSelectedPosition();
    view.GetNextSelected(node);
    view.GetNextSelected(node);
    EXPECT_EQ(view.GetNextSelected(node)->m_kind, ENT_HATCH) << "hatches go last";

    view.ClearSelection();
    EXPECT_TRUE(view.m_selection.IsEmpty());
    EXPECT_FALSE(view.FindSelected(Last()));
}

TEST_F(SelectTest, ToggleDrawsDottedThenNormal)
{
    CRecta* l = LineFrom(1, 4, 11, 4);
    l->m_color = RGB(255, 0, 0);
    const QImage normal = view.Image().copy();
    view.EraseEntity(ENT_LINE, l);
    view.ToggleSelection(ENT_LINE, Last());
    const QImage dotted = view.Image().copy();
    EXPECT_NE(dotted, normal);
    view.ToggleSelection(ENT_LINE, Last());
    EXPECT_EQ(view.Image(), normal);

    l->m_layer = "off";
    doc.AddLayer(0, 0)->m_name = "off";
    view.ToggleSelection(ENT_LINE, Last());
    view.ToggleSelection(ENT_LINE, Last());
    EXPECT_EQ(view.Image(), dotted) << "not redrawn while its layer is off";
}

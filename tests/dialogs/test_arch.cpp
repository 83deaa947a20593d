#include "app/rectaapp.h"
#include "arch/archgen.h"
#include "arch/archgeom.h"
#include "dialogs/archdlg.h"
#include "doc/rectadoc.h"
#include "model/recta.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_forms.h"

#include <gtest/gtest.h>

#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;

CRecta Line(CPointd a, CPointd b)
{
    CRecta line;
    line.m_p1 = a;
    line.m_p2 = b;
    return line;
}

}  // namespace

TEST(ArchGeometry, PointsAndAngles)
{
    CPointd p(1, 2, 5);
    PolarPoint(p, 2.0, kPi / 2, p);  // out aliases in
    EXPECT_NEAR(p.x, 1.0, 1e-12);
    EXPECT_DOUBLE_EQ(p.y, 4.0);
    EXPECT_EQ(p.z, 5.0);

    EXPECT_DOUBLE_EQ(DistancePoints(CPointd(0, 0, 0), CPointd(3, 4, 100)), 5.0);

    EXPECT_EQ(AnglePoints(CPointd(1, 1), CPointd(2, 1)), 0.0);
    EXPECT_DOUBLE_EQ(AnglePoints(CPointd(1, 1), CPointd(0, 1)), kPi);
    EXPECT_DOUBLE_EQ(AnglePoints(CPointd(0, 0), CPointd(0, -1)), 1.5 * kPi);
    EXPECT_EQ(AnglePoints(CPointd(2, 2, 0), CPointd(2, 2, 9)), 0.0);
    const double nearlyFull = AnglePoints(CPointd(0, 0), CPointd(1, -1e-300));
    EXPECT_GE(nearlyFull, 0.0);
    EXPECT_LT(nearlyFull, 2 * kPi);

    CPointd m(0, 0, 0);
    MidPoint(CPointd(0, 2, 4), CPointd(2, 6, 0), m);
    EXPECT_EQ(m, CPointd(1, 4, 2));
}

TEST(ArchGeometry, PerpendicularFoot)
{
    const CRecta line = Line(CPointd(0, 0, 0), CPointd(4, 0, 2));
    CPointd foot;
    EXPECT_DOUBLE_EQ(PerpendicularFoot(CPointd(1, 3, 0), line, foot), 3.0);
    EXPECT_EQ(foot, CPointd(1, 0, 0.5));

    // Beyond the segment: the carrier still counts.
    EXPECT_DOUBLE_EQ(PerpendicularFoot(CPointd(-2, -1, 0), line, foot), 1.0);
    EXPECT_EQ(foot, CPointd(-2, 0, -1));

    CPointd p(3, 3, 0);
    EXPECT_DOUBLE_EQ(PerpendicularFoot(p, Line(CPointd(0, 0), CPointd(2, 2)), p), 0.0);
    EXPECT_EQ(p, CPointd(3, 3, 0));

    CPointd untouched(7, 7, 7);
    EXPECT_EQ(PerpendicularFoot(CPointd(1, 1), Line(CPointd(5, 5, 0), CPointd(5, 5, 3)), untouched), 0.0);
    EXPECT_EQ(untouched, CPointd(7, 7, 7));
}

TEST(ArchDialogs, DoorAndWindowParameters)
{
    CRectaDoc doc;
    doc.OnNewDocument();
    ScriptedMessageBoxes boxes({IDOK});
    ScriptedForms forms;
    forms.Expect("PARPUERT2", OkWith({{"width", "0"}}))
        .Expect("PARPUERT2", OkWith({{"width", "0.9"}, {"mode", "1"}}))
        .Expect("HOJAS", OkWith({{"width2", "0.4"}}))
        .Expect("PARVENT2", OkWith({{"option", "0"}, {"leaves", "2"}, {"sill", "1.2"}}))
        .Expect("PARVENT2", CancelWith({{"leaves", "4"}}));

    EXPECT_EQ(RunSimpleHojaDlg(&doc), 1);
    EXPECT_EQ(forms.shown[0].values["width"], "0.725");
    EXPECT_EQ(forms.shown[0].values["mode"], "2");
    EXPECT_EQ(boxes.asked.at(0), "Door Width (m.) must be greater than 0.");
    EXPECT_EQ(doc.m_toolReals[4], 0.9);
    EXPECT_EQ(doc.m_toolWords[TW_DOOR_PARAMS], 1);

    EXPECT_EQ(RunHOJASDlg(&doc), 1);
    EXPECT_EQ(forms.shown[2].values["width"], "0.900");
    EXPECT_EQ(doc.m_toolReals[7], 0.4);

    EXPECT_EQ(RunSTANDARDDlg(&doc), 1);
    EXPECT_EQ(forms.shown[3].values["option"], "1");
    EXPECT_EQ(doc.m_toolWords[4], 0);
    EXPECT_EQ(doc.m_toolWords[6], 2);
    EXPECT_EQ(doc.m_toolReals[9], 1.2);
    EXPECT_EQ(doc.m_toolReals[6], 1.0);
    EXPECT_EQ(RunSTANDARDDlg(&doc), 2);
    EXPECT_EQ(doc.m_toolWords[6], 2);
    EXPECT_EQ(RunSTANDARDDlg(nullptr), -1);
}

TEST(ArchDialogs, WallThickness)
{
    ScriptedForms forms;
    forms.Expect("REGRUESM", OkWith({{"thickness", "0.3"}})).Expect("REGRUESM", CancelWith());
    double offset = 0.25;
    EXPECT_EQ(RunRegruesaDlg(offset), 1);
    EXPECT_EQ(offset, 0.3);
    EXPECT_EQ(RunRegruesaDlg(offset), 2);
    EXPECT_EQ(offset, 0.3);
    EXPECT_EQ(forms.shown[0].values["thickness"], "0.250");
}

TEST(ArchGenerators, NotBuiltYetSaySo)
{
    theApp.Status().SetPaneText(0, "");
    MakeSolidWalls();
    EXPECT_EQ(theApp.Status().GetPaneText(0), "Solid walls: not available yet");
}

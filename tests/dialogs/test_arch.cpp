#include "dialogs/archdlg.h"
#include "doc/rectadoc.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_forms.h"

#include <gtest/gtest.h>

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

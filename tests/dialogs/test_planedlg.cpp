// The objects-in-plane dialog of the three-point plane.
#include "dialogs/planedlg.h"
#include "support/scripted_forms.h"

#include <gtest/gtest.h>

TEST(PlaneDialog, DistancesAboveAndBelow)
{
    ScriptedForms forms;
    forms.Expect("UCSOBJ", OkWith({{"above", "0.5"}, {"below", "1.25"}})).Expect("UCSOBJ", CancelWith());
    double above = 0.0, below = 0.0;
    EXPECT_EQ(DoUCSOBJDlg(above, below), 1);
    EXPECT_EQ(above, 0.5);
    EXPECT_EQ(below, 1.25);
    EXPECT_EQ(forms.shown[0].title, "OBJECTS IN PLANE:");
    EXPECT_EQ(forms.shown[0].labels["above"], "Accord Z+:");
    EXPECT_EQ(forms.shown[0].labels["below"], "Accord Z-:");
    EXPECT_LT(DoUCSOBJDlg(above, below), 1);
    EXPECT_EQ(above, 0.5) << "kept when cancelled";
}

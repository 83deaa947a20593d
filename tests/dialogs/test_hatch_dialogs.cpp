#include "dialogs/hatchdlg.h"
#include "support/real_dialog.h"
#include "support/scripted_forms.h"

#include <QDialog>
#include <QPushButton>
#include <QImage>
#include <gtest/gtest.h>

#include <cmath>
#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <string>

TEST(HatchDialogs, KindIsCopiedOutForEveryResult)
{
    ScriptedForms forms;
    forms.Expect("TRAMA", Press("double")).Expect("TRAMA", CancelWith()).Expect("TRAMA", OkWith());
    int kind = 9;
    EXPECT_EQ(RunTramaDlgEx(kind), 1);
    EXPECT_EQ(kind, 3);
    EXPECT_EQ(RunTramaDlgEx(kind), 2);
    EXPECT_EQ(kind, 0);
    kind = 9;
    EXPECT_EQ(RunTramaDlgEx(kind), 1);
    EXPECT_EQ(kind, 0);
}

TEST(HatchDialogs, ParameterDefaultsAndCopyOut)
{
    struct Case {
        int kind;
        const char* templateName;
        std::map<std::string, std::string> defaults;
        double a1, s1, a2, s2;  // after Cancel; -1 = left unchanged
    };
    const Case cases[] = {
        {1, "TRAMAP1", {{"angle1", "90"}, {"space1", "0.10"}}, 90, 0.10, -1, -1},
        {2, "TRAMAP2", {{"angle1", "90"}, {"space1", "0.10"}, {"angle2", "0"}, {"space2", "0.10"}}, 90, 0.10, 0, 0.10},
        {3, "TRAMAP3", {{"angle1", "90"}, {"space1", "0.10"}, {"space2", "0.20"}}, 90, 0.10, 90, 0.20},
        {7, "TRAMAP3", {{"angle1", "90"}, {"space1", "0.10"}, {"space2", "0.20"}}, 90, 0.10, 90, 0.20},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        ScriptedForms forms;
        // Cancel copies the shown defaults, not what was typed.
        forms.Expect(c.templateName, CancelWith({{"angle1", "45"}}))
            .Expect(c.templateName, OkWith({{"angle1", "30"}, {"space1", "0.5"}}));
        double a1 = -1, s1 = -1, a2 = -1, s2 = -1;
        EXPECT_EQ(RunTramaParamDlg(c.kind, a1, s1, a2, s2), 2);
        EXPECT_EQ(a1, c.a1);
        EXPECT_EQ(s1, c.s1);
        EXPECT_EQ(a2, c.a2);
        EXPECT_EQ(s2, c.s2);
        ASSERT_EQ(forms.shown.size(), 1u);
        for (const auto& [name, value] : c.defaults)
            EXPECT_EQ(forms.shown[0].values[name], value) << name;

        EXPECT_EQ(RunTramaParamDlg(c.kind, a1, s1, a2, s2), 1);
        EXPECT_EQ(a1, 30);
        EXPECT_EQ(s1, 0.5);
        EXPECT_EQ(a2, c.kind == 1 ? -1 : c.kind == 2 ? 0 : 30);
    }
}

// The real dialog: a picture button with its label as tip chooses its kind.
TEST(HatchDialogs, PictureButtonChoosesItsKind)
{
    std::string tip;
    bool hasIcon = false;
    const auto act = [&](QDialog& dlg) {
        auto* button = dlg.findChild<QPushButton*>("families");
        ASSERT_NE(button, nullptr);
        tip = button->toolTip().toStdString();
        hasIcon = !button->icon().isNull() && button->text().isEmpty();
        button->click();
    };
    int kind = 0;
    EXPECT_EQ(WithRealDialog(act, [&] { return RunTramaDlgEx(kind); }), 1);
    EXPECT_EQ(kind, 2);
    EXPECT_EQ(tip, "Two Line Families");
    EXPECT_TRUE(hasIcon);
}

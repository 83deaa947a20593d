#include "dialogs/hatchdlg.h"
#include "support/scripted_forms.h"

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <cmath>
#include <map>
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

// Each button shows its kind's lines inside the unit square: one direction
// evenly spaced, two directions, or one direction in pairs.
TEST(HatchDialogs, ButtonsShowTheirKindsLines)
{
    std::map<std::string, std::vector<std::array<double, 4>>> pictures;
    const DialogScript previous = SetDialogScript([&](const Form& form) {
        for (const FormField& f : form.fields)
            if (f.kind == FieldKind::Choice)
                pictures[f.name] = f.picture;
        return FormAnswer{2, {}, {}};
    });
    int kind = 0;
    RunTramaDlgEx(kind);
    SetDialogScript(previous);

    ASSERT_EQ(pictures.size(), 3u);
    for (const auto& [name, lines] : pictures) {
        SCOPED_TRACE(name);
        EXPECT_GE(lines.size(), 8u);
        std::set<long> directions, gaps;
        for (const auto& [x1, y1, x2, y2] : lines) {
            for (double c : {x1, y1, x2, y2}) {
                EXPECT_GE(c, -1e-12);
                EXPECT_LE(c, 1 + 1e-12);
            }
            const double dx = x2 - x1, dy = y2 - y1;
            directions.insert(std::lround(std::atan2(dy, dx) * 180 / 3.141592653589793));
            // Offset of the line across its direction, in thousandths.
            gaps.insert(std::lround((y1 * dx - x1 * dy) / std::hypot(dx, dy) * 1000));
        }
        EXPECT_EQ(directions.size(), name == "families" ? 2u : 1u);
        if (name == "double") {
            // Offsets alternate by two spacings: the differences take two values.
            std::set<long> steps;
            for (auto it = std::next(gaps.begin()); it != gaps.end(); ++it)
                steps.insert(*it - *std::prev(it));
            EXPECT_EQ(steps.size(), 2u);
        }
    }
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
    const DialogScript previous = SetDialogScript({});
    std::string tip;
    bool hasIcon = false;
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        auto* button = dlg->findChild<QPushButton*>("families");
        ASSERT_NE(button, nullptr);
        tip = button->toolTip().toStdString();
        hasIcon = !button->icon().isNull() && button->text().isEmpty();
        button->click();
    });
    // Never hang the run on a dialog that did not close.
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] {
        if (QWidget* w = QApplication::activeModalWidget())
            w->close();
    });
    guard.start(10000);
    int kind = 0;
    EXPECT_EQ(RunTramaDlgEx(kind), 1);
    SetDialogScript(previous);
    EXPECT_EQ(kind, 2);
    EXPECT_EQ(tip, "Two Line Families");
    EXPECT_TRUE(hasIcon);
}

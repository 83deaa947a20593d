#include "dialogs/dlgform.h"
#include "dialogs/formwidget.h"
#include "dialogs/rundlg.h"
#include "support/real_dialog.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_forms.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <clocale>

TEST(FormNumbers, StrictParsing)
{
    struct Case {
        const char* text;
        bool ok;
        double value;
    };
    const Case reals[] = {
        {"1.5", true, 1.5},  {" 2.5\t", true, 2.5}, {"+3", true, 3.0},   {"-0.25", true, -0.25},
        {".5", true, 0.5},   {"5.", true, 5.0},     {"1e3", true, 1e3},  {"1,5", false, 0},
        {"", false, 0},      {"  ", false, 0},      {"2x", false, 0},    {"1.5.2", false, 0},
        {"nan", false, 0},   {"inf", false, 0},     {"1e999", false, 0}, {"+-1", false, 0},
        {"--1", false, 0},   {"0x10", false, 0},    {"1 5", false, 0},
    };
    for (const Case& c : reals) {
        double v = -7.0;
        EXPECT_EQ(ParseReal(c.text, v), c.ok) << '"' << c.text << '"';
        EXPECT_EQ(v, c.ok ? c.value : -7.0) << '"' << c.text << '"';
    }

    int i = -7;
    EXPECT_TRUE(ParseInt(" -12 ", i));
    EXPECT_EQ(i, -12);
    for (const char* bad : {"1.0", "1,0", "99999999999", "", "3a"})
        EXPECT_FALSE(ParseInt(bad, i)) << bad;
    EXPECT_EQ(i, -12);
}

TEST(FormNumbers, FormattingIgnoresTheLocale)
{
    // A comma locale, when installed, must change nothing.
    const std::string old = std::setlocale(LC_ALL, nullptr);
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    EXPECT_EQ(FormatFixed(2.9, 2), "2.90");
    EXPECT_EQ(FormatFixed(0.1, 2), "0.10");
    EXPECT_EQ(FormatFixed(-0.001, 2), "0.00");
    EXPECT_EQ(FormatFixed(-1.005, 1), "-1.0");
    EXPECT_EQ(FormatShortest(90.0), "90");
    EXPECT_EQ(FormatShortest(0.1), "0.1");
    double v = 0.0;
    EXPECT_TRUE(ParseReal("0.75", v));
    EXPECT_EQ(v, 0.75);
    std::setlocale(LC_ALL, old.c_str());
}

// OK with a bad number is refused with a message and the form shown again as left.
TEST(FormRun, InvalidNumberKeepsTheFormOpen)
{
    ScriptedMessageBoxes boxes({IDOK, IDOK});
    ScriptedForms forms;
    forms.Expect("RADIO", OkWith({{"radius", "1,5"}}))
        .Expect("RADIO", OkWith({{"radius", "-2"}}))
        .Expect("RADIO", OkWith({{"radius", "1.5"}}));
    EXPECT_EQ(RunRadioDlgEx(), 1.5);
    ASSERT_EQ(forms.shown.size(), 3u);
    EXPECT_EQ(forms.shown[0].values["radius"], "");
    EXPECT_EQ(forms.shown[1].values["radius"], "1,5");
    EXPECT_EQ(forms.shown[0].labels["radius"], "Radius:");
    ASSERT_EQ(boxes.asked.size(), 2u);
    EXPECT_EQ(boxes.asked[0], "Radius must be a number.");
    EXPECT_EQ(boxes.asked[1], "Radius must be at least 0.");
}

TEST(FormRun, CancelAfterABadNumber)
{
    ScriptedMessageBoxes boxes({IDOK});
    ScriptedForms forms;
    forms.Expect("RADIO", OkWith({{"radius", "abc"}})).Expect("RADIO", CancelWith());
    EXPECT_EQ(RunRadioDlgEx(), 0.0);
    // A script that keeps giving a bad number ends as Cancel after 100 rounds.
    int shown = 0;
    const DialogScript previous =
        SetDialogScript([&](const Form&) { return ++shown > 100 ? CancelWith() : OkWith({{"radius", "abc"}}); });
    ScriptedMessageBoxes many(std::deque<int>(100, IDOK));
    EXPECT_EQ(RunRadioDlgEx(), 0.0);
    EXPECT_EQ(shown, 100);
    SetDialogScript(previous);
}

TEST(FormRun, UnexpectedDialogFailsTheTest)
{
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedForms forms;
            EXPECT_EQ(RunAGIRODlgEx(), 0.0);
        },
        "unexpected dialog: AGIRO");
}

// Typing replaces the value the first edit field opens with.
TEST(FormWidget, TypingReplacesTheShownValue)
{
    Form form;
    form.templateName = "TWO";
    form.AddEdit("first", "First:", "0.00");
    form.AddEdit("second", "Second:", "7");
    const auto type = [](QWidget* w, const QString& text) {
        for (QChar c : text) {
            QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(w, &key);
        }
    };
    const auto act = [&](QDialog& dlg) {
        auto* first = dlg.findChild<QLineEdit*>("first");
        ASSERT_TRUE(first);
        ASSERT_EQ(dlg.focusWidget(), first);
        type(first, "0.5");
        dlg.findChild<QDialogButtonBox*>("buttons")->button(QDialogButtonBox::Ok)->click();
    };
    ASSERT_EQ(WithRealDialog(act, [&] { return ShowFormDialog(form); }), 1);
    EXPECT_EQ(form.fields[0].text, "0.5");
}

// The real dialog: widgets named after the fields, OK validated.
TEST(FormWidget, TypedRadiusIsReturned)
{
    ScriptedMessageBoxes boxes({IDOK});
    std::string label;
    const auto act = [&](QDialog& dlg) {
        EXPECT_EQ(dlg.objectName(), "RADIO");
        auto* edit = dlg.findChild<QLineEdit*>("radius");
        auto* box = dlg.findChild<QDialogButtonBox*>("buttons");
        ASSERT_TRUE(edit && box);
        for (QLabel* l : dlg.findChildren<QLabel*>())
            if (l->buddy() == edit)
                label = l->text().toStdString();
        edit->setText("1,5");
        box->button(QDialogButtonBox::Ok)->click();  // refused, stays open
        edit->setText("2.25");
        box->button(QDialogButtonBox::Ok)->click();
    };
    const double radius = WithRealDialog(act, [] { return RunRadioDlgEx(); });
    EXPECT_EQ(radius, 2.25);
    EXPECT_EQ(label, "Radius:");
    EXPECT_EQ(boxes.asked.size(), 1u);
}

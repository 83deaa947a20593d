// The colour chooser, the bitmap-hatch browser and the bitmap-file dialog.
#include "dialogs/hatchbmpdlg.h"
#include "model/hatch.h"
#include "res/hatchpatterns.h"
#include "support/bmpfile.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_forms.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <set>

TEST(ColorDialog, OffersTheCustomColoursAndChangesOnlyOnOk)
{
    ScriptedForms forms;
    forms.Expect("COLOR", OkWith({{"color", "Red"}}))
        .Expect("COLOR", CancelWith({{"color", "Blue"}}))
        .Expect("COLOR", OkWith());
    COLORREF colour = 0;
    EXPECT_EQ(RunColorDlg(colour), 1);
    EXPECT_EQ(colour, RGB(255, 0, 0));
    EXPECT_EQ(RunColorDlg(colour), 2);
    EXPECT_EQ(colour, RGB(255, 0, 0));
    colour = RGB(1, 2, 3);
    EXPECT_EQ(RunColorDlg(colour), 1);
    EXPECT_EQ(colour, RGB(1, 2, 3)) << "a colour not among the custom ones is offered as it is";

    EXPECT_EQ(forms.shown[0].values["color"], "Black");
    EXPECT_EQ(forms.shown[0].labels["color"], "Custom colors:");
    EXPECT_EQ(forms.shown[1].values["color"], "Red");
    EXPECT_EQ(forms.shown[2].values["color"], "RGB(1,2,3)");
    EXPECT_EQ(kCustomColours[4], RGB(255, 255, 0));
    EXPECT_EQ(kCustomColours[15], RGB(255, 255, 255));
}

TEST(BitmapHatchBrowser, APickedThumbnailBecomesThePattern)
{
    const std::vector<HatchPattern>& patterns = HatchPatterns();
    ASSERT_GE(patterns.size(), 5u);
    // Pixels drawn in each pattern.
    const std::map<std::string, int> kInk{{"Brick", 46}, {"Tiles", 32}, {"Grass", 24},    {"Sand", 9},
                                          {"Insulation", 64}, {"Crosshatch", 16}, {"Dots", 2}};
    std::set<std::string> names;
    for (const HatchPattern& p : patterns) {
        SCOPED_TRACE(p.name);
        names.insert(p.name);
        EXPECT_GE(p.image.width(), 8);
        EXPECT_LE(p.image.width(), 32);
        EXPECT_GE(p.image.height(), 8);
        EXPECT_LE(p.image.height(), 32);
        EXPECT_GT(p.image.convertToFormat(QImage::Format_Mono).colorCount(), 1) << "not blank";
        int ink = 0;
        for (int y = 0; y < p.image.height(); ++y)
            for (int x = 0; x < p.image.width(); ++x)
                ink += (p.image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
        EXPECT_EQ(ink, kInk.at(p.name));
    }
    EXPECT_EQ(names.size(), patterns.size());

    ScriptedForms forms;
    forms.Expect("PREVHT", Press("Brick")).Expect("PREVHT", CancelWith());
    CHatch hatch(1, 0, "ZP", HATCH_PATTERN, CPointd(1, 1));
    EXPECT_EQ(RunPrevHtDlgEx(hatch), 1);
    EXPECT_EQ(hatch.m_pattern, patterns[0].image);
    EXPECT_EQ(hatch.m_bmWidth, patterns[0].image.width());

    CHatch other(1, 0, "ZP", HATCH_PATTERN, CPointd(1, 1));
    EXPECT_EQ(RunPrevHtDlgEx(other), 2);
    EXPECT_FALSE(other.HasPattern());
    EXPECT_EQ(forms.shown[0].labels.size(), patterns.size());
}

TEST(BitmapFileDialog, FileAndSizeOnOkWithAPreview)
{
    QTemporaryDir dir;
    const std::string good = dir.filePath("a.bmp").toStdString(), bad = dir.filePath("b.bmp").toStdString();
    QImage picture(4, 2, QImage::Format_RGB32);
    picture.fill(qRgb(10, 20, 30));
    WriteFile(good, MakeBmp(picture));
    WriteFile(bad, {'B', 'M', 0});

    ScriptedForms forms;
    forms.Expect("FICH_PREV_BM", Press("show", {{"file", bad}}))
        .Expect("FICH_PREV_BM", Press("show", {{"file", good}}))
        .Expect("FICH_PREV_BM", OkWith({{"width", "4"}, {"height", "3"}}))
        .Expect("FICH_PREV_BM", CancelWith({{"file", bad}}))
        .Expect("FICH_PREV_BM", OkWith({{"file", ""}}))
        .Expect("FICH_PREV_BM", OkWith({{"width", "0"}}))
        .Expect("FICH_PREV_BM", CancelWith());
    ScriptedMessageBoxes boxes({IDOK});
    std::string file;
    double width = 1.0, height = 1.0;
    EXPECT_EQ(RunBitmapDlgEx(file, width, height), 1);
    EXPECT_EQ(file, good);
    EXPECT_EQ(width, 4.0);
    EXPECT_EQ(height, 3.0);
    EXPECT_EQ(forms.shown[0].title, "Bitmaps Files Preview (*.bmp)");
    EXPECT_NE(forms.shown[1].values["preview"].find("byte"), std::string::npos) << "why it cannot be shown";
    EXPECT_EQ(forms.shown[2].values["preview"], "") << "the picture shows instead";

    EXPECT_EQ(RunBitmapDlgEx(file, width, height), 2);
    EXPECT_EQ(file, good);
    EXPECT_EQ(RunBitmapDlgEx(file, width, height), 0) << "no file named";
    EXPECT_EQ(RunBitmapDlgEx(file, width, height), 2) << "a width of 0 is refused";
    EXPECT_EQ(width, 4.0);
}

// The drawing file holds a bitmap's sizes as whole units from 1 to 65535:
// anything else is refused where it is typed, and the form stays open.
TEST(BitmapFileDialog, SizesTheFileCannotHoldAreRefused)
{
    for (const char* size : {"1.6", "0.5", "0", "-2", "65536", "1e9"}) {
        SCOPED_TRACE(size);
        for (const char* field : {"width", "height"}) {
            ScriptedForms forms;
            forms.Expect("FICH_PREV_BM", OkWith({{"file", "a.bmp"}, {field, size}}))
                .Expect("FICH_PREV_BM", OkWith({{field, "65535"}}));
            ScriptedMessageBoxes boxes({IDOK});
            std::string file;
            double width = 1.0, height = 1.0;
            EXPECT_EQ(RunBitmapDlgEx(file, width, height), 1);
            ASSERT_EQ(boxes.asked.size(), 1u);
            EXPECT_EQ(boxes.asked[0], std::string(field[0] == 'w' ? "Width" : "Height") +
                                          " must be a whole number from 1 to 65535.");
            EXPECT_EQ(field[0] == 'w' ? width : height, 65535.0);
            EXPECT_EQ(forms.shown[0].values[field], "1") << "shown as the whole number it is";
        }
    }
}

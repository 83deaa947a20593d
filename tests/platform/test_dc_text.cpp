#include "platform/imagedc.h"

#include <gtest/gtest.h>

#include <QFontInfo>

#include <cmath>
#include <numbers>

namespace {

LOGFONT Font(int height, int escapement, const char* face)
{
    LOGFONT lf;
    lf.lfHeight = height;
    lf.lfEscapement = escapement;
    lf.lfWeight = FW_NORMAL;
    SetFaceName(lf, face);
    return lf;
}

struct Box {
    double px, py, w, h, angle;  // world corner, size and direction (radians, y up)

    // (x, y) lies within the box widened by tol.
    bool Holds(double x, double y, double tol) const
    {
        const double dx = x - px, dy = y - py;
        const double along = dx * std::cos(angle) + dy * std::sin(angle);
        const double across = -dx * std::sin(angle) + dy * std::cos(angle);
        return along >= -tol && along <= w + tol && across >= -tol && across <= h + tol;
    }
};

}  // namespace

TEST(DCText, FacesMapToInstalledMetricCompatibleFamilies)
{
    EXPECT_EQ(ResolveFontFamily("Courier New", 0), "Liberation Mono");
    EXPECT_EQ(ResolveFontFamily("arial", 0), "Liberation Sans");
    EXPECT_EQ(ResolveFontFamily("Times New Roman", 0), "Liberation Serif");
    EXPECT_EQ(ResolveFontFamily("No Such Face", FIXED_PITCH), "Liberation Mono");
    EXPECT_EQ(ResolveFontFamily("", FF_ROMAN), "Liberation Serif");

    LOGFONT lf = Font(-40, 0, "Courier New");
    CFont font;
    ASSERT_TRUE(font.CreateFontIndirect(lf));
    EXPECT_EQ(QFontInfo(QFont(font.Family())).family(), "Liberation Mono");
    lf.lfHeight = 2'000'000;
    EXPECT_FALSE(CFont().CreateFontIndirect(lf));

    // Courier New's advance is 0.6 of the character height.
    CImageDC dc(10, 10);
    CFont mono;
    mono.CreateFontIndirect(Font(-40, 0, "Courier New"));
    dc.SelectObject(&mono);
    const LSize ext = dc.GetTextExtent("MMMMMMMMMM");
    EXPECT_NEAR(double(ext.cx), 240.0, 3.0);
    // A positive height asks for the cell: ascent plus descent.
    CFont cell;
    cell.CreateFontIndirect(Font(40, 0, "Courier New"));
    dc.SelectObject(&cell);
    EXPECT_NEAR(double(dc.GetTextExtent("M").cy), 40.0, 1.0);
    // lfWidth sets the average character width.
    LOGFONT narrow = Font(-40, 0, "Courier New");
    narrow.lfWidth = 12;
    CFont thin;
    thin.CreateFontIndirect(narrow);
    dc.SelectObject(&thin);
    EXPECT_NEAR(double(dc.GetTextExtent("MMMMMMMMMM").cx), 120.0, 6.0);
}

TEST(DCText, InkLiesInTheAlignmentBoxAtAnyEscapement)
{
    const char* text = "Hello, World";
    const struct {
        int escapement;
        unsigned align;
    } cases[] = {
        {0, TA_BOTTOM | TA_LEFT},  {-900, TA_BOTTOM | TA_LEFT}, {450, TA_BOTTOM | TA_LEFT},
        {0, TA_BOTTOM | TA_RIGHT}, {450, TA_BOTTOM | TA_CENTER}, {-900, TA_BOTTOM | TA_RIGHT},
    };
    for (const auto& c : cases) {
        CImageDC dc(500, 500);
        dc.SetYUpMapping(500, 500);
        CFont font;
        ASSERT_TRUE(font.CreateFontIndirect(Font(-30, c.escapement, "Arial")));
        dc.SelectObject(&font);
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextAlign(c.align);
        const LSize ext = dc.GetTextExtent(text);
        ASSERT_TRUE(dc.TextOut(250, 250, text));

        // The box as the text entity computes it: direction minus escapement / 10 degrees.
        const double angle = -c.escapement / 10.0 * std::numbers::pi / 180.0;
        double shift = 0;
        if ((c.align & TA_CENTER) == TA_CENTER)
            shift = ext.cx / 2.0;
        else if ((c.align & TA_CENTER) == TA_RIGHT)
            shift = double(ext.cx);
        const Box box{250 - shift * std::cos(angle), 250 - shift * std::sin(angle), double(ext.cx),
                      double(ext.cy), angle};

        int ink = 0, outside = 0;
        double sx = 0, sy = 0;
        for (int y = 0; y < 500; ++y)
            for (int x = 0; x < 500; ++x) {
                if (dc.Image().pixel(x, y) == qRgb(255, 255, 255))
                    continue;
                ++ink;
                const double wx = x, wy = 500 - y;  // pixel to logical
                sx += wx;
                sy += wy;
                if (!box.Holds(wx, wy, 2.0))
                    ++outside;
            }
        EXPECT_GT(ink, 300) << c.escapement << " " << c.align;
        EXPECT_EQ(outside, 0) << c.escapement << " " << c.align;
        // The ink is spread along the box, not bunched at one end.
        const double cx = box.px + std::cos(angle) * box.w / 2, cy = box.py + std::sin(angle) * box.w / 2;
        EXPECT_LT(std::hypot(sx / ink - cx, sy / ink - cy), box.w / 4) << c.escapement << " " << c.align;
    }
}

TEST(DCText, ColoursBackgroundAndRasterOperations)
{
    CImageDC dc(200, 60, RGB(0, 0, 255));
    CFont font;
    font.CreateFontIndirect(Font(-30, 0, "Arial"));
    dc.SelectObject(&font);
    dc.SetTextColor(RGB(255, 0, 0));
    dc.SetROP2(R2_NOT);  // text ignores it
    dc.SetBkColor(RGB(0, 255, 0));
    EXPECT_EQ(dc.GetBkMode(), OPAQUE);
    dc.TextOut(10, 10, "IIII\xC9");
    int red = 0, green = 0, other = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 200; ++x) {
            const QRgb p = dc.Image().pixel(x, y);
            if (p == qRgb(255, 0, 0))
                ++red;
            else if (p == qRgb(0, 255, 0))
                ++green;
            else if (p != qRgb(0, 0, 255))
                ++other;
        }
    EXPECT_GT(red, 50);
    EXPECT_GT(green, 200);
    EXPECT_EQ(other, 0);  // no antialiasing, no inverted pixels
    // The opaque cell starts at the reference point (top-left alignment).
    EXPECT_EQ(dc.Image().pixel(10, 10), qRgb(0, 255, 0));
    EXPECT_EQ(dc.Image().pixel(9, 10), qRgb(0, 0, 255));

    // TA_UPDATECP draws at the current position and moves it past the text.
    dc.SetTextAlign(TA_UPDATECP);
    dc.MoveTo(10, 30);
    dc.TextOut(0, 0, "ab");
    EXPECT_EQ(dc.GetCurrentPosition().x, 10 + dc.GetTextExtent("ab").cx);
}

// The longest beginning that fits, found in a few measurements however long the text.
TEST(DCText, TextFitTakesTheLongestBeginningThatFits)
{
    CImageDC dc(10, 10);
    const std::string text = "Wide WWW and narrow iii, a mixed line";
    for (std::int64_t width : {-5, 0, 1, 9, 40, 100, 250, 100000}) {
        SCOPED_TRACE(width);
        const std::size_t n = dc.TextFit(text, width);
        ASSERT_LE(n, text.size());
        if (n > 0) {
            EXPECT_LE(dc.GetTextExtent(text.substr(0, n)).cx, width);
        }
        if (n < text.size()) {
            EXPECT_GT(dc.GetTextExtent(text.substr(0, n + 1)).cx, width);
        }
    }
    EXPECT_EQ(dc.TextFit("", 100), 0u);
    EXPECT_EQ(dc.TextFit(text, 100000), text.size());
    const std::string longText(100000, 'x');
    const std::uint64_t before = dc.TextMeasures();
    EXPECT_GT(dc.TextFit(longText, 300), 0u);
    EXPECT_LE(dc.TextMeasures() - before, 17u);
    // Two bytes a character: a cut between them would leave half of one.
    const std::string accents = "\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9";
    for (std::int64_t width : {9, 20, 31, 45}) {
        const std::size_t n = dc.TextFit(accents, width);
        EXPECT_EQ(n % 2, 0u) << width;
        EXPECT_LT(n, accents.size()) << width;
    }
}

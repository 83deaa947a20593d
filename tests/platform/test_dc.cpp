#include "platform/floodfill.h"
#include "platform/imagedc.h"
#include "platform/recordingdc.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <functional>
#include <limits>
#include <numbers>
#include <set>
#include <utility>
#include <vector>

namespace {

using Pixels = std::set<std::pair<int, int>>;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// A background of varied colours, so that a wrong raster operation shows.
void Noise(QImage& img)
{
    std::uint32_t s = 12345;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            s = s * 1664525u + 1013904223u;
            img.setPixel(x, y, 0xFF000000u | (s >> 8));
        }
}

Pixels Changed(const QImage& a, const QImage& b)
{
    Pixels out;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                out.insert({x, y});
    return out;
}

Pixels Ink(const QImage& img, QRgb background = qRgb(255, 255, 255))
{
    Pixels out;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) != background)
                out.insert({x, y});
    return out;
}

// Runs draw on a y-up 200 x 120 image with the given pen, in copy mode on
// white and inverted on noise; checks that the inverted shape changes exactly
// the pixels the copy inks (no pixel touched twice) and that a second
// inverted draw restores the image.
void CheckInvertsCleanly(const std::function<void(CDC&)>& draw, int style = PS_SOLID)
{
    CImageDC plain(200, 120);
    plain.SetYUpMapping(200, 120);
    CPen pen(style, 0, kBlack);
    plain.SelectObject(&pen);
    plain.SelectStockObject(HOLLOW_BRUSH);
    draw(plain);
    const Pixels ink = Ink(plain.Image());
    ASSERT_FALSE(ink.empty());

    CImageDC inv(200, 120);
    Noise(inv.Image());
    const QImage before = inv.Image().copy();
    inv.SetYUpMapping(200, 120);
    inv.SelectObject(&pen);
    inv.SelectStockObject(HOLLOW_BRUSH);
    inv.SetROP2(R2_NOT);
    draw(inv);
    EXPECT_EQ(Changed(before, inv.Image()), ink);
    draw(inv);
    EXPECT_EQ(inv.Image(), before);
}

}  // namespace

TEST(DCMapping, YUpPixelMappingAndItsInverse)
{
    CRecordingDC dc;
    dc.SetYUpMapping(200, 100);
    EXPECT_EQ(dc.LPtoDP({0, 0}), (LPoint{0, 100}));
    EXPECT_EQ(dc.LPtoDP({10, 30}), (LPoint{10, 70}));
    EXPECT_EQ(dc.DPtoLP({10, 70}), (LPoint{10, 30}));
    // Isotropic: the smaller factor wins and keeps each axis's sign.
    dc.SetViewportExt(400, -100);
    EXPECT_EQ(dc.FactorX(), 1.0);
    EXPECT_EQ(dc.FactorY(), -1.0);
    dc.SetMapMode(MM_ANISOTROPIC);
    EXPECT_EQ(dc.FactorX(), 2.0);
    EXPECT_FALSE(dc.SetWindowExt(0, 5));
}

TEST(DCMapping, WorldToLogicalTruncatesAndSaturates)
{
    EXPECT_EQ(WorldToLogical(10.0 - 0.9 / 2.0, 10.0 + 0.9 / 2.0, 2.0, 10.0, 10.0), (LPoint{0, 0}));
    EXPECT_EQ(WorldToLogical(-1.75, 1.75, 1.0, 0.0, 0.0), (LPoint{-1, 1}));
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(WorldToLogical(inf, -inf, 1.0, 0, 0), (LPoint{kLogicalLimit, -kLogicalLimit}));
    EXPECT_EQ(WorldToLogical(std::nan(""), 1e300, 1e300, 0, 0), (LPoint{0, kLogicalLimit}));
}

TEST(DCMapping, ClipSegmentKeepsDirectionAndRejectsMisses)
{
    double x0 = -1e13, y0 = -1e13, x1 = 1e13, y1 = 1e13;
    ASSERT_TRUE(ClipSegment(x0, y0, x1, y1, 0, 0, 100, 50));
    EXPECT_DOUBLE_EQ(x0, 0);
    EXPECT_DOUBLE_EQ(y0, 0);
    EXPECT_DOUBLE_EQ(x1, 50);
    EXPECT_DOUBLE_EQ(y1, 50);
    double a = -10, b = 60, c = 200, d = 60;
    EXPECT_FALSE(ClipSegment(a, b, c, d, 0, 0, 100, 50));
    double n = std::nan(""), z = 0, o = 1, p = 1;
    EXPECT_FALSE(ClipSegment(n, z, o, p, 0, 0, 100, 50));
}

TEST(DCObjects, PenCreationSelectionAndStockObjects)
{
    CPen pen;
    EXPECT_FALSE(pen.CreatePen(6, 0, 0));
    EXPECT_FALSE(pen.CreatePen(-1, 0, 0));
    EXPECT_FALSE(pen.CreatePen(PS_SOLID, -1, 0));
    EXPECT_FALSE(pen.CreatePen(PS_SOLID, CPen::kMaxWidth + 1, 0));
    EXPECT_FALSE(pen.IsCreated());

    CRecordingDC dc;
    EXPECT_EQ(dc.SelectObject(&pen), nullptr);  // an uncreated pen is refused
    EXPECT_EQ(dc.CurrentPen().Colour(), kBlack);

    ASSERT_TRUE(pen.CreatePen(PS_DOT, 3, RGB(1, 2, 3)));
    CPen* old = dc.SelectObject(&pen);
    EXPECT_EQ(old, StockPen(BLACK_PEN));
    EXPECT_EQ(dc.SelectStockObject(WHITE_PEN), &pen);
    EXPECT_EQ(dc.CurrentPen().Colour(), kWhite);
    EXPECT_EQ(dc.SelectObject(static_cast<CGdiObject*>(old)), StockPen(WHITE_PEN));
    EXPECT_EQ(dc.SelectStockObject(HOLLOW_BRUSH), StockBrush(WHITE_BRUSH));
    EXPECT_EQ(dc.CurrentBrush().GetStyle(), CBrush::Style::hollow);
    EXPECT_EQ(dc.SelectStockObject(99), nullptr);

    EXPECT_EQ(dc.SetROP2(R2_MERGEPEN), R2_COPYPEN);
    EXPECT_EQ(dc.SetROP2(0), 0);
    EXPECT_EQ(dc.GetROP2(), R2_MERGEPEN);
}

TEST(ImageDC, LinesLeaveOutTheirLastPixel)
{
    CImageDC dc(100, 60);
    dc.MoveTo(10, 20);
    dc.LineTo(50, 20);
    const Pixels ink = Ink(dc.Image());
    EXPECT_EQ(ink.size(), 40u);
    EXPECT_TRUE(ink.count({10, 20}));
    EXPECT_FALSE(ink.count({50, 20}));
    EXPECT_EQ(dc.GetCurrentPosition(), (LPoint{50, 20}));

    CImageDC dot(100, 60);
    dot.MoveTo(30, 30);
    dot.LineTo(30, 30);
    EXPECT_TRUE(Ink(dot.Image()).empty());

    // Width 0 and 1 are both one pixel; a styled wide pen draws solid.
    for (int width : {0, 1}) {
        CImageDC thin(100, 60);
        CPen p(PS_SOLID, width, kBlack);
        thin.SelectObject(&p);
        thin.MoveTo(10, 10);
        thin.LineTo(10, 40);
        EXPECT_EQ(Ink(thin.Image()).size(), 30u) << width;
    }
    CImageDC wide(100, 60);
    CPen w5(PS_DASH, 5, kBlack);
    wide.SelectObject(&w5);
    wide.MoveTo(10, 30);
    wide.LineTo(90, 30);
    for (int x = 12; x < 88; ++x)
        EXPECT_EQ(wide.Image().pixel(x, 30), qRgb(0, 0, 0)) << x;
    EXPECT_EQ(wide.Image().pixel(50, 32), qRgb(0, 0, 0));
}

TEST(ImageDC, PenPatternsInPixelsRunOnAcrossLineTo)
{
    struct Case {
        int style;
        std::vector<int> runs;
    } cases[] = {{PS_DASH, {18, 6}}, {PS_DOT, {3, 3}}, {PS_DASHDOT, {9, 6, 3, 6}}};
    for (const Case& c : cases) {
        CImageDC dc(120, 10);
        CPen pen(c.style, 0, kBlack);
        dc.SelectObject(&pen);
        dc.MoveTo(0, 5);
        dc.LineTo(37, 5);  // the second call continues the pattern
        dc.LineTo(96, 5);
        std::vector<bool> expected;
        for (int period = 0; expected.size() < 96; ++period)
            for (std::size_t i = 0; i < c.runs.size(); ++i)
                for (int k = 0; k < c.runs[i]; ++k)
                    expected.push_back(i % 2 == 0);
        for (int x = 0; x < 96; ++x)
            EXPECT_EQ(dc.Image().pixel(x, 5) == qRgb(0, 0, 0), expected[std::size_t(x)])
                << "style " << c.style << " x " << x;
    }
}

TEST(ImageDC, RasterOperationsOnPenPixels)
{
    struct Case {
        int rop;
        COLORREF pen;
        QRgb expect;
    } cases[] = {
        {R2_COPYPEN, RGB(10, 20, 30), qRgb(10, 20, 30)},
        {R2_NOT, RGB(10, 20, 30), qRgb(255 - 0x12, 255 - 0x34, 255 - 0x56)},
        {R2_XORPEN, RGB(0xFF, 0x0F, 0x00), qRgb(0x12 ^ 0xFF, 0x34 ^ 0x0F, 0x56)},
        {R2_MERGEPEN, kWhite, qRgb(255, 255, 255)},
        {R2_MERGEPEN, RGB(0x01, 0, 0), qRgb(0x13, 0x34, 0x56)},
        {R2_NOTMERGEPEN, kBlack, qRgb(255 - 0x12, 255 - 0x34, 255 - 0x56)},
        {R2_NOP, kBlack, qRgb(0x12, 0x34, 0x56)},
    };
    for (const Case& c : cases) {
        CImageDC dc(20, 20, RGB(0x12, 0x34, 0x56));
        CPen pen(PS_SOLID, 0, c.pen);
        dc.SelectObject(&pen);
        dc.SetROP2(c.rop);
        dc.MoveTo(2, 5);
        dc.LineTo(10, 5);
        EXPECT_EQ(dc.Image().pixel(4, 5), c.expect) << "rop " << c.rop;
        EXPECT_EQ(dc.Image().pixel(10, 5), qRgb(0x12, 0x34, 0x56)) << "rop " << c.rop;
    }
}

TEST(ImageDC, InvertedShapesTouchEachPixelOnceAndRestore)
{
    CheckInvertsCleanly([](CDC& dc) {
        dc.MoveTo(10, 10);
        dc.LineTo(150, 77);
    });
    CheckInvertsCleanly([](CDC& dc) {
        // The rubber band: a closed outline of four LineTo calls.
        dc.MoveTo(20, 20);
        dc.LineTo(120, 20);
        dc.LineTo(120, 90);
        dc.LineTo(20, 90);
        dc.LineTo(20, 20);
    });
    CheckInvertsCleanly([](CDC& dc) {
        const LPoint pts[] = {{5, 5}, {100, 110}, {190, 5}, {60, 60}, {5, 5}, {30, 100}};
        dc.Polyline(pts, 6);
    });
    CheckInvertsCleanly([](CDC& dc) { dc.Rectangle(20, 100, 150, 30); });
    CheckInvertsCleanly([](CDC& dc) { dc.Ellipse(30, 10, 170, 110); });
    CheckInvertsCleanly([](CDC& dc) { dc.Ellipse(95, 57, 99, 61); });
    CheckInvertsCleanly([](CDC& dc) { dc.Arc(40, 110, 160, 10, 160, 30, 40, 60); });
    CheckInvertsCleanly([](CDC& dc) {
        const LPoint pts[] = {{10, 10}, {190, 100}, {100, 110}, {150, 5}};
        dc.Polygon(pts, 4);
    });
    CheckInvertsCleanly([](CDC& dc) { dc.Ellipse(30, 10, 170, 110); }, PS_DASHDOT);
}

TEST(ImageDC, RectangleCoversItsBoxWithoutRightAndBottomEdges)
{
    CImageDC dc(50, 50);
    CBrush fill(RGB(255, 0, 0));
    dc.SelectObject(&fill);
    dc.Rectangle(10, 10, 20, 15);
    EXPECT_EQ(Ink(dc.Image()).size(), 50u);
    EXPECT_EQ(dc.Image().pixel(19, 14), qRgb(0, 0, 0));
    EXPECT_EQ(dc.Image().pixel(15, 12), qRgb(255, 0, 0));
    EXPECT_EQ(dc.Image().pixel(20, 12), qRgb(255, 255, 255));
    EXPECT_EQ(dc.Image().pixel(15, 15), qRgb(255, 255, 255));
    const LPoint one[] = {{30, 30}};
    EXPECT_FALSE(dc.Polyline(one, 1) || dc.Polygon(one, 1));
    EXPECT_FALSE(dc.Polygon(nullptr, 3));
    EXPECT_EQ(Ink(dc.Image()).size(), 50u);
}

TEST(ImageDC, ArcsRunCounterClockwiseInTheYUpWorld)
{
    // Centre (100, 60), radius 50, on a y-up image: device centre (100, 60).
    auto arc = [](double from, double to) {
        CImageDC dc(200, 120);
        dc.SetYUpMapping(200, 120);
        auto at = [](double a) {
            return LPoint{std::int64_t(std::lround(100 + 50 * std::cos(a))),
                          std::int64_t(std::lround(60 + 50 * std::sin(a)))};
        };
        const LPoint s = at(from), e = at(to);
        EXPECT_TRUE(dc.Arc(50, 110, 150, 10, s.x, s.y, e.x, e.y));
        return Ink(dc.Image());
    };
    const double pi = std::numbers::pi;
    const Pixels q1 = arc(0, pi / 2);
    ASSERT_GT(q1.size(), 60u);
    for (auto [x, y] : q1) {
        EXPECT_GE(x, 99);
        EXPECT_LE(y, 61);
    }
    EXPECT_TRUE(q1.count({149, 60}) || q1.count({150, 60}) || q1.count({149, 59}));

    const Pixels right = arc(-pi / 4, pi / 4);
    ASSERT_GT(right.size(), 60u);
    for (auto [x, y] : right)
        EXPECT_GE(x, 133) << y;
    // The other way round is the long arc through the left half.
    const Pixels left = arc(pi / 4, -pi / 4);
    EXPECT_TRUE(left.count({50, 60}) || left.count({51, 60}));
}

TEST(ImageDC, HugeCoordinatesDrawOnlyTheirVisiblePart)
{
    const auto t0 = std::chrono::steady_clock::now();
    CImageDC dc(200, 120);
    dc.SetYUpMapping(200, 120);
    dc.MoveTo(-10'000'000'000'000, 50);
    dc.LineTo(10'000'000'000'000, 50);
    for (int x = 0; x < 200; ++x)
        EXPECT_EQ(dc.Image().pixel(x, 70), qRgb(0, 0, 0)) << x;
    EXPECT_EQ(Ink(dc.Image()).size(), 200u);

    // A far-reaching slanted line inks the same pixels as a short stretch of it.
    CImageDC far(200, 120), near(200, 120);
    far.MoveTo(-3'000'000'000'000, -1'000'000'000'000);
    far.LineTo(3'000'000'000'000, 1'000'000'000'000);
    near.MoveTo(-300, -100);
    near.LineTo(600, 200);
    EXPECT_EQ(Ink(far.Image()), Ink(near.Image()));

    // Values beyond the logical range, and shapes far larger than the image.
    CImageDC big(200, 120);
    big.SetYUpMapping(200, 120);
    big.SelectStockObject(HOLLOW_BRUSH);
    big.MoveTo(std::numeric_limits<std::int64_t>::min(), 0);
    big.LineTo(std::numeric_limits<std::int64_t>::max(), 0);
    const std::int64_t r = 1'000'000'000'000;
    big.Ellipse(100 - r, 60, 100 + r, 60 - 2 * r);  // its top runs along logical y = 60
    for (int x = 0; x < 200; ++x)
        EXPECT_EQ(big.Image().pixel(x, 60), qRgb(0, 0, 0)) << x;
    EXPECT_EQ(Ink(big.Image()).size(), 200u);
    EXPECT_TRUE(big.Arc(-r, r, r, -r, r, 0, 0, r));  // only its far-away quarter: nothing shows
    EXPECT_EQ(Ink(big.Image()).size(), 200u);

    CBrush grey(RGB(128, 128, 128));
    big.SelectObject(&grey);
    const LPoint tri[] = {{-r, -r}, {r, 60}, {100, 2 * r}};  // covers the whole image
    big.Polygon(tri, 3);
    EXPECT_EQ(big.Image().pixel(10, 10), qRgb(128, 128, 128));
    CPen wide(PS_SOLID, 9, RGB(0, 0, 255));
    big.SelectObject(&wide);
    big.SelectStockObject(HOLLOW_BRUSH);
    big.Ellipse(-r, r, r, -r);
    big.MoveTo(-r, -r);
    big.LineTo(r, r);
    EXPECT_EQ(big.Image().pixel(100, 20), qRgb(0, 0, 255));
    EXPECT_EQ(big.Image().pixel(100, 60), qRgb(128, 128, 128));
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(2));
}

TEST(ImageDC, ExtremeMappingsReachNoIntegerOverflow)
{
    // A factor of 1e9 on top of saturated logical values: device values near 1e24.
    CImageDC dc(80, 60);
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowExt(1, -1);
    dc.SetViewportExt(1'000'000'000, 1'000'000'000);
    const std::int64_t m = std::numeric_limits<std::int64_t>::max(), n = -m;
    CBrush brush(RGB(9, 9, 9));
    dc.SelectObject(&brush);
    for (int dash : {PS_SOLID, PS_DASHDOT}) {
        CPen pen(dash, 0, RGB(1, 1, 1));
        dc.SelectObject(&pen);
        dc.SetROP2(dash == PS_SOLID ? R2_COPYPEN : R2_XORPEN);
        dc.MoveTo(n, n);
        dc.LineTo(m, 3);
        dc.Rectangle(n, m, m, n);
        dc.Ellipse(n, m, 5, 7);
        dc.Arc(n, m, m, n, 1, 0, 0, 1);
        const LPoint pts[] = {{n, 0}, {m, 1}, {0, m}};
        dc.Polygon(pts, 3);
        dc.FillRect(n, n, m, 2, brush);
        dc.FrameRect(n, m, 3, n, brush);
        dc.StretchImage(n, m, m, n, QImage(2, 2, QImage::Format_RGB32));
        dc.TextOut(m, n, "x");
        dc.SetPixel(m, m, 0);
        EXPECT_EQ(dc.GetPixel(n, 0), CLR_INVALID);
    }
    EXPECT_FALSE(Ink(dc.Image()).empty());
}

TEST(ImageDC, FillsFloodFillsAndStretchedImages)
{
    CImageDC dc(60, 40);
    dc.SetYUpMapping(60, 40);
    dc.Rectangle(5, 35, 30, 5);
    CBrush red(RGB(255, 0, 0));
    dc.SelectObject(&red);
    EXPECT_TRUE(dc.FloodFill(10, 20, kBlack));
    EXPECT_EQ(dc.GetPixel(10, 20), RGB(255, 0, 0));
    EXPECT_EQ(dc.GetPixel(28, 7), RGB(255, 0, 0));
    EXPECT_EQ(dc.GetPixel(40, 20), kWhite);  // outside the border
    EXPECT_FALSE(dc.FloodFill(5, 20, kBlack));  // the seed is on the border
    CBrush blue(RGB(0, 0, 255));
    dc.SelectObject(&blue);
    EXPECT_TRUE(dc.ExtFloodFill(40, 20, kWhite, FLOODFILLSURFACE));
    EXPECT_EQ(dc.GetPixel(59, 39), RGB(0, 0, 255));
    EXPECT_EQ(dc.GetPixel(10, 20), RGB(255, 0, 0));
    EXPECT_FALSE(dc.ExtFloodFill(100, 20, kWhite, FLOODFILLSURFACE));

    // A 2 x 2 picture over a 20 x 10 box given as the bitmap entity does:
    // corner at the top left, negative height in the y-up world.
    QImage pic(2, 2, QImage::Format_RGB32);
    pic.setPixel(0, 0, qRgb(255, 0, 0));
    pic.setPixel(1, 0, qRgb(0, 255, 0));
    pic.setPixel(0, 1, qRgb(0, 0, 255));
    pic.setPixel(1, 1, qRgb(0, 0, 0));
    CImageDC st(60, 40);
    st.SetYUpMapping(60, 40);
    EXPECT_TRUE(st.StretchImage(50, 30, 20, -10, pic));  // runs off the right edge
    EXPECT_EQ(st.Image().pixel(52, 11), qRgb(255, 0, 0));
    EXPECT_EQ(st.Image().pixel(59, 11), qRgb(255, 0, 0));
    EXPECT_EQ(st.Image().pixel(52, 18), qRgb(0, 0, 255));
    EXPECT_EQ(st.Image().pixel(49, 11), qRgb(255, 255, 255));
    EXPECT_EQ(st.Image().pixel(52, 9), qRgb(255, 255, 255));
}

TEST(RecordingDC, KeepsCallsInOrderWithTheirValues)
{
    CRecordingDC dc;
    CPen pen(PS_DASH, 2, RGB(1, 2, 3));
    CPen* old = dc.SelectObject(&pen);
    dc.SetROP2(R2_MERGEPEN);
    dc.MoveTo(1, 2);
    dc.LineTo(3, 4);
    dc.TextOut(5, 6, "ab");
    dc.SelectObject(old);
    EXPECT_EQ(dc.Log(), "SelectPen(1,2,197121)\nSetROP2(15)\nMoveTo(1,2)\nLineTo(3,4)\n"
                        "TextOut(5,6,\"ab\")\nSelectPen(0,0,0)\n");
    EXPECT_EQ(dc.GetCurrentPosition(), (LPoint{3, 4}));
    EXPECT_EQ(dc.CallsNamed("LineTo").size(), 1u);
    EXPECT_EQ(dc.GetROP2(), R2_MERGEPEN);
}

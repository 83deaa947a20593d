// The flood fill on pixels: what it reaches, where it stops, and that it
// needs no recursion however large the area.
#include "platform/floodfill.h"
#include "support/pixels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr QRgb kWhite = 0xFFFFFFFFu;
constexpr QRgb kBlack = 0xFF000000u;
constexpr QRgb kRed = 0xFFFF0000u;

QImage Blank(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(kWhite);
    return image;
}

// A one-pixel ring of radius r about (cx, cy), drawn closed (4-connected
// pixels cannot pass it); with a gap, the pixels at angles within gap of 0 are left out.
void Ring(QImage& image, int cx, int cy, int r, double gap = 0.0)
{
    int lastX = cx + r;
    for (int i = 1; i <= 3600; ++i) {
        const double a = i * 2.0 * M_PI / 3600;
        const int x = cx + int(std::lround(r * std::cos(a))), y = cy + int(std::lround(r * std::sin(a)));
        const bool inGap = a < gap || a > 2.0 * M_PI - gap;
        if (!inGap) {
            image.setPixel(x, y, kBlack);
            image.setPixel(lastX, y, kBlack);  // closes diagonal steps
        }
        lastX = x;
    }
}

}  // namespace

TEST(FloodFill, RingHoldsTheFillAndAGapLetsItOutToTheEdges)
{
    QImage closed = Blank(100, 80);
    Ring(closed, 50, 40, 20);
    const std::int64_t filled = FloodFillImage(closed, 50, 40, kWhite, true, FloodPaint{kRed});
    EXPECT_GT(filled, 1000);
    EXPECT_LT(filled, 1400);  // about pi r^2
    EXPECT_EQ(CountPixels(closed, kRed), filled);
    EXPECT_EQ(closed.pixel(0, 0), kWhite);
    EXPECT_EQ(closed.pixel(50, 40), kRed);

    QImage open = Blank(100, 80);
    Ring(open, 50, 40, 20, 0.2);
    const std::int64_t leaked = FloodFillImage(open, 50, 40, kWhite, true, FloodPaint{kRed});
    EXPECT_EQ(leaked, CountPixels(open, kRed));
    EXPECT_EQ(leaked, 100 * 80 - CountPixels(open, kBlack)) << "everything but the ring, up to the image's edges";
    for (QPoint corner : {QPoint(0, 0), QPoint(99, 0), QPoint(0, 79), QPoint(99, 79)})
        EXPECT_EQ(open.pixel(corner), kRed);
}

TEST(FloodFill, FillOfTheSeedsOwnColourAndSeedsOutsideChangeNothing)
{
    QImage image = Blank(30, 30);
    Ring(image, 15, 15, 8);
    const QImage before = image;
    EXPECT_EQ(FloodFillImage(image, 15, 15, kWhite, true, FloodPaint{kWhite}), 0);
    EXPECT_EQ(image, before);
    for (QPoint seed : {QPoint(-1, 3), QPoint(3, -1), QPoint(30, 3), QPoint(3, 30)})
        EXPECT_EQ(FloodFillImage(image, seed.x(), seed.y(), kWhite, true, FloodPaint{kRed}), 0);
    EXPECT_EQ(FloodFillImage(image, 15, 15, kBlack, true, FloodPaint{kRed}), 0) << "the seed is not of the colour";
    EXPECT_EQ(image, before);
}

TEST(FloodFill, PatternHoldingTheSeedColourPaintsEachPixelOnce)
{
    QImage image = Blank(30, 30);
    Ring(image, 15, 15, 8);
    QImage reference = image;
    const std::int64_t area = FloodFillImage(reference, 15, 15, kWhite, true, FloodPaint{kRed});

    QImage pattern(2, 2, QImage::Format_RGB32);
    pattern.fill(kWhite);
    pattern.setPixel(1, 1, kRed);
    EXPECT_EQ(FloodFillImage(image, 15, 15, kWhite, true, FloodPaint{0, &pattern}), area);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x)
            if (reference.pixel(x, y) == kRed) {
                EXPECT_EQ(image.pixel(x, y), pattern.pixel(x % 2, y % 2)) << x << "," << y;
            }
}

// An area of 16 million pixels all joined, with a comb that makes the
// fill turn back in every column: a recursive fill would overflow the stack.
TEST(FloodFill, FourThousandSquareNeedsNoRecursion)
{
    QImage image = Blank(4000, 4000);
    for (int y = 0; y < 4000; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 2; x < 4000; x += 4) {
            const int y0 = (x / 4) % 2 ? 0 : 1;
            if (y >= y0 && y < y0 + 3999)
                row[x] = kBlack;
        }
    }
    const std::int64_t n = FloodFillImage(image, 0, 0, kWhite, true, FloodPaint{kRed});
    EXPECT_EQ(n, 4000LL * 4000 - 1000LL * 3999) << "every pixel but the comb's";
    EXPECT_EQ(image.pixel(3999, 3999), kRed);
}

// A visited map kept between fills gives the same pixels as a fill's own and
// is left clear for the next fill.
TEST(FloodFill, KeptVisitedMapPaintsAsAFreshOneAndIsLeftClear)
{
    QImage pattern(2, 2, QImage::Format_RGB32);
    pattern.fill(kWhite);
    pattern.setPixel(0, 0, kRed);
    struct Row {
        const char* name;
        bool surface;
        QRgb colour;
        const QImage* pattern;
    } rows[] = {
        {"border fill", false, kBlack, nullptr},
        {"pattern holding the seed colour", true, kWhite, &pattern},
    };
    for (const Row& row : rows) {
        QImage fresh = Blank(60, 50), kept = Blank(60, 50);
        Ring(fresh, 30, 25, 15);
        Ring(kept, 30, 25, 15);
        std::vector<std::uint8_t> seen;
        FloodPaint paint{kRed, row.pattern};
        FloodPaint keeping{kRed, row.pattern, nullptr, &seen};
        // The second fill, outside the ring, needs the map clear of the first's pixels.
        for (const QPoint seed : {QPoint(30, 25), QPoint(1, 1)}) {
            const std::int64_t a = FloodFillImage(fresh, seed.x(), seed.y(), row.colour, row.surface, paint);
            const std::int64_t b = FloodFillImage(kept, seed.x(), seed.y(), row.colour, row.surface, keeping);
            EXPECT_GT(b, 0) << row.name;
            EXPECT_EQ(a, b) << row.name;
        }
        EXPECT_EQ(kept, fresh) << row.name;
        EXPECT_EQ(std::count(seen.begin(), seen.end(), 0), std::ptrdiff_t(seen.size())) << row.name;
    }
}

// The hatch entity: its file record, copies, transforms and what it pours
// on an image.
#include "doc/rectadoc.h"
#include "model/circ.h"
#include "model/entitykind.h"
#include "model/hatch.h"
#include "model/transform.h"
#include "model/insbl.h"
#include "model/recta.h"
#include "platform/archive.h"
#include "platform/imagedc.h"
#include "support/bytes.h"
#include "support/display_options.h"
#include "support/pixels.h"
#include "support/stored.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

using Bytes = std::vector<BYTE>;
constexpr int kW = 200, kH = 150;
constexpr double kScale = 10.0;
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr QRgb kRedPixel = 0xFF0000;

CHatch Load(const Bytes& b)
{
    CArchive ar(b);
    CHatch h;
    h.Serialize(ar);
    EXPECT_EQ(ar.Remaining(), 0u);
    return h;
}

QImage Checker()
{
    QImage p(8, 8, QImage::Format_RGB32);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            p.setPixel(x, y, (x + y) % 2 ? qRgb(0, 0, 255) : qRgb(255, 255, 0));
    return p;
}

// A white image, y up, drawing unit 1 = 10 pixels.
struct Canvas {
    Canvas() : dc(kW, kH) { dc.SetYUpMapping(kW, kH); }
    QRgb At(double x, double y) const
    {
        return dc.Image().pixel(int(x * kScale), kH - int(y * kScale)) & 0xFFFFFF;
    }
    int Count(QRgb c) const { return CountPixels(dc.Image(), c); }
    void Ring(double cx, double cy, double r)
    {
        CCirc c(1, 0, "ZP", 0, 0, 0, 0, 1);
        c.m_centre = CPointd(cx, cy);
        c.m_rx = c.m_ry = r;
        c.Draw(dc, map, DrawKind::normal);
    }
    int Draw(const CHatch& h, DrawKind kind = DrawKind::normal) { return h.Draw(dc, map, kind, doc); }

    CImageDC dc;
    WorldMap map{kScale, 0, 0};
    CRectaDoc doc;
};

}  // namespace

TEST(Hatch, CopiesKeepThePatternAndItsSizeFields)
{
    CHatch a(1, 0, "ZP", HATCH_PATTERN, CPointd(4, 5));
    ASSERT_TRUE(a.SetPattern(Checker()));
    CHatch b, c;
    b.Copy(a);
    c.Copy(b);
    EXPECT_EQ(c.m_pattern, Checker());
    EXPECT_EQ(Stored(c), Stored(a));

    // Any pattern the file's words can name is taken whole; none is cut.
    QImage wide(1000, 3, QImage::Format_RGB32);
    wide.fill(qRgb(9, 9, 9));
    EXPECT_TRUE(a.SetPattern(wide));
    EXPECT_EQ(a.m_bitsSize, 12000u);
    EXPECT_EQ(a.m_pattern.size(), QSize(1000, 3));
    EXPECT_FALSE(a.SetPattern(QImage(65536, 1, QImage::Format_RGB32)));
    EXPECT_FALSE(a.SetPattern(QImage(1, 65536, QImage::Format_RGB32)));
    EXPECT_FALSE(a.SetPattern(QImage()));
    EXPECT_EQ(a.m_bmWidth, 1000) << "a refused pattern changes nothing";
    EXPECT_TRUE(a.SetPattern(QImage(65535, 1, QImage::Format_RGB32)));
    EXPECT_TRUE(a.SetPattern(QImage(1, 65535, QImage::Format_RGB32)));
}

TEST(Hatch, MovesTurnsMirrorsAndPlacesItsSeed)
{
    CHatch h(1, 0, "ZP", HATCH_SOLID, CPointd(1, 2, 7));
    MoveHatch(h, CPointd(0, 0, 0), CPointd(3, 4, 5));
    EXPECT_EQ(h.m_seed, CPointd(4, 6, 7)) << "z stays";

    const StretchWindow window{{{0, 0}, {5, 0}, {5, 7}, {0, 7}}};
    StretchHatch(h, CPointd(0, 0), CPointd(3, 3), window);
    EXPECT_EQ(h.m_seed, CPointd(7, 9, 7));
    StretchHatch(h, CPointd(0, 0), CPointd(1, 1), window);
    EXPECT_EQ(h.m_seed, CPointd(7, 9, 7)) << "outside the window it stays";

    const CEntityKind& kind = EntityKind(ENT_HATCH);
    CHatch p(1, 0, "ZP", HATCH_SOLID, CPointd(1, 2, 0));
    EXPECT_TRUE(kind.Place(&p, CPlacement{10, 20, 5, 0.0, 2, 3}));
    EXPECT_EQ(p.m_seed, CPointd(12, 26, 5)) << "no rotation: scaled and offset only";
    CHatch q(1, 0, "ZP", HATCH_SOLID, CPointd(1, 0, 0));
    kind.Place(&q, CPlacement{10, 20, 0, std::numbers::pi / 2, 2, 2});
    EXPECT_NEAR(q.m_seed.x, 10, 1e-12);
    EXPECT_NEAR(q.m_seed.y, 22, 1e-12);

    EXPECT_TRUE(kind.Rotate(&q, CPointd(10, 20), -std::numbers::pi / 2));
    EXPECT_NEAR(q.m_seed.x, 12, 1e-12);
    EXPECT_NEAR(q.m_seed.y, 20, 1e-12);
    CRecta axis;
    axis.m_p2 = CPointd(0, 1);  // the y axis
    EXPECT_TRUE(kind.Mirror(&q, axis, 0.0));
    EXPECT_NEAR(q.m_seed.x, -12, 1e-12);

    kind.SetColor(&q, RGB(9, 9, 9));
    EXPECT_EQ(q.m_color, 0u) << "hatches keep their colour";
    int points = 0;
    kind.ExtentsPoints(&q, [&](const CPointd&) { ++points; });
    EXPECT_EQ(points, 0);
    EXPECT_TRUE(q.IsInRect(-13, 19, -11, 21));
    EXPECT_FALSE(q.IsInRect(-11, 19, -10, 21));
}

TEST(Hatch, SolidFillStopsAtWhatIsDrawnAndEraseTakesItAway)
{
    DisplayOptions options(true, true);
    Canvas c;
    c.Ring(10, 7, 3);
    CHatch h(1, kRed, "ZP", HATCH_SOLID, CPointd(10, 7));
    EXPECT_EQ(c.Draw(h), 1);
    EXPECT_EQ(c.At(10, 7), kRedPixel);
    EXPECT_EQ(c.At(11.5, 8), kRedPixel);
    EXPECT_EQ(c.At(15, 7), 0xFFFFFFu) << "outside the ring";
    const int filled = c.Count(kRedPixel);
    EXPECT_NEAR(filled, std::numbers::pi * 900, 250);

    EXPECT_EQ(c.Draw(h, DrawKind::dotted), 1);
    EXPECT_EQ(c.Count(kRedPixel), filled) << "with fills on, a selected hatch shows nothing more";
    EXPECT_EQ(c.Draw(h, DrawKind::erase), 1);
    EXPECT_EQ(c.Count(kRedPixel), 0);
}

TEST(Hatch, WithFillsOffOnlyTheMarkerDiscIsFilled)
{
    DisplayOptions options(false, true);
    Canvas c;
    CHatch h(1, kRed, "ZP", HATCH_SOLID, CPointd(10, 7));
    c.Draw(h);
    // The disc of radius 0.25 (2.5 pixels) and its outline: a handful of pixels.
    const int n = c.Count(kRedPixel);
    EXPECT_GT(n, 10);
    EXPECT_LT(n, 40);
    EXPECT_EQ(c.At(10, 7), kRedPixel);
    EXPECT_EQ(c.At(10.5, 7), 0xFFFFFFu);

    Canvas d;
    EXPECT_EQ(d.Draw(h, DrawKind::dotted), 1);
    EXPECT_GT(d.Count(kRedPixel), 0) << "the marker, in the hatch's own pen";
    d.Draw(h, DrawKind::erase);
    EXPECT_EQ(d.Count(kRedPixel), 0);
}

TEST(Hatch, PatternFillAndALoadedPatternHatchShowsItsMarker)
{
    DisplayOptions options(true, true);
    Canvas c;
    c.Ring(10, 7, 3);
    CHatch h(1, 0, "ZP", HATCH_PATTERN, CPointd(10, 7));
    ASSERT_TRUE(h.SetPattern(Checker()));
    c.Draw(h);
    const QImage& img = c.dc.Image();
    for (QPoint p : {QPoint(100, 80), QPoint(101, 80), QPoint(95, 85)})
        EXPECT_EQ(img.pixel(p), Checker().pixel(p.x() % 8, p.y() % 8)) << p.x() << "," << p.y();
    EXPECT_EQ(c.Draw(h, DrawKind::erase), 1);
    EXPECT_EQ(img.pixel(100, 80), Checker().pixel(4, 0)) << "a pattern hatch is not erased";

    Canvas d;
    CHatch loaded = Load(Stored(h));
    EXPECT_EQ(d.Draw(loaded), 1);
    const int ink = d.Count(0);
    EXPECT_GT(ink, 8) << "the marker circle";
    EXPECT_LT(ink, 40);
}

TEST(Hatch, SwatchFillsTheMiddleOfItsSeedInPixels)
{
    for (double scale : {1.0, 37.0}) {
        Canvas c;
        c.map = WorldMap{scale, 5, 5};
        CHatch h(1, kRed, "ZP", HATCH_SWATCH, CPointd(60, 30));
        c.Draw(h);
        const QImage& img = c.dc.Image();
        EXPECT_EQ(img.pixel(10, 5) & 0xFFFFFF, kRedPixel);
        EXPECT_EQ(img.pixel(49, 24) & 0xFFFFFF, kRedPixel);
        EXPECT_EQ(img.pixel(9, 5) & 0xFFFFFF, 0xFFFFFFu);
        EXPECT_EQ(img.pixel(50, 24) & 0xFFFFFF, 0xFFFFFFu);
        EXPECT_EQ(c.Count(kRedPixel), 40 * 20);
    }
}

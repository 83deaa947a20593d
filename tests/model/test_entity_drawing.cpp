// The basic entities drawn, dotted and erased on an image.
#include "doc/rectadoc.h"
#include "model/circ.h"
#include "model/entitydraw.h"
#include "model/extruded.h"
#include "model/punt.h"
#include "model/recta.h"
#include "model/text.h"
#include "platform/imagedc.h"
#include "platform/recordingdc.h"
#include "support/pixels.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kW = 200, kH = 150;

// A white image with the y-up mapping: drawing unit 1 = 10 pixels from (0, 0).
struct Canvas {
    Canvas() : dc(kW, kH) { dc.SetYUpMapping(kW, kH); }
    int Ink() const { return InkPixels(dc.Image()); }
    // Logical y maps to device row height - y, so rows show y = 1 to height.
    QRgb At(int x, int yUp) const { return dc.Image().pixel(x, kH - yUp) & 0xFFFFFF; }
    CImageDC dc;
};

constexpr double kScale = 10.0;

CArc ArcOf(double cx, double cy, double r, double s, double e)
{
    CArc a(1, 0, "ZP", 0, 0, 0, 0, 1);
    a.m_centre = CPointd(cx, cy);
    a.m_rx = a.m_ry = r;
    a.m_start = s;
    a.m_end = e;
    return a;
}

}  // namespace

TEST(EntityDrawing, DrawThenEraseLeavesWhite)
{
    CRectaDoc doc;
    doc.m_pointHeight = 1.0;
    CRecta line(1, RGB(0, 0, 255), "ZP", 0, 0, 0, 0, 1);
    line.m_p1 = CPointd(1, 1);
    line.m_p2 = CPointd(15, 9);
    CCirc circle(1, 0, "ZP", 0, 0, 0, 0, 1);
    circle.m_centre = CPointd(10, 7);
    circle.m_rx = circle.m_ry = 4;
    CArc arc = ArcOf(6, 6, 3, 0.3, 2.5);
    CArc tiny = ArcOf(3, 3, 0.05, 0, 2);  // one pixel: drawn as its chord
    CPunt point(1, 0, "ZP");
    point.m_point = CPointd(12, 3);

    Canvas c;
    ASSERT_EQ(line.Draw(c.dc, {kScale, 0, 0}, DrawKind::normal), 1);
    circle.Draw(c.dc, {kScale, 0, 0}, DrawKind::normal);
    arc.Draw(c.dc, {kScale, 0, 0}, DrawKind::normal);
    tiny.Draw(c.dc, {kScale, 0, 0}, DrawKind::normal);
    point.Draw(c.dc, {kScale, 0, 0}, DrawKind::normal, doc);
    EXPECT_GT(c.Ink(), 200);
    line.Draw(c.dc, {kScale, 0, 0}, DrawKind::erase);
    circle.Draw(c.dc, {kScale, 0, 0}, DrawKind::erase);
    arc.Draw(c.dc, {kScale, 0, 0}, DrawKind::erase);
    tiny.Draw(c.dc, {kScale, 0, 0}, DrawKind::erase);
    point.Draw(c.dc, {kScale, 0, 0}, DrawKind::erase, doc);
    EXPECT_EQ(c.Ink(), 0);
}

TEST(EntityDrawing, ArcsCoverOnlyTheirAngles)
{
    Canvas c;
    ArcOf(10, 7, 5, 0, kPi / 2).Draw(c.dc, {kScale, 0, 0}, DrawKind::normal);
    int outside = 0;
    for (int y = 1; y <= kH; ++y)
        for (int x = 0; x < kW; ++x)
            if ((c.At(x, y) != 0xFFFFFF) && (x < 100 || y < 70))
                ++outside;
    EXPECT_EQ(outside, 0);
    EXPECT_GT(c.Ink(), 50);

    // Across angle 0: only right of the centre.
    Canvas d;
    ArcOf(10, 7, 5, 3 * kPi / 2 + 0.2, kPi / 2 - 0.2).Draw(d.dc, {kScale, 0, 0}, DrawKind::normal);
    for (int y = 1; y <= kH; ++y)
        for (int x = 0; x < 100; ++x)
            ASSERT_EQ(d.At(x, y), 0xFFFFFFu) << x << "," << y;
    EXPECT_GT(d.Ink(), 50);
}

TEST(EntityDrawing, HugeArcsAndCirclesAreClippedNotChorded)
{
    // A radius of 1e7 units around a centre far below: its top crosses the image as a
    // near-horizontal band at y = 7, which a chord substitute would never draw.
    CArc huge = ArcOf(10, 7 - 1e7, 1e7, kPi / 2 - 1e-6, kPi / 2 + 1e-6);
    Canvas c;
    huge.Draw(c.dc, {kScale, 0, 0}, DrawKind::normal);
    EXPECT_NE(c.At(100, 70), 0xFFFFFFu);
    huge.Draw(c.dc, {kScale, 0, 0}, DrawKind::erase);
    EXPECT_EQ(c.Ink(), 0);

    CCirc circle(1, 0, "ZP", 0, 0, 0, 0, 1);
    circle.m_centre = CPointd(1e12, -1e12);
    circle.m_rx = circle.m_ry = 1e13;
    Canvas d;
    circle.Draw(d.dc, {kScale, 0, 0}, DrawKind::normal);
    circle.Draw(d.dc, {kScale, 0, 0}, DrawKind::erase);
    EXPECT_EQ(d.Ink(), 0);
}

TEST(EntityDrawing, ExtrudedEntitiesInvertTwiceToNothing)
{
    CRecta wall(1, 0, "ZP", 3.0, EXTRUSION_THICK, 0.5, 0.5, 1.0);
    wall.m_p1 = CPointd(2, 2);
    wall.m_p2 = CPointd(10, 3);
    CCirc column(1, 0, "ZP", 2.0, EXTRUSION_THICK, 0.3, 0.0, 1.0);
    column.m_centre = CPointd(14, 9);
    column.m_rx = column.m_ry = 2;
    CArc band = ArcOf(6, 9, 3, 0.5, 3.0);
    band.m_extrusionMode = EXTRUSION_THICK;
    band.m_thick1 = band.m_thick2 = 2;
    band.m_dir = CPointd(0, 1, 1);

    Canvas c;
    c.dc.Image().fill(QColor(200, 100, 50));
    const QImage before = c.dc.Image().copy();
    for (int pass = 0; pass < 2; ++pass) {
        DrawRectaPerspXor(c.dc, wall, kScale, 0, 0);
        DrawCircPerspXor(c.dc, column, kScale, 0, 0);
        DrawArcPerspXor(c.dc, band, kScale, 0, 0);
        if (pass == 0) {
            EXPECT_NE(c.dc.Image(), before);
        }
    }
    EXPECT_EQ(c.dc.Image(), before);

    // Straight up in plan, the face shows as the line itself.
    CRecta up(1, 0, "ZP", 3.0, EXTRUSION_THICK, 0, 0, 1);
    up.m_p1 = CPointd(2, 2);
    up.m_p2 = CPointd(10, 2);
    Canvas d;
    up.Draw(d.dc, {kScale, 0, 0}, DrawKind::erase);
    EXPECT_EQ(d.Ink(), 80);
}

TEST(EntityDrawing, EveryModeButFlatAndOcsDrawsExtruded)
{
    // Each entity drawn in a mode must look like it does in mode 1 (extruded)
    // or mode 0 (flat); the direction leans so that the two differ.
    const CPointd lean(0.5, 0.5, 1.0);
    CRecta line(1, 0, "ZP", 3.0, 0, lean.x, lean.y, lean.z);
    line.m_p1 = CPointd(2, 2);
    line.m_p2 = CPointd(10, 3);
    CCirc circle(1, 0, "ZP", 2.0, 0, lean.x, lean.y, lean.z);
    circle.m_centre = CPointd(10, 7);
    circle.m_rx = circle.m_ry = 2;
    CArc arc = ArcOf(6, 7, 3, 0.5, 3.0);
    arc.m_thick1 = arc.m_thick2 = 2;
    arc.m_dir = lean;

    auto image = [&](int mode) {
        line.m_extrusionMode = circle.m_extrusionMode = arc.m_extrusionMode = mode;
        Canvas c;
        line.Draw(c.dc, {kScale, 0, 0}, DrawKind::normal);
        circle.Draw(c.dc, {kScale, 0, 0}, DrawKind::normal);
        arc.Draw(c.dc, {kScale, 0, 0}, DrawKind::dotted);
        return c.dc.Image().copy();
    };
    const QImage flat = image(EXTRUSION_FLAT), extruded = image(EXTRUSION_THICK);
    ASSERT_NE(flat, extruded);
    EXPECT_EQ(InkPixels(extruded), 657) << "both rings, the sides between them and the ends";
    const struct {
        int mode;
        bool extrudes;
    } rows[] = {{EXTRUSION_OCS, false}, {3, true}, {7, true}, {0xFFFF, true}, {-1, true}};
    for (const auto& row : rows)
        EXPECT_EQ(image(row.mode), row.extrudes ? extruded : flat) << "mode " << row.mode;
}

TEST(EntityDrawing, ExtrudedArcWithAnglesNotFiniteDrawsNothing)
{
    const double nan = std::nan(""), inf = HUGE_VAL;
    const double angles[][2] = {{nan, 1.0}, {0.0, inf}, {-inf, inf}};
    for (const auto& a : angles) {
        CArc arc = ArcOf(6, 7, 3, a[0], a[1]);
        arc.m_extrusionMode = EXTRUSION_THICK;
        arc.m_thick1 = arc.m_thick2 = 2;
        Canvas c;
        arc.Draw(c.dc, {kScale, 0, 0}, DrawKind::normal);
        arc.Draw(c.dc, {kScale, 0, 0}, DrawKind::dotted);
        arc.Draw(c.dc, {kScale, 0, 0}, DrawKind::erase);
        EXPECT_EQ(c.Ink(), 0) << a[0] << " " << a[1];
    }
}

TEST(EntityDrawing, PensAndTextColours)
{
    CText t(1, RGB(0, 0, 0), "ZP");
    t.m_text = "AB";
    t.m_justify = JUSTIFY_LEFT;
    t.m_font.lfHeight = 100;
    t.m_font.lfWeight = 400;
    SetFaceName(t.m_font, "Courier New");
    t.m_insert = CPointd(2, 2);

    CRecordingDC rec;
    rec.SetYUpMapping(kW, kH);
    ASSERT_EQ(t.Draw(rec, {kScale, 0, 0}, DrawKind::dotted), 1);
    const std::string log = rec.Log();
    EXPECT_NE(log.find("SetTextColor(255)"), std::string::npos) << log;
    EXPECT_NE(log.find("SetTextAlign(8)"), std::string::npos) << log;
    // Height 100 at scale 10 asks for a character height of -(10 * 1.35).
    EXPECT_NE(log.find("SelectFont(-13,"), std::string::npos) << log;

    CRecta l(3, RGB(9, 9, 9), "ZP", 0, 0, 0, 0, 1);
    rec.Clear();
    l.Draw(rec, {kScale, 0, 0}, DrawKind::dotted);
    EXPECT_NE(rec.Log().find("SelectPen(2,3,592137)"), std::string::npos) << rec.Log();

    // Too small at this scale: nothing drawn.
    t.m_font.lfHeight = 5;
    EXPECT_EQ(t.Draw(rec, {1.0, 0, 0}, DrawKind::normal), 0);

    // A pen that cannot be made draws nothing.
    l.m_style = 77;
    Canvas c;
    EXPECT_EQ(l.Draw(c.dc, {kScale, 0, 0}, DrawKind::normal), 0);
    EXPECT_EQ(c.Ink(), 0);
}

// The ink of a text stays inside the box that picking and extents use.
TEST(EntityDrawing, TextInkLiesInItsBox)
{
    for (int escapement : {0, -900, 450}) {
        for (int justify : {JUSTIFY_LEFT, JUSTIFY_RIGHT, JUSTIFY_CENTRE}) {
            CText t(1, 0, "ZP");
            t.m_text = "Hgjy";
            t.m_justify = justify;
            t.m_font.lfHeight = 200;
            t.m_font.lfEscapement = escapement;
            t.m_font.lfWeight = 400;
            SetFaceName(t.m_font, "Courier New");
            t.m_insert = CPointd(10, 7);
            Canvas c;
            ASSERT_EQ(t.Draw(c.dc, {kScale, 0, 0}, DrawKind::normal), 1);
            ASSERT_GT(c.Ink(), 50);

            CPointd k[4];
            t.AlignPoint(t.m_insert, k[0], k[1], k[2], k[3]);
            // Inside the box grown by 1.5 pixels: on the inner side of every edge.
            auto inside = [&](double x, double y) {
                for (int i = 0; i < 4; ++i) {
                    const CPointd& a = k[i];
                    const CPointd& b = k[(i + 1) % 4];
                    const double ex = b.x - a.x, ey = b.y - a.y;
                    const double len = std::hypot(ex, ey);
                    if ((ex * (y - a.y) - ey * (x - a.x)) / len < -1.5 / kScale)
                        return false;
                }
                return true;
            };
            int outside = 0;
            for (int y = 1; y <= kH; ++y)
                for (int x = 0; x < kW; ++x)
                    if (c.At(x, y) != 0xFFFFFF && !inside((x + 0.5) / kScale, (y - 0.5) / kScale))
                        ++outside;
            EXPECT_EQ(outside, 0) << "escapement " << escapement << " justify " << justify;
        }
    }
}

// The bitmap entity: its file record, stretch and placement, and how it
// shows with and without its picture.
#include "doc/rectadoc.h"
#include "model/bmp.h"
#include "model/transform.h"
#include "model/entitykind.h"
#include "model/insbl.h"
#include "model/recta.h"
#include "platform/archive.h"
#include "platform/imagedc.h"
#include "platform/recordingdc.h"
#include "support/bmpfile.h"
#include "support/display_options.h"
#include "support/pixels.h"
#include "support/stored.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include <cmath>
#include <limits>

namespace {

using Bytes = std::vector<BYTE>;
constexpr int kW = 200, kH = 150;

// Four quadrants: red top left, green top right, blue bottom left, black bottom right.
QImage Quadrants()
{
    QImage p(4, 2, QImage::Format_RGB32);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            p.setPixel(x, y, y == 0 ? (x < 2 ? qRgb(255, 0, 0) : qRgb(0, 255, 0))
                                    : (x < 2 ? qRgb(0, 0, 255) : qRgb(0, 0, 0)));
    return p;
}

struct Canvas {
    Canvas() : dc(kW, kH)
    {
        dc.SetYUpMapping(kW, kH);
        doc.OnNewDocument();  // its label font
    }
    // The pixel at drawing point (x, y), drawing unit 1 = 10 pixels.
    QRgb At(double x, double y) const { return dc.Image().pixel(int(x * 10), kH - int(y * 10)) & 0xFFFFFF; }
    int Ink() const { return InkPixels(dc.Image()); }
    int Draw(const CBmp& b, DrawKind kind = DrawKind::normal) { return b.Draw(dc, WorldMap{10, 0, 0}, kind, doc); }
    CImageDC dc;
    CRectaDoc doc;
};

}  // namespace

// Pen, layer, file name (both kept whole), width and height as words cut
// toward zero and kept within 0-65535, corner.
TEST(Bmp, RecordCutsTheSizeToWords)
{
    CBmp b(1, RGB(4, 5, 6), "MY LAYER", "/pics/my picture.bmp", CPointd(1, 2, 3), 2.7, 1.2);
    ByteWriter w;
    w.u16(1).u16(0).u32(0x060504).str("MY LAYER").str("/pics/my picture.bmp").u16(2).u16(1).point(1, 2, 3);
    EXPECT_EQ(Stored(b), w.bytes());

    CArchive ar(w.bytes());
    CBmp back;
    back.Serialize(ar);
    EXPECT_EQ(ar.Remaining(), 0u);
    EXPECT_EQ(back.m_file, "/pics/my picture.bmp");
    EXPECT_EQ(back.m_w, 2.0);
    EXPECT_EQ(back.m_h, 1.0);
    EXPECT_EQ(Stored(back), w.bytes());

    struct Row {
        double size;
        unsigned word;
    };
    for (Row r : {Row{-3.5, 0}, Row{70000, 65535}, Row{65535.9, 65535}, Row{std::nan(""), 0},
                  Row{std::numeric_limits<double>::infinity(), 65535}}) {
        SCOPED_TRACE(r.size);
        b.m_w = r.size;
        const Bytes bytes = Stored(b);
        const std::size_t at = 2 + 2 + 4 + 9 + 21;
        EXPECT_EQ(bytes[at] | bytes[at + 1] << 8, int(r.word));
    }
}

TEST(Bmp, MovesStretchesAndPlacesOnlyItsCorner)
{
    CBmp b(1, 0, "ZP", "x.bmp", CPointd(1, 1, 4), 4, 2);
    MoveBmp(b, CPointd(0, 0, 0), CPointd(1, 2, 3));
    EXPECT_EQ(b.m_corner, CPointd(2, 3, 4)) << "z stays";

    auto stretched = [](const Pt2 (&window)[4]) {
        CBmp s(1, 0, "ZP", "x.bmp", CPointd(0, 0), 4, 2);
        StretchWindow w;
        std::copy(std::begin(window), std::end(window), w.q);
        StretchBmp(s, CPointd(0, 0), CPointd(1, 1), w);
        EXPECT_EQ(s.m_corner, CPointd(0, 0)) << "the corner never moves";
        return std::pair{s.m_w, s.m_h};
    };
    const Pt2 aroundC1[4] = {{3, -1}, {5, -1}, {5, 1}, {3, 1}};
    const Pt2 aroundC2[4] = {{3, 1}, {5, 1}, {5, 3}, {3, 3}};
    const Pt2 aroundC3[4] = {{-1, 1}, {1, 1}, {1, 3}, {-1, 3}};
    const Pt2 aroundAll[4] = {{-1, -1}, {5, -1}, {5, 3}, {-1, 3}};
    EXPECT_EQ(stretched(aroundC1), std::pair(5.0, 2.0)) << "the width only";
    EXPECT_EQ(stretched(aroundC2), std::pair(4.0, 2.0)) << "c2 alone changes nothing";
    EXPECT_EQ(stretched(aroundC3), std::pair(4.0, 3.0)) << "the height only";
    EXPECT_EQ(stretched(aroundAll), std::pair(4.0, 2.0)) << "with c0 inside, nothing";

    // In an insert scaled by 2 the picture keeps its size; only the corner is placed.
    const CEntityKind& kind = EntityKind(ENT_BITMAP);
    CBmp p(1, 0, "ZP", "x.bmp", CPointd(1, 1), 4, 2);
    EXPECT_TRUE(kind.Place(&p, CPlacement{10, 10, 0, 0.0, 2, 2}));
    EXPECT_EQ(p.m_corner, CPointd(12, 12));
    EXPECT_EQ(p.m_w, 4.0);
    EXPECT_EQ(p.m_h, 2.0);
    CRecta axis;
    EXPECT_FALSE(kind.Rotate(&p, CPointd(), 1.0)) << "a bitmap is not turned";
    EXPECT_FALSE(kind.Mirror(&p, axis, 0.0)) << "nor reflected";
    EXPECT_EQ(p.m_corner, CPointd(12, 12));
    kind.SetColor(&p, RGB(1, 1, 1));
    EXPECT_EQ(p.m_color, 0u);

    std::vector<CPointd> points;
    kind.ExtentsPoints(&p, [&](const CPointd& c) { points.push_back(c); });
    EXPECT_EQ(points, (std::vector<CPointd>{{12, 12}, {16, 12}, {16, 14}, {12, 14}}));
    EXPECT_TRUE(p.IsInRect(15, 13, 20, 20)) << "a corner inside";
    EXPECT_TRUE(p.IsInRect(13, 10, 14, 20)) << "sides across";
    EXPECT_FALSE(p.IsInRect(13, 12.5, 14, 13.5)) << "inside the picture, off every side";
}

// A stretch gives a size the file holds: the nearest whole unit, or no change
// when that is below 1 or above 65535; saved and read back it stays.
TEST(Bmp, AStretchedSizeIsOneTheFileHolds)
{
    struct Row {
        double dx, dy;
        double w, h;
    };
    const Pt2 aroundC1[4] = {{3, -1}, {5, -1}, {5, 1}, {3, 1}};
    const Pt2 aroundC3[4] = {{-1, 1}, {1, 1}, {1, 3}, {-1, 3}};
    for (const Row& row : {Row{0.6, 0, 5, 2}, Row{-2.4, 0, 2, 2}, Row{-3.6, 0, 4, 2}, Row{-5, 0, 4, 2},
                           Row{70000, 0, 4, 2}, Row{65531, 0, 65535, 2}, Row{65531.6, 0, 4, 2}, Row{0, 1.3, 4, 3}, Row{0, -1.5, 4, 1}, Row{0, -1.6, 4, 2}}) {
        SCOPED_TRACE(testing::Message() << row.dx << ", " << row.dy);
        CBmp b(1, 0, "ZP", "x.bmp", CPointd(0, 0), 4, 2);
        StretchWindow w;
        std::copy(std::begin(row.dy == 0 ? aroundC1 : aroundC3), std::end(row.dy == 0 ? aroundC1 : aroundC3), w.q);
        StretchBmp(b, CPointd(0, 0), CPointd(row.dx, row.dy), w);
        EXPECT_EQ(b.m_w, row.w);
        EXPECT_EQ(b.m_h, row.h);
        CBmp back;
        const Bytes bytes = Stored(b);
        CArchive ar(bytes);
        back.Serialize(ar);
        EXPECT_EQ(back.m_w, b.m_w);
        EXPECT_EQ(back.m_h, b.m_h);
    }
}

TEST(Bmp, ShowsItsPictureUprightOrItsFrameAndName)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("quad.bmp").toStdString();
    WriteFile(path, MakeBmp(Quadrants()));
    CBmp b(1, 0, "ZP", path, CPointd(2, 2), 8, 4);  // pixels (20..100, 20..60) up

    {
        DisplayOptions options(true, true);
        Canvas c;
        EXPECT_EQ(c.Draw(b), 1);
        EXPECT_EQ(c.At(3, 5), 0xFF0000u) << "red at the top left";
        EXPECT_EQ(c.At(9, 5), 0x00FF00u);
        EXPECT_EQ(c.At(3, 3), 0x0000FFu);
        EXPECT_EQ(c.At(9, 3), 0x000000u);
        EXPECT_EQ(c.At(1, 3), 0xFFFFFFu);
        const int ink = c.Ink();
        EXPECT_EQ(c.Draw(b, DrawKind::dotted), 1);
        EXPECT_EQ(c.Ink(), ink) << "a picture shows no dotted frame";
        EXPECT_EQ(c.Draw(b, DrawKind::erase), 1);
        EXPECT_EQ(c.Ink(), 0);
    }

    // Shown, but the file is missing or no BMP: nothing in its place.
    CBmp missing = b;
    missing.m_file = dir.filePath("none.bmp").toStdString();
    const std::string bad = dir.filePath("bad.bmp").toStdString();
    WriteFile(bad, Bytes{'B', 'M', 1, 2, 3});
    CBmp damaged = b;
    damaged.m_file = bad;
    for (const CBmp* k : {&missing, &damaged}) {
        DisplayOptions options(true, true);
        Canvas c;
        EXPECT_EQ(c.Draw(*k), 1);
        EXPECT_EQ(c.Draw(*k, DrawKind::dotted), 1);
        EXPECT_EQ(c.Ink(), 0) << k->m_file;
    }

    // Pictures off: the frame and the name.
    DisplayOptions options(true, false);
    Canvas c;
    EXPECT_EQ(c.Draw(b), 1);
    EXPECT_EQ(c.At(5, 2), 0u) << "the bottom side";
    EXPECT_EQ(c.At(10, 4), 0u) << "the right side";
    EXPECT_EQ(c.At(3, 5), 0xFFFFFFu) << "no picture";
    // The name at the centre, in the drawing's label font (which a scale of 10 shows as too small).
    CRecordingDC rec;
    b.Draw(rec, WorldMap{100, 0, 0}, DrawKind::normal, c.doc);
    EXPECT_NE(rec.Log().find("TextOut(600,400,\"" + b.m_file + "\")"), std::string::npos) << rec.Log();
    rec.Clear();
    EXPECT_EQ(b.Draw(rec, WorldMap{10, 0, 0}, DrawKind::dotted, c.doc), 1);
    EXPECT_NE(rec.Log().find("SelectPen(2,"), std::string::npos) << "the frame dotted";
    c.Draw(b, DrawKind::erase);
    EXPECT_EQ(c.Ink(), 0);
}

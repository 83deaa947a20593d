// Recorded pictures: a recording plays back as the drawing did, at any size
// and place, clipped to its target; its bytes read back exactly, and damaged
// bytes are refused with a message; the painter DC draws it as vectors.
#include "platform/imagedc.h"
#include "platform/logfont.h"
#include "platform/metafile.h"
#include "platform/painterdc.h"
#include "platform/recordingdc.h"
#include "platform/region.h"
#include "support/bytes.h"
#include "support/pixels.h"

#include <QBuffer>
#include <QPainter>
#include <QSvgGenerator>
#include <gtest/gtest.h>

#include <cstring>
#include <climits>
#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace {

constexpr int kW = 240, kH = 160;

// The window every sample uses: 0..1200 x 0..800 logical units, y up.
void SetWindow(CDC& dc)
{
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowExt(1200, -800);
    dc.SetWindowOrg(0, 800);
}

// Something of every kind of call: pens, brushes, fonts, raster operations,
// texts, shapes, regions, flood fills and images.
void DrawSample(CDC& dc)
{
    SetWindow(dc);
    CPen red(PS_SOLID, 0, RGB(255, 0, 0)), dashed(PS_DASH, 1, RGB(0, 0, 255)), wide(PS_SOLID, 25, RGB(0, 128, 0));
    CBrush yellow(RGB(255, 255, 0));
    QImage pattern(4, 4, QImage::Format_RGB32);
    pattern.fill(qRgb(200, 0, 200));
    pattern.setPixel(1, 1, qRgb(0, 0, 0));
    CBrush hatchBrush;
    hatchBrush.CreatePatternBrush(pattern);
    LOGFONT lf;
    lf.lfHeight = -60;
    lf.lfEscapement = 300;
    SetFaceName(lf, "Arial");
    CFont font;
    font.CreateFontIndirect(lf);

    CPen* oldPen = dc.SelectObject(&red);
    dc.MoveTo(20, 20);
    dc.LineTo(1100, 700);
    dc.SelectObject(&dashed);
    dc.LineTo(1100, 100);  // the pattern runs on
    dc.SelectObject(&wide);
    const LPoint run[] = {{100, 700}, {300, 600}, {500, 700}, {700, 600}};
    dc.Polyline(run, 4);
    dc.SelectObject(&red);
    CBrush* oldBrush = dc.SelectObject(&yellow);
    const LPoint tri[] = {{800, 100}, {1000, 100}, {900, 300}};
    dc.Polygon(tri, 3);
    dc.Rectangle(50, 300, 250, 150);
    dc.SelectObject(&hatchBrush);
    dc.Ellipse(300, 400, 500, 250);
    dc.SelectStockObject(NULL_BRUSH);
    dc.Arc(600, 500, 800, 300, 800, 400, 600, 400);
    dc.SetPixel(10, 790, RGB(0, 0, 255));
    // A closed box, flood filled at its seed with the colour found there.
    dc.SelectStockObject(BLACK_PEN);
    const LPoint box[] = {{900, 700}, {1150, 700}, {1150, 500}, {900, 500}, {900, 700}};
    dc.Polyline(box, 5);
    CBrush cyan(RGB(0, 200, 200));
    dc.SelectObject(&cyan);
    dc.ExtFloodFill(1000, 600, dc.GetPixel(1000, 600), FLOODFILLSURFACE);
    const LPoint box2[] = {{1020, 120}, {1180, 120}, {1180, 260}, {1020, 260}, {1020, 120}};
    dc.Polyline(box2, 5);
    CBrush orange(RGB(255, 160, 0));
    dc.SelectObject(&orange);
    dc.ExtFloodFill(1060, 190, RGB(0, 0, 0), FLOODFILLBORDER);
    dc.FillRect(20, 780, 120, 720, CBrush(RGB(90, 90, 90)));
    dc.FrameRect(130, 780, 230, 720, CBrush(RGB(0, 90, 0)));
    CRgn region, outer, hole;
    const LPoint device[] = {dc.LPtoDP({400, 100}), dc.LPtoDP({550, 100}), dc.LPtoDP({475, 220})};
    const LPoint inner[] = {dc.LPtoDP({450, 120}), dc.LPtoDP({500, 120}), dc.LPtoDP({475, 160})};
    outer.CreatePolygonRgn(device, 3);
    hole.CreatePolygonRgn(inner, 3);
    region.Subtract(outer, hole);
    dc.FillRgn(region, CBrush(RGB(120, 60, 0)));
    // Inverting twice over part of the picture leaves it as it was.
    dc.SetROP2(R2_NOT);
    dc.MoveTo(0, 400);
    dc.LineTo(1200, 400);
    dc.SetROP2(R2_XORPEN);
    dc.SelectObject(&red);
    dc.MoveTo(0, 420);
    dc.LineTo(1200, 420);
    dc.SetROP2(R2_COPYPEN);
    CFont* oldFont = dc.SelectObject(&font);
    dc.SetTextColor(RGB(128, 0, 0));
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextAlign(TA_BASELINE | TA_CENTER);
    dc.TextOut(600, 150, "Plan 1");
    dc.SetBkMode(OPAQUE);
    dc.SetBkColor(RGB(220, 220, 255));
    dc.SetTextAlign(TA_LEFT | TA_TOP | TA_UPDATECP);
    dc.MoveTo(40, 450);
    dc.TextOut(0, 0, "AB");
    dc.LineTo(400, 450);  // from where the text ended
    QImage picture(3, 2, QImage::Format_RGB32);
    picture.fill(qRgb(0, 100, 255));
    picture.setPixel(0, 0, qRgb(255, 100, 0));
    dc.StretchImage(700, 780, 300, -120, picture);
    dc.SelectObject(oldFont);
    dc.SelectObject(oldBrush);
    dc.SelectObject(oldPen);
}

CMetaFile Record(const std::function<void(CDC&)>& draw)
{
    CMetaFileDC dc;
    draw(dc);
    return dc.Close();
}

QImage White(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// Drawn straight into an image whose viewport is the whole image.
QImage Direct(const std::function<void(CDC&)>& draw, int w, int h)
{
    QImage image = White(w, h);
    CImageDC dc(&image);
    dc.SetViewportExt(w, h);
    draw(dc);
    return image;
}

QImage Played(const CMetaFile& picture, int w, int h, const LRect& target)
{
    QImage image = White(w, h);
    CImageDC dc(&image);
    EXPECT_TRUE(picture.Play(dc, target));
    return image;
}

int Differences(const QImage& a, const QImage& b)
{
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

// The bounding box of the pixels of a colour.
LRect Box(const QImage& image, QRgb colour)
{
    LRect box{1 << 20, 1 << 20, -1, -1};
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) {
                box.left = std::min<std::int64_t>(box.left, x);
                box.top = std::min<std::int64_t>(box.top, y);
                box.right = std::max<std::int64_t>(box.right, x + 1);
                box.bottom = std::max<std::int64_t>(box.bottom, y + 1);
            }
    return box;
}

TEST(MetaFile, PlayedAtTheSameSizeEqualsDrawingDirectly)
{
    const CMetaFile picture = Record(DrawSample);
    ASSERT_FALSE(picture.IsEmpty());
    const QImage direct = Direct(DrawSample, kW, kH);
    const QImage played = Played(picture, kW, kH, {0, 0, kW, kH});
    EXPECT_GT(Differences(direct, White(kW, kH)), 2000) << "the sample draws";
    EXPECT_EQ(Differences(direct, played), 0);
    // Every kind shows in the picture.
    for (QRgb c : {0xFF0000u, 0x0000FFu, 0x008000u, 0xFFFF00u, 0xC800C8u, 0x00C8C8u, 0xFFA000u, 0x5A5A5Au,
                   0x005A00u, 0x783C00u, 0x800000u, 0x0064FFu, 0xDCDCFFu})
        EXPECT_GT(Box(played, c).right, 0) << std::hex << c;
}

// The window fills the target: the line from the window's top-left corner
// to its bottom-right one spans the target, scaled and placed.
TEST(MetaFile, PlaysScaledIntoAnyTarget)
{
    const CMetaFile picture = Record([](CDC& dc) {
        SetWindow(dc);
        CPen red(PS_SOLID, 0, RGB(255, 0, 0));
        dc.SelectObject(&red);
        dc.MoveTo(0, 800);
        dc.LineTo(1200, 0);
        dc.SelectStockObject(BLACK_PEN);
        dc.MoveTo(0, 400);  // the middle row, from the left edge
        dc.LineTo(600, 400);
    });
    const struct {
        int w, h;
        LRect target;
        LRect red;    // the pixels the diagonal inks
        LRect black;  // the half row
    } rows[] = {
        {240, 160, {0, 0, 240, 160}, {0, 0, 240, 160}, {0, 80, 120, 81}},
        {480, 320, {0, 0, 480, 320}, {0, 0, 480, 320}, {0, 160, 240, 161}},
        {120, 80, {0, 0, 120, 80}, {0, 0, 120, 80}, {0, 40, 60, 41}},
        {300, 200, {30, 40, 270, 200}, {30, 40, 270, 200}, {30, 120, 150, 121}},
        // Partly outside the image: only the part inside is drawn.
        {100, 100, {-140, -60, 100, 100}, {0, 33, 100, 100}, {}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << r.w << "x" << r.h << " at " << r.target.left << "," << r.target.top);
        const QImage image = Played(picture, r.w, r.h, r.target);
        EXPECT_EQ(Box(image, 0xFF0000), r.red);
        if (r.black.Width() > 0)
            EXPECT_EQ(Box(image, 0x000000), r.black);
        else
            EXPECT_EQ(Box(image, 0x000000).right, -1);
    }
}

// A recording's own viewport turns the picture and its isotropic mode keeps
// its proportions, as the same drawing shows directly.
TEST(MetaFile, KeepsTheRecordedOrientationAndProportions)
{
    auto yUp = [](CDC& dc) {
        dc.SetYUpMapping(100, 50);
        CPen pen(PS_SOLID, 0, RGB(255, 0, 0));
        dc.SelectObject(&pen);
        dc.MoveTo(0, 0);
        dc.LineTo(50, 50);  // up to the right
        dc.SelectStockObject(BLACK_PEN);
    };
    QImage image = Played(Record(yUp), 100, 50, {0, 0, 100, 50});
    EXPECT_EQ(Box(image, 0xFF0000), Box(Direct(yUp, 100, 50), 0xFF0000));
    EXPECT_EQ(image.pixel(1, 49) & 0xFFFFFF, 0xFF0000u) << "from the bottom left";
    EXPECT_EQ(image.pixel(49, 1) & 0xFFFFFF, 0xFF0000u) << "up to the top";

    // Isotropic: a 50 x 50 square of the window stays square in a wide target.
    image = Played(Record(yUp), 200, 50, {0, 0, 200, 50});
    EXPECT_EQ(Box(image, 0xFF0000).Width(), Box(image, 0xFF0000).Height());
}

// Nothing is drawn beyond the target, flood fills included.
TEST(MetaFile, ClipsToTheTarget)
{
    const CMetaFile picture = Record([](CDC& dc) {
        SetWindow(dc);
        CBrush green(RGB(0, 160, 0));
        dc.SelectObject(&green);
        dc.ExtFloodFill(600, 400, dc.GetPixel(600, 400), FLOODFILLSURFACE);  // nothing bounds it
        CPen wide(PS_SOLID, 100, RGB(255, 0, 0));
        dc.SelectObject(&wide);
        dc.MoveTo(-600, 400);
        dc.LineTo(1800, 400);
    });
    const QImage image = Played(picture, 200, 100, {50, 20, 110, 60});
    EXPECT_EQ(Box(image, 0x00A000), (LRect{50, 20, 110, 60}));
    const LRect red = Box(image, 0xFF0000);
    EXPECT_EQ(red.left, 50);
    EXPECT_EQ(red.right, 110);
    EXPECT_GE(red.top, 20);
    EXPECT_LE(red.bottom, 60);
    EXPECT_EQ(Differences(image, White(200, 100)), 60 * 40);
}

// On a DC that cannot read pixels a flood fill arrives as the region it
// would fill; the DC's own state comes back after the picture.
TEST(MetaFile, FillsAsRegionsOnDevicesWithoutPixelsAndRestoresTheDC)
{
    const CMetaFile picture = Record([](CDC& dc) {
        SetWindow(dc);
        const LPoint box[] = {{120, 80}, {600, 80}, {600, 400}, {120, 400}, {120, 80}};
        dc.Polyline(box, 5);
        CBrush cyan(RGB(0, 200, 200));
        dc.SelectObject(&cyan);
        dc.ExtFloodFill(300, 200, dc.GetPixel(300, 200), FLOODFILLSURFACE);
        dc.SetROP2(R2_XORPEN);
        dc.SetTextAlign(TA_RIGHT);
    });
    CRecordingDC rec;
    CPen mine(PS_DOT, 2, RGB(1, 2, 3));
    rec.SelectObject(&mine);
    rec.SetMapMode(MM_ISOTROPIC);
    rec.SetWindowExt(7, 9);
    rec.SetViewportExt(11, -13);
    rec.SetBkColor(RGB(4, 5, 6));
    rec.MoveTo(17, 19);
    const CDC::Mapping before = rec.GetMapping();
    rec.Clear();
    ASSERT_TRUE(picture.Play(rec, {10, 20, 250, 180}));
    const std::vector<DCCall> fills = rec.CallsNamed("FillRgn");
    ASSERT_EQ(fills.size(), 1u);
    // The box's inside on a 240 x 160 target placed at (10, 20).
    EXPECT_EQ(fills[0].ToString(), "FillRgn(35,101,130,164,0," + std::to_string(RGB(0, 200, 200)) + ")");
    EXPECT_TRUE(rec.CallsNamed("ExtFloodFill").empty());
    EXPECT_EQ(rec.CurrentPen().Style(), PS_DOT);
    EXPECT_EQ(rec.CurrentPen().Colour(), RGB(1, 2, 3));
    EXPECT_EQ(rec.GetROP2(), R2_COPYPEN);
    EXPECT_EQ(rec.GetTextAlign(), TA_LEFT | TA_TOP);
    EXPECT_EQ(rec.GetBkColor(), RGB(4, 5, 6));
    EXPECT_EQ(rec.GetCurrentPosition(), (LPoint{17, 19}));
    const CDC::Mapping after = rec.GetMapping();
    EXPECT_EQ(std::memcmp(&before, &after, sizeof before), 0);
}

TEST(MetaFile, EmptyPicturesAndEmptyTargetsDrawNothing)
{
    CRecordingDC rec;
    EXPECT_TRUE(CMetaFile().IsEmpty());
    EXPECT_FALSE(CMetaFile().Play(rec, {0, 0, 10, 10}));
    EXPECT_TRUE(Record([](CDC&) {}).IsEmpty());
    const CMetaFile line = Record([](CDC& dc) { dc.LineTo(1, 1); });
    for (const LRect& t : {LRect{0, 0, 0, 10}, LRect{0, 0, 10, -1}, LRect{5, 0, 4, 10}, LRect{0, 0, 1 << 30, 10},
                           LRect{-(1 << 30), 0, 10, 10}})
        EXPECT_FALSE(line.Play(rec, t)) << t.left << " " << t.right << " " << t.bottom;
    EXPECT_TRUE(rec.Calls().empty());
    EXPECT_TRUE(line.Play(rec, {0, 0, (1 << 30) - 1, 10}));
}

// The recorder answers as any DC does, and keeps nothing of a call that
// fails, so what it keeps always reads back.
TEST(MetaFile, RecordsWhatSucceedsOnly)
{
    const LPoint two[] = {{1, 2}, {3, 4}};
    CPen uncreated;
    CBrush none, hollow;
    hollow.CreateHollowBrush();
    CRgn square;
    const LPoint box[] = {{0, 0}, {9, 0}, {9, 9}};
    square.CreatePolygonRgn(box, 3);
    const struct {
        const char* name;
        std::function<long long(CDC&)> call;
        bool kept;
    } rows[] = {
        {"map mode 99", [](CDC& dc) { return dc.SetMapMode(99); }, false},
        {"map mode", [](CDC& dc) { return dc.SetMapMode(MM_ISOTROPIC); }, true},
        {"window extent 0", [](CDC& dc) { return dc.SetWindowExt(0, 5); }, false},
        {"window extent", [](CDC& dc) { return dc.SetWindowExt(INT_MIN, 5); }, true},
        {"viewport extent 0", [](CDC& dc) { return dc.SetViewportExt(3, 0); }, false},
        {"viewport extent", [](CDC& dc) { return dc.SetViewportExt(3, -4); }, true},
        {"raster operation 0", [](CDC& dc) { return dc.SetROP2(0); }, false},
        {"background mode 7", [](CDC& dc) { return dc.SetBkMode(7); }, false},
        {"a pen not made", [&](CDC& dc) { return dc.SelectObject(&uncreated) != nullptr; }, false},
        {"stock object 99", [](CDC& dc) { return dc.SelectStockObject(99) != nullptr; }, false},
        {"a line of one point", [&](CDC& dc) { return dc.Polyline(two, 1); }, false},
        {"a line of two points", [&](CDC& dc) { return dc.Polyline(two, 2); }, true},
        {"a polygon of two points", [&](CDC& dc) { return dc.Polygon(two, 2); }, true},
        {"a fill with a brush not made", [&](CDC& dc) { return dc.FillRect(0, 0, 5, 5, none); }, false},
        {"a frame with a brush not made", [&](CDC& dc) { return dc.FrameRect(0, 0, 5, 5, none); }, false},
        {"a region with a hollow brush", [&](CDC& dc) { return dc.FillRgn(square, hollow); }, false},
        {"a region", [&](CDC& dc) { return dc.FillRgn(square, CBrush(RGB(1, 2, 3))); }, true},
        {"no image", [](CDC& dc) { return dc.StretchImage(0, 0, 5, 5, QImage()); }, false},
        {"far points",
         [](CDC& dc) {
             dc.MoveTo(std::numeric_limits<std::int64_t>::min(), kLogicalLimit);
             return dc.LineTo(-kLogicalLimit, std::numeric_limits<std::int64_t>::max());
         },
         true},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        CImageDC image(20, 20);
        CMetaFileDC recorder;
        EXPECT_EQ(recorder.GetPixel(1, 1), kPixelAtPlay);
        EXPECT_EQ(r.call(recorder) != 0, r.call(image) != 0) << "answers as an image DC";
        const CMetaFile kept = recorder.Close();
        EXPECT_EQ(kept.IsEmpty(), !r.kept);
        CMetaFile back;
        const auto error = CMetaFile::FromBytes(kept.ToBytes(), back);
        EXPECT_FALSE(error) << *error;
        EXPECT_EQ(back.CallCount(), kept.CallCount());
    }
}

// ---------------------------------------------------------------- the bytes

TEST(MetaFile, BytesReadBackExactly)
{
    const CMetaFile picture = Record(DrawSample);
    const std::vector<BYTE> bytes = picture.ToBytes();
    CMetaFile back;
    const auto error = CMetaFile::FromBytes(bytes, back);
    ASSERT_FALSE(error) << *error;
    EXPECT_EQ(back.CallCount(), picture.CallCount());
    EXPECT_EQ(back.ToBytes(), bytes);
    EXPECT_EQ(Differences(Played(back, kW, kH, {0, 0, kW, kH}), Played(picture, kW, kH, {0, 0, kW, kH})), 0);
    // On a DC without pixels too, flood fills and all.
    CRecordingDC original, read;
    picture.Play(original, {0, 0, kW, kH});
    back.Play(read, {0, 0, kW, kH});
    EXPECT_EQ(read.Log(), original.Log());
    EXPECT_EQ(read.CallsNamed("FillRgn").size(), 3u) << "the region and both flood fills";
    // An empty picture too.
    CMetaFile none;
    ASSERT_FALSE(CMetaFile::FromBytes(CMetaFile().ToBytes(), none));
    EXPECT_TRUE(none.IsEmpty());
}

// Every shorter piece of a picture's bytes is refused, and the picture read into stays as it was.
TEST(MetaFile, CutBytesAreRefused)
{
    const std::vector<BYTE> bytes = Record(DrawSample).ToBytes();
    const CMetaFile kept = Record([](CDC& dc) { dc.LineTo(3, 4); });
    for (std::size_t n = 0; n < bytes.size(); n += 1 + n / 64) {
        CMetaFile out = kept;
        const auto error = CMetaFile::FromBytes(std::span(bytes.data(), n), out);
        ASSERT_TRUE(error) << n;
        EXPECT_EQ(out.CallCount(), 1u);
    }
}

// Hand-made bytes: the header, the five tables, then the calls.
ByteWriter Header() { return std::move(ByteWriter().raw("ZPMF").u16(1)); }
// No pens, images, brushes, fonts or texts, then the calls' count.
ByteWriter Calls(unsigned n) { return std::move(Header().u8(0).u8(0).u8(0).u8(0).u8(0).u8(n)); }

TEST(MetaFile, DamagedBytesAreRefusedWithWhereAndWhat)
{
    const struct {
        const char* name;
        ByteWriter bytes;
        const char* says;
    } rows[] = {
        {"another format", std::move(ByteWriter().raw("GIF89a")), "byte 0: not a picture"},
        {"a later version", std::move(ByteWriter().raw("ZPMF").u16(2)), "byte 4: picture version 2"},
        {"a pen count larger than the bytes", std::move(Header().var(1000).u8(0)), "byte 6: the pen count 1000"},
        {"a pen count beyond the limit", std::move(Header().var(1ull << 40)), "is more than 1048576"},
        {"a pen style", std::move(Header().u8(1).u8(9).u8(0).u8(0)), "byte 7: a pen style 9 is more than 5"},
        {"an image larger than the bytes", std::move(Header().u8(0).u8(1).var(1000).var(1000).zeros(8)),
         "an image of 1000 x 1000 pixels"},
        {"an image without pixels", std::move(Header().u8(0).u8(1).u8(0).u8(3).zeros(8)), "without pixels"},
        {"a brush image", std::move(Header().u8(0).u8(0).u8(1).u8(2).u8(0)), "brush image 0 is not among"},
        {"a font too large", std::move(Header().u8(0).u8(0).u8(0).u8(1).u32(2000000).zeros(56)), "beyond 10^6"},
        {"a text longer than the bytes", std::move(Header().u8(0).u8(0).u8(0).u8(0).u8(1).u8(50).raw("abc")),
         "a text length 50 asks for more than the 3 bytes left"},
        {"a call count larger than the bytes", std::move(Calls(100)), "the call count 100"},
        {"an unknown call", std::move(Calls(1).u8(99)), "byte 12: call code 99 is unknown"},
        {"a call cut short", std::move(Calls(1).u8(16).u8(2)), "the bytes end inside a coordinate"},
        {"a coordinate beyond 10^15", std::move(Calls(1).u8(16).zig(3000000000000000).u8(0)), "beyond 10^15"},
        {"a varint in too many bytes", std::move(Calls(1).u8(16).u8(0x82).u8(0x00).u8(0)), "more bytes than it needs"},
        {"a varint beyond 64 bits", std::move(Calls(1).u8(16).raw(std::string(9, '\xFF')).u8(0x7F)),
         "too large for 64 bits"},
        {"a window extent of 0", std::move(Calls(1).u8(2).u8(0).u8(2)), "extent 0"},
        {"an origin beyond 32 bits", std::move(Calls(1).u8(3).zig(1ll << 40).u8(0)), "beyond 32 bits"},
        {"a mapping mode", std::move(Calls(1).u8(1).u8(5)), "mapping mode 5"},
        {"a raster operation", std::move(Calls(1).u8(10).u8(0)), "raster operation 0"},
        {"a background mode", std::move(Calls(1).u8(13).u8(3)), "background mode 3"},
        {"a stock object", std::move(Calls(1).u8(9).u8(9)), "stock object 9"},
        {"a pen that is not stored", std::move(Calls(1).u8(6).u8(0)), "pen 0 is not among the 0 stored"},
        {"a line of one point", std::move(Calls(1).u8(17).u8(1).u8(0).u8(0)), "a line of 1 points"},
        {"a region polygon of two points", std::move(Header().u8(0).u8(0).u8(1).u8(1).u8(0).u8(0).u8(1).u8(26).u8(0)
                                                         .u8(0).u8(1).u8(2).zeros(8)),
         "a polygon of 2 points"},
        {"a flood fill kind", std::move(Calls(1).u8(28).u8(0).u8(0).u8(2)), "a flood fill kind 2"},
        {"a point beyond 10^15", std::move(Calls(1).u8(17).u8(2).u8(0).u8(0).u8(0).zig(-2000000000000000)),
         "byte 16: a point beyond 10^15"},
        {"region polygons with more points than bytes",
         std::move(Header().u8(0).u8(0).u8(1).u8(1).u8(0).u8(0).u8(1).u8(26).u8(0).u8(0).u8(2).u8(3).u8(5).zeros(12)),
         "byte 18: the region's polygons ask for more points than there are"},
        {"bytes after the calls", std::move(Calls(0).u8(0)), "byte 12: 1 bytes after the last call"},
    };
    const CMetaFile kept = Record([](CDC& dc) { dc.LineTo(3, 4); });
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        CMetaFile out = kept;
        const auto error = CMetaFile::FromBytes(r.bytes.bytes(), out);
        ASSERT_TRUE(error);
        EXPECT_NE(error->find(r.says), std::string::npos) << *error;
        EXPECT_EQ(error->rfind("picture, byte ", 0), 0u) << *error;
        EXPECT_EQ(out.ToBytes(), kept.ToBytes());
    }
    CMetaFile fine;
    EXPECT_FALSE(CMetaFile::FromBytes(Calls(0).bytes(), fine));
}

// ------------------------------------------------------------------ limits

CMetaFile RecordWithin(const CMetaLimits& limits, const std::function<void(CDC&)>& draw)
{
    CMetaFileDC dc(limits);
    draw(dc);
    return dc.Close();
}

// Recorded past a limit, the picture keeps the calls before the one that
// would pass it, says it was cut, and reads back under the same limits.
TEST(MetaFile, RecordingStopsBeforeALimitAndReadsBack)
{
    static CPen pens[3] = {CPen(PS_SOLID, 0, RGB(255, 0, 0)), CPen(PS_SOLID, 0, RGB(0, 255, 0)),
                           CPen(PS_SOLID, 0, RGB(0, 0, 255))};
    static const LPoint square[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    auto lines = [](int n) {
        return [n](CDC& dc) {
            for (int i = 0; i < n; ++i)
                dc.LineTo(i, i);
        };
    };
    auto twoBoxes = [](CDC& dc) {
        CRgn both;
        const LRect boxes[] = {{0, 0, 5, 5}, {10, 10, 15, 15}};
        both.CreateBoxesRgn(boxes);
        dc.LineTo(1, 1);
        dc.FillRgn(both, CBrush(RGB(9, 9, 9)));
        dc.LineTo(2, 2);
    };
    auto fonts = [](CDC& dc) {
        for (int height : {10, 20, 30}) {
            LOGFONT lf;
            lf.lfHeight = height;
            CFont font;
            font.CreateFontIndirect(lf);
            CFont* old = dc.SelectObject(&font);
            dc.SelectObject(old);
        }
    };
    auto images = [](CDC& dc) {
        for (QRgb c : {0xFF0000u, 0x00FF00u, 0x0000FFu}) {
            QImage image(2, 2, QImage::Format_RGB32);
            image.fill(c);
            dc.StretchImage(0, 0, 4, 4, image);
        }
    };
    struct Row {
        const char* name;
        CMetaLimits limits;
        std::function<void(CDC&)> draw;
        std::size_t calls;
        bool cut;
    } rows[] = {
        {"calls at the limit", {.calls = 5}, lines(5), 5, false},
        {"calls past it", {.calls = 3}, lines(5), 3, true},
        {"points of lines",
         {.points = 6},
         [](CDC& dc) {
             dc.Polyline(square, 4);
             dc.Polygon(square, 4);
             dc.LineTo(1, 1);
         },
         1, true},
        {"points of a region", {.points = 9}, twoBoxes, 1, true},
        {"polygons of a region", {.tableEntries = 1}, twoBoxes, 1, true},
        {"a region within", {.points = 10, .tableEntries = 2}, twoBoxes, 3, false},
        {"pens",
         {.tableEntries = 2},
         [](CDC& dc) {
             for (CPen& pen : pens)
                 dc.SelectObject(&pen);
             dc.SelectObject(&pens[0]);
             dc.SelectStockObject(BLACK_PEN);
         },
         2, true},
        {"brushes",
         {.tableEntries = 2},
         [](CDC& dc) {
             for (COLORREF c : {RGB(1, 0, 0), RGB(2, 0, 0), RGB(3, 0, 0), RGB(1, 0, 0)})
                 dc.FillRect(0, 0, 4, 4, CBrush(c));
         },
         2, true},
        {"fonts", {.tableEntries = 2}, fonts, 2, true},  // the first, then the one it replaced
        {"texts",
         {.tableEntries = 2},
         [](CDC& dc) {
             for (const char* text : {"a", "b", "a", "c", "a"})
                 dc.TextOut(0, 0, text);
         },
         3, true},
        {"images", {.tableEntries = 2}, images, 2, true},
        {"a text's bytes",
         {.textBytes = 3},
         [](CDC& dc) {
             dc.TextOut(0, 0, "abcdef");
             dc.LineTo(1, 1);
         },
         2, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const CMetaFile picture = RecordWithin(row.limits, row.draw);
        EXPECT_EQ(picture.IsCut(), row.cut);
        const std::size_t calls = row.calls + (row.cut ? 1 : 0);  // the cut is marked by a call of its own
        EXPECT_EQ(picture.CallCount(), calls);
        CMetaFile back;
        const auto error = CMetaFile::FromBytes(picture.ToBytes(), back, row.limits);
        ASSERT_FALSE(error) << *error;
        EXPECT_EQ(back.CallCount(), calls);
        EXPECT_EQ(back.IsCut(), row.cut) << "the bytes keep the cut";
        QImage image = White(20, 20);
        CImageDC dc(&image);
        EXPECT_TRUE(back.Play(dc, {0, 0, 20, 20}));
    }
    // Past the limit only the mark of a cut is read.
    const std::vector<BYTE> six = RecordWithin({}, lines(6)).ToBytes();
    CMetaFile back;
    EXPECT_TRUE(CMetaFile::FromBytes(six, back, {.calls = 5}));
    EXPECT_FALSE(CMetaFile::FromBytes(RecordWithin({.calls = 5}, lines(6)).ToBytes(), back, {.calls = 5}));
    EXPECT_FALSE(Record(DrawSample).IsCut());
}

// The sizes of the images a picture's bytes store, when it stores no pens.
std::vector<QSize> StoredImageSizes(const std::vector<BYTE>& bytes)
{
    std::size_t at = 6;
    auto var = [&] {
        unsigned long long v = 0;
        for (int shift = 0;; shift += 7) {
            const BYTE b = bytes.at(at++);
            v |= (unsigned long long)(b & 0x7F) << shift;
            if (!(b & 0x80))
                return v;
        }
    };
    EXPECT_EQ(var(), 0u) << "pens";
    std::vector<QSize> sizes(var());
    for (QSize& size : sizes) {
        const int w = int(var()), h = int(var());
        size = {w, h};
        at += std::size_t(w) * std::size_t(h) * 4;
    }
    return sizes;
}

// An image past the side limit or the pixels left is kept smaller, in its
// proportions, and plays whole; with no pixel left it plays as its frame and
// a pattern as its first pixel's colour.
TEST(MetaFile, ImagesPastTheLimitsAreKeptScaledDown)
{
    const CMetaLimits limits{.imageSide = 64, .imagePixels = 64 * 32 + 14 * 7};
    QImage halves(100, 50, QImage::Format_RGB32);
    halves.fill(qRgb(255, 0, 0));
    for (int y = 0; y < 50; ++y)
        for (int x = 50; x < 100; ++x)
            halves.setPixel(x, y, qRgb(0, 0, 255));
    QImage green(40, 20, QImage::Format_RGB32), yellow(30, 30, QImage::Format_RGB32),
        magenta(4, 4, QImage::Format_RGB32);
    green.fill(qRgb(0, 255, 0));
    yellow.fill(qRgb(255, 255, 0));
    magenta.fill(qRgb(255, 0, 255));
    const CMetaFile picture = RecordWithin(limits, [&](CDC& dc) {
        dc.SetMapMode(MM_ANISOTROPIC);
        dc.SetWindowExt(200, 100);
        dc.StretchImage(0, 0, 100, 50, halves);
        dc.StretchImage(100, 0, 40, 20, green);
        dc.StretchImage(100, 50, 30, 30, yellow);
        CBrush pattern;
        pattern.CreatePatternBrush(magenta);
        dc.FillRect(0, 60, 50, 100, pattern);
    });
    EXPECT_FALSE(picture.IsCut());
    const std::vector<BYTE> bytes = picture.ToBytes();
    EXPECT_EQ(StoredImageSizes(bytes), (std::vector<QSize>{{64, 32}, {14, 7}}));
    CMetaFile back;
    const auto error = CMetaFile::FromBytes(bytes, back, limits);
    ASSERT_FALSE(error) << *error;
    const QImage played = Played(back, 200, 100, {0, 0, 200, 100});
    EXPECT_EQ(Box(played, 0xFF0000), (LRect{0, 0, 50, 50}));
    EXPECT_EQ(Box(played, 0x0000FF), (LRect{50, 0, 100, 50}));
    EXPECT_EQ(Box(played, 0x00FF00), (LRect{100, 0, 140, 20}));
    EXPECT_EQ(CountPixels(played, 0xFFFF00), 0);
    EXPECT_EQ(Box(played, 0x000000), (LRect{100, 50, 130, 80})) << "the frame";
    EXPECT_EQ(InkPixels(played.copy(101, 51, 28, 28)), 0) << "only the frame";
    EXPECT_EQ(Box(played, 0xFF00FF), (LRect{0, 60, 50, 100}));

    // Under the real limits too: one side past 65536 pixels.
    QImage wide(70000, 1, QImage::Format_RGB32);
    wide.fill(qRgb(0, 0, 255));
    const CMetaFile strip = Record([&](CDC& dc) { dc.StretchImage(0, 0, 1, 1, wide); });
    const std::vector<BYTE> stripBytes = strip.ToBytes();
    EXPECT_EQ(StoredImageSizes(stripBytes), (std::vector<QSize>{{65536, 1}}));
    ASSERT_FALSE(CMetaFile::FromBytes(stripBytes, back));
    EXPECT_EQ(back.CallCount(), 1u);
}

// ------------------------------------------------------------ the play budget

namespace {

// The work a picture's play on an image of w x h pixels spends.
std::int64_t WorkOf(const CMetaFile& picture, int w, int h)
{
    CMetaPlayBudget budget(std::int64_t(1) << 50);
    CImageDC dc(w, h);
    picture.Play(dc, {0, 0, w, h}, budget);
    return (std::int64_t(1) << 50) - budget.Left();
}

// n calls of draw(dc, i) over a window of w x h.
CMetaFile Calls(int n, int w, int h, const std::function<void(CDC&, int)>& draw)
{
    return Record([&](CDC& dc) {
        dc.SetMapMode(MM_ANISOTROPIC);
        dc.SetWindowExt(w, h);
        for (int i = 0; i < n; ++i)
            draw(dc, i);
    });
}

}  // namespace

// A picture plays the calls its budget pays for, in order: from the first it
// cannot pay, the rest of the picture is left out and counted, even cheaper
// calls; plays on one budget share it.
TEST(MetaFile, CallsPastTheBudgetAreLeftOutWithTheRestOfThePicture)
{
    const auto texts = [](int n) { return Calls(n, 150, 40, [](CDC& dc, int i) { dc.TextOut(50 * i, 5, "HH"); }); };
    for (int paid = 1; paid <= 3; ++paid)
        for (const std::int64_t less : {0, 1}) {
            SCOPED_TRACE(paid - less);
            CImageDC dc(150, 40);
            CMetaPlayBudget budget(WorkOf(texts(paid), 150, 40) - less);
            ASSERT_TRUE(texts(3).Play(dc, {0, 0, 150, 40}, budget));
            for (int i = 0; i < 3; ++i)
                EXPECT_EQ(InkPixels(dc.Image().copy(50 * i, 0, 50, 40)) > 0, i < paid - less) << i;
            EXPECT_EQ(budget.CallsLeftOut(), std::uint64_t(3 - paid + less));
            // The next play spends what is left.
            ASSERT_TRUE(texts(3).Play(dc, {0, 0, 150, 40}, budget));
            EXPECT_GE(budget.CallsLeftOut(), std::uint64_t(3 - paid + less) + 3);
        }

    QImage large(400, 400, QImage::Format_RGB32);
    large.fill(qRgb(0, 0, 255));
    const CMetaFile imageThenText = Calls(1, 150, 40, [&](CDC& dc, int) {
        dc.StretchImage(5, 5, 140, -30, large);
        dc.TextOut(50, 5, "HH");
    });
    CImageDC dc(150, 40);
    CMetaPlayBudget budget(WorkOf(texts(1), 150, 40));
    ASSERT_TRUE(imageThenText.Play(dc, {0, 0, 150, 40}, budget));
    EXPECT_EQ(InkPixels(dc.Image()), 0) << "the text after the image is left out too";
    EXPECT_EQ(budget.CallsLeftOut(), 2u);
}

// A flood fill starts only when what is left pays for filling all the pixels
// the DC shows, and then pays for those it painted: on image DCs, and
// through the shadow image on DCs without pixels.
TEST(MetaFile, FloodFillsNeedTheWholeTargetLeftAndPayWhatTheyPaint)
{
    static CBrush brushes[4] = {CBrush(RGB(255, 0, 0)), CBrush(RGB(0, 255, 0)), CBrush(RGB(0, 0, 255)),
                                CBrush(RGB(0, 0, 0))};
    // Each fill paints all 256 pixels.
    const auto fills = [](int n) {
        return Calls(n, 16, 16, [](CDC& dc, int i) {
            dc.SelectObject(&brushes[i]);
            dc.ExtFloodFill(8, 8, dc.GetPixel(8, 8), FLOODFILLSURFACE);
        });
    };
    const QRgb last[] = {0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0x000000};
    for (int paid = 0; paid <= 4; ++paid) {
        SCOPED_TRACE(paid);
        CImageDC dc(16, 16);
        CMetaPlayBudget budget(WorkOf(fills(paid), 16, 16)), again = budget;
        ASSERT_TRUE(fills(4).Play(dc, {0, 0, 16, 16}, budget));
        EXPECT_EQ(CountPixels(dc.Image(), last[paid]), 256);
        CRecordingDC rec;
        ASSERT_TRUE(fills(4).Play(rec, {0, 0, 16, 16}, again));
        EXPECT_EQ(rec.CallsNamed("FillRgn").size(), std::size_t(paid));
    }

    // A fill inside a small box pays less than filling the whole target costs.
    const CMetaFile boxed = Calls(1, 16, 16, [](CDC& dc, int) {
        const LPoint box[] = {{2, 2}, {7, 2}, {7, 7}, {2, 7}, {2, 2}};
        dc.Polyline(box, 5);
        dc.SelectObject(&brushes[0]);
        dc.ExtFloodFill(4, 4, dc.GetPixel(4, 4), FLOODFILLSURFACE);
    });
    const std::int64_t small = WorkOf(boxed, 16, 16), whole = WorkOf(fills(1), 16, 16);
    CImageDC dc(16, 16);
    CMetaPlayBudget tight(small), enough(small + whole);
    boxed.Play(dc, {0, 0, 16, 16}, tight);
    EXPECT_EQ(tight.CallsLeftOut(), 1u);
    boxed.Play(dc, {0, 0, 16, 16}, enough);
    EXPECT_EQ(CountPixels(dc.Image(), 0xFF0000), 16);
    EXPECT_EQ(enough.Left(), whole);
}

// Every kind of call pays for the pixels it covers: many calls over the whole
// target do no more, together, than a repaint's budget pays for at one unit
// a pixel. Texts, however short, pay for their layout: a repaint lays out far
// fewer than a second's worth.
TEST(MetaFile, EveryKindOfCallPaysForWhatItCovers)
{
    constexpr int kTw = 800, kTh = 600;  // the window is 1200 x 800
    static CPen wide(PS_SOLID, 75, RGB(0, 128, 0));
    static CBrush red(RGB(255, 0, 0));
    QImage dot(1, 1, QImage::Format_RGB32);
    dot.fill(Qt::blue);
    std::vector<LPoint> zigzag;
    for (int i = 0; i <= 100; ++i)
        zigzag.push_back({i * 12, i % 2 ? 800 : 0});
    const LPoint whole[] = {{0, 0}, {1200, 0}, {1200, 800}, {0, 800}};
    const struct {
        const char* op;
        std::int64_t pixels;  // at least what each call covers
        std::function<void(CDC&)> draw;
    } kinds[] = {
        {"FillRect", kTw * kTh, [](CDC& dc) { dc.FillRect(0, 0, 1200, 800, red); }},
        {"Rectangle", 2 * (kTw + kTh) * 40,
         [](CDC& dc) {
             dc.SelectObject(&wide);
             dc.Rectangle(0, 0, 1200, 800);
         }},
        {"Ellipse", kTw * kTh * 3 / 4, [](CDC& dc) { dc.Ellipse(0, 0, 1200, 800); }},
        {"Polygon", kTw * kTh, [&](CDC& dc) { dc.Polygon(whole, 4); }},
        {"Polyline", 100 * kTh, [&](CDC& dc) { dc.Polyline(zigzag.data(), int(zigzag.size())); }},
        {"LineTo", kTw * 40,
         [](CDC& dc) {
             dc.SelectObject(&wide);
             dc.MoveTo(0, 0);
             dc.LineTo(1200, 800);
         }},
        {"StretchImage", kTw * kTh, [&](CDC& dc) { dc.StretchImage(0, 0, 1200, 800, dot); }},
        {"FillRgn", kTw * kTh,
         [&](CDC& dc) {
             CRgn region;
             const LPoint device[] = {dc.LPtoDP(whole[0]), dc.LPtoDP(whole[1]), dc.LPtoDP(whole[2]),
                                      dc.LPtoDP(whole[3])};
             region.CreatePolygonRgn(device, 4);
             dc.FillRgn(region, red);
         }},
    };
    for (const auto& kind : kinds) {
        SCOPED_TRACE(kind.op);
        const int calls = int(4 * CMetaPlayBudget::kRepaintWork / kind.pixels) + 1;
        CRecordingDC rec;
        CMetaPlayBudget budget;
        ASSERT_TRUE(Calls(calls, 1200, 800, [&](CDC& dc, int) { kind.draw(dc); }).Play(rec, {0, 0, kTw, kTh}, budget));
        const std::int64_t made = std::int64_t(rec.CallsNamed(kind.op).size());
        EXPECT_GT(made, 0);
        EXPECT_LE(made * kind.pixels, CMetaPlayBudget::kRepaintWork);
        EXPECT_GT(budget.CallsLeftOut(), 0u);
    }

    constexpr int kTexts = 200'000, kTextsASecond = 60'000;
    CRecordingDC rec;
    ASSERT_TRUE(Calls(kTexts, 1200, 800, [](CDC& dc, int i) { dc.TextOut(i % 1200, i % 800, "sixteen bytes ok"); })
                    .Play(rec, {0, 0, kTw, kTh}));
    EXPECT_GT(rec.CallsNamed("TextOut").size(), 0u);
    EXPECT_LT(rec.CallsNamed("TextOut").size(), std::size_t(kTextsASecond));
}

// ------------------------------------------------------------ the painter DC

// Played through a painter on an image, the picture lands where the image DC
// draws it, to within the painter's own pixel rules.
TEST(PainterDC, DrawsThePictureWhereTheImageDCDoes)
{
    const CMetaFile picture = Record(DrawSample);
    QImage image = White(kW, kH);
    {
        QPainter painter(&image);
        CPainterDC dc(painter);
        ASSERT_TRUE(picture.Play(dc, {0, 0, kW, kH}));
    }
    const QImage reference = Played(picture, kW, kH, {0, 0, kW, kH});
    // The flood fill, cut by the dashed line it ends at, covers the same pixels.
    EXPECT_EQ(CountPixels(image, 0x00C8C8), CountPixels(reference, 0x00C8C8));
    EXPECT_GT(CountPixels(reference, 0x00C8C8), 500);
    for (QRgb c : {0xFF0000u, 0x008000u, 0xFFFF00u, 0x00C8C8u, 0x5A5A5Au, 0x005A00u, 0x783C00u, 0x0064FFu}) {
        SCOPED_TRACE(testing::Message() << std::hex << c);
        const LRect a = Box(image, c), b = Box(reference, c);
        EXPECT_NEAR(double(a.left), double(b.left), 2.0);
        EXPECT_NEAR(double(a.top), double(b.top), 2.0);
        EXPECT_NEAR(double(a.right), double(b.right), 2.0);
        EXPECT_NEAR(double(a.bottom), double(b.bottom), 2.0);
    }
}

// Each call answers as on an image DC and inks the same place: the same
// pixels for fills and frames, a box within a pixel or two for outlines,
// about as many pixels for pen patterns.
TEST(PainterDC, AnswersAndDrawsAsTheImageDCDoes)
{
    enum Match { exact, near, count };
    const LPoint one[] = {{10, 10}};
    const LPoint zigzag[] = {{10, 10}, {40, 60}, {70, 10}, {90, 50}};
    CBrush none, hollow, blue(RGB(0, 0, 255));
    hollow.CreateHollowBrush();
    CRgn triangle;
    const LPoint corners[] = {{10, 10}, {80, 20}, {40, 70}};
    triangle.CreatePolygonRgn(corners, 3);
    QImage picture(4, 2, QImage::Format_RGB32);
    picture.fill(qRgb(0, 128, 0));
    LOGFONT huge;
    huge.lfHeight = -900000;
    const struct {
        const char* name;
        std::function<long long(CDC&)> call;
        Match match;
    } rows[] = {
        {"a line", [](CDC& dc) { dc.MoveTo(5, 5); return dc.LineTo(90, 70); }, near},
        {"a line with nothing to draw",
         [](CDC& dc) {
             dc.SetROP2(R2_NOP);
             dc.MoveTo(5, 5);
             return dc.LineTo(90, 70);
         },
         exact},
        {"a line of one point", [&](CDC& dc) { return dc.Polyline(one, 1); }, exact},
        {"no points", [](CDC& dc) { return dc.Polyline(nullptr, 3) || dc.Polygon(nullptr, 3); }, exact},
        {"a polygon of one point", [&](CDC& dc) { return dc.Polygon(one, 1); }, exact},
        {"a polyline", [&](CDC& dc) { return dc.Polyline(zigzag, 4); }, near},
        {"a filled polygon",
         [&](CDC& dc) {
             dc.SelectObject(&blue);
             return dc.Polygon(zigzag, 4);
         },
         near},
        {"a wide pen",
         [&](CDC& dc) {
             CPen wide(PS_SOLID, 5, RGB(0, 0, 0));
             dc.SelectObject(&wide);
             return dc.Polyline(zigzag, 4);
         },
         count},
        {"a dashed pen of one pixel",
         [&](CDC& dc) {
             CPen dashed(PS_DOT, 1, RGB(0, 0, 0));
             dc.SelectObject(&dashed);
             return dc.Polyline(zigzag, 4);
         },
         count},
        {"an empty rectangle", [](CDC& dc) { return dc.Rectangle(10, 10, 10, 50); }, exact},
        {"a rectangle", [](CDC& dc) { return dc.Rectangle(10, 60, 70, 20); }, near},
        {"an empty ellipse", [](CDC& dc) { return dc.Ellipse(10, 10, 60, 10); }, exact},
        {"an ellipse", [](CDC& dc) { return dc.Ellipse(10, 60, 70, 20); }, near},
        {"an arc", [](CDC& dc) { return dc.Arc(10, 60, 70, 20, 70, 40, 10, 40); }, near},
        {"an empty arc", [](CDC& dc) { return dc.Arc(10, 60, 10, 20, 70, 40, 10, 40); }, exact},
        {"a pixel", [](CDC& dc) { return dc.SetPixel(30, 30, RGB(255, 0, 0)); }, exact},
        {"no text", [](CDC& dc) { return dc.TextOut(30, 30, ""); }, exact},
        {"a text too large",
         [&](CDC& dc) {
             CFont f;
             f.CreateFontIndirect(huge);
             dc.SelectObject(&f);
             return dc.TextOut(30, 30, "A");
         },
         exact},
        {"a fill with a brush not made", [&](CDC& dc) { return dc.FillRect(10, 10, 50, 50, none); }, exact},
        {"a hollow fill", [&](CDC& dc) { return dc.FillRect(10, 10, 50, 50, hollow); }, exact},
        {"a fill", [&](CDC& dc) { return dc.FillRect(10, 60, 50, 20, blue); }, exact},
        {"a frame with a brush not made", [&](CDC& dc) { return dc.FrameRect(10, 10, 50, 50, none); }, exact},
        {"a hollow frame", [&](CDC& dc) { return dc.FrameRect(10, 10, 50, 50, hollow); }, exact},
        {"a frame", [&](CDC& dc) { return dc.FrameRect(10, 60, 50, 20, blue); }, exact},
        {"a frame one pixel high", [&](CDC& dc) { return dc.FrameRect(10, 31, 50, 30, blue); }, exact},
        {"a frame two pixels high", [&](CDC& dc) { return dc.FrameRect(10, 32, 50, 30, blue); }, exact},
        {"a frame one pixel wide", [&](CDC& dc) { return dc.FrameRect(10, 60, 11, 20, blue); }, exact},
        {"an empty frame", [&](CDC& dc) { return dc.FrameRect(10, 60, 10, 20, blue); }, exact},
        {"a region with a hollow brush", [&](CDC& dc) { return dc.FillRgn(triangle, hollow); }, exact},
        {"a region", [&](CDC& dc) { return dc.FillRgn(triangle, blue); }, near},
        {"no image", [](CDC& dc) { return dc.StretchImage(10, 10, 40, 40, QImage()); }, exact},
        {"an image of no width", [&](CDC& dc) { return dc.StretchImage(10, 10, 0, 40, picture); }, exact},
        {"an image", [&](CDC& dc) { return dc.StretchImage(10, 50, 40, -20, picture); }, exact},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        QImage viaImage = White(100, 80), viaPainter = White(100, 80);
        long long imageAnswer = 0, painterAnswer = 0;
        {
            CImageDC dc(&viaImage);
            dc.SetYUpMapping(100, 80);
            imageAnswer = r.call(dc);
        }
        {
            QPainter painter(&viaPainter);
            CPainterDC dc(painter);
            dc.SetYUpMapping(100, 80);
            painterAnswer = r.call(dc);
        }
        EXPECT_EQ(painterAnswer, imageAnswer);
        const int inkImage = Differences(viaImage, White(100, 80)), inkPainter = Differences(viaPainter, White(100, 80));
        switch (r.match) {
        case exact: EXPECT_EQ(Differences(viaPainter, viaImage), 0); break;
        case near: {
            // The box of what is not white.
            auto inkBox = [](const QImage& image) {
                LRect box{1 << 20, 1 << 20, -1, -1};
                for (int y = 0; y < image.height(); ++y)
                    for (int x = 0; x < image.width(); ++x)
                        if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF)
                            box = {std::min<std::int64_t>(box.left, x), std::min<std::int64_t>(box.top, y),
                                   std::max<std::int64_t>(box.right, x + 1), std::max<std::int64_t>(box.bottom, y + 1)};
                return box;
            };
            const LRect a = inkBox(viaPainter), b = inkBox(viaImage);
            EXPECT_NEAR(double(a.left), double(b.left), 2.0);
            EXPECT_NEAR(double(a.top), double(b.top), 2.0);
            EXPECT_NEAR(double(a.right), double(b.right), 2.0);
            EXPECT_NEAR(double(a.bottom), double(b.bottom), 2.0);
            EXPECT_NEAR(double(inkPainter), double(inkImage), 0.25 * inkImage + 4);
            break;
        }
        case count: EXPECT_NEAR(double(inkPainter), double(inkImage), 0.2 * inkImage); break;
        }
    }
}

// Without raster operations on the device, each draws the colour it gives over white.
TEST(PainterDC, RasterOperationsOnVectorDevicesPaintTheirColourOverWhite)
{
    const struct {
        int rop;
        COLORREF pen;
        const char* stroke;  // null: nothing drawn
    } rows[] = {
        {R2_COPYPEN, RGB(255, 0, 0), "#ff0000"},  {R2_NOTCOPYPEN, RGB(255, 0, 0), "#00ffff"},
        {R2_MERGEPEN, RGB(255, 255, 255), "#ffffff"}, {R2_NOTMERGEPEN, RGB(0, 0, 0), "#000000"},
        {R2_XORPEN, RGB(255, 0, 0), "#00ffff"},   {R2_BLACK, RGB(255, 0, 0), "#000000"},
        {R2_NOP, RGB(255, 0, 0), nullptr},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.rop);
        QByteArray svg;
        QBuffer buffer(&svg);
        buffer.open(QIODevice::WriteOnly);
        QSvgGenerator generator;
        generator.setOutputDevice(&buffer);
        generator.setSize(QSize(100, 100));
        {
            QPainter painter(&generator);
            CPainterDC dc(painter);
            CPen pen(PS_SOLID, 0, r.pen);
            dc.SelectObject(&pen);
            dc.SetROP2(r.rop);
            dc.MoveTo(10, 10);
            dc.LineTo(90, 60);
        }
        const bool drawn = svg.contains("points=\"10,10 90,60");
        EXPECT_EQ(drawn, r.stroke != nullptr);
        if (r.stroke) {
            EXPECT_TRUE(svg.contains(QByteArray("stroke=\"") + r.stroke + "\"")) << svg.toStdString();
        }
    }
}

}  // namespace

#include "platform/imagedc.h"
#include "platform/oleitem.h"
#include "platform/picturecache.h"
#include "platform/svgpicture.h"
#include "support/pixels.h"

#include <QBuffer>
#include <gtest/gtest.h>
#include <zlib.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<BYTE>;

Bytes Svg(const std::string& body, int side = 4000)
{
    const std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
                            "width=\"" + std::to_string(side) + "\" height=\"" + std::to_string(side) + "\">" +
                            body + "</svg>";
    return Bytes(svg.begin(), svg.end());
}

// One filled path through n points: spread at random over the picture it
// crosses itself everywhere, on a circle it does not.
Bytes Path(int n, bool crossing, int side = 4000)
{
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> at(0, side - 1);
    std::string d = "M";
    for (int i = 0; i < n; ++i) {
        const double a = 2 * 3.14159265 * i / n;
        d += crossing ? std::to_string(at(rng)) + " " + std::to_string(at(rng)) + " "
                      : std::to_string(int(side / 2 * (1 + 0.9 * std::cos(a)))) + " " +
                            std::to_string(int(side / 2 * (1 + 0.9 * std::sin(a)))) + " ";
    }
    return Svg("<path fill=\"#3080c0\" d=\"" + d + "Z\"/>", side);
}

Bytes Gzip(const Bytes& bytes)
{
    z_stream z{};
    deflateInit2(&z, 9, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    Bytes out(deflateBound(&z, uLong(bytes.size())));
    z.next_in = const_cast<Bytef*>(bytes.data());
    z.avail_in = uInt(bytes.size());
    z.next_out = out.data();
    z.avail_out = uInt(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

std::string Repeated(const std::string& s, int n)
{
    std::string all;
    for (int i = 0; i < n; ++i)
        all += s;
    return all;
}

}  // namespace

// An SVG is rendered at the size it is shown, whatever size it gives, once a size.
TEST(SvgPicture, RenderedAtTheSizeItIsShown)
{
    COleClientItem item;
    std::string error;
    const Bytes picture = Svg("<rect width=\"4000\" height=\"4000\" fill=\"#ff0001\"/>");
    ASSERT_TRUE(item.CreatePictureFromBytes(picture, "big.svg", error)) << error;
    const std::uint64_t pixels = ItemPictureCache().Pixels(), decodes = ItemPictureCache().Decodes();
    CImageDC dc(300, 200);
    ASSERT_TRUE(item.Draw(dc, CRect(10, 10, 210, 110)));
    EXPECT_EQ(CountPixels(dc.Image(), 0xFF0001), 200 * 100);
    item.Draw(dc, CRect(10, 10, 210, 110));
    EXPECT_EQ(ItemPictureCache().Pixels() - pixels, 200u * 100u);
    EXPECT_EQ(ItemPictureCache().Decodes() - decodes, 1u) << "one rendering a size";
    item.Draw(dc, CRect(0, 0, 100, 50));
    EXPECT_EQ(ItemPictureCache().Pixels() - pixels, 200u * 100u + 100u * 50u);

    // Shown larger than an image may be, it keeps to the limits in the shown proportions.
    const QSize large = RenderSize(100'000, 50'000);
    EXPECT_LE(std::int64_t(large.width()) * large.height(), kMaxRenderPixels);
    EXPECT_EQ(large.width(), 2 * large.height());
    EXPECT_EQ(RenderSize(100'000, 10).height(), 1);
    EXPECT_EQ(RenderSize(0, -5), QSize(1, 1));
    EXPECT_EQ(RenderSize(640, 480), QSize(640, 480));

    // Compressed, it reads as well.
    QSize size;
    EXPECT_FALSE(SvgPictureSize(Gzip(picture), size));
    EXPECT_EQ(size, QSize(4000, 4000));
}

// The rasterizer's work is counted before it is done: a path crossing itself
// everywhere is refused at any size it may be rendered at, and shows its
// frame and name; as many vertices that do not cross cost little.
TEST(SvgPicture, PathCrossingItselfIsRefusedBeforeItIsRasterized)
{
    const Bytes crossing = Path(10'000, true, 300), round = Path(10'000, false, 300);
    double work = 0;
    ASSERT_FALSE(SvgRasterWork(round, QSize(800, 600), work));
    EXPECT_LT(work, kMaxSvgRasterWork / 2);
    ASSERT_FALSE(SvgRasterWork(crossing, QSize(70, 70), work));
    EXPECT_GT(work, kMaxSvgRasterWork);

    COleClientItem item;
    std::string error;
    ASSERT_TRUE(item.CreatePictureFromBytes(crossing, "crossing.svg", error)) << error;
    const std::uint64_t pixels = ItemPictureCache().Pixels();
    CImageDC dc(300, 300);
    ASSERT_TRUE(item.Draw(dc, CRect(10, 10, 290, 290)));
    EXPECT_EQ(ItemPictureCache().Pixels(), pixels) << "nothing rasterized";
    EXPECT_EQ(CountPixels(dc.Image(), 0x3080C0), 0);
    EXPECT_GT(InkPixels(dc.Image()), 4 * 270) << "the frame and the name";
    QImage image;
    EXPECT_FALSE(DecodePicture(crossing, QSize(280, 280), image, error));
    EXPECT_NE(error.find("more work than a picture may, even over 70 x 70 pixels"), std::string::npos) << error;

    // What takes too much at the size shown is rendered smaller, down to a quarter.
    const Bytes comb = Svg("<path fill=\"#3080c0\" d=\"M" + [] {
        std::string d;
        for (int i = 0; i < 500; ++i)
            d += std::to_string(i * 8) + (i % 2 ? " 0 " : " 4000 ");
        return d;
    }() + "Z\"/>");
    ASSERT_FALSE(SvgRasterWork(comb, QSize(400, 400), work));
    ASSERT_GT(work, kMaxSvgRasterWork);
    EXPECT_FALSE(RenderSvgPicture(comb, QSize(400, 400), image));
    EXPECT_LE(image.width(), 200);
    EXPECT_GE(image.width(), 100);
}

// The text is checked before Qt reads it; each row is refused with its reason,
// counting what <use> repeats.
TEST(SvgPicture, TextBeyondTheLimitsIsRefusedBeforeQtReadsIt)
{
    const std::string group = "<g id=\"g\">" + Repeated("<rect width=\"1\" height=\"1\"/>", 200) + "</g>";
    const std::string text = "<text id=\"t\">" + std::string(100, 'x') + "</text>";
    QImage small(2, 2, QImage::Format_RGB32);
    small.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    small.save(&buffer, "PNG");
    const std::string pngData = "data:image/png;base64," + png.toBase64().toStdString();
    const std::string svgData =
        "data:image/svg+xml;base64," + QByteArray("<svg xmlns=\"http://www.w3.org/2000/svg\"/>").toBase64().toStdString();
    Bytes damaged = Gzip(Svg(""));
    damaged.resize(damaged.size() / 2);
    const struct {
        const char* what;
        Bytes bytes;
        const char* reason;  // empty: reads
    } rows[] = {
        {"longer than a picture's text may be", Svg("<!--" + std::string(kMaxSvgBytes, ' ') + "-->"), "bytes long"},
        {"compressed, inflating past it", Gzip(Svg("<!--" + std::string(kMaxSvgBytes, ' ') + "-->")), "inflates to more than"},
        {"compressed and cut", damaged, "damaged"},
        {"too many elements", Svg(Repeated("<rect width=\"1\" height=\"1\"/>", int(kMaxSvgElements))), "more than 20000 elements"},
        {"a group repeated", Svg("<defs>" + group + "</defs>" + Repeated("<use xlink:href=\"#g\"/>", 100)), "draws more than 20000 elements"},
        {"a text repeated", Svg("<defs>" + text + "</defs>" + Repeated("<use xlink:href=\"#t\"/>", 100)), "characters of text"},
        {"a group using itself", Svg("<g id=\"a\"><rect width=\"9\" height=\"9\"/><use xlink:href=\"#a\"/></g>"), ""},
        {"style rules matched against every element",
         Svg("<style>" + Repeated(".c { fill: red; }", 1000) + "</style>" + Repeated("<rect width=\"1\" height=\"1\"/>", 1000)),
         "style rules"},
        {"a picture it embeds", Svg("<image width=\"9\" height=\"9\" xlink:href=\"" + pngData + "\"/>"), ""},
        {"a file it refers to", Svg("<image width=\"9\" height=\"9\" xlink:href=\"/etc/picture.png\"/>"), "outside it"},
        {"an SVG inside", Svg("<image width=\"9\" height=\"9\" href=\"" + svgData + "\"/>"), "another SVG"},
        {"not closed", Svg("<g>"), "does not read (line 1"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        COleClientItem item;
        std::string error;
        const bool read = item.CreatePictureFromBytes(r.bytes, "p.svg", error);
        EXPECT_EQ(read, !*r.reason) << error;
        if (*r.reason) {
            EXPECT_NE(error.find(r.reason), std::string::npos) << error;
        }
    }
}

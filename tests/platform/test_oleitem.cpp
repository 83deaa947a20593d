#include "platform/archive.h"
#include "platform/document.h"
#include "platform/imagedc.h"
#include "platform/metafile.h"
#include "platform/oleitem.h"
#include "platform/picturecache.h"
#include "support/bmpfile.h"
#include "support/item_pictures.h"
#include "support/pixels.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>

namespace {

using Bytes = std::vector<BYTE>;

std::unique_ptr<COleClientItem> Picture(const Bytes& bytes, const std::string& name = "p.png")
{
    auto item = std::make_unique<COleClientItem>();
    std::string error;
    EXPECT_TRUE(item->CreatePictureFromBytes(bytes, name, error)) << error;
    return item;
}

// Counts pixels of colour c inside rect r of the image.
int CountIn(const QImage& image, QRect r, QRgb c)
{
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += (image.pixel(x, y) & 0xFFFFFF) == (c & 0xFFFFFF);
    return n;
}

}  // namespace

TEST(OleItem, HimetricAndPixelsAtNinetySixDpi)
{
    const struct {
        std::int64_t himetric, pixels;
    } rows[] = {{2540, 96}, {0, 0}, {26, 1}, {9790, 370}, {-2540, -96}};
    for (const auto& r : rows) {
        EXPECT_EQ(HimetricToPixels(r.himetric), r.pixels) << r.himetric;
    }
    EXPECT_EQ(PixelsToHimetric(96), 2540);
    EXPECT_EQ(PixelsToHimetric(37), 979);
}

// Every format Qt reads gives its pixel size as the object's size.
TEST(OleItem, PicturesOfEachFormatTakeTheirSizeFromTheirHeader)
{
    const struct {
        const char* what;
        Bytes bytes;
        std::int64_t w, h;
    } rows[] = {
        {"PNG", PictureBytes(96, 48, 0xFF0000), 96, 48},
        {"JPEG", PictureBytes(40, 30, 0x00FF00, "JPEG"), 40, 30},
        {"BMP", PictureBytes(10, 20, 0x0000FF, "BMP"), 10, 20},
        {"GIF", GifBytes(), 1, 1},
        {"SVG", SvgBytes(192, 96), 192, 96},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        const auto item = Picture(r.bytes);
        LSize extent;
        ASSERT_TRUE(item->GetExtent(extent));
        EXPECT_EQ(extent.cx, PixelsToHimetric(r.w));
        EXPECT_EQ(extent.cy, PixelsToHimetric(r.h));
        EXPECT_EQ(item->GetKind(), OleObjectKind::picture);
        EXPECT_FALSE(item->IsLinked());
        EXPECT_EQ(item->GetItemState(), COleClientItem::loadedState);
    }
    COleClientItem none;
    std::string error;
    EXPECT_FALSE(none.CreatePictureFromBytes({'n', 'o', 't'}, "x", error));
    EXPECT_NE(error.find("not a picture"), std::string::npos) << error;
    LSize extent;
    EXPECT_FALSE(none.GetExtent(extent));
    EXPECT_EQ(none.GetItemState(), COleClientItem::emptyState);
}

TEST(OleItem, PictureIsDrawnStretchedOverItsRectangleAndDecodedOnce)
{
    const auto item = Picture(PictureBytes(4, 4, 0xFF0001));
    const std::uint64_t before = ItemPictureCache().Decodes();
    CImageDC dc(100, 80);
    ASSERT_TRUE(item->Draw(dc, CRect(10, 20, 60, 50)));
    EXPECT_EQ(CountIn(dc.Image(), QRect(10, 20, 50, 30), 0xFF0001), 50 * 30);
    EXPECT_EQ(CountPixels(dc.Image(), 0xFF0001), 50 * 30);
    item->Draw(dc, CRect(0, 0, 5, 5));
    const auto same = Picture(PictureBytes(4, 4, 0xFF0001), "other name");
    same->Draw(dc, CRect(0, 0, 5, 5));
    EXPECT_EQ(ItemPictureCache().Decodes(), before + 1) << "the same bytes decode once";
    EXPECT_FALSE(item->Draw(dc, CRect(5, 5, 5, 9))) << "no width";
}

// A header asking for more pixels than a picture may have is not decoded:
// the frame and the name show instead.
TEST(OleItem, PictureTooLargeShowsItsFrameAndName)
{
    const struct {
        const char* what;
        Bytes bytes;
    } rows[] = {
        {"BMP of 9000 x 9000", BmpHeaderOnly(9000, 9000)},
        {"BMP wider than a side may be", BmpHeaderOnly(40000, 2)},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        const auto item = Picture(r.bytes, "huge.bmp");
        const std::uint64_t before = ItemPictureCache().Decodes();
        CImageDC dc(200, 100);
        ASSERT_TRUE(item->Draw(dc, CRect(10, 10, 190, 90)));
        EXPECT_LE(ItemPictureCache().Decodes(), before + 1);
        const QImage& image = dc.Image();
        EXPECT_EQ(CountIn(image, QRect(10, 10, 180, 1), 0x000000), 180) << "top edge of the frame";
        EXPECT_EQ(CountIn(image, QRect(10, 89, 180, 1), 0x000000), 180) << "bottom edge";
        EXPECT_GT(CountIn(image, QRect(12, 12, 100, 20), 0x000000), 10) << "the name";
        EXPECT_EQ(CountIn(image, QRect(11, 40, 178, 48), 0x000000), 0) << "nothing decoded inside";
        QImage decoded;
        std::string error;
        EXPECT_FALSE(DecodePicture(r.bytes, QSize(), decoded, error));
        EXPECT_NE(error.find("pixels"), std::string::npos) << error;
    }
}

// Items holding equal bytes share one copy; bytes alike in size and in
// the few places first looked at, but not equal, keep their own.
TEST(OleItem, EqualBytesAreHeldOnce)
{
    Bytes bytes = PictureBytes(2, 2, 0x203040);
    bytes.resize(bytes.size() + 5000);  // what follows a picture's end is kept, not read
    Bytes other = bytes;
    const std::size_t step = (bytes.size() - 16) / 63;
    other[10 * step + 20] = 1;  // between the places looked at first
    const auto a = Picture(bytes), b = Picture(bytes), c = Picture(other), d = Picture(other);
    EXPECT_EQ(&a->GetNativeData(), &b->GetNativeData());
    EXPECT_NE(&a->GetNativeData(), &c->GetNativeData());
    EXPECT_EQ(&c->GetNativeData(), &d->GetNativeData());
    EXPECT_EQ(c->GetNativeData(), other);
}

// Decoding is charged to the repaint's budget: a picture not decoded yet is
// decoded while the budget has work left (one may take it past), then shows
// its frame and name until a repaint with work left decodes it. Raster
// pictures pay for their pixels, SVG pictures for their text and rendering.
TEST(OleItem, PicturesAreDecodedWhileTheRepaintHasWorkLeft)
{
    const struct {
        const char* what;
        Bytes first, second;
    } rows[] = {
        {"PNG", PictureBytes(300, 200, 0x102030), PictureBytes(300, 200, 0x102031)},
        {"SVG", SvgBytes(300, 201), SvgBytes(300, 202)},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        const auto first = Picture(r.first, "first"), second = Picture(r.second, "second");
        const std::uint64_t before = ItemPictureCache().Decodes();
        CMetaPlayBudget budget(1);
        CImageDC dc(320, 220);
        ASSERT_TRUE(first->Draw(dc, CRect(10, 10, 310, 210), budget));
        EXPECT_EQ(budget.Left(), 0) << "the decoding was charged";
        EXPECT_EQ(CountIn(dc.Image(), QRect(12, 30, 290, 170), 0x000000), 0) << "the first picture shows";
        ASSERT_TRUE(second->Draw(dc, CRect(10, 10, 310, 210), budget));
        EXPECT_EQ(ItemPictureCache().Decodes(), before + 1) << "nothing was left to decode the second";
        EXPECT_EQ(budget.CallsLeftOut(), 1u);
        EXPECT_GT(CountIn(dc.Image(), QRect(12, 12, 100, 20), 0x000000), 10) << "the second's name";
        CMetaPlayBudget next(1);
        ASSERT_TRUE(second->Draw(dc, CRect(10, 10, 310, 210), next));
        EXPECT_EQ(ItemPictureCache().Decodes(), before + 2) << "the next repaint decodes it";
        EXPECT_EQ(CountIn(dc.Image(), QRect(12, 12, 100, 20), 0x000000), 0) << "and shows it";
        CMetaPlayBudget spent(0);
        ASSERT_TRUE(first->Draw(dc, CRect(10, 10, 310, 210), spent));
        EXPECT_EQ(spent.CallsLeftOut(), 0u) << "a decoded picture costs nothing";
    }
}

// Naming a picture in the cache goes through all its bytes: once for all
// the items that share them, paid for by the repaint that does it.
TEST(OleItem, APicturesKeyIsWorkedOutOnceAndPaidFor)
{
    Bytes bytes = PictureBytes(2, 2, 0x405060);
    bytes.resize(bytes.size() + (std::size_t(4) << 20));  // what follows a picture's end is kept, not read
    const auto first = Picture(bytes), second = Picture(bytes);
    CImageDC dc(40, 40);
    CMetaPlayBudget budget;
    ASSERT_TRUE(first->Draw(dc, CRect(0, 0, 40, 40), budget));
    EXPECT_GE(CMetaPlayBudget::kRepaintWork - budget.Left(), 2 * std::int64_t(bytes.size()))
        << "its key and its decoding each go through the bytes";
    const std::int64_t left = budget.Left();
    ASSERT_TRUE(second->Draw(dc, CRect(0, 0, 40, 40), budget));
    EXPECT_EQ(budget.Left(), left) << "the same bytes: key and picture known";
}

TEST(OleItem, PictureCacheKeepsToItsLimitAndRemembersFailures)
{
    PictureCache cache(100 * 100 * 4 * 2);  // two 100 x 100 pictures
    const Bytes a = PictureBytes(100, 100, 0xFF0000), b = PictureBytes(100, 100, 0x00FF00),
                c = PictureBytes(100, 100, 0x0000FF), bad = {1, 2, 3};
    ASSERT_TRUE(cache.Get(KeyOfBytes(a), a, QSize()));
    ASSERT_TRUE(cache.Get(KeyOfBytes(b), b, QSize()));
    ASSERT_TRUE(cache.Get(KeyOfBytes(a), a, QSize()));  // a is the newer now
    ASSERT_TRUE(cache.Get(KeyOfBytes(c), c, QSize()));  // b leaves
    EXPECT_EQ(cache.Decodes(), 3u);
    EXPECT_LE(cache.Bytes(), std::size_t(100 * 100 * 4 * 2));
    cache.Get(KeyOfBytes(a), a, QSize());
    EXPECT_EQ(cache.Decodes(), 3u);
    cache.Get(KeyOfBytes(b), b, QSize());
    EXPECT_EQ(cache.Decodes(), 4u);
    EXPECT_FALSE(cache.Get(KeyOfBytes(bad), bad, QSize()));
    EXPECT_FALSE(cache.Get(KeyOfBytes(bad), bad, QSize()));
    EXPECT_EQ(cache.Decodes(), 5u) << "a failure is not tried again";
    PictureCache tiny(16);
    EXPECT_FALSE(tiny.Get(KeyOfBytes(a), a, QSize())) << "larger than the whole cache";
    EXPECT_FALSE(KeyOfBytes(a) == KeyOfBytes(b));
}

// ---------------------------------------------------------------- the item data

namespace {

// A picture of one diagonal line across a window of 100 x 100 units, y up.
CMetaFile Diagonal()
{
    CMetaFileDC dc;
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowExt(100, -100);
    dc.SetWindowOrg(0, 100);
    dc.MoveTo(0, 0);
    dc.LineTo(100, 100);
    return dc.Close();
}

std::unique_ptr<COleClientItem> Drawing()
{
    auto item = std::make_unique<COleClientItem>();
    std::string error;
    EXPECT_TRUE(item->SetDrawing({1, 2, 3, 4}, Diagonal(), LSize{1000, 500}, "plan.zpd", error)) << error;
    return item;
}

}  // namespace

TEST(OleItem, ItemDataReadBackAsWrittenForEveryKind)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("linked.png").toStdString();
    WriteFile(path, PictureBytes(8, 6, 0x123456));
    COleClientItem linked;
    std::string error;
    ASSERT_TRUE(linked.CreatePictureFromFile(path, true, error)) << error;
    EXPECT_EQ(linked.GetLinkPath(), path);
    EXPECT_EQ(linked.GetName(), "linked.png");
    const auto embedded = Picture(PictureBytes(3, 3, 0xFFFFFF));
    const auto drawing = Drawing();
    for (const COleClientItem* item : {&linked, embedded.get(), drawing.get()}) {
        const Bytes bytes = item->ItemDataBytes();
        COleClientItem back;
        ASSERT_FALSE(back.ReadItemDataBytes(bytes));
        EXPECT_EQ(back.ItemDataBytes(), bytes);
        EXPECT_EQ(back.GetKind(), item->GetKind());
        EXPECT_EQ(back.IsLinked(), item->IsLinked());
        EXPECT_EQ(back.GetNativeData(), item->GetNativeData());
        EXPECT_EQ(back.GetPresentationData(), item->GetPresentationData());
        EXPECT_EQ(back.GetName(), item->GetName());
        LSize a, b;
        ASSERT_TRUE(back.GetExtent(a));
        ASSERT_TRUE(item->GetExtent(b));
        EXPECT_EQ(a.cx, b.cx);
        EXPECT_EQ(a.cy, b.cy);
    }
}

// A drawing plays the picture it keeps over its rectangle, read back or not;
// a kept picture that does not read shows the frame and the name.
TEST(OleItem, DrawingIsDrawnFromThePictureItKeeps)
{
    const auto drawing = Drawing();
    CImageDC direct(120, 120);
    ASSERT_TRUE(drawing->Draw(direct, CRect(10, 10, 110, 110)));
    EXPECT_TRUE(InkNear(direct.Image(), 10, 109)) << "the line's start, bottom-left";
    EXPECT_TRUE(InkNear(direct.Image(), 60, 60));
    EXPECT_TRUE(InkNear(direct.Image(), 108, 11));
    EXPECT_FALSE(InkNear(direct.Image(), 100, 100));
    COleClientItem back;
    ASSERT_FALSE(back.ReadItemDataBytes(drawing->ItemDataBytes()));
    CImageDC played(120, 120);
    back.Draw(played, CRect(10, 10, 110, 110));
    EXPECT_EQ(played.Image(), direct.Image());

    Bytes damaged = drawing->ItemDataBytes();
    damaged[damaged.size() - 2] ^= 0xFF;
    COleClientItem bad;
    ASSERT_FALSE(bad.ReadItemDataBytes(damaged));
    EXPECT_TRUE(bad.GetDrawingPicture().IsEmpty());
    CImageDC framed(120, 120);
    ASSERT_TRUE(bad.Draw(framed, CRect(10, 10, 110, 110)));
    EXPECT_FALSE(InkNear(framed.Image(), 60, 60));
    EXPECT_EQ(CountIn(framed.Image(), QRect(10, 10, 100, 1), 0), 100) << "the frame";
}

// A drawing whose picture asks for more than its budget pays shows what was
// paid for with its frame and name over it; so does the SVG of its copy,
// which plays on a budget of its own where each call written out costs more.
TEST(OleItem, DrawingCutByItsBudgetShowsItsFrameAndName)
{
    const auto drawing = [](const std::string& name, int n, const std::function<void(CDC&, int)>& draw) {
        CMetaFileDC dc;
        dc.SetMapMode(MM_ANISOTROPIC);
        dc.SetWindowExt(100, 50);
        for (int i = 0; i < n; ++i)
            draw(dc, i);
        auto item = std::make_unique<COleClientItem>();
        std::string error;
        EXPECT_TRUE(item->SetDrawing({1}, dc.Close(), LSize{5000, 2500}, name, error)) << error;
        return item;
    };
    const CBrush red(RGB(255, 0, 0)), blue(RGB(0, 0, 255));
    const auto fills = drawing("fills.zpd", 40, [&](CDC& dc, int i) { dc.FillRect(0, 0, 100, 50, i % 2 ? red : blue); });
    const CRect rect(10, 10, 210, 110);
    CMetaPlayBudget plenty;
    CImageDC whole(220, 120);
    ASSERT_TRUE(fills->Draw(whole, rect, plenty));
    EXPECT_EQ(CountIn(whole.Image(), QRect(10, 10, 200, 100), 0xFF0000), 200 * 100) << "no frame on a whole picture";
    CMetaPlayBudget half((CMetaPlayBudget::kRepaintWork - plenty.Left()) / 2);
    CImageDC cut(220, 120);
    ASSERT_TRUE(fills->Draw(cut, rect, half));
    EXPECT_GT(half.CallsLeftOut(), 10u);
    EXPECT_EQ(CountIn(cut.Image(), QRect(10, 10, 200, 1), 0), 200) << "the frame";
    EXPECT_GT(CountIn(cut.Image(), QRect(13, 13, 60, 16), 0), 20) << "the name";
    EXPECT_EQ(CountIn(cut.Image(), QRect(11, 40, 198, 69), 0xFFFFFF), 0) << "the fills paid for";

    // A picture its recorder cut says so too, once read back from the item's bytes.
    CMetaFileDC recorder(CMetaLimits{.calls = 8});
    recorder.SetMapMode(MM_ANISOTROPIC);
    recorder.SetWindowExt(100, 50);
    for (int i = 0; i < 20; ++i)
        recorder.FillRect(0, 0, 100, 50, red);
    COleClientItem recorded;
    std::string error;
    ASSERT_TRUE(recorded.SetDrawing({1}, recorder.Close(), LSize{5000, 2500}, "recorded.zpd", error)) << error;
    COleClientItem back;
    ASSERT_FALSE(back.ReadItemDataBytes(recorded.ItemDataBytes()));
    CImageDC reread(220, 120);
    ASSERT_TRUE(back.Draw(reread, rect, plenty));
    EXPECT_GT(CountIn(reread.Image(), QRect(13, 13, 60, 16), 0), 20) << "the name over the cut picture";

    // Pixels cost the image little, and the SVG much.
    const auto dots = drawing("dots.zpd", 60'000, [](CDC& dc, int i) { dc.SetPixel(10 + i % 80, 10 + i / 80 % 30, 0); });
    dots->CopyToClipboard();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    EXPECT_EQ(CountPixels(qvariant_cast<QImage>(data->imageData()).copy(0, 0, 20, 5), 0), 0) << "no frame";
    EXPECT_TRUE(QString::fromUtf8(data->data("image/svg+xml")).contains("dots.zpd")) << "the SVG's frame and name";
}

// The item data as bytes: magic, version, kind, flags, size, name, link path,
// data and picture, each change of a field that no valid item holds refused
// with where and what.
TEST(OleItem, DamagedItemDataIsRefusedWithItsReason)
{
    auto data = [](unsigned version, unsigned kind, unsigned flags, long cx, const std::string& path,
                   unsigned nativeLength, const Bytes& native, const Bytes& picture, long cy = 100) {
        ByteWriter w;
        w.raw("ZPOBJECT").u16(version).u8(kind).u8(flags).u32((unsigned long)cx).u32((unsigned long)cy).str("n").str(path);
        w.u32(nativeLength).raw(std::string(native.begin(), native.end()));
        w.u32(unsigned(picture.size())).raw(std::string(picture.begin(), picture.end()));
        return w.bytes();
    };
    const Bytes png = PictureBytes(2, 2, 0);
    const unsigned n = unsigned(png.size());
    ByteWriter otherMagic;
    otherMagic.raw("ZPOBJECX");
    const struct {
        const char* what;
        Bytes bytes;
        const char* reason;  // empty: reads
    } rows[] = {
        {"embedded picture", data(1, 2, 0, 100, "", n, png, {}), ""},
        {"linked picture", data(1, 2, 1, 100, "/a.png", n, png, {}), ""},
        {"drawing", data(1, 1, 0, 100, "", 3, {1, 2, 3}, Diagonal().ToBytes()), ""},
        {"drawing without a picture", data(1, 1, 0, 100, "", 3, {1, 2, 3}, {}), ""},
        {"drawing whose picture does not read (shown as its frame)", data(1, 1, 0, 100, "", 3, {1, 2, 3}, {4}), ""},
        {"another magic", otherMagic.bytes(), "not in this program's form"},
        {"version 2", data(2, 2, 0, 100, "", n, png, {}), "version 2"},
        {"kind 3", data(1, 3, 0, 100, "", n, png, {}), "unknown kind 3"},
        {"kind 0", data(1, 0, 0, 100, "", n, png, {}), "unknown kind 0"},
        {"unknown flag", data(1, 2, 2, 100, "", n, png, {}), "flags 2"},
        {"linked drawing", data(1, 1, 1, 100, "/a.zpd", 3, {1, 2, 3}, {}), "flags 1"},
        {"negative width", data(1, 2, 0, -1, "", n, png, {}), "size is out of range"},
        {"width beyond 100 metres", data(1, 2, 0, 10'000'001, "", n, png, {}), "size is out of range"},
        {"height beyond 100 metres", data(1, 2, 0, 100, "", n, png, {}, 10'000'001), "size is out of range"},
        {"negative height", data(1, 2, 0, 100, "", n, png, {}, -1), "size is out of range"},
        {"100 metres high", data(1, 2, 0, 100, "", n, png, {}, 10'000'000), ""},
        {"no height", data(1, 2, 0, 100, "", n, png, {}, 0), ""},
        {"linked without a path", data(1, 2, 1, 100, "", n, png, {}), "names no file"},
        {"embedded with a path", data(1, 2, 0, 100, "/a.png", n, png, {}), "names a file"},
        {"a path as long as the system's", data(1, 2, 1, 100, "/" + std::string(PATH_MAX - 2, 'a'), n, png, {}), ""},
        {"a path longer than the system's", data(1, 2, 1, 100, "/" + std::string(PATH_MAX - 1, 'a'), n, png, {}),
         "longer than a path can be"},
        {"data longer than the bytes", data(1, 2, 0, 100, "", n + 1, png, {}), "data ends inside"},
        {"data length near 4 GB", data(1, 2, 0, 100, "", 0xFFFFFFF0u, png, {}), "data ends inside"},
        {"no data", data(1, 2, 0, 100, "", 0, {}, {}), "holds no data"},
        {"picture with a second picture", data(1, 2, 0, 100, "", n, png, {1}), "second picture"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        const auto item = Picture(PictureBytes(5, 5, 0xABCDEF));
        const Bytes before = item->ItemDataBytes();
        const auto error = item->ReadItemDataBytes(r.bytes);
        if (!*r.reason) {
            EXPECT_FALSE(error) << *error;
            continue;
        }
        ASSERT_TRUE(error);
        EXPECT_NE(error->find(r.reason), std::string::npos) << *error;
        EXPECT_NE(error->find("at byte"), std::string::npos) << *error;
        EXPECT_EQ(item->ItemDataBytes(), before) << "a refused read changes nothing";
    }
    // Cut anywhere, the data does not read.
    const Bytes whole = data(1, 2, 0, 100, "/x", n, png, {});
    for (std::size_t cut = 0; cut < whole.size(); ++cut) {
        COleClientItem item;
        EXPECT_TRUE(item.ReadItemDataBytes(std::span(whole.data(), cut))) << cut;
    }
    Bytes longer = data(1, 2, 0, 100, "", n, png, {});
    longer.push_back(0);
    COleClientItem item;
    EXPECT_TRUE(item.ReadItemDataBytes(longer));
}

// The name is read up to the length an item holds; made names are cut to it
// between characters, ending in "...", so that what is written reads back.
TEST(OleItem, NamesKeepToTheLengthAnItemHolds)
{
    auto named = [](std::size_t length) {
        Bytes bytes = Picture(PictureBytes(2, 2, 0), "n")->ItemDataBytes();
        ByteWriter name;
        name.u8(0xFF).u16(unsigned(length)).raw(std::string(length, 'x'));
        const std::size_t at = 20;  // after magic, version, kind, flags and size
        bytes.erase(bytes.begin() + at, bytes.begin() + at + 2);
        bytes.insert(bytes.begin() + at, name.bytes().begin(), name.bytes().end());
        return bytes;
    };
    COleClientItem item;
    EXPECT_FALSE(item.ReadItemDataBytes(named(kMaxItemNameBytes)));
    EXPECT_EQ(item.GetName().size(), kMaxItemNameBytes);
    const auto error = item.ReadItemDataBytes(named(20000));
    ASSERT_TRUE(error);
    EXPECT_NE(error->find("at byte 20: an embedded object's name is 20000 bytes long"), std::string::npos) << *error;

    // 1020 letters, a two-byte character across the limit, and more.
    const std::string made = std::string(kMaxItemNameBytes - 4, 'a') + "\xC3\xA9" + std::string(50, 'b');
    auto picture = Picture(PictureBytes(2, 2, 0), made);
    COleClientItem drawing;
    std::string why;
    ASSERT_TRUE(drawing.SetDrawing({1}, {}, LSize{10, 10}, made, why)) << why;
    for (const COleClientItem* cut : {picture.get(), &drawing}) {
        EXPECT_EQ(cut->GetName(), std::string(kMaxItemNameBytes - 4, 'a') + "...");
        COleClientItem back;
        EXPECT_FALSE(back.ReadItemDataBytes(cut->ItemDataBytes()));
    }
}

// However long the name, fitting it to the frame takes a few measurements,
// for a picture that does not decode and a drawing without a picture alike.
TEST(OleItem, LongNameFitsItsFrameInAFewMeasurements)
{
    const std::string name(kMaxItemNameBytes, 'W');
    const auto picture = Picture(BmpHeaderOnly(9000, 9000), name);
    COleClientItem drawing;
    std::string error;
    ASSERT_TRUE(drawing.SetDrawing({1}, {}, LSize{10, 10}, name, error)) << error;
    for (const COleClientItem* item : {picture.get(), &drawing}) {
        CImageDC dc(300, 60);
        const std::uint64_t before = dc.TextMeasures();
        ASSERT_TRUE(item->Draw(dc, CRect(10, 10, 290, 50)));
        EXPECT_LE(dc.TextMeasures() - before, 12u);
        EXPECT_GT(CountIn(dc.Image(), QRect(13, 13, 270, 20), 0), 50) << "the name";
        EXPECT_EQ(CountIn(dc.Image(), QRect(291, 0, 9, 60), 0), 0) << "nothing past the frame";
    }
}

// A drawing's size must fit an item; a side of no length leaves it without a size.
TEST(OleItem, DrawingSizeIsCheckedAsItIsSet)
{
    const struct {
        LSize extent;
        bool takes, hasExtent;
    } rows[] = {
        {{1000, 500}, true, true},       {{10'000'000, 10'000'000}, true, true},
        {{0, 500}, true, false},         {{1000, 0}, true, false},
        {{-1, 500}, false, false},       {{1000, -1}, false, false},
        {{10'000'001, 500}, false, false}, {{1000, 10'000'001}, false, false},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(std::to_string(r.extent.cx) + " x " + std::to_string(r.extent.cy));
        COleClientItem item;
        std::string error;
        EXPECT_EQ(item.SetDrawing({1}, {}, r.extent, "d", error), r.takes);
        EXPECT_EQ(item.IsEmpty(), !r.takes);
        LSize extent;
        EXPECT_EQ(item.GetExtent(extent), r.hasExtent);
    }
    COleClientItem none;
    std::string error;
    EXPECT_FALSE(none.SetDrawing({}, {}, LSize{10, 10}, "d", error)) << "a drawing without data";
    // Without a server of its own an item runs nothing.
    COleClientItem drawing;
    ASSERT_TRUE(drawing.SetDrawing({1}, {}, LSize{10, 10}, "d", error));
    class PlainView : public CView {
    } view;
    EXPECT_TRUE(drawing.CanActivate());
    EXPECT_FALSE(drawing.DoVerb(OLEIVERB_PRIMARY, &view));
    EXPECT_EQ(drawing.GetItemState(), COleClientItem::loadedState);
}

TEST(OleItem, LinkedPictureReadsItsFileAgainOrKeepsWhatItHolds)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("p.png").toStdString();
    WriteFile(path, PictureBytes(8, 8, 0xFF0000));
    COleItemList list(nullptr);
    COleClientItem& item = *list.Add(std::make_unique<COleClientItem>());
    std::string error;
    ASSERT_TRUE(item.CreatePictureFromFile(path, true, error));
    const Bytes first = item.GetNativeData();
    WriteFile(path, PictureBytes(16, 4, 0x00FF00));
    EXPECT_TRUE(list.UpdateLinks().unread.empty());
    EXPECT_NE(item.GetNativeData(), first);
    LSize extent;
    ASSERT_TRUE(item.GetExtent(extent));
    EXPECT_EQ(extent.cx, PixelsToHimetric(16));
    const Bytes second = item.GetNativeData();
    for (const Bytes& replacement : {Bytes{'x'}, Bytes{}}) {
        WriteFile(path, replacement);
        EXPECT_EQ(list.UpdateLinks().unread, std::vector<std::string>{path});
        EXPECT_EQ(item.GetNativeData(), second);
    }
    std::filesystem::remove(path);
    EXPECT_EQ(list.UpdateLinks().unread, std::vector<std::string>{path});
    EXPECT_EQ(item.GetNativeData(), second);
    EXPECT_FALSE(item.CreatePictureFromFile(path, false, error));
    EXPECT_NE(error.find(path), std::string::npos) << error;
}

TEST(OleItem, ClipboardCarriesTheItemAndAPictureOtherProgramsPaste)
{
    const auto source = Picture(PictureBytes(20, 10, 0x0000FF), "blue.png");
    source->CopyToClipboard();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_TRUE(data->hasFormat(kItemMime));
    ASSERT_TRUE(data->hasImage());
    const QImage image = qvariant_cast<QImage>(data->imageData());
    EXPECT_EQ(image.size(), QSize(20, 10));
    EXPECT_EQ(image.pixel(5, 5) & 0xFFFFFF, 0x0000FFu);
    EXPECT_TRUE(COleClientItem::CanPaste());
    COleClientItem pasted;
    std::string error;
    ASSERT_TRUE(pasted.CreateFromClipboard(error)) << error;
    EXPECT_EQ(pasted.ItemDataBytes(), source->ItemDataBytes());

    // A picture of another program becomes an embedded picture.
    QImage other(7, 3, QImage::Format_RGB32);
    other.fill(Qt::green);
    QGuiApplication::clipboard()->setImage(other);
    COleClientItem fromImage;
    ASSERT_TRUE(fromImage.CreateFromClipboard(error)) << error;
    EXPECT_EQ(fromImage.GetKind(), OleObjectKind::picture);
    LSize extent;
    ASSERT_TRUE(fromImage.GetExtent(extent));
    EXPECT_EQ(extent.cx, PixelsToHimetric(7));

    auto* svg = new QMimeData;
    const Bytes svgBytes = SvgBytes(30, 15);
    svg->setData("image/svg+xml", QByteArray(reinterpret_cast<const char*>(svgBytes.data()), qsizetype(svgBytes.size())));
    QGuiApplication::clipboard()->setMimeData(svg);
    COleClientItem fromSvg;
    ASSERT_TRUE(fromSvg.CreateFromClipboard(error)) << error;
    EXPECT_EQ(fromSvg.GetNativeData(), svgBytes);

    QGuiApplication::clipboard()->setText("words");
    EXPECT_FALSE(COleClientItem::CanPaste());
    COleClientItem none;
    EXPECT_FALSE(none.CreateFromClipboard(error));
    auto* bad = new QMimeData;
    bad->setData(kItemMime, "ZPOBJECT");
    QGuiApplication::clipboard()->setMimeData(bad);
    EXPECT_FALSE(none.CreateFromClipboard(error));
    EXPECT_NE(error.find("at byte 8"), std::string::npos) << error;
}

// ---------------------------------------------------------------- the list

namespace {

class CountedItem : public COleClientItem {
public:
    explicit CountedItem(int& alive, std::vector<std::string>* log = nullptr) : m_alive(alive), m_log(log)
    {
        ++m_alive;
        std::string error;
        SetDrawing({1}, {}, LSize{10, 10}, "d", error);
    }
    ~CountedItem() override { --m_alive; }
    bool m_running = false;

protected:
    bool RunDrawing(CView&, bool) override { return m_running = true; }
    void CloseDrawing() override
    {
        m_running = false;
        if (m_log)
            m_log->push_back("closed");
    }
    int RunState() const override { return m_running ? 2 : 0; }

private:
    int& m_alive;
    std::vector<std::string>* m_log;
};

class PlainDoc : public CDocument {};
class PlainView : public CView {};

}  // namespace

TEST(OleItemList, OwnsItsItemsAndClosesThemBeforeFreeing)
{
    int alive = 0;
    std::vector<std::string> log;
    PlainDoc doc, other;
    PlainView view;
    {
        COleItemList list(&doc);
        COleClientItem* a = list.Add(std::make_unique<CountedItem>(alive, &log));
        COleClientItem* b = list.Add(std::make_unique<CountedItem>(alive, &log));
        EXPECT_EQ(a->GetDocument(), &doc);
        EXPECT_EQ(list.size(), 2u);
        ASSERT_TRUE(b->DoVerb(OLEIVERB_PRIMARY, &view));
        EXPECT_EQ(b->GetItemState(), COleClientItem::activeUIState);
        EXPECT_TRUE(list.Delete(b));
        EXPECT_EQ(log, std::vector<std::string>{"closed"});
        EXPECT_FALSE(list.Delete(b));
        EXPECT_EQ(alive, 1);

        COleItemList second(&other);
        second.Add(std::make_unique<CountedItem>(alive));
        list.Swap(second);
        EXPECT_EQ(list.at(0)->GetDocument(), &doc);
        EXPECT_EQ(second.at(0), a);
        EXPECT_EQ(a->GetDocument(), &other);
        a->Delete();
        EXPECT_TRUE(second.empty());
        EXPECT_EQ(alive, 1);
    }
    EXPECT_EQ(alive, 0) << "the list frees what it holds";
}

TEST(OleItem, VerbsRunOnlyDrawings)
{
    int alive = 0;
    PlainView view;
    CountedItem drawing(alive);
    EXPECT_FALSE(drawing.DoVerb(OLEIVERB_HIDE, &view));
    EXPECT_FALSE(drawing.DoVerb(OLEIVERB_PRIMARY, nullptr));
    EXPECT_TRUE(drawing.DoVerb(OLEIVERB_SHOW, &view));
    EXPECT_TRUE(drawing.IsRunning());
    drawing.Close();
    EXPECT_FALSE(drawing.IsRunning());
    const auto picture = Picture(PictureBytes(2, 2, 0));
    EXPECT_FALSE(picture->CanActivate());
    EXPECT_FALSE(picture->DoVerb(OLEIVERB_PRIMARY, &view));
    const struct {
        CRect rect;
        bool takes;
    } rows[] = {{{0, 0, 10, 10}, true}, {{5, 5, 5, 5}, true}, {{10, 0, 0, 10}, false}, {{0, 10, 10, 0}, false},
                {{0, 0, 10'000'001, 10}, false}};
    for (const auto& r : rows)
        EXPECT_EQ(picture->OnChangeItemPosition(r.rect), r.takes) << r.rect.left << "," << r.rect.top;
}

// BMP decoding: every depth and header the reader takes, and a corpus of
// damaged files, each refused with where and what before anything is reserved.
#include "../fuzz/bmp_repeats.h"
#include "platform/bmpread.h"
#include "support/bmpfile.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using Bytes = std::vector<BYTE>;

QImage Decoded(const Bytes& b)
{
    QImage image;
    std::string error;
    EXPECT_TRUE(DecodeDIB(b.data(), b.size(), image, error)) << error;
    return image;
}

// A 3 x 2 picture: red, green, blue over white, black, grey.
QImage Sample()
{
    QImage p(3, 2, QImage::Format_RGB32);
    const QRgb c[2][3] = {{qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)},
                          {qRgb(255, 255, 255), qRgb(0, 0, 0), qRgb(128, 128, 128)}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            p.setPixel(x, y, c[y][x]);
    return p;
}

const std::vector<QRgb> kPalette{qRgb(255, 0, 0),     qRgb(0, 255, 0), qRgb(0, 0, 255),
                                 qRgb(255, 255, 255), qRgb(0, 0, 0),   qRgb(128, 128, 128)};

void ExpectSample(const QImage& image)
{
    ASSERT_EQ(image.size(), QSize(3, 2));
    const QImage want = Sample();
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(image.pixel(x, y) & 0xFFFFFF, want.pixel(x, y) & 0xFFFFFF) << x << "," << y;
}

void Put16(Bytes& b, std::size_t at, unsigned v)
{
    b[at] = BYTE(v);
    b[at + 1] = BYTE(v >> 8);
}

void Put32(Bytes& b, std::size_t at, unsigned long v)
{
    Put16(b, at, unsigned(v & 0xFFFF));
    Put16(b, at + 2, unsigned(v >> 16));
}

// File header, then a 40-byte header whose fields the caller gives.
ByteWriter Header(unsigned offset, int w, int h, unsigned bpp, unsigned compression, unsigned colours,
                  unsigned headerSize = 40)
{
    ByteWriter b;
    b.raw("BM").u32(0).u32(0).u32(offset);
    b.u32(headerSize).u32(unsigned(w)).u32(unsigned(h)).u16(1).u16(bpp).u32(compression).u32(0).u32(0).u32(0);
    b.u32(colours).u32(0);
    b.zeros(headerSize - 40);
    return b;
}

}  // namespace

TEST(BmpRead, TwentyFourAndEightBitsUpright)
{
    ExpectSample(Decoded(MakeBmp(Sample())));
    ExpectSample(Decoded(MakeBmp(Sample(), 8, kPalette)));
    // No colour count: the 8-bit table holds all 256.
    ByteWriter full = Header(14 + 40 + 256 * 4, 1, 1, 8, 0, 0);
    for (unsigned i = 0; i < 256; ++i)
        full.u32(i << 8);  // green i
    full.u8(200).u8(0).u8(0).u8(0);
    EXPECT_EQ(Decoded(full.bytes()).pixel(0, 0) & 0xFFFFFF, QRgb(200 << 8));
}

TEST(BmpRead, OneAndFourBitsCoreHeaderAndTopDown)
{
    // 1 bit, 9 x 1: bits 1 0 1 ... over a black and white table; row of 4 bytes.
    ByteWriter one = Header(14 + 40 + 8, 9, 1, 1, 0, 2);
    one.u32(0x000000).u32(0xFFFFFF).u8(0xA5).u8(0x80).u8(0).u8(0);
    const QImage a = Decoded(one.bytes());
    const int want[9] = {1, 0, 1, 0, 0, 1, 0, 1, 1};
    for (int x = 0; x < 9; ++x)
        EXPECT_EQ(a.pixel(x, 0) & 0xFFFFFF, want[x] ? 0xFFFFFFu : 0u) << x;

    // 4 bits under a 12-byte header, whose table holds blue, green, red triples.
    ByteWriter core;
    core.raw("BM").u32(0).u32(0).u32(14 + 12 + 16 * 3);
    core.u32(12).u16(3).u16(1).u16(1).u16(4);
    for (int i = 0; i < 16; ++i)
        core.u8(0).u8(0).u8(BYTE(i * 16));  // blue, green, red
    core.u8(0x1F).u8(0x20).u8(0).u8(0);
    const QImage c = Decoded(core.bytes());
    EXPECT_EQ(c.pixel(0, 0) & 0xFFFFFF, QRgb(0x100000));
    EXPECT_EQ(c.pixel(1, 0) & 0xFFFFFF, QRgb(0xF00000));
    EXPECT_EQ(c.pixel(2, 0) & 0xFFFFFF, QRgb(0x200000));

    // A negative height stores the rows top down.
    Bytes top = MakeBmp(Sample());
    Put32(top, 22, unsigned(-2));
    Bytes rows(top.begin() + 54, top.end());
    std::copy(rows.begin() + 12, rows.end(), top.begin() + 54);
    std::copy(rows.begin(), rows.begin() + 12, top.begin() + 66);
    ExpectSample(Decoded(top));
}

TEST(BmpRead, SixteenAndThirtyTwoBitsWithBitFields)
{
    // 16 bits, 5-5-5: pure red and pure blue.
    ByteWriter b16 = Header(54, 2, 1, 16, 0, 0);
    b16.u16(0x7C00).u16(0x001F);
    const QImage a = Decoded(b16.bytes());
    EXPECT_EQ(a.pixel(0, 0) & 0xFFFFFF, QRgb(0xFF0000));
    EXPECT_EQ(a.pixel(1, 0) & 0xFFFFFF, QRgb(0x0000FF));

    // 16 bits, 5-6-5 masks after a 40-byte header.
    ByteWriter b565 = Header(66, 1, 1, 16, 3, 0);
    b565.u32(0xF800).u32(0x07E0).u32(0x001F).u16(0x07E0).u16(0);
    EXPECT_EQ(Decoded(b565.bytes()).pixel(0, 0) & 0xFFFFFF, QRgb(0x00FF00));

    // 32 bits with the masks inside a 108-byte header: alpha, blue, green, red order.
    ByteWriter v4 = Header(14 + 108, 1, 1, 32, 3, 0, 108);
    Bytes bytes = v4.bytes();
    Put32(bytes, 54, 0x000000FF);  // red
    Put32(bytes, 58, 0x0000FF00);  // green
    Put32(bytes, 62, 0x00FF0000);  // blue
    for (BYTE v : {BYTE(0x10), BYTE(0x20), BYTE(0x30), BYTE(0xFF)})
        bytes.push_back(v);
    EXPECT_EQ(Decoded(bytes).pixel(0, 0) & 0xFFFFFF, QRgb(0x102030));

    // 32 bits plain under a 124-byte header: blue, green, red, unused.
    ByteWriter v5 = Header(14 + 124, 1, 1, 32, 0, 0, 124);
    v5.u8(0x30).u8(0x20).u8(0x10).u8(0);
    EXPECT_EQ(Decoded(v5.bytes()).pixel(0, 0) & 0xFFFFFF, QRgb(0x102030));
}

TEST(BmpRead, RunLengthEncodedEightAndFourBits)
{
    // 4 x 2 at 8 bits: bottom row a run of 3 then a literal of one; top row by a delta.
    ByteWriter rle8 = Header(14 + 40 + 12, 4, 2, 8, 1, 3);
    rle8.u32(0x000000).u32(0xFF0000).u32(0x0000FF);
    rle8.u8(3).u8(1).u8(0).u8(3).u8(2).u8(2).u8(2).u8(0);  // run, literal 2 2 2 (padded)
    rle8.u8(0).u8(0);                                      // end of line
    rle8.u8(0).u8(2).u8(2).u8(0).u8(1).u8(2).u8(0).u8(1);  // delta (2, 0), one pixel, end
    const QImage a = Decoded(rle8.bytes());
    EXPECT_EQ(a.pixel(0, 1) & 0xFFFFFF, QRgb(0xFF0000));
    EXPECT_EQ(a.pixel(2, 1) & 0xFFFFFF, QRgb(0xFF0000));
    EXPECT_EQ(a.pixel(3, 1) & 0xFFFFFF, QRgb(0x0000FF)) << "the literal run past the edge is dropped";
    EXPECT_EQ(a.pixel(2, 0) & 0xFFFFFF, QRgb(0x0000FF)) << "after the delta";
    EXPECT_EQ(a.pixel(0, 0) & 0xFFFFFF, 0u);

    // 3 x 1 at 4 bits: a run alternating indices 1 and 2.
    ByteWriter rle4 = Header(14 + 40 + 12, 3, 1, 4, 2, 3);
    rle4.u32(0x000000).u32(0xFF0000).u32(0x0000FF).u8(3).u8(0x12).u8(0).u8(1);
    const QImage b = Decoded(rle4.bytes());
    EXPECT_EQ(b.pixel(0, 0) & 0xFFFFFF, QRgb(0xFF0000));
    EXPECT_EQ(b.pixel(1, 0) & 0xFFFFFF, QRgb(0x0000FF));
    EXPECT_EQ(b.pixel(2, 0) & 0xFFFFFF, QRgb(0xFF0000));
}

// A delta chain that would carry the column round 2^32 to -8: the delta runs
// past the right edge, so the run after it is dropped.
TEST(BmpRead, LongDeltaChainsStayInsideTheImage)
{
    ByteWriter file = Header(14 + 40 + 12, 8, 2, 8, 1, 3);
    file.u32(0x000000).u32(0xFF0000).u32(0x0000FF);
    const std::size_t chain = file.size();
    file.u8(0).u8(2).u8(255).u8(0);                           // delta (255, 0), repeated
    file.u8(0).u8(2).u8(248).u8(0).u8(12).u8(1).u8(0).u8(0);  // delta (248, 0), run of 12, end of line
    file.u8(1).u8(2).u8(0).u8(1);                             // one pixel, end
    ByteWriter seed;
    seed.raw("RP").u32(16843008).u16(unsigned(chain)).u8(4);
    seed.raw(std::string(file.bytes().begin(), file.bytes().end()));
    const Bytes bytes = ExpandRepeats(seed.bytes().data(), seed.size());
    ASSERT_GT(bytes.size(), std::size_t(64) << 20);
    const QImage image = Decoded(bytes);
    for (int x = 0; x < 8; ++x) {
        EXPECT_EQ(image.pixel(x, 1) & 0xFFFFFF, 0u) << x;
        EXPECT_EQ(image.pixel(x, 0) & 0xFFFFFF, x == 0 ? 0x0000FFu : 0u) << x;
    }
}

// Each header field out of range, and the file cut at every length: each is
// refused, saying at which byte.
TEST(BmpRead, DamagedFilesAreRefusedWithWhereAndWhat)
{
    const Bytes good = MakeBmp(Sample(), 8, kPalette);
    Decoded(good);
    struct Damage {
        const char* what;
        std::size_t at;
        int bytes;  // 2 or 4
        unsigned long value;
    };
    const Damage damages[] = {
        {"signature", 0, 2, 0x4142},
        {"offset before the table's end", 10, 4, 14 + 40},
        {"offset past the end", 10, 4, 100000},
        {"header size 20", 14, 4, 20},
        {"header size 64", 14, 4, 64},
        {"width 0", 18, 4, 0},
        {"width -3", 18, 4, 0xFFFFFFFDul},
        {"width 32768", 18, 4, 32768},
        {"height 0", 22, 4, 0},
        {"height 32768", 22, 4, 32768},
        {"height -32768", 22, 4, 0xFFFF8000ul},
        {"height INT_MIN", 22, 4, 0x80000000ul},
        {"planes 2", 26, 2, 2},
        {"7 bits per pixel", 28, 2, 7},
        {"64 bits per pixel", 28, 2, 64},
        {"compression 4", 30, 4, 4},
        {"bit fields at 8 bits", 30, 4, 3},
        {"run-length at 4 bits for 8", 30, 4, 2},
        {"257 colours", 46, 4, 257},
        {"a table past the offset", 46, 4, 200},
        {"pixel data past the end", 18, 4, 200},
    };
    for (const Damage& d : damages) {
        SCOPED_TRACE(d.what);
        Bytes bad = good;
        if (d.bytes == 2)
            Put16(bad, d.at, unsigned(d.value));
        else
            Put32(bad, d.at, d.value);
        QImage image;
        std::string error;
        EXPECT_FALSE(DecodeDIB(bad.data(), bad.size(), image, error));
        EXPECT_TRUE(image.isNull());
        EXPECT_EQ(error.rfind("byte ", 0), 0u) << error;
    }

    // More pixels than the limit, each side within it.
    Bytes huge = good;
    Put32(huge, 18, 10000);
    Put32(huge, 22, 10000);
    QImage image;
    std::string error;
    EXPECT_FALSE(DecodeDIB(huge.data(), huge.size(), image, error));
    EXPECT_NE(error.find("2^26"), std::string::npos) << error;

    for (std::size_t cut = 0; cut < good.size(); ++cut) {
        error.clear();
        EXPECT_FALSE(DecodeDIB(good.data(), cut, image, error)) << cut;
        EXPECT_EQ(error.rfind("byte ", 0), 0u) << cut << ": " << error;
    }
    EXPECT_TRUE(image.isNull());
}

TEST(BmpRead, FilesAreNamedInErrorsAndKeptUntilTheyChange)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("p.bmp").toStdString();
    QImage image;
    std::string error;
    EXPECT_FALSE(ReadDIBFile(path, image, error));
    EXPECT_EQ(error.rfind(path, 0), 0u) << error;
    EXPECT_EQ(CachedDIB(path), nullptr);

    WriteFile(path, MakeBmp(Sample()));
    const auto first = CachedDIB(path);
    ASSERT_NE(first, nullptr);
    ExpectSample(*first);
    EXPECT_EQ(CachedDIB(path), first) << "read once";

    QImage wide(5, 1, QImage::Format_RGB32);
    wide.fill(qRgb(1, 2, 3));
    WriteFile(path, MakeBmp(wide));
    std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) + std::chrono::seconds(2));
    const auto second = CachedDIB(path);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->width(), 5) << "a changed file is read again";

    WriteFile(path, Bytes{'B', 'M'});
    std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) + std::chrono::seconds(4));
    EXPECT_EQ(CachedDIB(path, &error), nullptr);
    EXPECT_NE(error.find("byte"), std::string::npos) << error;
}

// The pictures held stay within the cache's bytes, the least recently used
// leaving first; a picture larger than them all is refused.
TEST(BmpRead, TheCacheKeepsWithinItsBytes)
{
    QTemporaryDir dir;
    auto file = [&](const char* name, int side) {
        const std::string path = dir.filePath(name).toStdString();
        QImage p(side, side, QImage::Format_RGB32);
        p.fill(qRgb(1, 2, 3));
        WriteFile(path, MakeBmp(p));
        return path;
    };
    const std::string a = file("a.bmp", 10), b = file("b.bmp", 10), c = file("c.bmp", 10), big = file("big.bmp", 20);
    DibCache cache(1000);  // two pictures of 10 x 10
    const auto first = cache.Get(a), second = cache.Get(b);
    EXPECT_EQ(cache.Get(a), first);
    ASSERT_NE(cache.Get(c), nullptr);
    EXPECT_EQ(cache.Bytes(), 800u);
    EXPECT_EQ(cache.Get(a), first) << "kept";
    EXPECT_NE(cache.Get(b), second) << "read again";
    std::string error;
    EXPECT_EQ(cache.Get(big, &error), nullptr);
    EXPECT_NE(error.find("more than"), std::string::npos) << error;
    EXPECT_EQ(cache.Bytes(), 800u);
}

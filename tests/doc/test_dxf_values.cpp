#include "doc/dxf.h"
#include "doc/dxfgroups.h"
#include "doc/rectadoc.h"

#include <gtest/gtest.h>

// Escapes and UTF-8 bytes of a DXF string value into code page 1252.
TEST(DxfValues, StringsDecodeToCodePage1252)
{
    const struct {
        const char* value;
        bool utf8;
        const char* expected;
    } rows[] = {
        {"\\U+00F1 \\U+20AC \\U+00FF \\U+0100 \\U+009F", false, "\xF1 \x80 \xFF \\U+0100 \\U+009F"},
        {"\\abcdefg", false, "\\abcdefg"},      // a backslash, not an escape
        {"a\\U+00F", false, "a\\U+00F"},        // too short to be one
        {"\xF0\x9F\x98\x80.", true, "\\U+D83D\\U+DE00."},  // four bytes, one character
        {"\xEF\xBF\xBD\xC3\xB1", true, "\\U+FFFD\xF1"},
        {"\xC3", true, "?"},
        {"\xC3\xB1", false, "\xC3\xB1"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(dxf::DecodeValue(row.value, row.utf8, false), row.expected) << row.value;
}

TEST(DxfValues, NumbersWholeOrNotAtAll)
{
    const struct {
        const char* text;
        bool ok;
        double value;
    } reals[] = {
        {" 1.5\t", true, 1.5}, {"-2.25e2", true, -225}, {"+.5", true, 0.5},   {"123.456", true, 123.456},
        {"5.", true, 5},       {"1e15", true, 1e15},    {"-1e-22", true, -1e-22}, {"1234567890.1234567", true, 1234567890.1234567},
        {"1.5e-30", true, 1.5e-30}, {"1.0000001e15", false, 0}, {".", false, 0}, {"-", false, 0},
        {"", false, 0},        {"1e", false, 0},        {"1.5x", false, 0},  {"nan", false, 0},
        {"inf", false, 0},     {"1,5", false, 0},       {"e5", false, 0},
    };
    for (const auto& r : reals) {
        double v = -7;
        EXPECT_EQ(dxf::ParseReal(r.text, v), r.ok) << r.text;
        if (r.ok) {
            EXPECT_EQ(v, r.value) << r.text;
        }
    }
    const struct {
        const char* text;
        bool ok;
        int value;
    } ints[] = {
        {" -12 ", true, -12}, {"+7", true, 7},        {"2147483647", true, 2147483647}, {"-2147483648", true, -2147483647 - 1},
        {"2147483648", false, 0}, {"12345678901", false, 0}, {"1.0", false, 0}, {"", false, 0}, {"-", false, 0}, {"0x1", false, 0},
    };
    for (const auto& r : ints) {
        int v = -7;
        EXPECT_EQ(dxf::ParseInt(r.text, v), r.ok) << r.text;
        EXPECT_EQ(v, r.ok ? r.value : -7) << r.text;
    }
}

// An insert scaled to nothing along either axis is left out.
TEST(DxfValues, InsertsOfNoScaleAreLeftOut)
{
    for (const char* scales : {"41\n0\n", "42\n0\n", "41\n2\n42\n-1\n"}) {
        CRectaDoc doc;
        doc.OnNewDocument();
        const std::string text = std::string("0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nB\n10\n0\n20\n0\n0\nPOINT\n10\n1\n20\n1\n"
                                             "0\nENDBLK\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n0\nINSERT\n2\nB\n10\n0\n20\n0\n") +
                                 scales + "0\nENDSEC\n0\nEOF\n";
        ASSERT_TRUE(ImportDXF(doc, text).ok);
        EXPECT_EQ(doc.GetEntityList().GetCount(), scales[3] == '2' ? 1 : 0) << scales;
    }
}

#include "doc/dxfgroups.h"

#include <gtest/gtest.h>

// Escapes and UTF-8 bytes of a DXF string value into code page 1252.
TEST(DxfValues, StringsDecodeToCodePage1252)
{
    const struct {
        const char* value;
        bool utf8;
        const char* expected;
    } rows[] = {
        {"\\U+00F1 \\U+20AC", false, "\xF1 \x80"},
        {"\\abcdefg", false, "\\abcdefg"},      // a backslash, not an escape
        {"a\\U+00F", false, "a\\U+00F"},        // too short to be one
        {"\xF0\x9F\x98\x80.", true, "?."},      // four bytes, one character
        {"\xEF\xBF\xBD\xC3\xB1", true, "?\xF1"},
        {"\xC3", true, "?"},
        {"\xC3\xB1", false, "\xC3\xB1"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(dxf::DecodeValue(row.value, row.utf8, false), row.expected) << row.value;
}

#include "model/strutil.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>

TEST(StrUtil, CompareCopyFind)
{
    EXPECT_TRUE(BytesEqual("abc", "xyz", 0));
    EXPECT_FALSE(BytesEqual("abcd", "abcz", 4));
    EXPECT_FALSE(StrEqual("LAYER1", "layer1"));
    EXPECT_FALSE(StrEqual("LAYER", "LAYER1"));

    char buf[8];
    EXPECT_EQ(CopyCStringToBuf("my layer", buf, sizeof buf, true), 2u);
    EXPECT_STREQ(buf, "my");
    EXPECT_EQ(CopyCStringToBuf("my layer", buf, sizeof buf, false), 7u);  // truncated, NUL-ended
    EXPECT_STREQ(buf, "my laye");
    char one[2] = {'X', 'X'};
    CopyCStringToBuf("abc", one, 1, false);
    EXPECT_TRUE(one[0] == '\0' && one[1] == 'X');

    const char data[] = {'a', 'b', 'c', 'a', 'b'};
    EXPECT_EQ(FindByteInRange(data, sizeof data, 'a', 0, 4), 0);
    EXPECT_EQ(FindByteInRange(data, sizeof data, 'z', 0, 4), -1);
    EXPECT_EQ(FindByteInRange(data, sizeof data, 'a', 3, 1), -1);
    EXPECT_EQ(FindByteInRange(data, sizeof data, 'b', 2, 100), 4);  // clamped to the buffer
}

namespace {

void ExpectFormatTable()
{
    EXPECT_EQ(FormatNumber(0.0, 3), "0");
    EXPECT_EQ(FormatNumber(2.0, 0), "2.");
    EXPECT_EQ(FormatNumber(0.25, 2), ".25");
    EXPECT_EQ(FormatNumber(-1.5, 1), "-1.5");
    EXPECT_EQ(FormatNumber(12.3456, 2), "12.35");
    EXPECT_EQ(FormatNumber(0.05, 2), ".05");
    EXPECT_EQ(FormatNumber(-0.5, 2), "-.50");
    EXPECT_EQ(FormatNumber(0.999, 2), "1.00");
    EXPECT_EQ(FormatNumber(0.3, 0), ".");
}

} // namespace

TEST(StrFormat, FormatNumber)
{
    ExpectFormatTable();
    EXPECT_EQ(FormatNumber(NAN, 2), "nan");
    EXPECT_EQ(FormatNumber(-INFINITY, 2), "-inf");
    const std::string huge = FormatNumber(1e300, 2);
    EXPECT_EQ(huge.size(), 301u + 3u);
    EXPECT_EQ(huge.substr(301), ".00");
    EXPECT_EQ(FormatNumber(1.0, 1000).size(), 42u);  // decimals clamped to 40
}

TEST(StrFormat, FormatNumberIgnoresNumericLocale)
{
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    bool found = false;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8", "de_DE", "fr_FR"})
        if ((found = std::setlocale(LC_NUMERIC, name) != nullptr))
            break;
    if (!found)
        GTEST_SKIP() << "no locale with a decimal comma installed";
    ExpectFormatTable();
    std::setlocale(LC_NUMERIC, saved.c_str());
}

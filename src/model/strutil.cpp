#include "model/strutil.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

bool BytesEqual(const void* a, const void* b, std::ptrdiff_t n)
{
    if (n < 1)
        return true;
    return std::memcmp(a, b, static_cast<std::size_t>(n)) == 0;
}

bool StrEqual(std::string_view a, std::string_view b) { return a == b; }

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

std::size_t CopyCStringToBuf(std::string_view src, char* buf, std::size_t size, bool stopAtBlank)
{
    if (size == 0)
        return 0;
    std::size_t n = 0;
    while (n < src.size() && n + 1 < size) {
        const char ch = src[n];
        if (ch == '\0' || (stopAtBlank && ch == ' '))
            break;
        buf[n] = ch;
        ++n;
    }
    buf[n] = '\0';
    return n;
}

std::ptrdiff_t FindByteInRange(const void* buf, std::size_t size, char c, std::ptrdiff_t first, std::ptrdiff_t last)
{
    if (size == 0)
        return -1;
    first = std::max<std::ptrdiff_t>(first, 0);
    if (last >= 0 && static_cast<std::size_t>(last) >= size)
        last = static_cast<std::ptrdiff_t>(size - 1);
    const auto* bytes = static_cast<const unsigned char*>(buf);
    for (std::ptrdiff_t i = first; i <= last; ++i) {
        if (bytes[i] == static_cast<unsigned char>(c))
            return i;
    }
    return -1;
}

std::string FormatNumber(double value, int decimals)
{
    if (value == 0.0)
        return "0";
    if (std::isnan(value))
        return "nan";
    if (std::isinf(value))
        return value < 0.0 ? "-inf" : "inf";

    const int n = std::clamp(decimals, 0, 40);
    // Largest double has 309 integer digits.
    char buf[400];
    const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::fixed, n);
    if (res.ec != std::errc())
        return "0";
    const std::string_view fixed(buf, static_cast<std::size_t>(res.ptr - buf));

    // fixed is "I" (n == 0) or "I.F" with exactly n decimals.
    const std::size_t dot = fixed.find('.');
    const std::string_view intPart = fixed.substr(0, dot);
    const std::string_view fraction = dot == std::string_view::npos ? std::string_view() : fixed.substr(dot + 1);

    std::string out;
    out.reserve(fixed.size() + 2);
    if (value < 0.0)
        out += '-';
    if (intPart != "0")
        out += intPart;
    out += '.';
    out += fraction;
    return out;
}

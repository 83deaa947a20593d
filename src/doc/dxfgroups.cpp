#include "doc/dxfgroups.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace dxf {

namespace {

// The start of a value for a message, cut where it gets long.
std::string Quoted(std::string_view s)
{
    constexpr std::size_t kShown = 24;
    return "\"" + Visible(s.substr(0, kShown)) + (s.size() > kShown ? "...\"" : "\"");
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Most values are short decimals: one of at most 15 digits, scaled by a
// power of ten up to 22, is exact as a double, and so is the power, so one
// division or product rounds it correctly. False for any other text.
bool ParseShortDecimal(std::string_view s, double& value)
{
    static constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                        1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const char* p = s.data();
    const char* const end = p + s.size();
    const bool negative = p < end && *p == '-';
    if (p < end && (*p == '-' || *p == '+'))
        ++p;
    std::uint64_t digits = 0;
    int significant = 0, exponent = 0;
    bool any = false;
    auto digit = [&](char c) {
        any = true;
        if (digits != 0 || c != '0')
            ++significant;
        digits = digits * 10 + std::uint64_t(c - '0');
    };
    for (; p < end && IsDigit(*p) && significant <= 15; ++p)
        digit(*p);
    if (p < end && *p == '.')
        for (++p; p < end && IsDigit(*p) && significant <= 15; ++p, --exponent)
            digit(*p);
    if (!any || significant > 15)
        return false;
    if (p < end && (*p == 'e' || *p == 'E')) {
        ++p;
        const bool down = p < end && *p == '-';
        if (p < end && (*p == '-' || *p == '+'))
            ++p;
        int e = 0;
        const char* first = p;
        for (; p < end && IsDigit(*p) && e < 1000; ++p)
            e = e * 10 + (*p - '0');
        if (p == first)
            return false;
        exponent += down ? -e : e;
    }
    if (p != end || exponent < -22 || exponent > 22)
        return false;
    const double magnitude = exponent < 0 ? double(digits) / kPow10[-exponent] : double(digits) * kPow10[exponent];
    value = negative ? -magnitude : magnitude;
    return true;
}

// A Unicode character in code page 1252, or 0 where it has none.
char ToCp1252(char32_t u)
{
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return u == 0 ? '?' : char(u);
    static constexpr char16_t k80[32] = {
        0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
    for (int i = 0; i < 32; ++i)
        if (k80[i] == u)
            return char(0x80 + i);
    return 0;
}

// u in code page 1252, or as the escape \U+XXXX (UTF-16 units) where it has
// no character there; escaped is set then.
void AppendCp1252(std::string& out, char32_t u, bool& escaped)
{
    if (const char c = ToCp1252(u)) {
        out += c;
        return;
    }
    static constexpr char kHex[] = "0123456789ABCDEF";
    auto unit = [&](unsigned v) {
        out += "\\U+";
        for (int shift = 12; shift >= 0; shift -= 4)
            out += kHex[(v >> shift) & 15];
    };
    if (u > 0xFFFF && u <= 0x10FFFF) {
        unit(0xD800 + ((u - 0x10000) >> 10));
        unit(0xDC00 + ((u - 0x10000) & 0x3FF));
    } else {
        unit(unsigned(u));
    }
    escaped = true;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// One UTF-8 character at s[i], i moved past it; an invalid sequence gives
// '?' for its first byte.
char32_t NextUtf8(std::string_view s, std::size_t& i)
{
    const auto b0 = static_cast<unsigned char>(s[i++]);
    if (b0 < 0x80)
        return b0;
    const int extra = b0 >= 0xF0 ? 3 : b0 >= 0xE0 ? 2 : b0 >= 0xC0 ? 1 : -1;
    if (extra < 0 || i + std::size_t(extra) > s.size())
        return '?';
    char32_t u = b0 & (0x3F >> extra);
    for (int k = 0; k < extra; ++k) {
        const auto b = static_cast<unsigned char>(s[i + std::size_t(k)]);
        if ((b & 0xC0) != 0x80)
            return '?';
        u = (u << 6) | (b & 0x3F);
    }
    i += std::size_t(extra);
    return u;
}

}  // namespace

std::string Visible(std::string_view s)
{
    std::string out;
    for (char c : s) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u != 0x7F) {
            out += c;
            continue;
        }
        static constexpr char kNamed[] = {'0', 0, 0, 0, 0, 0, 0, 0, 0, 't', 'n', 0, 0, 'r'};
        if (u < sizeof kNamed && kNamed[u]) {
            out += '\\';
            out += kNamed[u];
        } else {
            static constexpr char kHex[] = "0123456789ABCDEF";
            out += "\\x";
            out += kHex[u >> 4];
            out += kHex[u & 15];
        }
    }
    return out;
}

bool ParseReal(std::string_view s, double& value)
{
    s = Trim(s);
    if (!ParseShortDecimal(s, value)) {
        if (!s.empty() && s.front() == '+')
            s.remove_prefix(1);
        const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
        if (ec != std::errc() || end != s.data() + s.size())
            return false;
    }
    return std::isfinite(value) && std::fabs(value) <= kAbsurd;
}

bool ParseInt(std::string_view s, int& value)
{
    s = Trim(s);
    const bool negative = !s.empty() && s.front() == '-';
    if (!s.empty() && (s.front() == '-' || s.front() == '+'))
        s.remove_prefix(1);
    if (s.empty() || s.size() > 10)
        return false;
    long long n = 0;
    for (char c : s) {
        if (!IsDigit(c))
            return false;
        n = n * 10 + (c - '0');
    }
    if (negative)
        n = -n;
    if (n < std::numeric_limits<int>::min() || n > std::numeric_limits<int>::max())
        return false;
    value = int(n);
    return true;
}

bool GroupReader::Next(Group& g)
{
    std::string_view codeLine;
    if (!NextLine(codeLine))
        return false;
    if (!ParseInt(codeLine, g.code))
        throw DxfError("line " + std::to_string(m_line) + ": a group code was expected, not " + Quoted(codeLine));
    if (!NextLine(g.value))
        throw DxfError("line " + std::to_string(m_line) + ": the file ends after group code " +
                       std::to_string(g.code));
    return true;
}

bool GroupReader::NextLine(std::string_view& line)
{
    if (m_pos >= m_text.size())
        return false;
    const char* start = m_text.data() + m_pos;
    const std::size_t rest = m_text.size() - m_pos;
    const auto* lf = static_cast<const char*>(std::memchr(start, '\n', rest));
    std::size_t length = lf ? std::size_t(lf - start) : rest;
    m_pos += length + (lf ? 1 : 0);
    if (length > 0 && start[length - 1] == '\r')
        --length;
    line = std::string_view(start, length);
    ++m_line;
    return true;
}

bool RecordReader::Next(Record& r)
{
    if (m_putBack) {
        m_putBack = false;
        return true;
    }
    Group g;
    if (m_pending) {
        g = m_next;
        m_pending = false;
    } else {
        do {
            if (!m_groups.Next(g))
                return false;
        } while (g.code != 0);
    }
    r.name = Trim(g.value);
    r.line = m_groups.Line();
    r.groups.clear();
    while (m_groups.Next(g)) {
        if (g.code == 0) {
            m_next = g;
            m_pending = true;
            break;
        }
        r.groups.push_back(g);
    }
    return true;
}

void Fields::Load(const Record& r)
{
    ++m_generation;
    bad = false;
    for (std::size_t i = 0; i < r.groups.size(); ++i) {
        const Group& g = r.groups[i];
        if (g.code < 0 || g.code >= kCodes || m_stamp[g.code] == m_generation)
            continue;
        m_value[g.code] = g.value;
        m_order[g.code] = i;
        m_stamp[g.code] = m_generation;
    }
}

double Fields::Real(int code, double fallback)
{
    double value = fallback;
    if (Has(code) && !ParseReal(m_value[code], value)) {
        bad = true;
        return fallback;
    }
    return value;
}

int Fields::Int(int code, int fallback)
{
    int value = fallback;
    if (Has(code) && !ParseInt(m_value[code], value)) {
        bad = true;
        return fallback;
    }
    return value;
}

std::string DecodeValue(std::string_view value, bool utf8, bool text, bool* escaped)
{
    bool any = false;
    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size();) {
        const char c = value[i];
        if (c == '\\' && i + 7 <= value.size() && value.substr(i, 3) == "\\U+") {
            int u = 0;
            for (std::size_t k = 3; k < 7 && u >= 0; ++k)
                u = HexDigit(value[i + k]) < 0 ? -1 : u * 16 + HexDigit(value[i + k]);
            if (u >= 0) {
                AppendCp1252(out, char32_t(u), any);
                i += 7;
                continue;
            }
        }
        if (text && c == '%' && i + 2 < value.size() && value[i + 1] == '%') {
            const char code = value[i + 2];
            const char lower = code >= 'A' && code <= 'Z' ? char(code - 'A' + 'a') : code;
            if (code == '%' || lower == 'd' || lower == 'p' || lower == 'c') {
                out += code == '%' ? '%' : lower == 'd' ? '\xB0' : lower == 'p' ? '\xB1' : '\xD8';
                i += 3;
                continue;
            }
            if (lower == 'u' || lower == 'o' || lower == 'k') {  // underline, overline, strike-through
                i += 3;
                continue;
            }
            if (code >= '0' && code <= '9') {
                int n = 0;
                std::size_t k = i + 2;
                for (; k < value.size() && k < i + 5 && value[k] >= '0' && value[k] <= '9'; ++k)
                    n = n * 10 + (value[k] - '0');
                if (n > 0 && n < 256) {
                    out += char(n);
                    i = k;
                    continue;
                }
            }
        }
        if (utf8 && static_cast<unsigned char>(c) >= 0x80) {
            AppendCp1252(out, NextUtf8(value, i), any);
            continue;
        }
        out += c;
        ++i;
    }
    if (escaped)
        *escaped = any;
    return out;
}

}  // namespace dxf

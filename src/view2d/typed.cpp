// Typed points: "x,y", "@dx,dy" and "@d<a" (degrees), read locale-independently.
#include "view2d/rectaview.h"

#include "dialogs/archdlg.h"
#include "doc/rectadoc.h"
#include "model/geometry.h"

#include <charconv>
#include <cmath>
#include <cctype>
#include <string_view>

namespace {

constexpr std::size_t kTypedMax = 55;

// The number at the start of the text as the C runtime's text-to-double reads it
// (leading blanks, a sign, decimal, exponent or hexadecimal forms; no number reads
// as 0), but independent of the locale. Out of range gives what the runtime
// gives: 0 below, infinity above.
double LeadingNumber(std::string_view s)
{
    while (!s.empty() && std::string_view(" \t\n\v\f\r").find(s.front()) != std::string_view::npos)
        s.remove_prefix(1);
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    if (s.empty() || s.front() == '-' || s.front() == '+')
        return 0.0;
    auto format = std::chars_format::general;
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X') && (std::isxdigit(static_cast<unsigned char>(s[2])) || s[2] == '.')) {
        s.remove_prefix(2);
        format = std::chars_format::hex;
    }
    double v = 0.0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v, format);
    if (ec == std::errc::result_out_of_range) {
        long double wide = 0.0L;
        const auto r = std::from_chars(s.data(), s.data() + s.size(), wide, format);
        v = r.ec == std::errc() ? static_cast<double>(wide) : HUGE_VAL;
    } else if (ec != std::errc()) {
        v = 0.0;
    }
    return negative ? -v : v;
}

// "Y" at the wall's end point asks for the wall thickness again.
bool IsThicknessRequest(std::string_view text)
{
    return !text.empty() && (text.front() == 'Y' || text.front() == 'y');
}

}  // namespace

// 2 while typed points are accepted: a drawing mode other than 0, 2 and 5, or a point command.
int TypedInputMode(CommandCode code, int mode)
{
    if (mode != 0 && mode != 2 && mode != 5)
        return 2;
    return TakesPoints(code) ? 2 : 0;
}

bool CRectaView::ParseTypedPoint()
{
    ClearPrompt();
    const std::string text = m_typed;
    m_typed.clear();
    m_typedMode = TypedInputMode(m_command, m_mode);
    auto reject = [&] {
        ShowPrompt(0, m_prompt);
        return false;
    };
    if (m_typedMode == 0 || text.empty())
        return reject();
    if (m_command == CMD_WALL_END && IsThicknessRequest(text)) {
        // Not a point: the next click only takes the wall back to its end point.
        RunRegruesaDlg(GetDocument()->m_wallOffset);
        m_command = CMD_WALL_SKIP_POINT;
        ShowPrompt(0, "To point:");
        return false;
    }

    bool polar = false;
    std::string_view body = text;
    const bool relative = body.front() == '@';
    if (relative) {
        if (!TakesFollowingPoint(m_command) && m_bandState == 0 && m_refPointState != 2)
            return reject();
        body.remove_prefix(1);
    }
    std::size_t sep = body.find(',');
    if (relative && sep == std::string_view::npos) {
        sep = body.find('<');
        polar = true;
    }
    if (sep == std::string_view::npos || (!relative && sep == 0))
        return reject();
    const double a = LeadingNumber(body.substr(0, sep));
    const double b = LeadingNumber(body.substr(sep + 1));

    double x = a, y = b;
    if (relative && polar) {
        x = PolarX(m_bandStart.x, a, DegToRad(b));
        y = PolarY(m_bandStart.y, a, DegToRad(b));
    } else if (relative) {
        x = m_bandStart.x + a;
        y = m_bandStart.y + b;
    }
    // A point beyond the drawing's range is no point.
    if (!InCoordinateRange(Pt2{x, y})) {
        ShowPrompt(0, kPointOutOfRange);
        return false;
    }
    m_current.x = x;
    m_current.y = y;
    ClearPrompt();
    return true;
}

bool CRectaView::OnChar(unsigned ch)
{
    m_typedMode = TypedInputMode(m_command, m_mode);
    if (m_typedMode == 0)
        return false;
    switch (ch) {
    case 13: ParseTypedPoint(); return true;
    case 3: CancelCommand(); return true;
    case 8:
        if (!m_typed.empty()) {
            m_typed.pop_back();
            ShowPrompt(0, m_typed);
        }
        return true;
    default:
        if (m_typed.size() < kTypedMax) {
            m_typed.push_back(char(ch));
            ShowPrompt(0, m_typed);
        }
        return true;
    }
}

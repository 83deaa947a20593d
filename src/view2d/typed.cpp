// Typed points: "x,y", "@dx,dy" and "@d<a" (degrees), read locale-independently.
#include "view2d/rectaview.h"

#include "dialogs/archdlg.h"
#include "doc/rectadoc.h"
#include "model/geometry.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <string_view>

namespace {

constexpr std::size_t kTypedMax = 55;

// The whole text as one finite number, or nothing.
std::optional<double> Number(std::string_view s)
{
    if (!s.empty() && s.front() == '+')
        s.remove_prefix(1);
    double v = 0.0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::fixed);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size() || !std::isfinite(v))
        return std::nullopt;
    return v;
}

// Characters that typed points are made of.
bool IsPointCharacter(unsigned ch)
{
    return (ch >= '0' && ch <= '9') || ch == '.' || ch == ',' || ch == '-' || ch == '+' || ch == '@' || ch == '<';
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

    std::optional<double> a, b;
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
    if (sep == std::string_view::npos)
        return reject();
    a = Number(body.substr(0, sep));
    b = Number(body.substr(sep + 1));
    if (!a || !b)
        return reject();

    double x = *a, y = *b;
    if (relative && polar) {
        x = PolarX(m_bandStart.x, *a, DegToRad(*b));
        y = PolarY(m_bandStart.y, *a, DegToRad(*b));
    } else if (relative) {
        x = m_bandStart.x + *a;
        y = m_bandStart.y + *b;
    }
    if (!std::isfinite(x) || !std::isfinite(y))
        return reject();
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
        if (!IsPointCharacter(ch) && !(m_command == CMD_WALL_END && (ch == 'Y' || ch == 'y')))
            return false;
        if (m_typed.size() < kTypedMax) {
            m_typed.push_back(char(ch));
            ShowPrompt(0, m_typed);
        }
        return true;
    }
}

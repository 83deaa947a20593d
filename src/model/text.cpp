#include "model/text.h"

#include "model/entitydraw.h"
#include "model/fontrecord.h"
#include "model/geometry.h"
#include "model/recta.h"
#include "platform/archive.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_SERIAL(CText, CObject, 1)

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kBoxHeight = 1.35;
constexpr double kCharWidth = 0.9 * 0.9;

CPointd Moved(const CPointd& p, double d, double a)
{
    return CPointd(PolarX(p.x, d, a), PolarY(p.y, d, a), p.z);
}

std::int64_t Truncated(double v)
{
    return SaturateToLogical(v);
}

}  // namespace

void CText::AlignPoint(const CPointd& r, CPointd& c1, CPointd& c2, CPointd& c3, CPointd& c4) const
{
    const double a = DegToRad(double(-m_font.lfEscapement / 10));
    const double h = m_font.lfHeight / 100.0 * kBoxHeight;
    const double w = m_font.lfHeight / 100.0 * kCharWidth * double(m_text.size());
    switch (m_justify) {
    case JUSTIFY_RIGHT: c1 = Moved(r, w, a + kPi); break;
    case JUSTIFY_CENTRE: c1 = Moved(r, w / 2.0, a + kPi); break;
    default: c1 = r; break;
    }
    c2 = Moved(c1, w, a);
    c3 = Moved(c2, h, a + kPi / 2);
    c4 = Moved(c3, w, a + kPi);
}

int CText::IsInRect(double x1, double y1, double x2, double y2) const
{
    CPointd c[4];
    AlignPoint(m_insert, c[0], c[1], c[2], c[3]);
    for (int i = 0; i < 4; ++i)
        if (SegmentInRect(c[i], c[(i + 1) % 4], x1, y1, x2, y2))
            return 1;
    return 0;
}

int CText::Draw(CDC& dc, const WorldMap& map, DrawKind kind) const
{
    LOGFONT lf;
    CopyLogFont(lf, m_font);
    const double hd = double(Truncated(m_font.lfHeight / 100.0 * map.scale));
    lf.lfHeight = LONG(std::clamp<std::int64_t>(Truncated(-hd * kBoxHeight), -2000000000, 2000000000));
    const double wd = double(Truncated(m_font.lfWidth / 100.0 * map.scale));
    lf.lfWidth = LONG(std::clamp<std::int64_t>(Truncated(wd * kBoxHeight), -2000000000, 2000000000));
    lf.lfWeight = LONG(std::clamp<std::int64_t>(Truncated(m_font.lfWeight / 100.0 * map.scale), 0, 1000));
    if (lf.lfHeight == 0)
        return 0;

    CFont font;
    if (!font.CreateFontIndirect(lf))
        return 0;
    const LPoint p = map(m_insert);
    const COLORREF colour = kind == DrawKind::normal   ? m_color
                            : kind == DrawKind::dotted ? SelectedTextColor(m_color)
                                                       : RGB(255, 255, 255);
    auto drawText = [&] {
        CFont* oldFont = dc.SelectObject(&font);
        const COLORREF oldColour = dc.SetTextColor(colour);
        switch (m_justify) {
        case JUSTIFY_LEFT: dc.SetTextAlign(TA_BOTTOM | TA_LEFT); break;
        case JUSTIFY_RIGHT: dc.SetTextAlign(TA_BOTTOM | TA_RIGHT); break;
        case JUSTIFY_CENTRE: dc.SetTextAlign(TA_BOTTOM | TA_CENTER); break;
        default: break;
        }
        dc.MoveTo(p.x, p.y);
        dc.TextOut(p.x, p.y, m_text);
        dc.SetTextColor(oldColour);
        dc.SelectObject(oldFont);
    };
    return WithEntityPen(dc, *this, kind, drawText);
}

void CText::Serialize(CArchive& ar)
{
    SerializePen(ar);
    if (ar.IsStoring()) {
        ar << m_layer << m_text << WORD(m_justify);
        StoreLogFont(ar, m_font);
    } else {
        WORD justify;
        ar >> m_layer >> m_text >> justify;
        m_justify = justify;
        LoadLogFont(ar, m_font);
    }
    m_insert.Serialize(ar);
}

#include "platform/recordingdc.h"

#include "platform/region.h"

namespace {

std::int64_t BrushStyleCode(const CBrush& b)
{
    switch (b.GetStyle()) {
    case CBrush::Style::solid: return 0;
    case CBrush::Style::hollow: return 1;
    case CBrush::Style::pattern: return 2;
    }
    return 1;
}

std::vector<std::int64_t> Points(const LPoint* pts, int count)
{
    std::vector<std::int64_t> v;
    for (int i = 0; pts && i < count; ++i) {
        v.push_back(pts[i].x);
        v.push_back(pts[i].y);
    }
    return v;
}

}  // namespace

std::string DCCall::ToString() const
{
    std::string s = op + "(";
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (i)
            s += ',';
        s += std::to_string(args[i]);
    }
    if (!text.empty() || op == "TextOut" || op == "SelectFont") {
        if (!args.empty())
            s += ',';
        s += '"' + text + '"';
    }
    return s + ")";
}

std::string CRecordingDC::Log() const
{
    std::string s;
    for (const DCCall& c : m_calls)
        s += c.ToString() + "\n";
    return s;
}

std::vector<DCCall> CRecordingDC::CallsNamed(std::string_view op) const
{
    std::vector<DCCall> out;
    for (const DCCall& c : m_calls)
        if (c.op == op)
            out.push_back(c);
    return out;
}

void CRecordingDC::Add(std::string op, std::vector<std::int64_t> args, std::string text)
{
    m_calls.push_back({std::move(op), std::move(args), std::move(text)});
}

int CRecordingDC::SetMapMode(int mode)
{
    Add("SetMapMode", {mode});
    return CDC::SetMapMode(mode);
}

bool CRecordingDC::SetWindowExt(int cx, int cy)
{
    Add("SetWindowExt", {cx, cy});
    return CDC::SetWindowExt(cx, cy);
}

bool CRecordingDC::SetWindowOrg(int x, int y)
{
    Add("SetWindowOrg", {x, y});
    return CDC::SetWindowOrg(x, y);
}

bool CRecordingDC::SetViewportExt(int cx, int cy)
{
    Add("SetViewportExt", {cx, cy});
    return CDC::SetViewportExt(cx, cy);
}

bool CRecordingDC::SetViewportOrg(int x, int y)
{
    Add("SetViewportOrg", {x, y});
    return CDC::SetViewportOrg(x, y);
}

CPen* CRecordingDC::SelectObject(CPen* pen)
{
    if (pen && pen->IsCreated())
        Add("SelectPen", {pen->Style(), pen->Width(), pen->Colour()});
    return CDC::SelectObject(pen);
}

CBrush* CRecordingDC::SelectObject(CBrush* brush)
{
    if (brush && brush->IsCreated())
        Add("SelectBrush", {BrushStyleCode(*brush), brush->Colour()});
    return CDC::SelectObject(brush);
}

CFont* CRecordingDC::SelectObject(CFont* font)
{
    if (font && font->IsCreated()) {
        const LOGFONT& lf = font->GetLogFont();
        Add("SelectFont",
            {lf.lfHeight, lf.lfWidth, lf.lfEscapement, lf.lfOrientation, lf.lfWeight, lf.lfItalic, lf.lfUnderline,
             lf.lfStrikeOut, lf.lfCharSet},
            FaceNameOf(lf));
    }
    return CDC::SelectObject(font);
}

CGdiObject* CRecordingDC::SelectStockObject(int index)
{
    // Recorded once under its own name, not again as the selection it makes.
    Add("SelectStockObject", {index});
    if (CPen* pen = StockPen(index))
        return CDC::SelectObject(pen);
    if (CBrush* brush = StockBrush(index))
        return CDC::SelectObject(brush);
    if (CFont* font = StockFont(index))
        return CDC::SelectObject(font);
    return nullptr;
}

int CRecordingDC::SetROP2(int rop)
{
    Add("SetROP2", {rop});
    return CDC::SetROP2(rop);
}

COLORREF CRecordingDC::SetTextColor(COLORREF c)
{
    Add("SetTextColor", {c});
    return CDC::SetTextColor(c);
}

COLORREF CRecordingDC::SetBkColor(COLORREF c)
{
    Add("SetBkColor", {c});
    return CDC::SetBkColor(c);
}

int CRecordingDC::SetBkMode(int mode)
{
    Add("SetBkMode", {mode});
    return CDC::SetBkMode(mode);
}

unsigned CRecordingDC::SetTextAlign(unsigned align)
{
    Add("SetTextAlign", {align});
    return CDC::SetTextAlign(align);
}

LPoint CRecordingDC::MoveTo(std::int64_t x, std::int64_t y)
{
    Add("MoveTo", {x, y});
    return CDC::MoveTo(x, y);
}

bool CRecordingDC::LineTo(std::int64_t x, std::int64_t y)
{
    Add("LineTo", {x, y});
    m_pos = {std::clamp(x, -kLogicalLimit, kLogicalLimit), std::clamp(y, -kLogicalLimit, kLogicalLimit)};
    return true;
}

bool CRecordingDC::Polyline(const LPoint* pts, int count)
{
    Add("Polyline", Points(pts, count));
    return pts && count >= 2;
}

bool CRecordingDC::Polygon(const LPoint* pts, int count)
{
    Add("Polygon", Points(pts, count));
    return pts && count >= 2;
}

bool CRecordingDC::Rectangle(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b)
{
    Add("Rectangle", {l, t, r, b});
    return l != r && t != b;
}

bool CRecordingDC::Ellipse(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b)
{
    Add("Ellipse", {l, t, r, b});
    return l != r && t != b;
}

bool CRecordingDC::Arc(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b, std::int64_t xs,
                       std::int64_t ys, std::int64_t xe, std::int64_t ye)
{
    Add("Arc", {l, t, r, b, xs, ys, xe, ye});
    return l != r && t != b;
}

COLORREF CRecordingDC::SetPixel(std::int64_t x, std::int64_t y, COLORREF c)
{
    Add("SetPixel", {x, y, c});
    return c & 0xFFFFFF;
}

COLORREF CRecordingDC::GetPixel(std::int64_t, std::int64_t) const { return CLR_INVALID; }

bool CRecordingDC::TextOut(std::int64_t x, std::int64_t y, std::string_view text)
{
    Add("TextOut", {x, y}, std::string(text));
    return true;
}

bool CRecordingDC::FillRect(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b, const CBrush& brush)
{
    Add("FillRect", {l, t, r, b, BrushStyleCode(brush), brush.Colour()});
    return brush.IsCreated();
}

bool CRecordingDC::FillRgn(const CRgn& region, const CBrush& brush)
{
    const QRect box = region.Path().boundingRect().toAlignedRect();
    Add("FillRgn", {box.left(), box.top(), box.right() + 1, box.bottom() + 1, BrushStyleCode(brush), brush.Colour()});
    return brush.IsCreated();
}

bool CRecordingDC::FrameRect(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b, const CBrush& brush)
{
    Add("FrameRect", {l, t, r, b, BrushStyleCode(brush), brush.Colour()});
    return brush.IsCreated();
}

bool CRecordingDC::ExtFloodFill(std::int64_t x, std::int64_t y, COLORREF colour, int type)
{
    Add("ExtFloodFill", {x, y, colour, type});
    return true;
}

bool CRecordingDC::StretchImage(std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h,
                                const QImage& image)
{
    Add("StretchImage", {x, y, w, h, image.width(), image.height()});
    return !image.isNull();
}

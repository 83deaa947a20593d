#include "platform/tracker.h"

#include "platform/imagedc.h"

#include <algorithm>

namespace {

DragScript& Script()
{
    static DragScript script;
    return script;
}

// Hatch lines of the inside run this many pixels apart.
constexpr int kHatchStep = 8;
constexpr std::int64_t kCoordLimit = std::int64_t(1) << 30;

LONG Clamp(std::int64_t v)
{
    return LONG(std::clamp(v, -kCoordLimit, kCoordLimit));
}

}  // namespace

DragScript SetDragScript(DragScript script)
{
    DragScript previous = std::move(Script());
    Script() = std::move(script);
    return previous;
}

std::optional<std::vector<LPoint>> ScriptedDragPath(LPoint pressedAt)
{
    if (!Script())
        return std::nullopt;
    return Script()(pressedAt);
}

CRect CRectTracker::HandleRect(int handle) const
{
    if (!(m_nStyle & (resizeInside | resizeOutside)) || handle < hitTopLeft || handle > hitLeft)
        return {};
    const CRect& r = m_rect;
    const LONG s = m_nHandleSize;
    // Outside handles stand one handle further out than inside ones.
    const LONG out = (m_nStyle & resizeOutside) ? s : 0;
    const LONG l = r.left - out, t = r.top - out, rr = r.right + out, b = r.bottom + out;
    const LONG cx = LONG((std::int64_t(r.left) + r.right) / 2 - s / 2);
    const LONG cy = LONG((std::int64_t(r.top) + r.bottom) / 2 - s / 2);
    // Edge handles only where the side has room for three handles.
    const bool wide = r.Width() >= 3 * s, tall = r.Height() >= 3 * s;
    switch (handle) {
    case hitTopLeft: return {l, t, l + s, t + s};
    case hitTopRight: return {rr - s, t, rr, t + s};
    case hitBottomRight: return {rr - s, b - s, rr, b};
    case hitBottomLeft: return {l, b - s, l + s, b};
    case hitTop: return wide ? CRect{cx, t, cx + s, t + s} : CRect{};
    case hitRight: return tall ? CRect{rr - s, cy, rr, cy + s} : CRect{};
    case hitBottom: return wide ? CRect{cx, b - s, cx + s, b} : CRect{};
    default: return tall ? CRect{l, cy, l + s, cy + s} : CRect{};
    }
}

void CRectTracker::Draw(CDC& dc) const
{
    const CRect& r = m_rect;
    if (r.IsRectEmpty())
        return;
    const int oldRop = dc.SetROP2(R2_COPYPEN);
    CPen black(PS_SOLID, 0, RGB(0, 0, 0));
    CPen* oldPen = dc.SelectObject(&black);
    if (m_nStyle & hatchInside) {
        // Lines x + y = c across the rectangle, clipped to it and, on an
        // image, to one pixel past the image's edges, so that a frame zoomed
        // far beyond the view costs only the lines that show.
        std::int64_t l = r.left, t = r.top, rr = r.right, b = r.bottom;
        if (const auto* image = dynamic_cast<const CImageDC*>(&dc)) {
            l = std::max<std::int64_t>(l, -1);
            t = std::max<std::int64_t>(t, -1);
            rr = std::min<std::int64_t>(rr, image->Image().width() + 1);
            b = std::min<std::int64_t>(b, image->Image().height() + 1);
        }
        const std::int64_t first = std::int64_t(r.left) + r.top;
        // The first line of the rectangle's own spacing that reaches the clipped box.
        const std::int64_t from = l + t <= first ? first : first + (l + t - first) / kHatchStep * kHatchStep;
        for (std::int64_t c = from + kHatchStep; c < rr + b; c += kHatchStep) {
            double x0 = double(c - t), y0 = double(t), x1 = double(c - (b - 1)), y1 = double(b - 1);
            if (!ClipSegment(x0, y0, x1, y1, double(l), double(t), double(rr - 1), double(b - 1)))
                continue;
            dc.MoveTo(std::int64_t(x0), std::int64_t(y0));
            dc.LineTo(std::int64_t(x1), std::int64_t(y1));
        }
    }
    if (m_nStyle & (solidLine | dottedLine)) {
        CPen dotted(PS_DOT, 0, RGB(0, 0, 0));
        if (m_nStyle & dottedLine)
            dc.SelectObject(&dotted);
        const LPoint outline[5] = {{r.left, r.top}, {r.right - 1, r.top}, {r.right - 1, r.bottom - 1},
                                   {r.left, r.bottom - 1}, {r.left, r.top}};
        dc.Polyline(outline, 5);
        dc.SelectObject(&black);
    }
    CBrush fill(RGB(0, 0, 0));
    for (int h = hitTopLeft; h <= hitLeft; ++h) {
        const CRect box = HandleRect(h);
        if (!box.IsRectEmpty())
            dc.FillRect(box.left, box.top, box.right, box.bottom, fill);
    }
    dc.SelectObject(oldPen);
    dc.SetROP2(oldRop);
}

int CRectTracker::HitTest(LPoint p) const
{
    for (int h = hitTopLeft; h <= hitLeft; ++h)
        if (HandleRect(h).PtInRect(p.x, p.y))
            return h;
    return m_rect.PtInRect(p.x, p.y) ? hitMiddle : hitNothing;
}

TrackerCursor CRectTracker::CursorAt(LPoint p) const
{
    switch (HitTest(p)) {
    case hitTopLeft:
    case hitBottomRight: return TrackerCursor::sizeNWSE;
    case hitTopRight:
    case hitBottomLeft: return TrackerCursor::sizeNESW;
    case hitTop:
    case hitBottom: return TrackerCursor::sizeNS;
    case hitLeft:
    case hitRight: return TrackerCursor::sizeWE;
    case hitMiddle: return TrackerCursor::sizeAll;
    default: return TrackerCursor::none;
    }
}

CRect CRectTracker::Dragged(const CRect& from, int handle, std::int64_t dx, std::int64_t dy) const
{
    std::int64_t l = from.left, t = from.top, r = from.right, b = from.bottom;
    const bool left = handle == hitTopLeft || handle == hitBottomLeft || handle == hitLeft;
    const bool right = handle == hitTopRight || handle == hitBottomRight || handle == hitRight;
    const bool top = handle == hitTopLeft || handle == hitTopRight || handle == hitTop;
    const bool bottom = handle == hitBottomLeft || handle == hitBottomRight || handle == hitBottom;
    if (handle == hitMiddle) {
        l += dx;
        r += dx;
        t += dy;
        b += dy;
    }
    if (left)
        l += dx;
    if (right)
        r += dx;
    if (top)
        t += dy;
    if (bottom)
        b += dy;
    CRect moved(Clamp(l), Clamp(t), Clamp(r), Clamp(b));
    moved.NormalizeRect();
    return moved;
}

bool CRectTracker::BeginDrag(LPoint pressedAt)
{
    m_dragHandle = HitTest(pressedAt);
    m_pressedAt = pressedAt;
    m_dragged = m_rect;
    return IsDragging();
}

CRect CRectTracker::DragTo(LPoint p)
{
    if (!IsDragging())
        return m_rect;
    m_dragged = Dragged(m_rect, m_dragHandle, p.x - m_pressedAt.x, p.y - m_pressedAt.y);
    return m_dragged;
}

bool CRectTracker::EndDrag()
{
    if (!IsDragging())
        return false;
    m_dragHandle = hitNothing;
    const bool changed = !(m_dragged == m_rect);
    m_rect = m_dragged;
    return changed;
}

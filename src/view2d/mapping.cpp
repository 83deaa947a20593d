// World-to-device mapping, zoom and printing of the plan view.
#include "view2d/rectaview.h"

#include "doc/rectadoc.h"
#include "platform/imagedc.h"

#include <algorithm>
#include <cmath>

namespace {

CPointd LowerLeft(const CPointd& a, const CPointd& b)
{
    return CPointd(std::min(a.x, b.x), std::min(a.y, b.y));
}

CPointd UpperRight(const CPointd& a, const CPointd& b)
{
    return CPointd(std::max(a.x, b.x), std::max(a.y, b.y));
}

// Pixels per drawing unit that show a window dx by dy whole between the
// first and last pixels of a w by h client area; 0 when there is none.
double FitScale(double dx, double dy, double w, double h)
{
    if (!(dx > 0.0) || !(dy > 0.0) || !(w > 0.0) || !(h > 0.0))
        return 0.0;
    // Each ratio alone: their product or quotient could overflow.
    const double s = std::min(w / dx, h / dy);
    return s > 0.0 && std::isfinite(s) ? s : 0.0;
}

// The widest client area a window is judged for.
constexpr double kMaxClientPixels = 1 << 16;

// A window that every client area gets a usable scale for: of finite width
// and height, yet not so narrow that the scale would overflow.
bool Showable(const CPointd& lo, const CPointd& hi)
{
    return FitScale(hi.x - lo.x, hi.y - lo.y, kMaxClientPixels, kMaxClientPixels) > 0.0;
}

// Extents of no height (horizontal lines only) or no width get the other
// side's size in the client's proportions about their middle, so that they
// show across the view; a single point or a client without size stays as it is.
void WidenFlatExtents(CPointd& lo, CPointd& hi, int width, int height)
{
    const double dx = hi.x - lo.x, dy = hi.y - lo.y;
    if (width < 2 || height < 2 || !std::isfinite(dx) || !std::isfinite(dy))
        return;
    const double aspect = double(height - 1) / double(width - 1);
    if (dx > 0.0 && dy == 0.0) {
        const double half = dx * aspect / 2.0;
        lo.y -= half;
        hi.y += half;
    } else if (dy > 0.0 && dx == 0.0) {
        const double half = dy / aspect / 2.0;
        lo.x -= half;
        hi.x += half;
    }
}

}  // namespace

bool CRectaView::ScaleUsable() const
{
    return m_scale > 0.0 && std::isfinite(m_scale);
}

void CRectaView::PrepareMapping(CDC& dc) const
{
    // Logical (0, 0) is the lower-left pixel, on the image's last row.
    const int h = std::max(m_clientHeight, 1);
    dc.SetYUpMapping(std::max(m_clientWidth, 1), h);
    dc.SetViewportOrg(0, h - 1);
}

void CRectaView::ComputeScale()
{
    if (m_aerial) {
        if (CRectaDoc* doc = GetDocument()) {
            m_viewMin = doc->m_extMin;
            m_viewMax = doc->m_extMax;
        }
    }
    m_originX = m_viewMin.x;
    m_originY = m_viewMin.y;
    // The window's edges land on the first and last pixels, so what lies on them shows.
    m_scale = FitScale(m_viewMax.x - m_viewMin.x, m_viewMax.y - m_viewMin.y, m_clientWidth - 1, m_clientHeight - 1);
}

CPointd CRectaView::DeviceToWorld(CPoint point) const
{
    // Device y grows downwards; the view's logical y grows upwards from the last row.
    const double lx = point.x, ly = m_clientHeight - 1 - point.y;
    if (!ScaleUsable())
        return CPointd(m_originX, m_originY);
    return CPointd(lx / m_scale + m_originX, ly / m_scale + m_originY);
}

CPoint CRectaView::WorldToDevicePoint(const CPointd& p) const
{
    const LPoint l = Map()(p);
    auto clampInt = [](std::int64_t v) { return int(std::clamp<std::int64_t>(v, -(1 << 30), 1 << 30)); };
    return CPoint{clampInt(l.x), clampInt(m_clientHeight - 1 - l.y)};
}

void CRectaView::InvertRect(CDC& dc, const CPointd& a, const CPointd& b) const
{
    const WorldMap map = Map();
    const LPoint p = map(a), q = map(b);
    const LPoint outline[5] = {{p.x, p.y}, {q.x, p.y}, {q.x, q.y}, {p.x, q.y}, {p.x, p.y}};
    CPen pen(PS_SOLID, 1, 0);
    CPen* oldPen = dc.SelectObject(&pen);
    const int oldRop = dc.SetROP2(R2_NOTMERGEPEN);
    dc.Polyline(outline, 5);
    dc.SetROP2(oldRop);
    dc.SelectObject(oldPen);
}

void CRectaView::DrawLimitRects(CDC& dc, bool prepare, const CPointd& a1, const CPointd& a2, const CPointd& b1,
                                const CPointd& b2, bool skipSecond) const
{
    if (prepare)
        PrepareMapping(dc);
    InvertRect(dc, a1, a2);
    if (!skipSecond)
        InvertRect(dc, b1, b2);
}

void CRectaView::ApplyWindow()
{
    CRectaDoc* doc = GetDocument();
    if (!m_aerial && m_bandState == 1)
        EraseRubberBand();
    const CPointd lo = LowerLeft(m_reqMin, m_reqMax), hi = UpperRight(m_reqMin, m_reqMax);
    // A window without width or height would leave no scale to map clicks with: it changes nothing.
    if (!Showable(lo, hi))
        return;
    doc->m_prevWindowMin = doc->m_windowMin;
    doc->m_prevWindowMax = doc->m_windowMax;
    doc->m_windowMin = lo;
    doc->m_windowMax = hi;

    // A zoom from the aerial view moves every plan view; one from a plan view moves that view.
    for (CView* v : doc->GetViews()) {
        auto* view = dynamic_cast<CRectaView*>(v);
        if (!view)
            continue;
        if (view->m_aerial) {
            view->m_reqMin = lo;
            view->m_reqMax = hi;
        } else if (m_aerial || view == this) {
            view->m_viewMin = lo;
            view->m_viewMax = hi;
            view->ComputeScale();
        }
    }
    doc->UpdateAllViews(nullptr);
}

void CRectaView::OnZoomWindow()
{
    m_zoomState = 1;
    m_savedPrompt = m_prompt;
    ShowPrompt(0, "First Corner:              ");
}

void CRectaView::OnZoomPrevious()
{
    CRectaDoc* doc = GetDocument();
    m_zoomState = 0;
    m_reqMin = doc->m_prevWindowMin;
    m_reqMax = doc->m_prevWindowMax;
    ApplyWindow();
}

void CRectaView::OnZoomExtents()
{
    CRectaDoc* doc = GetDocument();
    m_zoomState = 3;
    doc->CalcExtents();
    CPointd lo = doc->m_extMin, hi = doc->m_extMax;
    WidenFlatExtents(lo, hi, m_clientWidth, m_clientHeight);
    // Reversed or empty extents (a drawing of only dimensions and hatches) change nothing.
    if (!Showable(lo, hi)) {
        m_zoomState = 0;
        return;
    }
    if (m_bandState == 1)
        EraseRubberBand();
    doc->m_prevWindowMin = doc->m_windowMin;
    doc->m_prevWindowMax = doc->m_windowMax;
    doc->m_windowMin = lo;
    doc->m_windowMax = hi;
    m_viewMin = lo;
    m_viewMax = hi;
    ComputeScale();
    for (CView* v : doc->GetViews())
        if (auto* view = dynamic_cast<CRectaView*>(v); view && view->m_aerial) {
            view->m_reqMin = lo;
            view->m_reqMax = hi;
        }
    doc->UpdateAllViews(nullptr);
    m_zoomState = 0;
}

void CRectaView::ZoomByFactor(double factor)
{
    if (!(factor > 0.0) || !std::isfinite(factor))
        return;
    CRectaDoc* doc = GetDocument();
    const double hw = (doc->m_windowMax.x - doc->m_windowMin.x) / 2.0;
    const double hh = (doc->m_windowMax.y - doc->m_windowMin.y) / 2.0;
    const double cx = doc->m_windowMin.x + hw, cy = doc->m_windowMin.y + hh;
    m_reqMin = CPointd(cx - hw * factor, cy - hh * factor);
    m_reqMax = CPointd(cx + hw * factor, cy + hh * factor);
    ApplyWindow();
}

void CRectaView::PrintPage(CDC& dc, int pageWidth, int pageHeight)
{
    const CPointd lo = LowerLeft(m_firstPoint, m_secondPoint), hi = UpperRight(m_firstPoint, m_secondPoint);
    const double dx = hi.x - lo.x, dy = hi.y - lo.y;
    if (!(dx > 0.0) || !(dy > 0.0) || pageWidth <= 0 || pageHeight <= 0)
        return;
    // The print mapping is the pass's own: the view's scale and origin stay as they are.
    const double savedScale = m_scale, savedX = m_originX, savedY = m_originY;
    const int savedZoom = m_zoomState;
    const CPointd savedFirst = m_firstPoint, savedSecond = m_secondPoint;
    double scale = m_printScale;
    double top = hi.y;
    if (!(scale > 0.0) || !std::isfinite(scale))
        scale = std::min(pageWidth / dx, pageHeight / dy);
    else
        top = lo.y + pageHeight / scale;
    GetDocument()->m_pageWidth = pageWidth;
    GetDocument()->m_pageHeight = pageHeight;
    dc.SetMapMode(MM_LOMETRIC);
    // Low-metric y grows upwards from the page's top edge: the window's top-left lands there.
    m_scale = scale;
    m_originX = lo.x;
    m_originY = top;
    m_firstPoint = CPointd(lo.x, top - pageHeight / scale);
    m_secondPoint = CPointd(lo.x + pageWidth / scale, top);
    m_zoomState = 4;
    OnDraw(dc);
    m_scale = savedScale;
    m_originX = savedX;
    m_originY = savedY;
    m_zoomState = savedZoom;
    m_firstPoint = savedFirst;
    m_secondPoint = savedSecond;
}

#include "doc/srvritem.h"

#include "doc/rectadoc.h"
#include "doc/renderer.h"
#include "model/entitydraw.h"
#include "model/entitykind.h"
#include "platform/archive.h"
#include "platform/waitcursor.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

// Larger pictures are not asked for: about 26 metres at 96 pixels an inch.
constexpr double kMaxExtentPixels = 100000.0;
// Logical units a drawing unit.
constexpr double kUnits = 100.0;

// The window's width and height in logical units, truncated; false when a
// side is 0, not finite, or beyond what a window extent holds.
bool WindowUnits(const CPointd& lo, const CPointd& hi, int& width, int& height)
{
    const double w = std::trunc(std::fabs(hi.x - lo.x) * kUnits), h = std::trunc(std::fabs(hi.y - lo.y) * kUnits);
    if (!(w >= 1.0 && w <= INT_MAX) || !(h >= 1.0 && h <= INT_MAX))
        return false;
    width = int(w);
    height = int(h);
    return true;
}

// Sets the picture's window on dc and draws the window lo-hi of the drawing
// with its lower-left at (ox, oy): records whose visible and flag words are 1
// and that lie in the window (all when all is set), then the hatches whose
// layer is on and that lie in the window.
void DrawWindow(const CRectaDoc& doc, CDC& dc, double ox, double oy, const CPointd& lo, const CPointd& hi, int width,
                int height, bool all)
{
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowExt(width, -height);
    dc.SetWindowOrg(0, height);
    DrawRecords(doc, dc, WorldMap{kUnits, ox, oy}, [&](const CDib& r) {
        const auto inside = [&] { return EntityKind(r.m_type).InWindow(r.m_entity, lo, hi, doc); };
        if (r.m_type == ENT_HATCH)
            return GetEntityLayerVisibility(doc, r.m_entity, r.m_type) == 1 && inside();
        return r.m_visible == 1 && r.m_flag == 1 && (all || inside());
    });
}

CPointd Low(const CPointd& a, const CPointd& b) { return CPointd(std::min(a.x, b.x), std::min(a.y, b.y)); }
CPointd High(const CPointd& a, const CPointd& b) { return CPointd(std::max(a.x, b.x), std::max(a.y, b.y)); }

}  // namespace

CRectaSrvrItem::CRectaSrvrItem(CRectaDoc* doc) : COleServerItem(doc) {}

CRectaDoc* CRectaSrvrItem::GetDocument() const { return static_cast<CRectaDoc*>(COleServerItem::GetDocument()); }

void CRectaSrvrItem::Serialize(CArchive& ar)
{
    if (IsEmbeddedItem())
        GetDocument()->Serialize(ar);
}

bool CRectaSrvrItem::OnGetExtent(int aspect, LSize& size)
{
    if (aspect != DVASPECT_CONTENT)
        return COleServerItem::OnGetExtent(aspect, size);
    const CRectaDoc* doc = GetDocument();
    return doc && CWindowPicture(*doc, doc->m_windowMin, doc->m_windowMax).ExtentHimetric(size);
}

bool CRectaSrvrItem::OnDraw(CDC& dc, LSize&)
{
    CRectaDoc* doc = GetDocument();
    if (!doc)
        return false;
    double ox = 0, oy = 0;
    int zoom = 0;
    const auto& views = doc->GetViews();
    if (std::none_of(views.begin(), views.end(), [&](const CView* v) { return v->GetOriginAndZoom(ox, oy, zoom); }))
        return false;
    const CPointd lo = Low(doc->m_windowMin, doc->m_windowMax), hi = High(doc->m_windowMin, doc->m_windowMax);
    int width = 0, height = 0;
    if (!WindowUnits(lo, hi, width, height))
        return false;
    CWaitCursor wait;
    DrawWindow(*doc, dc, ox, oy, lo, hi, width, height, zoom == 3);
    return true;
}

CWindowPicture::CWindowPicture(const CRectaDoc& doc, const CPointd& a, const CPointd& b)
    : m_doc(doc), m_lo(Low(a, b)), m_hi(High(a, b)),
      m_finite(std::isfinite(a.x) && std::isfinite(a.y) && std::isfinite(b.x) && std::isfinite(b.y))
{
}

bool CWindowPicture::ExtentPixels(LSize& size, int dpi) const
{
    if (!m_finite)
        return false;
    // 100 logical units a drawing unit; a centimetre's whole pixels for 100 of them.
    const double perCm = std::trunc(dpi / 2.54);
    const double w = std::trunc((m_hi.x - m_lo.x) * kUnits) * perCm / kUnits;
    const double h = std::trunc((m_hi.y - m_lo.y) * kUnits) * perCm / kUnits;
    if (!(dpi > 0) || !(w >= 0.0 && w <= kMaxExtentPixels) || !(h >= 0.0 && h <= kMaxExtentPixels))
        return false;
    size = {std::int64_t(std::lround(w)), std::int64_t(std::lround(h))};
    return true;
}

bool CWindowPicture::ExtentHimetric(LSize& size, int dpi) const
{
    LSize pixels;
    if (!ExtentPixels(pixels, dpi))
        return false;
    size = {std::llround(double(pixels.cx) * 2540.0 / dpi), std::llround(double(pixels.cy) * 2540.0 / dpi)};
    return true;
}

CMetaFile CWindowPicture::Record() const
{
    int width = 0, height = 0;
    if (!m_finite || !WindowUnits(m_lo, m_hi, width, height))
        return {};
    CMetaFileDC dc;
    DrawWindow(m_doc, dc, m_lo.x, m_lo.y, m_lo, m_hi, width, height, false);
    return dc.Close();
}

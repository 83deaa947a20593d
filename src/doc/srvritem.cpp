#include "doc/srvritem.h"

#include "doc/rectadoc.h"
#include "doc/renderer.h"
#include "model/entitydraw.h"
#include "model/geometry.h"

#include <algorithm>
#include <cmath>

namespace {

// Larger pictures are not asked for: about 26 metres at 96 pixels an inch.
constexpr double kMaxExtentPixels = 100000.0;

}  // namespace

CRectaSrvrItem::CRectaSrvrItem(const CRectaDoc& doc) : CRectaSrvrItem(doc, doc.m_windowMin, doc.m_windowMax) {}

CRectaSrvrItem::CRectaSrvrItem(const CRectaDoc& doc, const CPointd& a, const CPointd& b)
    : m_doc(doc), m_lo(std::min(a.x, b.x), std::min(a.y, b.y)), m_hi(std::max(a.x, b.x), std::max(a.y, b.y)),
      m_finite(std::isfinite(a.x) && std::isfinite(a.y) && std::isfinite(b.x) && std::isfinite(b.y))
{
}

bool CRectaSrvrItem::ExtentPixels(LSize& size, int dpi) const
{
    if (!m_finite)
        return false;
    // 100 logical units a drawing unit; a centimetre's whole pixels for 100 of them.
    const double perCm = std::trunc(dpi / 2.54);
    const double w = std::trunc((m_hi.x - m_lo.x) * 100.0) * perCm / 100.0;
    const double h = std::trunc((m_hi.y - m_lo.y) * 100.0) * perCm / 100.0;
    if (!(dpi > 0) || !(w >= 0.0 && w <= kMaxExtentPixels) || !(h >= 0.0 && h <= kMaxExtentPixels))
        return false;
    size = {std::int64_t(std::lround(w)), std::int64_t(std::lround(h))};
    return true;
}

bool CRectaSrvrItem::OnGetExtent(int aspect, LSize& size, int dpi) const
{
    LSize pixels;
    if (aspect != DVASPECT_CONTENT || !ExtentPixels(pixels, dpi))
        return false;
    size = {std::llround(double(pixels.cx) * 2540.0 / dpi), std::llround(double(pixels.cy) * 2540.0 / dpi)};
    return true;
}

bool CRectaSrvrItem::OnDraw(CDC& dc, int width, int height) const
{
    if (width <= 0 || height <= 0 || !m_finite)
        return false;
    const double scale = ComputeFitScale(m_hi.x - m_lo.x, m_hi.y - m_lo.y, width - 1, height - 1);
    if (!(scale > 0.0))
        return false;
    const WorldMap map{scale, (m_lo.x + m_hi.x) / 2.0 - (width - 1) / 2.0 / scale,
                       (m_lo.y + m_hi.y) / 2.0 - (height - 1) / 2.0 / scale};
    SetupIsotropicMapping(dc, width, height);
    DrawDrawingWindow(m_doc, dc, map, m_lo, m_hi);
    return true;
}

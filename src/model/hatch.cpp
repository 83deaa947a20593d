#include "model/hatch.h"

#include "model/circ.h"
#include "model/entitycontext.h"
#include "model/entitydraw.h"
#include "model/transform.h"
#include "platform/archive.h"

#include <limits>

IMPLEMENT_SERIAL(CHatch, CObject, 1)

namespace {

constexpr int kMaxPatternSide = std::numeric_limits<WORD>::max();

}  // namespace

CHatch::CHatch(int width, COLORREF color, std::string_view layer, int kind, const CPointd& seed)
    : CEntity(width, color, layer), m_kind(kind), m_seed(seed)
{
}

bool CHatch::SetPattern(const QImage& pattern)
{
    if (pattern.isNull() || pattern.width() > kMaxPatternSide || pattern.height() > kMaxPatternSide)
        return false;
    m_pattern = pattern.convertToFormat(QImage::Format_RGB32);
    m_bmWidth = m_pattern.width();
    m_bmHeight = m_pattern.height();
    m_bmPlanes = 1;
    m_bmBitsPixel = 32;
    m_bitsSize = std::uint32_t(m_bmWidth) * std::uint32_t(m_bmHeight) * 4u;
    return true;
}

int CHatch::IsInRect(double x1, double y1, double x2, double y2) const
{
    return PointInRect({m_seed.x, m_seed.y}, x1, y1, x2, y2) ? 1 : 0;
}

int CHatch::DrawMarker(CDC& dc, const WorldMap& map, DrawKind kind) const
{
    CCirc marker;
    marker.m_width = m_width;
    marker.m_color = m_color;
    marker.m_layer = m_layer;
    marker.m_centre = m_seed;
    marker.m_rx = marker.m_ry = kHatchMarkerRadius;
    return marker.Draw(dc, map, kind);
}

int CHatch::Draw(CDC& dc, const WorldMap& map, DrawKind kind, const CEntityContext& drawing) const
{
    const bool fills = drawing.FillsHatches();
    if (kind == DrawKind::dotted)
        return fills ? 1 : DrawMarker(dc, map, DrawKind::normal);

    const LPoint seed = map(m_seed);
    if (kind == DrawKind::erase) {
        if (m_kind != HATCH_SOLID)
            return 1;
        CBrush background;
        if (!background.CreateSolidBrush(dc.GetBkColor()))
            return 0;
        const COLORREF under = dc.GetPixel(seed.x, seed.y);
        CBrush* old = dc.SelectObject(&background);
        if (under != CLR_INVALID)
            dc.ExtFloodFill(seed.x, seed.y, under, FLOODFILLSURFACE);
        dc.SelectObject(old);
        if (!fills)
            DrawMarker(dc, map, DrawKind::erase);
        return 1;
    }

    if (!fills && m_kind != HATCH_SWATCH)
        DrawMarker(dc, map, DrawKind::normal);
    CBrush brush;
    const bool made = m_kind == HATCH_PATTERN ? brush.CreatePatternBrush(m_pattern) : brush.CreateSolidBrush(m_color);
    if (!made) {
        // A pattern hatch as a file loads it, without its pattern: the marker shows where it is.
        return fills && m_kind == HATCH_PATTERN ? DrawMarker(dc, map, DrawKind::normal) : 0;
    }
    CBrush* old = dc.SelectObject(&brush);
    if (m_kind == HATCH_SWATCH) {
        // The seed holds a window's client size in pixels: the swatch is its middle two thirds.
        const std::int64_t x = SaturateToLogical(m_seed.x), y = SaturateToLogical(m_seed.y);
        const LPoint a = dc.DPtoLP({x / 6, y / 6}), b = dc.DPtoLP({x - x / 6, y - y / 6});
        dc.FillRect(a.x, a.y, b.x, b.y, brush);
    } else {
        const COLORREF under = dc.GetPixel(seed.x, seed.y);
        if (under != CLR_INVALID)
            dc.ExtFloodFill(seed.x, seed.y, under, FLOODFILLSURFACE);
    }
    dc.SelectObject(old);
    return 1;
}

void CHatch::Serialize(CArchive& ar)
{
    SerializePen(ar);
    ar.Exchange(m_layer);
    ar.ExchangeWord(m_kind);
    if (ar.IsStoring())
        ar << DWORD(m_bitsSize);
    else
        ar >> m_bitsSize;
    ar.ExchangeWord(m_bmWidth);
    ar.ExchangeWord(m_bmHeight);
    ar.ExchangeWord(m_bmPlanes);
    ar.ExchangeWord(m_bmBitsPixel);
    // The pattern's own record is empty: its pixels are not kept.
    if (ar.IsLoading())
        m_pattern = QImage();
    m_seed.Serialize(ar);
}

void MoveHatch(CHatch& hatch, const CPointd& from, const CPointd& to)
{
    hatch.m_seed.x += to.x - from.x;
    hatch.m_seed.y += to.y - from.y;
}

void StretchHatch(CHatch& hatch, const CPointd& from, const CPointd& to, const StretchWindow& w)
{
    if (InStretchWindow(w, hatch.m_seed))
        MoveHatch(hatch, from, to);
}

void PlaceEntity(CHatch& e, const CPlacement& pl)
{
    e.m_seed = PlacePoint(e.m_seed, pl);
}

void RotateEntity(CHatch& e, const CPointd& centre, double angle)
{
    RotatePoint(e.m_seed, centre, angle);
}

void MirrorEntity(CHatch& e, const CRecta& mirror, double dir)
{
    MirrorPoint(e.m_seed, mirror, dir);
}

void AddExtentsPoints(const CHatch&, const PointFn&) {}

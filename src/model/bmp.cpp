#include "model/bmp.h"

#include "model/entitycontext.h"
#include "model/entitydraw.h"
#include "model/fontrecord.h"
#include "model/recta.h"
#include "model/text.h"
#include "model/transform.h"
#include "platform/archive.h"
#include "platform/bmpread.h"

#include <algorithm>
#include <cmath>
#include <limits>

IMPLEMENT_SERIAL(CBmp, CObject, 1)

namespace {

// A size as the file's 16-bit word: cut toward zero and kept within 0-65535.
WORD SizeWord(double v)
{
    constexpr double kMax = std::numeric_limits<WORD>::max();
    return std::isnan(v) ? 0 : WORD(std::clamp(std::trunc(v), 0.0, kMax));
}

}  // namespace

CBmp::CBmp(int width, COLORREF color, std::string_view layer, std::string_view file, const CPointd& corner,
           double w, double h)
    : CEntity(width, color, layer), m_file(file), m_corner(corner), m_w(w), m_h(h)
{
}

void CBmp::Corners(CPointd (&c)[4]) const
{
    const CPointd& o = m_corner;
    c[0] = o;
    c[1] = CPointd(o.x + m_w, o.y, o.z);
    c[2] = CPointd(o.x + m_w, o.y + m_h, o.z);
    c[3] = CPointd(o.x, o.y + m_h, o.z);
}

int CBmp::IsInRect(double x1, double y1, double x2, double y2) const
{
    CPointd c[4];
    Corners(c);
    for (int i = 0; i < 4; ++i) {
        const Pt2 p{c[i].x, c[i].y}, q{c[(i + 1) % 4].x, c[(i + 1) % 4].y};
        if (PointInRect(p, x1, y1, x2, y2) || SegmentCrossesRect(p, q, x1, y1, x2, y2))
            return 1;
    }
    return 0;
}

int CBmp::DrawFrame(CDC& dc, const WorldMap& map, DrawKind kind, const CEntityContext& drawing) const
{
    CPointd c[4];
    Corners(c);
    CRecta side;
    side.m_width = m_width;
    side.m_color = m_color;
    side.m_layer = m_layer;
    int drawn = 1;
    for (int i = 0; i < 4; ++i) {
        side.m_p1 = c[i];
        side.m_p2 = c[(i + 1) % 4];
        drawn &= side.Draw(dc, map, kind);
    }
    CText name;
    name.m_width = m_width;
    name.m_color = m_color;
    name.m_layer = m_layer;
    name.m_text = m_file;
    name.m_justify = JUSTIFY_CENTRE;
    name.m_insert = CPointd((c[0].x + c[1].x) / 2, (c[0].y + c[2].y) / 2, m_corner.z);
    CopyLogFont(name.m_font, drawing.LabelFont());
    name.Draw(dc, map, kind);
    return drawn;
}

int CBmp::Draw(CDC& dc, const WorldMap& map, DrawKind kind, const CEntityContext& drawing) const
{
    if (!drawing.ShowsBitmaps())
        return DrawFrame(dc, map, kind, drawing);
    const LPoint at = map(m_corner);
    const std::int64_t w = map.Length(m_w), h = map.Length(m_h);
    switch (kind) {
    case DrawKind::normal:
        // A file that is missing or no BMP draws nothing.
        if (const auto picture = CachedDIB(m_file))
            // From the top left corner down: the picture stands upright in the y-up world.
            dc.StretchImage(at.x, at.y + h, w, -h, *picture);
        return 1;
    case DrawKind::erase: {
        CBrush background;
        if (!background.CreateSolidBrush(dc.GetBkColor()))
            return 0;
        dc.FillRect(at.x, at.y + h, at.x + w, at.y, background);
        return 1;
    }
    case DrawKind::dotted: return 1;
    }
    return 1;
}

void CBmp::Serialize(CArchive& ar)
{
    SerializePen(ar);
    if (ar.IsStoring()) {
        ar << m_layer << m_file << SizeWord(m_w) << SizeWord(m_h);
    } else {
        WORD w, h;
        ar >> m_layer >> m_file >> w >> h;
        m_w = w;
        m_h = h;
    }
    m_corner.Serialize(ar);
}

void MoveBmp(CBmp& bmp, const CPointd& from, const CPointd& to)
{
    bmp.m_corner.x += to.x - from.x;
    bmp.m_corner.y += to.y - from.y;
}

void StretchBmp(CBmp& bmp, const CPointd& from, const CPointd& to, const StretchWindow& w)
{
    CPointd c[4];
    bmp.Corners(c);
    auto inside = [&](const CPointd& p) { return InStretchWindow(w, p); };
    if (inside(c[0]))
        return;
    auto follow = [](double& size, double stretched) {
        const double whole = std::round(stretched);
        if (whole >= kMinBitmapSize && whole <= kMaxBitmapSize)
            size = whole;
    };
    if (inside(c[1]))
        follow(bmp.m_w, c[1].x + (to.x - from.x) - c[0].x);
    else if (inside(c[3]))
        follow(bmp.m_h, c[3].y + (to.y - from.y) - c[0].y);
}

void PlaceEntity(CBmp& e, const CPlacement& pl)
{
    e.m_corner = PlacePoint(e.m_corner, pl);
}

void AddExtentsPoints(const CBmp& bmp, const PointFn& add)
{
    CPointd c[4];
    bmp.Corners(c);
    for (const CPointd& p : c)
        add(p);
}

#include "platform/imagedc.h"

#include "platform/floodfill.h"
#include "platform/dcshared.h"
#include "platform/region.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPointF>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

using i64 = std::int64_t;
using u32 = std::uint32_t;

// Device segments are cut to the image widened by this much before they are
// rounded (2^52: beyond any point a mapping of factor 1 gives, so such lines
// keep their exact pixels); coordinates then stay inside 64 bits.
constexpr double kFarMargin = 4503599627370496.0;
constexpr double kTwoPi = 2.0 * std::numbers::pi;

QRgb ToRgb(COLORREF c) { return qRgb(GetRValue(c), GetGValue(c), GetBValue(c)); }
COLORREF ToColorRef(QRgb p) { return RGB(qRed(p), qGreen(p), qBlue(p)); }

double RoundHalfUp(double v) { return std::floor(v + 0.5); }

// A device row for loop bounds: -1 .. h, whatever v is.
i64 Row(double v, i64 h) { return i64(std::clamp(v, -1.0, double(h))); }

// Pen pattern as a bit mask over one period: bit i set means pixel i is inked.
struct Pattern {
    std::uint64_t mask = 1;
    int period = 1;
};

Pattern PenPattern(int style)
{
    const std::span<const int> runs = PenDashRuns(style);
    if (runs.empty())
        return {};
    Pattern p{0, 0};
    bool on = true;
    for (int n : runs) {
        for (int i = 0; i < n; ++i, ++p.period)
            if (on)
                p.mask |= std::uint64_t(1) << p.period;
        on = !on;
    }
    return p;
}

// Pixel writer for one-pixel pens: raster operation, pattern and an optional
// collection of the pixels instead of writing them.
struct Raster {
    explicit Raster(QImage& img)
        : bits(reinterpret_cast<u32*>(img.bits())), stride(img.bytesPerLine() / 4), w(img.width()),
          h(img.height())
    {
    }

    u32* bits;
    i64 stride;
    i64 w, h;
    u32 m = 0, k = 0;  // new = (old & m) ^ k
    Pattern pattern;
    i64 phase = 0;  // pattern position of the next segment's first pixel
    std::vector<std::uint64_t>* collect = nullptr;
    // Gaps of a styled pen in opaque background mode take the background colour.
    bool fillGaps = false;
    u32 gm = 0, gk = 0;

    void SetRop(int code, QRgb pen)
    {
        const u32 p = pen & 0xFFFFFFu;
        k = EvalRop(code, p, 0);
        m = k ^ EvalRop(code, p, 0xFFFFFFu);
    }

    void SetGapColour(int code, QRgb background)
    {
        const u32 b = background & 0xFFFFFFu;
        gk = EvalRop(code, b, 0);
        gm = gk ^ EvalRop(code, b, 0xFFFFFFu);
        fillGaps = true;
    }

    void PlotGap(i64 x, i64 y)
    {
        u32& px = bits[y * stride + x];
        px = ((px & gm) ^ gk) | 0xFF000000u;
    }

    void Plot(i64 x, i64 y)
    {
        if (collect) {
            collect->push_back((std::uint64_t(y) << 32) | std::uint64_t(x));
            return;
        }
        u32& px = bits[y * stride + x];
        px = ((px & m) ^ k) | 0xFF000000u;
    }

    void Apply(std::uint64_t key)
    {
        u32& px = bits[i64(key >> 32) * stride + i64(key & 0xFFFFFFFFu)];
        px = ((px & m) ^ k) | 0xFF000000u;
    }

    // Segment between device points, rounded to pixel centres; the last pixel
    // is left out unless includeLast. Only the part inside the image is walked.
    void Segment(double x0, double y0, double x1, double y1, bool includeLast)
    {
        const double fx0 = x0, fy0 = y0, fx1 = x1, fy1 = y1;
        const double len = std::max(std::fabs(fx1 - fx0), std::fabs(fy1 - fy0));
        if (!ClipSegment(x0, y0, x1, y1, -kFarMargin, -kFarMargin, double(w) + kFarMargin,
                         double(h) + kFarMargin)) {
            Advance(len);
            return;
        }
        const bool cut = x0 != fx0 || y0 != fy0 || x1 != fx1 || y1 != fy1;
        const double cutLen = std::max(std::fabs(x0 - fx0), std::fabs(y0 - fy0));
        const i64 skipped = cut ? i64(std::fmod(cutLen, double(pattern.period))) : 0;
        const i64 ix0 = i64(RoundHalfUp(x0)), iy0 = i64(RoundHalfUp(y0));
        const i64 ix1 = i64(RoundHalfUp(x1)), iy1 = i64(RoundHalfUp(y1));
        Walk(ix0, iy0, ix1, iy1, includeLast, Wrap(phase + skipped));
        if (cut)
            Advance(len);
        else
            phase = Wrap(phase + std::max(std::abs(ix1 - ix0), std::abs(iy1 - iy0)));
    }

    i64 Wrap(i64 v) const { return pattern.period == 1 ? 0 : v % pattern.period; }
    void Advance(double len) { phase = Wrap(phase + i64(std::fmod(len, double(pattern.period)))); }

    // Bresenham over steps 0..n (n excluded unless includeLast); the minor
    // coordinate at step i is floor(i * a / n + 1/2), so the walk can start at
    // any step without going through the ones before it.
    void Walk(i64 x0, i64 y0, i64 x1, i64 y1, bool includeLast, i64 ph)
    {
        const i64 dx = x1 - x0, dy = y1 - y0;
        const i64 ax = std::abs(dx), ay = std::abs(dy);
        const bool xMajor = ax >= ay;
        const i64 n = std::max(ax, ay);
        const i64 last = includeLast ? n : n - 1;
        if (last < 0)
            return;
        const i64 M0 = xMajor ? x0 : y0, m0 = xMajor ? y0 : x0;
        const i64 sM = (xMajor ? dx : dy) < 0 ? -1 : 1;
        const i64 sm = (xMajor ? dy : dx) < 0 ? -1 : 1;
        const i64 a = xMajor ? ay : ax;
        const i64 majorSize = xMajor ? w : h, minorSize = xMajor ? h : w;

        i64 lo = 0, hi = last;
        if (sM > 0) {
            lo = std::max(lo, -M0);
            hi = std::min(hi, majorSize - 1 - M0);
        } else {
            lo = std::max(lo, M0 - (majorSize - 1));
            hi = std::min(hi, M0);
        }
        if (lo > hi)
            return;
        if (a == 0) {
            if (m0 < 0 || m0 >= minorSize)
                return;
        } else {
            const i64 uLo = sm > 0 ? -m0 : m0 - (minorSize - 1);
            const i64 uHi = sm > 0 ? minorSize - 1 - m0 : m0;
            // Approximate, then widened: each pixel is checked in the loop anyway.
            const double slope = double(n) / double(a);
            const double iLo = (double(uLo) - 0.5) * slope, iHi = (double(uHi) + 0.5) * slope;
            const double slackLo = 4.0 + std::fabs(iLo) * 1e-12, slackHi = 4.0 + std::fabs(iHi) * 1e-12;
            if (iHi + slackHi < double(lo) || iLo - slackLo > double(hi))
                return;
            if (iLo - slackLo > double(lo))
                lo = i64(iLo - slackLo);
            if (iHi + slackHi < double(hi))
                hi = i64(std::ceil(iHi + slackHi));
        }
        const i64 twoN = 2 * n, twoA = 2 * a;
        const __int128 num = __int128(2) * lo * a + n;  // up to 2^107
        i64 u = n == 0 ? 0 : i64(num / twoN);
        i64 r = n == 0 ? 0 : i64(num % twoN);
        i64 pos = Wrap(ph + lo);
        const bool solid = pattern.period == 1;
        for (i64 i = lo; i <= hi; ++i) {
            const i64 mm = m0 + sm * u;
            if (mm >= 0 && mm < minorSize) {
                const i64 MM = M0 + sM * i;
                const i64 px = xMajor ? MM : mm, py = xMajor ? mm : MM;
                if (solid || ((pattern.mask >> pos) & 1u))
                    Plot(px, py);
                else if (fillGaps)
                    PlotGap(px, py);
            }
            r += twoA;
            if (r >= twoN && n != 0) {
                r -= twoN;
                ++u;
            }
            if (!solid && ++pos == pattern.period)
                pos = 0;
        }
    }
};

// Brush fill with a raster operation, skipping the pixels in exclude (sorted keys).
struct BrushFill {
    BrushFill(QImage& img, const CBrush& brush, int rop, const std::vector<std::uint64_t>* exclude)
        : bits(reinterpret_cast<u32*>(img.bits())), stride(img.bytesPerLine() / 4), w(img.width()),
          h(img.height()), brush(brush), rop(rop), exclude(exclude)
    {
        const u32 p = ToRgb(brush.Colour()) & 0xFFFFFFu;
        k = EvalRop(rop, p, 0);
        m = k ^ EvalRop(rop, p, 0xFFFFFFu);
    }

    u32* bits;
    i64 stride, w, h;
    const CBrush& brush;
    int rop;
    const std::vector<std::uint64_t>* exclude;
    u32 m, k;

    // Pixels xa..xb (inclusive, clamped) of row y.
    void Span(i64 y, double xa, double xb)
    {
        if (y < 0 || y >= h)
            return;
        const i64 x0 = i64(std::clamp(xa, -1.0, double(w)));
        const i64 x1 = i64(std::clamp(xb, -1.0, double(w)));
        for (i64 x = std::max<i64>(x0, 0); x <= std::min(x1, w - 1); ++x) {
            if (exclude && std::binary_search(exclude->begin(), exclude->end(),
                                              (std::uint64_t(y) << 32) | std::uint64_t(x)))
                continue;
            u32& px = bits[y * stride + x];
            if (brush.GetStyle() == CBrush::Style::pattern) {
                const QImage& pat = brush.Pattern();
                const u32 p = pat.pixel(int(x % pat.width()), int(y % pat.height()));
                px = EvalRop(rop, p, px) | 0xFF000000u;
            } else {
                px = ((px & m) ^ k) | 0xFF000000u;
            }
        }
    }
};

}  // namespace

struct CImageDC::Outline {
    enum class Fill { none, polygon, ellipse, rect };

    std::vector<std::vector<QPointF>> runs;  // device points, rounded when rasterised
    bool includeLast = false;                // ink the final vertex
    bool closed = false;                     // a single closed run
    Fill fill = Fill::none;
    std::vector<QPointF> polygon;  // rounded vertices
    double cx = 0, cy = 0, a = 0, b = 0;
    i64 L = 0, T = 0, R = -1, B = -1;  // inclusive interior
};

CImageDC::CImageDC(QImage* target) : m_image(target)
{
    if (m_image->format() != QImage::Format_RGB32)
        *m_image = m_image->convertToFormat(QImage::Format_RGB32);
}

CImageDC::CImageDC(int width, int height, COLORREF fill)
    : m_own(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32), m_image(&m_own)
{
    m_own.fill(ToRgb(fill));
}

bool CImageDC::SavePng(const QString& path) const { return m_image->save(path, "PNG"); }

double CImageDC::DevicePixelsPerMm() const
{
    const int dpm = m_image->dotsPerMeterX();
    return dpm > 0 ? dpm / 1000.0 : CDC::DevicePixelsPerMm();
}

double CImageDC::DevicePenWidth() const
{
    const double w = m_pen.Width() * std::fabs(m_fx);
    return w > 1.0 ? w : 1.0;
}

void CImageDC::DrawOutline(const Outline& o)
{
    if (m_rop == R2_NOP)
        return;
    const bool pen = m_pen.Style() != PS_NULL;
    const bool brush = o.fill != Outline::Fill::none && m_brush.GetStyle() != CBrush::Style::hollow;
    const double width = DevicePenWidth();
    const bool wide = pen && width > 1.0;

    auto fill = [&](const std::vector<std::uint64_t>* exclude) {
        if (!brush)
            return;
        BrushFill f(*m_image, m_brush, m_rop, exclude);
        const i64 h = m_image->height();
        switch (o.fill) {
        case Outline::Fill::rect:
            for (i64 y = std::max<i64>(o.T, 0); y <= std::min(o.B, h - 1); ++y)
                f.Span(y, double(o.L), double(o.R));
            break;
        case Outline::Fill::ellipse: {
            // Shrunk by half a pixel so the fill stays inside the outline.
            const double a = o.a - 0.5, b = o.b - 0.5;
            if (a < 0 || b < 0)
                break;
            const i64 y0 = Row(std::ceil(o.cy - b), h), y1 = Row(std::floor(o.cy + b), h);
            for (i64 y = y0; y <= y1; ++y) {
                const double q = b > 0 ? 1.0 - ((y - o.cy) / b) * ((y - o.cy) / b) : 1.0;
                if (q < 0)
                    continue;
                const double half = a * std::sqrt(q);
                f.Span(y, std::ceil(o.cx - half), std::floor(o.cx + half));
            }
            break;
        }
        case Outline::Fill::polygon: {
            const auto& v = o.polygon;
            double top = v[0].y(), bottom = v[0].y();
            for (const QPointF& p : v) {
                top = std::min(top, p.y());
                bottom = std::max(bottom, p.y());
            }
            const i64 y0 = Row(top, h), y1 = Row(bottom, h);
            std::vector<double> xs;
            for (i64 y = y0; y <= y1; ++y) {
                xs.clear();
                const double yc = double(y);
                for (std::size_t i = 0; i < v.size(); ++i) {
                    const QPointF& p = v[i];
                    const QPointF& q = v[(i + 1) % v.size()];
                    if ((p.y() <= yc && yc < q.y()) || (q.y() <= yc && yc < p.y()))
                        xs.push_back(p.x() + (yc - p.y()) * (q.x() - p.x()) / (q.y() - p.y()));
                }
                std::sort(xs.begin(), xs.end());
                for (std::size_t i = 0; i + 1 < xs.size(); i += 2)
                    f.Span(y, std::ceil(xs[i]), std::ceil(xs[i + 1]) - 1.0);
            }
            break;
        }
        case Outline::Fill::none: break;
        }
    };

    if (wide) {
        fill(nullptr);
        QPainter p(m_image);
        p.setRenderHint(QPainter::Antialiasing, false);
        QRgb colour = ToRgb(m_pen.Colour());
        if (m_rop == R2_BLACK)
            colour = qRgb(0, 0, 0);
        else if (m_rop == R2_WHITE)
            colour = qRgb(255, 255, 255);
        p.setCompositionMode(CompositionFor(m_rop));
        p.setPen(QPen(QColor::fromRgb(colour), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        const double margin = width + 2.0;
        const QRectF box(-margin, -margin, m_image->width() + 2 * margin, m_image->height() + 2 * margin);
        if (o.closed && o.runs.size() == 1 &&
            std::all_of(o.runs[0].begin(), o.runs[0].end(), [&](const QPointF& q) { return box.contains(q); })) {
            const auto& run = o.runs[0];
            p.drawPolygon(run.data(), int(run.size()) - 1);
            return;
        }
        for (const auto& run : o.runs)
            for (const auto& part : ClipPolyline(run, box))
                p.drawPolyline(part.data(), int(part.size()));
        return;
    }

    Raster r(*m_image);
    r.SetRop(m_rop, ToRgb(m_pen.Colour()));
    r.pattern = PenPattern(m_pen.Style());
    std::vector<std::uint64_t> pixels;
    const bool collect = !RopIsIdempotent(m_rop);
    if (collect)
        r.collect = &pixels;
    else
        fill(nullptr);
    if (!collect && m_bkMode == OPAQUE)
        r.SetGapColour(m_rop, ToRgb(m_bkColour));
    if (pen) {
        for (std::size_t ri = 0; ri < o.runs.size(); ++ri) {
            const auto& run = o.runs[ri];
            for (std::size_t i = 0; i + 1 < run.size(); ++i) {
                const bool last = o.includeLast && ri + 1 == o.runs.size() && i + 2 == run.size();
                r.Segment(run[i].x(), run[i].y(), run[i + 1].x(), run[i + 1].y(), last);
            }
        }
    }
    if (collect) {
        std::sort(pixels.begin(), pixels.end());
        pixels.erase(std::unique(pixels.begin(), pixels.end()), pixels.end());
        fill(&pixels);
        for (std::uint64_t key : pixels)
            r.Apply(key);
    }
}

bool CImageDC::LineTo(std::int64_t x, std::int64_t y)
{
    double x0, y0, x1, y1;
    ToDevice(m_pos.x, m_pos.y, x0, y0);
    ToDevice(x, y, x1, y1);
    m_pos = {std::clamp(x, -kLogicalLimit, kLogicalLimit), std::clamp(y, -kLogicalLimit, kLogicalLimit)};
    if (m_rop == R2_NOP || m_pen.Style() == PS_NULL)
        return true;
    if (DevicePenWidth() > 1.0) {
        Outline o;
        o.runs.push_back({QPointF(x0, y0), QPointF(x1, y1)});
        DrawOutline(o);
        return true;
    }
    Raster r(*m_image);
    r.SetRop(m_rop, ToRgb(m_pen.Colour()));
    r.pattern = PenPattern(m_pen.Style());
    r.phase = r.Wrap(m_penPhase);
    if (RopIsIdempotent(m_rop) && m_bkMode == OPAQUE)
        r.SetGapColour(m_rop, ToRgb(m_bkColour));
    r.Segment(x0, y0, x1, y1, false);
    m_penPhase = r.phase;
    return true;
}

// One run through the points on the device.
CImageDC::Outline CImageDC::DeviceRun(const LPoint* pts, int count) const
{
    Outline o;
    o.runs.emplace_back();
    for (int i = 0; i < count; ++i) {
        double dx, dy;
        ToDevice(pts[i].x, pts[i].y, dx, dy);
        o.runs[0].emplace_back(dx, dy);
    }
    return o;
}

bool CImageDC::Polyline(const LPoint* pts, int count)
{
    if (!pts || count < 2)
        return false;
    DrawOutline(DeviceRun(pts, count));
    return true;
}

bool CImageDC::Polygon(const LPoint* pts, int count)
{
    if (!pts || count < 2)
        return false;
    Outline o = DeviceRun(pts, count);
    for (const QPointF& p : o.runs[0])
        o.polygon.emplace_back(RoundHalfUp(p.x()), RoundHalfUp(p.y()));
    o.runs[0].push_back(o.runs[0].front());
    o.closed = true;
    o.fill = Outline::Fill::polygon;
    DrawOutline(o);
    return true;
}

CImageDC::Box CImageDC::DeviceBox(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b) const
{
    double x0, y0, x1, y1;
    ToDevice(l, t, x0, y0);
    ToDevice(r, b, x1, y1);
    return {RoundHalfUp(std::min(x0, x1)), RoundHalfUp(std::min(y0, y1)), RoundHalfUp(std::max(x0, x1)),
            RoundHalfUp(std::max(y0, y1))};
}

bool CImageDC::Rectangle(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b)
{
    const auto [L, T, R, B] = DeviceBox(l, t, r, b);
    if (R - L < 1 || B - T < 1)
        return false;
    Outline o;
    o.runs.push_back({QPointF(L, T), QPointF(R - 1, T), QPointF(R - 1, B - 1), QPointF(L, B - 1), QPointF(L, T)});
    o.closed = true;
    o.fill = Outline::Fill::rect;
    const double inset = m_pen.Style() == PS_NULL ? 0.0 : 1.0;
    const double lim = kFarMargin;
    o.L = i64(std::clamp(L + inset, -lim, lim));
    o.R = i64(std::clamp(R - 1 - inset, -lim, lim));
    o.T = i64(std::clamp(T + inset, -lim, lim));
    o.B = i64(std::clamp(B - 1 - inset, -lim, lim));
    DrawOutline(o);
    return true;
}

bool CImageDC::Ellipse(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b)
{
    const auto [L, T, R, B] = DeviceBox(l, t, r, b);
    if (R - L < 1 || B - T < 1)
        return false;
    Outline o;
    o.cx = (L + R - 1) / 2.0;
    o.cy = (T + B - 1) / 2.0;
    o.a = (R - 1 - L) / 2.0;
    o.b = (B - 1 - T) / 2.0;
    const double margin = DevicePenWidth() + 2.0;
    const QRectF box(-margin, -margin, m_image->width() + 2 * margin, m_image->height() + 2 * margin);
    o.runs = EllipseRuns(o.cx, o.cy, o.a, o.b, 0.0, kTwoPi, true, box);
    o.closed = true;
    o.fill = Outline::Fill::ellipse;
    DrawOutline(o);
    return true;
}

bool CImageDC::Arc(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b, std::int64_t xs,
                   std::int64_t ys, std::int64_t xe, std::int64_t ye)
{
    const auto [L, T, R, B] = DeviceBox(l, t, r, b);
    if (R - L < 1 || B - T < 1)
        return false;
    const double cx = (L + R - 1) / 2.0, cy = (T + B - 1) / 2.0;
    const double a = (R - 1 - L) / 2.0, bb = (B - 1 - T) / 2.0;
    double sx, sy, ex, ey;
    ToDevice(xs, ys, sx, sy);
    ToDevice(xe, ye, ex, ey);
    double ts, te;
    const bool full = ArcParameters(cx, cy, a, bb, sx, sy, ex, ey, ts, te);
    const double margin = DevicePenWidth() + 2.0;
    const QRectF box(-margin, -margin, m_image->width() + 2 * margin, m_image->height() + 2 * margin);
    Outline o;
    o.runs = EllipseRuns(cx, cy, a, bb, ts, te, full, box);
    o.includeLast = !full;
    o.closed = full;
    DrawOutline(o);
    return true;
}

COLORREF CImageDC::SetPixel(std::int64_t x, std::int64_t y, COLORREF c)
{
    const LPoint d = LPtoDP({x, y});
    if (d.x < 0 || d.y < 0 || d.x >= m_image->width() || d.y >= m_image->height())
        return CLR_INVALID;
    m_image->setPixel(int(d.x), int(d.y), ToRgb(c));
    return c & 0xFFFFFF;
}

COLORREF CImageDC::GetPixel(std::int64_t x, std::int64_t y) const
{
    const LPoint d = LPtoDP({x, y});
    if (d.x < 0 || d.y < 0 || d.x >= m_image->width() || d.y >= m_image->height())
        return CLR_INVALID;
    return ToColorRef(m_image->pixel(int(d.x), int(d.y)));
}

bool CImageDC::TextOut(std::int64_t x, std::int64_t y, std::string_view text)
{
    return LayOutText(x, y, text, [this](const TextPlacement& t) {
        const double reach = t.advance + t.ascent + t.descent + 4.0;
        if (t.x > -reach && t.y > -reach && t.x < m_image->width() + reach && t.y < m_image->height() + reach) {
            QPainter p(m_image);
            p.setRenderHint(QPainter::Antialiasing, false);
            p.setRenderHint(QPainter::TextAntialiasing, false);
            PaintText(p, t);
        }
    });
}

bool CImageDC::FillRect(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b, const CBrush& brush)
{
    if (!brush.IsCreated())
        return false;
    const auto [L, T, R, B] = DeviceBox(l, t, r, b);
    if (brush.GetStyle() == CBrush::Style::hollow)
        return true;
    BrushFill f(*m_image, brush, R2_COPYPEN, nullptr);
    const i64 h = m_image->height();
    for (i64 y = Row(T, h), last = Row(B - 1, h); y <= last; ++y)
        f.Span(y, L, R - 1);
    return true;
}

bool CImageDC::FrameRect(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b, const CBrush& brush)
{
    if (!brush.IsCreated())
        return false;
    const auto [L, T, R, B] = DeviceBox(l, t, r, b);
    if (R - L < 1 || B - T < 1 || brush.GetStyle() == CBrush::Style::hollow)
        return true;
    BrushFill f(*m_image, brush, R2_COPYPEN, nullptr);
    const double h = m_image->height();
    if (T >= 0 && T < h)
        f.Span(i64(T), L, R - 1);
    if (B - 1 > T && B - 1 >= 0 && B - 1 < h)
        f.Span(i64(B - 1), L, R - 1);
    for (i64 y = Row(T + 1, i64(h)), last = Row(B - 2, i64(h)); y <= last; ++y) {
        f.Span(y, L, L);
        if (R - 1 > L)
            f.Span(y, R - 1, R - 1);
    }
    return true;
}

bool CImageDC::FillRgn(const CRgn& region, const CBrush& brush)
{
    if (!brush.IsCreated() || brush.GetStyle() == CBrush::Style::hollow)
        return false;
    QPainter p(m_image);
    p.setRenderHint(QPainter::Antialiasing, false);
    if (brush.GetStyle() == CBrush::Style::pattern)
        p.fillPath(region.Path(), QBrush(brush.Pattern()));
    else
        p.fillPath(region.Path(), QColor::fromRgb(ToRgb(brush.Colour())));
    return true;
}

bool CImageDC::ExtFloodFill(std::int64_t x, std::int64_t y, COLORREF colour, int type)
{
    const LPoint d = LPtoDP({x, y});
    if (d.x < 0 || d.y < 0 || d.x >= m_image->width() || d.y >= m_image->height())
        return false;
    const COLORREF seed = GetPixel(x, y);
    const bool qualifies = type == FLOODFILLSURFACE ? seed == (colour & 0xFFFFFF) : seed != (colour & 0xFFFFFF);
    if (m_brush.GetStyle() != CBrush::Style::hollow) {
        FloodPaint paint{ToRgb(m_brush.Colour()), nullptr, m_floodRuns, &m_floodSeen};
        if (m_brush.GetStyle() == CBrush::Style::pattern)
            paint.pattern = &m_brush.Pattern();
        FloodFillImage(*m_image, int(d.x), int(d.y), ToRgb(colour), type == FLOODFILLSURFACE, paint);
    }
    return qualifies;
}

bool CImageDC::StretchImage(std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h, const QImage& image)
{
    if (image.isNull())
        return false;
    double x0, y0, x1, y1;
    ToDeviceBox(x, y, w, h, x0, y0, x1, y1);
    x0 = RoundHalfUp(x0);
    y0 = RoundHalfUp(y0);
    x1 = RoundHalfUp(x1);
    y1 = RoundHalfUp(y1);
    if (x0 == x1 || y0 == y1)
        return false;
    QPainter p(m_image);
    DrawStretched(p, image, {x0, y0}, {x1, y1}, QRectF(0, 0, m_image->width(), m_image->height()));
    return true;
}

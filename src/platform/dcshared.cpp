#include "platform/dcshared.h"

#include "platform/dc.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

std::uint32_t EvalRop(int code, std::uint32_t p, std::uint32_t d)
{
    const unsigned t = unsigned(code - 1);
    std::uint32_t r = 0;
    if (t & 1u)
        r |= ~p & ~d;
    if (t & 2u)
        r |= ~p & d;
    if (t & 4u)
        r |= p & ~d;
    if (t & 8u)
        r |= p & d;
    return r & 0xFFFFFFu;
}

bool RopIsIdempotent(int code)
{
    const auto idempotent = [](int c) {
        for (std::uint32_t p : {0u, 0xFFFFFFu})
            for (std::uint32_t d : {0u, 0xFFFFFFu})
                if (EvalRop(c, p, EvalRop(c, p, d)) != EvalRop(c, p, d))
                    return false;
        return true;
    };
    // Lines ask for every call: the operations a DC takes are worked out once.
    static const std::array<bool, R2_WHITE + 1> known = [&] {
        std::array<bool, R2_WHITE + 1> table{};
        for (int c = R2_BLACK; c <= R2_WHITE; ++c)
            table[std::size_t(c)] = idempotent(c);
        return table;
    }();
    return code >= R2_BLACK && code <= R2_WHITE ? known[std::size_t(code)] : idempotent(code);
}

QPainter::CompositionMode CompositionFor(int rop)
{
    switch (rop) {
    case R2_NOTMERGEPEN: return QPainter::RasterOp_NotSourceAndNotDestination;
    case R2_MASKNOTPEN: return QPainter::RasterOp_NotSourceAndDestination;
    case R2_NOTCOPYPEN: return QPainter::RasterOp_NotSource;
    case R2_MASKPENNOT: return QPainter::RasterOp_SourceAndNotDestination;
    case R2_NOT: return QPainter::RasterOp_NotDestination;
    case R2_XORPEN: return QPainter::RasterOp_SourceXorDestination;
    case R2_NOTMASKPEN: return QPainter::RasterOp_NotSourceOrNotDestination;
    case R2_MASKPEN: return QPainter::RasterOp_SourceAndDestination;
    case R2_NOTXORPEN: return QPainter::RasterOp_NotSourceXorDestination;
    case R2_MERGENOTPEN: return QPainter::RasterOp_NotSourceOrDestination;
    case R2_MERGEPENNOT: return QPainter::RasterOp_SourceOrNotDestination;
    case R2_MERGEPEN: return QPainter::RasterOp_SourceOrDestination;
    default: return QPainter::CompositionMode_SourceOver;
    }
}

std::span<const int> PenDashRuns(int style)
{
    static constexpr int dash[] = {18, 6};
    static constexpr int dot[] = {3, 3};
    static constexpr int dashDot[] = {9, 6, 3, 6};
    static constexpr int dashDotDot[] = {9, 3, 3, 3, 3, 3};
    switch (style) {
    case PS_DASH: return dash;
    case PS_DOT: return dot;
    case PS_DASHDOT: return dashDot;
    case PS_DASHDOTDOT: return dashDotDot;
    default: return {};
    }
}

std::vector<std::vector<QPointF>> ClipPolyline(const std::vector<QPointF>& pts, const QRectF& box)
{
    std::vector<std::vector<QPointF>> runs;
    std::vector<QPointF> cur;
    auto flush = [&] {
        if (cur.size() >= 2)
            runs.push_back(cur);
        cur.clear();
    };
    for (std::size_t i = 0; i + 1 < pts.size(); ++i) {
        double x0 = pts[i].x(), y0 = pts[i].y(), x1 = pts[i + 1].x(), y1 = pts[i + 1].y();
        if (!ClipSegment(x0, y0, x1, y1, box.left(), box.top(), box.right(), box.bottom())) {
            flush();
            continue;
        }
        const QPointF a(x0, y0), b(x1, y1);
        if (cur.empty() || cur.back() != a) {
            flush();
            cur.push_back(a);
        }
        cur.push_back(b);
        if (x1 != pts[i + 1].x() || y1 != pts[i + 1].y())
            flush();
    }
    flush();
    return runs;
}

std::vector<std::vector<QPointF>> EllipseRuns(double cx, double cy, double a, double b, double t0, double t1,
                                              bool closed, const QRectF& box)
{
    const double radius = std::max({a, b, 0.5});
    double dt = std::min(std::numbers::pi / 8.0, 2.0 * std::sqrt(0.4 / radius));
    dt = 2.0 * std::numbers::pi / (4.0 * std::ceil(2.0 * std::numbers::pi / dt / 4.0));
    auto at = [&](double t) { return QPointF(cx + a * std::cos(t), cy - b * std::sin(t)); };
    auto gap = [&](const QPointF& p) {
        const double gx = std::max({box.left() - p.x(), p.x() - box.right(), 0.0});
        const double gy = std::max({box.top() - p.y(), p.y() - box.bottom(), 0.0});
        return std::max(gx, gy);
    };

    const QPointF first = at(t0);
    std::vector<std::vector<QPointF>> runs;
    std::vector<QPointF> cur;
    double t = t0;
    QPointF p = first;
    while (t < t1) {
        const double g = gap(p);
        if (g > radius * dt) {
            if (cur.size() >= 2)
                runs.push_back(cur);
            cur.clear();
            t += g / radius;
            if (t >= t1)
                break;
            p = at(t);
            continue;
        }
        if (cur.empty())
            cur.push_back(p);
        const double tn = std::min(t + dt, t1);
        const QPointF pn = (tn >= t1 && closed) ? first : at(tn);
        cur.push_back(pn);
        t = tn;
        p = pn;
    }
    if (cur.size() >= 2)
        runs.push_back(cur);
    return runs;
}

bool ArcParameters(double cx, double cy, double a, double b, double sx, double sy, double ex, double ey, double& ts,
                   double& te)
{
    const double ra = std::max(a, 0.5), rb = std::max(b, 0.5);
    ts = std::atan2(-(sy - cy) / rb, (sx - cx) / ra);
    te = std::atan2(-(ey - cy) / rb, (ex - cx) / ra);
    const bool full = te == ts;
    while (te <= ts)
        te += 2.0 * std::numbers::pi;
    return full;
}

void DrawStretched(QPainter& p, const QImage& image, const QPointF& a, const QPointF& b, const QRectF& bounds)
{
    const QRectF box = QRectF(a, b).normalized();
    const QRectF shown = box.intersected(bounds);
    if (shown.isEmpty())
        return;
    const QImage src = image.mirrored(b.x() < a.x(), b.y() < a.y());
    const double sx = src.width() / box.width(), sy = src.height() / box.height();
    const QRectF source((shown.left() - box.left()) * sx, (shown.top() - box.top()) * sy, shown.width() * sx,
                        shown.height() * sy);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.drawImage(shown, src, source);
}

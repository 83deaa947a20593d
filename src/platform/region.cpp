#include "platform/region.h"

#include <QPolygonF>

#include <algorithm>
#include <vector>

namespace {

// Device coordinates beyond this never show; polygons are cut back to it.
constexpr double kReach = 1 << 22;

// Sutherland-Hodgman against one side of the square: keep where inside(p).
template <class Inside, class Cross>
std::vector<QPointF> ClipSide(const std::vector<QPointF>& in, Inside&& inside, Cross&& cross)
{
    std::vector<QPointF> out;
    for (std::size_t i = 0; i < in.size(); ++i) {
        const QPointF& a = in[i];
        const QPointF& b = in[(i + 1) % in.size()];
        if (inside(a))
            out.push_back(a);
        if (inside(a) != inside(b))
            out.push_back(cross(a, b));
    }
    return out;
}

std::vector<QPointF> ClipToReach(std::vector<QPointF> poly)
{
    auto atX = [](double x) {
        return [x](const QPointF& a, const QPointF& b) {
            return QPointF(x, a.y() + (b.y() - a.y()) * (x - a.x()) / (b.x() - a.x()));
        };
    };
    auto atY = [](double y) {
        return [y](const QPointF& a, const QPointF& b) {
            return QPointF(a.x() + (b.x() - a.x()) * (y - a.y()) / (b.y() - a.y()), y);
        };
    };
    poly = ClipSide(poly, [](const QPointF& p) { return p.x() >= -kReach; }, atX(-kReach));
    poly = ClipSide(poly, [](const QPointF& p) { return p.x() <= kReach; }, atX(kReach));
    poly = ClipSide(poly, [](const QPointF& p) { return p.y() >= -kReach; }, atY(-kReach));
    poly = ClipSide(poly, [](const QPointF& p) { return p.y() <= kReach; }, atY(kReach));
    return poly;
}

}  // namespace

bool CRgn::CreatePolygonRgn(const LPoint* pts, int count)
{
    const int counts[1] = {count};
    return CreatePolyPolygonRgn(std::span(pts, std::size_t(std::max(count, 0))), counts, false);
}

bool CRgn::CreatePolyPolygonRgn(std::span<const LPoint> pts, std::span<const int> counts, bool winding)
{
    m_path = QPainterPath();
    m_path.setFillRule(winding ? Qt::WindingFill : Qt::OddEvenFill);
    std::size_t total = 0;
    for (int n : counts) {
        if (n < 3 || std::size_t(n) > pts.size() - total)
            return false;
        total += std::size_t(n);
    }
    QPainterPath path;
    path.setFillRule(m_path.fillRule());
    std::vector<QPointF> poly;
    for (std::size_t at = 0; int n : counts) {
        poly.clear();
        for (std::size_t i = at; i < at + std::size_t(n); ++i)
            poly.emplace_back(double(pts[i].x), double(pts[i].y));
        at += std::size_t(n);
        poly = ClipToReach(std::move(poly));
        if (poly.size() >= 3)
            path.addPolygon(QPolygonF(poly.begin(), poly.end()));
        path.closeSubpath();
    }
    m_path = path;
    return true;
}

void CRgn::CreateBoxesRgn(std::span<const LRect> boxes)
{
    m_path = QPainterPath();
    m_path.setFillRule(Qt::WindingFill);
    for (const LRect& b : boxes)
        m_path.addRect(QRectF(double(b.left), double(b.top), double(b.Width()), double(b.Height())));
}

void CRgn::Unite(const CRgn& other)
{
    m_path = m_path.united(other.m_path);
}

void CRgn::Subtract(const CRgn& a, const CRgn& b)
{
    m_path = a.m_path.subtracted(b.m_path);
}

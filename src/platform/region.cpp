#include "platform/region.h"

#include <QPolygonF>

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
    m_path = QPainterPath();
    m_path.setFillRule(Qt::OddEvenFill);
    if (count < 3)
        return false;
    std::vector<QPointF> poly;
    poly.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i)
        poly.emplace_back(double(pts[i].x), double(pts[i].y));
    poly = ClipToReach(std::move(poly));
    if (poly.size() >= 3)
        m_path.addPolygon(QPolygonF(poly.begin(), poly.end()));
    m_path.closeSubpath();
    return true;
}

void CRgn::Unite(const CRgn& other)
{
    m_path = m_path.united(other.m_path);
}

void CRgn::Subtract(const CRgn& a, const CRgn& b)
{
    m_path = a.m_path.subtracted(b.m_path);
}

#include "platform/painterdc.h"

#include "platform/dcshared.h"
#include "platform/region.h"

#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

// Device coordinates beyond this never show: shapes are cut back to it, so
// that no device sees coordinates it cannot take.
constexpr double kReach = 1 << 24;
const QRectF kReachBox(-kReach, -kReach, 2 * kReach, 2 * kReach);

QColor ToColor(COLORREF c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }

double Degrees(double radians) { return radians * 180.0 / std::numbers::pi; }

}  // namespace

CPainterDC::CPainterDC(QPainter& painter)
    : m_painter(painter),
      // Vector engines claim raster operations they do not do.
      m_rasterOps(painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::Raster)
{
}

QPointF CPainterDC::Device(std::int64_t x, std::int64_t y) const
{
    double dx, dy;
    ToDevice(x, y, dx, dy);
    return {dx, dy};
}

std::vector<QPointF> CPainterDC::Device(const LPoint* pts, int count) const
{
    std::vector<QPointF> device;
    device.reserve(std::size_t(count) + 1);
    for (int i = 0; i < count; ++i)
        device.push_back(Device(pts[i].x, pts[i].y));
    return device;
}

QRectF CPainterDC::DeviceBox(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b) const
{
    return QRectF(Device(l, t), Device(r, b)).normalized();
}

QColor CPainterDC::PenColour(COLORREF c) const
{
    if (m_rasterOps) {
        if (m_rop == R2_BLACK)
            return Qt::black;
        if (m_rop == R2_WHITE)
            return Qt::white;
        return ToColor(c);
    }
    // The colour the operation gives over white.
    return ToColor(EvalRop(m_rop, c & 0xFFFFFF, 0xFFFFFF));
}

QBrush CPainterDC::BrushOf(const CBrush& brush) const
{
    switch (brush.GetStyle()) {
    case CBrush::Style::solid: return QBrush(ToColor(brush.Colour()));
    case CBrush::Style::pattern: return QBrush(brush.Pattern());
    case CBrush::Style::hollow: break;
    }
    return Qt::NoBrush;
}

bool CPainterDC::Prepare(bool fill)
{
    if (m_rop == R2_NOP)
        return false;
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setCompositionMode(m_rasterOps ? CompositionFor(m_rop) : QPainter::CompositionMode_SourceOver);
    const double width = m_pen.Width() * std::fabs(m_fx);
    if (m_pen.Style() == PS_NULL) {
        m_painter.setPen(Qt::NoPen);
    } else if (width > 1.0) {
        // Wide pens draw solid.
        m_painter.setPen(QPen(PenColour(m_pen.Colour()), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    } else {
        QPen pen(PenColour(m_pen.Colour()), 0);
        const std::span<const int> runs = PenDashRuns(m_pen.Style());
        if (!runs.empty()) {
            pen.setDashPattern(QList<qreal>(runs.begin(), runs.end()));
            pen.setCapStyle(Qt::FlatCap);
        }
        m_painter.setPen(pen);
    }
    if (!fill || m_brush.GetStyle() == CBrush::Style::hollow) {
        m_painter.setBrush(Qt::NoBrush);
    } else if (m_brush.GetStyle() == CBrush::Style::solid) {
        m_painter.setBrush(PenColour(m_brush.Colour()));
    } else {
        m_painter.setBrushOrigin(0, 0);
        m_painter.setBrush(BrushOf(m_brush));
    }
    return true;
}

bool CPainterDC::LineTo(std::int64_t x, std::int64_t y)
{
    const QPointF a = Device(m_pos.x, m_pos.y), b = Device(x, y);
    m_pos = {std::clamp(x, -kLogicalLimit, kLogicalLimit), std::clamp(y, -kLogicalLimit, kLogicalLimit)};
    if (!Prepare(false))
        return true;
    for (const auto& run : ClipPolyline({a, b}, kReachBox))
        m_painter.drawLine(run.front(), run.back());
    return true;
}

bool CPainterDC::Polyline(const LPoint* pts, int count)
{
    if (!pts || count < 2)
        return false;
    if (!Prepare(false))
        return true;
    for (const auto& run : ClipPolyline(Device(pts, count), kReachBox))
        m_painter.drawPolyline(run.data(), int(run.size()));
    return true;
}

bool CPainterDC::Polygon(const LPoint* pts, int count)
{
    if (!pts || count < 2)
        return false;
    if (!Prepare(true))
        return true;
    std::vector<QPointF> device = Device(pts, count);
    if (std::all_of(device.begin(), device.end(), [](const QPointF& p) { return kReachBox.contains(p); })) {
        m_painter.drawPolygon(device.data(), count, Qt::OddEvenFill);
        return true;
    }
    QPainterPath shape;
    shape.setFillRule(Qt::OddEvenFill);
    shape.addPolygon(QPolygonF(device.begin(), device.end()));
    QPainterPath reach;
    reach.addRect(kReachBox);
    m_painter.fillPath(shape.intersected(reach), m_painter.brush());
    device.push_back(device.front());
    for (const auto& run : ClipPolyline(device, kReachBox))
        m_painter.drawPolyline(run.data(), int(run.size()));
    return true;
}

bool CPainterDC::Rectangle(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b)
{
    const QRectF box = DeviceBox(l, t, r, b);
    if (box.width() <= 0 || box.height() <= 0)
        return false;
    if (Prepare(true))
        m_painter.drawRect(box.intersected(kReachBox));
    return true;
}

bool CPainterDC::Ellipse(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b)
{
    const QRectF box = DeviceBox(l, t, r, b);
    if (box.width() <= 0 || box.height() <= 0)
        return false;
    if (!Prepare(true))
        return true;
    if (kReachBox.contains(box)) {
        m_painter.drawEllipse(box);
        return true;
    }
    QPainterPath shape, reach;
    shape.addEllipse(box);
    reach.addRect(kReachBox);
    m_painter.fillPath(shape.intersected(reach), m_painter.brush());
    const QPointF c = box.center();
    for (const auto& run :
         EllipseRuns(c.x(), c.y(), box.width() / 2, box.height() / 2, 0.0, 2 * std::numbers::pi, true, kReachBox))
        m_painter.drawPolyline(run.data(), int(run.size()));
    return true;
}

bool CPainterDC::Arc(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b, std::int64_t xs,
                     std::int64_t ys, std::int64_t xe, std::int64_t ye)
{
    const QRectF box = DeviceBox(l, t, r, b);
    if (box.width() <= 0 || box.height() <= 0)
        return false;
    if (!Prepare(false))
        return true;
    const QPointF c = box.center(), s = Device(xs, ys), e = Device(xe, ye);
    double ts, te;
    const bool full = ArcParameters(c.x(), c.y(), box.width() / 2, box.height() / 2, s.x(), s.y(), e.x(), e.y(), ts, te);
    if (kReachBox.contains(box)) {
        QPainterPath path;
        path.arcMoveTo(box, Degrees(ts));
        path.arcTo(box, Degrees(ts), Degrees(te - ts));
        m_painter.drawPath(path);
        return true;
    }
    for (const auto& run : EllipseRuns(c.x(), c.y(), box.width() / 2, box.height() / 2, ts, te, full, kReachBox))
        m_painter.drawPolyline(run.data(), int(run.size()));
    return true;
}

COLORREF CPainterDC::SetPixel(std::int64_t x, std::int64_t y, COLORREF c)
{
    const QPointF p = Device(x, y);
    if (!kReachBox.contains(p))
        return CLR_INVALID;
    m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    m_painter.fillRect(QRectF(std::floor(p.x() + 0.5), std::floor(p.y() + 0.5), 1, 1), ToColor(c));
    return c & 0xFFFFFF;
}

COLORREF CPainterDC::GetPixel(std::int64_t, std::int64_t) const { return CLR_INVALID; }

bool CPainterDC::TextOut(std::int64_t x, std::int64_t y, std::string_view text)
{
    return LayOutText(x, y, text, [this](const TextPlacement& t) {
        if (kReachBox.contains(QPointF(t.x, t.y))) {
            m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
            PaintText(m_painter, t);
        }
    });
}

bool CPainterDC::FillRect(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b, const CBrush& brush)
{
    if (!brush.IsCreated())
        return false;
    if (brush.GetStyle() == CBrush::Style::hollow)
        return true;
    m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    m_painter.setBrushOrigin(0, 0);
    m_painter.fillRect(DeviceBox(l, t, r, b).intersected(kReachBox), BrushOf(brush));
    return true;
}

bool CPainterDC::FrameRect(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b, const CBrush& brush)
{
    if (!brush.IsCreated())
        return false;
    QRectF box = DeviceBox(l, t, r, b).intersected(kReachBox);
    box = QRectF(QPointF(std::floor(box.left() + 0.5), std::floor(box.top() + 0.5)),
                 QPointF(std::floor(box.right() + 0.5), std::floor(box.bottom() + 0.5)));
    if (box.width() < 1 || box.height() < 1 || brush.GetStyle() == CBrush::Style::hollow)
        return true;
    // One pixel wide, inside the box.
    const QBrush fill = BrushOf(brush);
    m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    m_painter.setBrushOrigin(0, 0);
    m_painter.fillRect(QRectF(box.left(), box.top(), box.width(), 1), fill);
    if (box.height() > 1)
        m_painter.fillRect(QRectF(box.left(), box.bottom() - 1, box.width(), 1), fill);
    if (box.height() > 2) {
        m_painter.fillRect(QRectF(box.left(), box.top() + 1, 1, box.height() - 2), fill);
        if (box.width() > 1)
            m_painter.fillRect(QRectF(box.right() - 1, box.top() + 1, 1, box.height() - 2), fill);
    }
    return true;
}

bool CPainterDC::FillRgn(const CRgn& region, const CBrush& brush)
{
    if (!brush.IsCreated() || brush.GetStyle() == CBrush::Style::hollow)
        return false;
    m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    m_painter.setBrushOrigin(0, 0);
    m_painter.fillPath(region.Path(), BrushOf(brush));
    return true;
}

bool CPainterDC::ExtFloodFill(std::int64_t, std::int64_t, COLORREF, int) { return false; }

bool CPainterDC::StretchImage(std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h, const QImage& image)
{
    if (image.isNull())
        return false;
    double x0, y0, x1, y1;
    ToDeviceBox(x, y, w, h, x0, y0, x1, y1);
    const QPointF a(x0, y0), b(x1, y1);
    if (a.x() == b.x() || a.y() == b.y())
        return false;
    m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    DrawStretched(m_painter, image, a, b, kReachBox);
    return true;
}

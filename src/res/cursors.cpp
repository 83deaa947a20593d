#include "res/cursors.h"

#include <QBitmap>
#include <QPainter>

namespace {

constexpr int kSize = 32;
constexpr int kCentre = 15;
constexpr int kHalfBox = 5;

QCursor MakeCursor(bool cross)
{
    QBitmap shape(kSize, kSize);
    shape.fill(Qt::color0);
    QPainter p(&shape);
    p.setPen(Qt::color1);
    p.drawRect(kCentre - kHalfBox, kCentre - kHalfBox, 2 * kHalfBox, 2 * kHalfBox);
    if (cross) {
        p.drawLine(kCentre, kCentre - 2 * kHalfBox, kCentre, kCentre + 2 * kHalfBox);
        p.drawLine(kCentre - 2 * kHalfBox, kCentre, kCentre + 2 * kHalfBox, kCentre);
    }
    p.end();
    return QCursor(shape, shape, kCentre, kCentre);
}

}  // namespace

// Never destroyed: freed after the application has gone, a cursor would touch freed pixmap data.
QCursor PickCursor()
{
    static const QCursor* cursor = new QCursor(MakeCursor(false));
    return *cursor;
}

QCursor SnapCursor()
{
    static const QCursor* cursor = new QCursor(MakeCursor(true));
    return *cursor;
}

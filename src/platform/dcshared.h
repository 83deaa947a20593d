// What the device contexts share: raster operations and their QPainter
// composition modes, pen patterns, and device outlines cut to a box.
#pragma once

#include <QImage>
#include <QPainter>
#include <QPointF>
#include <QRectF>

#include <cstdint>
#include <span>
#include <vector>

// Bitwise raster operation (R2_ code) of a pen value p on a screen value d, 24 bits.
std::uint32_t EvalRop(int code, std::uint32_t p, std::uint32_t d);
// Drawing twice gives the same as once: a shape may then touch a pixel twice.
bool RopIsIdempotent(int code);
// The composition mode that does the raster operation on a raster device;
// source-over for those that have none (copy, black, white, nop).
QPainter::CompositionMode CompositionFor(int rop);
// The on and off runs of a pen style in pixels, starting with a run on;
// empty for solid and null pens.
std::span<const int> PenDashRuns(int style);

// Cuts a polyline to the box, giving the runs that stay inside it.
std::vector<std::vector<QPointF>> ClipPolyline(const std::vector<QPointF>& pts, const QRectF& box);

// Vertices of the ellipse (cx + a cos t, cy - b sin t) for t from t0 to t1,
// chords within 0.2 pixel of the curve. Stretches farther outside the box
// than one chord are jumped over (the curve moves at most max(a, b) per unit
// of t), so a huge ellipse costs only what lies near the box.
std::vector<std::vector<QPointF>> EllipseRuns(double cx, double cy, double a, double b, double t0, double t1,
                                              bool closed, const QRectF& box);

// The parameters ts < te (as in EllipseRuns) where the radials from the
// centre through the device points s and e meet the ellipse; true, with te =
// ts + 2 pi, when the radials are the same.
bool ArcParameters(double cx, double cy, double a, double b, double sx, double sy, double ex, double ey, double& ts,
                   double& te);

// Draws image stretched over the device box with corners a and b (mirrored
// where b lies left of or above a), only its part inside bounds, unsmoothed.
void DrawStretched(QPainter& p, const QImage& image, const QPointF& a, const QPointF& b, const QRectF& bounds);

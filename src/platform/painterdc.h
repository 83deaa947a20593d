// Device context that draws through a QPainter on any paint device (an SVG
// generator, a QPicture, a printer) as vector shapes: lines, arcs, polygons
// and texts stay lines, arcs, polygons and texts at their unrounded device
// coordinates.
//
// What needs pixels is approximated: on a device without raster operations
// each raster operation but R2_NOP draws the colour it gives over white (so
// erasing paints white and the inverting rubber band black); GetPixel knows
// no pixel and flood fills draw nothing (CMetaFile::Play fills them from an
// image of its own). A painter on a raster image does the raster operations
// themselves. Pen patterns start afresh on each line.
#pragma once

#include "platform/dc.h"

#include <QBrush>
#include <QPen>
#include <QPointF>

#include <vector>

class QPainter;

class CPainterDC : public CDC {
public:
    // Draws through painter, which must stay active while the DC draws.
    explicit CPainterDC(QPainter& painter);

    QPainter& Painter() { return m_painter; }

    bool LineTo(std::int64_t x, std::int64_t y) override;
    bool Polyline(const LPoint* pts, int count) override;
    bool Polygon(const LPoint* pts, int count) override;
    bool Rectangle(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b) override;
    bool Ellipse(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b) override;
    bool Arc(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b, std::int64_t xs, std::int64_t ys,
             std::int64_t xe, std::int64_t ye) override;
    COLORREF SetPixel(std::int64_t x, std::int64_t y, COLORREF c) override;
    // Always CLR_INVALID.
    COLORREF GetPixel(std::int64_t x, std::int64_t y) const override;
    bool TextOut(std::int64_t x, std::int64_t y, std::string_view text) override;
    bool FillRect(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b, const CBrush& brush) override;
    bool FrameRect(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b, const CBrush& brush) override;
    bool FillRgn(const CRgn& region, const CBrush& brush) override;
    // Draws nothing and gives false.
    bool ExtFloodFill(std::int64_t x, std::int64_t y, COLORREF colour, int type) override;
    bool StretchImage(std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h,
                      const QImage& image) override;

private:
    QPointF Device(std::int64_t x, std::int64_t y) const;
    // The points on the device, with room for one more.
    std::vector<QPointF> Device(const LPoint* pts, int count) const;
    // The box of two logical corners on the device, ordered.
    QRectF DeviceBox(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b) const;
    // Sets the painter up for the current pen and raster operation, with the
    // current brush when fill; false when the raster operation draws nothing.
    bool Prepare(bool fill);
    QColor PenColour(COLORREF c) const;
    QBrush BrushOf(const CBrush& brush) const;

    QPainter& m_painter;
    bool m_rasterOps;  // the device does raster operations itself
};

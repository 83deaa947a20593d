// Device context over a QImage (Format_RGB32, no antialiasing). One-pixel
// pens are rasterised here so that end pixels, pen patterns and raster
// operations are exact; wide pens, text and stretched images go through QPainter.
#pragma once

#include "platform/dc.h"

#include <QImage>
#include <QString>

#include <vector>

struct FloodRun;

class CImageDC : public CDC {
public:
    // Draws into *target, which is converted to Format_RGB32 when it has another format.
    explicit CImageDC(QImage* target);
    // Owns a width x height image filled with the colour.
    CImageDC(int width, int height, COLORREF fill = RGB(255, 255, 255));

    QImage& Image() { return *m_image; }
    const QImage& Image() const { return *m_image; }
    bool SavePng(const QString& path) const;
    // While runs is not null, flood fills append the runs of pixels they paint to it.
    void CollectFloodRuns(std::vector<FloodRun>* runs) { m_floodRuns = runs; }

    bool LineTo(std::int64_t x, std::int64_t y) override;
    bool Polyline(const LPoint* pts, int count) override;
    bool Polygon(const LPoint* pts, int count) override;
    bool Rectangle(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b) override;
    bool Ellipse(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b) override;
    bool Arc(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b, std::int64_t xs, std::int64_t ys,
             std::int64_t xe, std::int64_t ye) override;
    COLORREF SetPixel(std::int64_t x, std::int64_t y, COLORREF c) override;
    COLORREF GetPixel(std::int64_t x, std::int64_t y) const override;
    bool TextOut(std::int64_t x, std::int64_t y, std::string_view text) override;
    bool FillRect(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b, const CBrush& brush) override;
    bool FrameRect(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b, const CBrush& brush) override;
    bool FillRgn(const CRgn& region, const CBrush& brush) override;
    bool ExtFloodFill(std::int64_t x, std::int64_t y, COLORREF colour, int type) override;
    bool StretchImage(std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h,
                      const QImage& image) override;

protected:
    double DevicePixelsPerMm() const override;

private:
    struct Outline;
    // A logical box on the device: left, top, right, bottom pixels, ordered.
    struct Box {
        double L, T, R, B;
    };
    Box DeviceBox(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b) const;
    Outline DeviceRun(const LPoint* pts, int count) const;
    // Draws an outline (and, for closed shapes, the brush fill) with the current pen and raster operation.
    void DrawOutline(const Outline& outline);
    // Device pen width in pixels; 1 for cosmetic pens.
    double DevicePenWidth() const;

    QImage m_own;
    QImage* m_image;
    std::vector<FloodRun>* m_floodRuns = nullptr;
    std::vector<std::uint8_t> m_floodSeen;  // kept between flood fills, all 0
};

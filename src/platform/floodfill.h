// Iterative scanline flood fill over an RGB32 image, 4-connected. Memory is
// bounded by the image: a seed stack of at most one entry per pixel and, where
// painted pixels could qualify again, one visited byte per pixel.
#pragma once

#include <QImage>

#include <cstdint>
#include <vector>

// A row's pixels x0..x1 (inclusive) of row y.
struct FloodRun {
    int y, x0, x1;
};

// What the filled pixels become: a solid colour, or a pattern tiled from
// pixel (0, 0) of the image (its pixels taken without alpha).
struct FloodPaint {
    QRgb solid = 0;
    const QImage* pattern = nullptr;  // used when not null and not empty
    std::vector<FloodRun>* runs = nullptr;  // when not null, gets every run painted
    // When not null, the visited map fills that need one keep here between
    // fills, so that a fill costs what it paints rather than the image's
    // size. All 0 before and after.
    std::vector<std::uint8_t>* seen = nullptr;
};

// Fills from (x, y) every 4-connected pixel whose colour (QRgb without alpha)
// equals colour when surface is true, or differs from it when surface is
// false (fill up to a border). Returns the number of pixels painted; 0 when
// the seed is outside the image, does not qualify, or when a solid surface
// fill would paint the colour the pixels already have. A pattern that holds
// the seed colour still paints each pixel of the area once.
std::int64_t FloodFillImage(QImage& image, int x, int y, QRgb colour, bool surface, const FloodPaint& paint);

// Iterative scanline flood fill over an RGB32 image (4-connected, visited mask).
#pragma once

#include <QImage>

#include <cstdint>
#include <functional>

// Fills from (x, y) every 4-connected pixel whose colour (QRgb without alpha)
// equals colour when surface is true, or differs from it when surface is
// false (fill up to a border). paint(x, y) gives the new pixel value and is
// asked once per pixel. Returns the number of pixels filled; 0 when the seed
// is outside the image or does not qualify.
std::int64_t FloodFillImage(QImage& image, int x, int y, QRgb colour, bool surface,
                            const std::function<QRgb(int, int)>& paint);

// Counts of an image's pixels by colour, alpha left out.
#pragma once

#include <QImage>

// Pixels of the colour (0xRRGGBB).
inline int CountPixels(const QImage& img, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += (img.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
    return n;
}

// Pixels that are not white.
inline int InkPixels(const QImage& img)
{
    return img.width() * img.height() - CountPixels(img, 0xFFFFFF);
}

// Ink within a pixel of (x, y).
inline bool InkNear(const QImage& img, int x, int y)
{
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (img.valid(x + dx, y + dy) && (img.pixel(x + dx, y + dy) & 0xFFFFFF) != 0xFFFFFF)
                return true;
    return false;
}

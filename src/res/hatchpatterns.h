// The pattern bitmaps of the bitmap-hatch browser, drawn here.
#pragma once

#include <QImage>

#include <vector>

struct HatchPattern {
    const char* name;
    QImage image;  // Format_RGB32, 8 to 32 pixels a side, tiling without seams
};

// Brick, tiles, grass, sand, insulation, crosshatch and dots, in that order.
const std::vector<HatchPattern>& HatchPatterns();

#include "res/hatchpatterns.h"

#include <cmath>
#include <cstdint>
#include <numbers>
#include <utility>

namespace {

constexpr QRgb kInk = 0xFF000000u;
constexpr QRgb kPaper = 0xFFFFFFFFu;

QImage Blank(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(kPaper);
    return image;
}

// Courses of 16 x 8 bricks, every other course shifted by half a brick.
QImage Brick()
{
    QImage image = Blank(16, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const int joint = y < 8 ? 0 : 8;
            if (y % 8 == 7 || x == joint)
                image.setPixel(x, y, kInk);
        }
    return image;
}

// Square tiles with a grey joint and a dot in the middle.
QImage Tiles()
{
    QImage image = Blank(16, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            if (x == 15 || y == 15)
                image.setPixel(x, y, qRgb(96, 96, 96));
    image.setPixel(7, 7, kInk);
    return image;
}

// Short green blades in tufts of three.
QImage Grass()
{
    QImage image = Blank(16, 16);
    const QRgb green = qRgb(0, 128, 0);
    for (const auto& [bx, by] : {std::pair{2, 6}, std::pair{10, 14}}) {
        for (int i = 0; i < 4; ++i) {
            image.setPixel(bx + 2, by - i, green);      // the upright blade
            image.setPixel(bx + i / 2, by - i, green);  // leaning left
            image.setPixel(bx + 4 - i / 2, by - i, green);
        }
    }
    return image;
}

// Scattered grains from a fixed sequence, so the pattern is the same every run.
QImage Sand()
{
    QImage image = Blank(8, 8);
    std::uint32_t s = 0x2545F491u;
    for (int i = 0; i < 9; ++i) {
        s ^= s << 13;
        s ^= s >> 17;
        s ^= s << 5;
        image.setPixel(int(s % 8), int((s >> 8) % 8), qRgb(120, 90, 40));
    }
    return image;
}

// The wave of soft insulation: one period across 32 pixels between two lines.
QImage Insulation()
{
    QImage image = Blank(32, 16);
    for (int x = 0; x < 32; ++x) {
        image.setPixel(x, 0, kInk);
        const double t = x * 2.0 * std::numbers::pi / 32.0;
        image.setPixel(x, 8 + int(std::lround(6.0 * std::sin(t))), kInk);
    }
    return image;
}

// Both diagonals.
QImage Crosshatch()
{
    QImage image = Blank(8, 8);
    for (int i = 0; i < 8; ++i) {
        image.setPixel(i, i, kInk);
        image.setPixel(7 - i, i, kInk);
    }
    return image;
}

QImage Dots()
{
    QImage image = Blank(8, 8);
    image.setPixel(1, 1, kInk);
    image.setPixel(5, 5, kInk);
    return image;
}

}  // namespace

const std::vector<HatchPattern>& HatchPatterns()
{
    static const std::vector<HatchPattern> patterns{
        {"Brick", Brick()}, {"Tiles", Tiles()},           {"Grass", Grass()}, {"Sand", Sand()},
        {"Insulation", Insulation()}, {"Crosshatch", Crosshatch()}, {"Dots", Dots()},
    };
    return patterns;
}

// Flood fill of a 4000 x 4000 image holding 400 ring outlines, from a corner
// over everything outside the rings, against one pass over the image's bytes
// that compares and rewrites every pixel.
#include "platform/floodfill.h"
#include "support/timing.h"

#include <cmath>
#include <cstdio>
#include <numbers>
#include <random>

namespace {

constexpr int kSide = 4000;
constexpr QRgb kWhite = 0xFFFFFFFFu, kBlack = 0xFF000000u, kRed = 0xFFFF0000u;

QImage Scene()
{
    QImage image(kSide, kSide, QImage::Format_RGB32);
    image.fill(kWhite);
    std::mt19937 rng(20240607);
    std::uniform_int_distribution<int> centre(100, kSide - 100), radius(10, 90);
    for (int i = 0; i < 400; ++i) {
        const int cx = centre(rng), cy = centre(rng), r = radius(rng);
        for (int k = 0; k < 8 * r; ++k) {
            const double a = k * 2.0 * std::numbers::pi / (8 * r);
            const int x = cx + int(std::lround(r * std::cos(a))), y = cy + int(std::lround(r * std::sin(a)));
            image.setPixel(x, y, kBlack);
            image.setPixel(x + 1, y, kBlack);
        }
    }
    return image;
}

template <class F>
double Best(const QImage& scene, F&& f)
{
    double best = 1e300;
    for (int round = 0; round < 5; ++round) {
        QImage image = scene.copy();
        const auto t0 = Clock::now();
        f(image);
        best = std::min(best, Ms(t0, Clock::now()));
    }
    return best;
}

}  // namespace

int main()
{
    const QImage scene = Scene();
    std::int64_t filled = 0;
    const double ours = Best(scene, [&](QImage& image) {
        filled = FloodFillImage(image, 0, 0, kWhite, true, FloodPaint{kRed});
    });
    std::int64_t touched = 0;
    const double base = Best(scene, [&](QImage& image) {
        touched = 0;
        for (int y = 0; y < kSide; ++y) {
            auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < kSide; ++x)
                if ((row[x] & 0xFFFFFFu) == (kWhite & 0xFFFFFFu)) {
                    row[x] = kRed;
                    ++touched;
                }
        }
    });
    std::printf("flood_fill ratio=%.2f ours_ms=%.3f base_ms=%.3f (%lld pixels filled, %lld white)\n", ours / base,
                ours, base, static_cast<long long>(filled), static_cast<long long>(touched));
    return 0;
}

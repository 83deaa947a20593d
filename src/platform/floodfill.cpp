#include "platform/floodfill.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

constexpr std::uint32_t kRgb = 0xFFFFFFu;
constexpr std::uint32_t kOpaque = 0xFF000000u;

// The span fill: match(x, y) tells whether a pixel is still to be painted,
// paint(y, x0, x1) paints a run and makes its pixels stop matching.
template <class Match, class Paint>
std::int64_t SpanFill(int w, int h, int x, int y, Match&& match, Paint&& paint)
{
    if (!match(x, y))
        return 0;
    std::int64_t filled = 0;
    std::vector<std::pair<int, int>> seeds{{x, y}};
    while (!seeds.empty()) {
        const auto [sx, sy] = seeds.back();
        seeds.pop_back();
        if (!match(sx, sy))
            continue;  // a run found from another seed took it
        int left = sx, right = sx;
        while (left > 0 && match(left - 1, sy))
            --left;
        while (right + 1 < w && match(right + 1, sy))
            ++right;
        paint(sy, left, right);
        filled += right - left + 1;
        // One seed per run of matching pixels in the rows above and below.
        for (const int ny : {sy - 1, sy + 1}) {
            if (ny < 0 || ny >= h)
                continue;
            for (int px = left; px <= right; ++px) {
                if (!match(px, ny))
                    continue;
                seeds.emplace_back(px, ny);
                while (px < right && match(px + 1, ny))
                    ++px;
            }
        }
    }
    return filled;
}

}  // namespace

std::int64_t FloodFillImage(QImage& image, int x, int y, QRgb colour, bool surface, const FloodPaint& paint)
{
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32)
        return 0;
    const int w = image.width(), h = image.height();
    if (x < 0 || y < 0 || x >= w || y >= h)
        return 0;
    auto* bits = reinterpret_cast<std::uint32_t*>(image.bits());
    const std::size_t stride = std::size_t(image.bytesPerLine()) / 4;
    const std::uint32_t target = colour & kRgb;
    auto at = [&](int px, int py) -> std::uint32_t& { return bits[std::size_t(py) * stride + std::size_t(px)]; };

    const QImage* pattern = paint.pattern && !paint.pattern->isNull() ? paint.pattern : nullptr;
    QImage tile;
    if (pattern)
        tile = pattern->convertToFormat(QImage::Format_RGB32);
    const std::uint32_t solid = (paint.solid & kRgb) | kOpaque;

    // A solid surface fill leaves no painted pixel of the target colour, so
    // the colour itself tells what is left to paint.
    if (surface && !pattern) {
        if ((solid & kRgb) == target)
            return 0;
        return SpanFill(
            w, h, x, y, [&](int px, int py) { return (at(px, py) & kRgb) == target; },
            [&](int py, int x0, int x1) {
                if (paint.runs)
                    paint.runs->push_back({py, x0, x1});
                std::uint32_t* row = &at(0, py);
                for (int px = x0; px <= x1; ++px)
                    row[px] = solid;
            });
    }

    // Otherwise painted pixels may qualify again: each is visited once.
    if (((at(x, y) & kRgb) == target) != surface)
        return 0;
    std::vector<std::uint8_t> own;
    std::vector<std::uint8_t>& visited = paint.seen ? *paint.seen : own;
    visited.resize(std::size_t(w) * std::size_t(h), 0);
    std::vector<FloodRun> painted;
    auto match = [&](int px, int py) {
        if (visited[std::size_t(py) * std::size_t(w) + std::size_t(px)])
            return false;
        return ((at(px, py) & kRgb) == target) == surface;
    };
    auto fill = [&](int py, int x0, int x1) {
        if (paint.runs)
            paint.runs->push_back({py, x0, x1});
        if (paint.seen)
            painted.push_back({py, x0, x1});
        std::uint32_t* row = &at(0, py);
        std::uint8_t* seen = &visited[std::size_t(py) * std::size_t(w)];
        const std::uint32_t* tileRow =
            pattern ? reinterpret_cast<const std::uint32_t*>(tile.constScanLine(py % tile.height())) : nullptr;
        for (int px = x0; px <= x1; ++px) {
            seen[px] = 1;
            row[px] = tileRow ? (tileRow[px % tile.width()] & kRgb) | kOpaque : solid;
        }
    };
    const std::int64_t filled = SpanFill(w, h, x, y, match, fill);
    for (const FloodRun& r : painted)
        std::fill_n(visited.begin() + std::ptrdiff_t(std::size_t(r.y) * std::size_t(w) + std::size_t(r.x0)),
                    r.x1 - r.x0 + 1, std::uint8_t(0));
    return filled;
}

#include "platform/floodfill.h"

#include <utility>
#include <vector>

std::int64_t FloodFillImage(QImage& image, int x, int y, QRgb colour, bool surface,
                            const std::function<QRgb(int, int)>& paint)
{
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32)
        return 0;
    const int w = image.width(), h = image.height();
    if (x < 0 || y < 0 || x >= w || y >= h)
        return 0;
    auto* bits = reinterpret_cast<std::uint32_t*>(image.bits());
    const std::size_t stride = std::size_t(image.bytesPerLine()) / 4;
    const std::uint32_t target = colour & 0xFFFFFFu;
    std::vector<std::uint8_t> visited(std::size_t(w) * std::size_t(h), 0);

    auto qualifies = [&](int px, int py) {
        const std::size_t i = std::size_t(py) * std::size_t(w) + std::size_t(px);
        if (visited[i])
            return false;
        const bool same = (bits[std::size_t(py) * stride + std::size_t(px)] & 0xFFFFFFu) == target;
        return same == surface;
    };
    if (!qualifies(x, y))
        return 0;

    std::int64_t filled = 0;
    std::vector<std::pair<int, int>> stack{{x, y}};
    while (!stack.empty()) {
        auto [sx, sy] = stack.back();
        stack.pop_back();
        if (!qualifies(sx, sy))
            continue;
        int left = sx, right = sx;
        while (left > 0 && qualifies(left - 1, sy))
            --left;
        while (right + 1 < w && qualifies(right + 1, sy))
            ++right;
        // Pixels are marked before they are painted, so a painted pixel is never tested again.
        for (int px = left; px <= right; ++px) {
            visited[std::size_t(sy) * std::size_t(w) + std::size_t(px)] = 1;
            bits[std::size_t(sy) * stride + std::size_t(px)] = paint(px, sy) | 0xFF000000u;
        }
        filled += right - left + 1;
        for (int ny : {sy - 1, sy + 1}) {
            if (ny < 0 || ny >= h)
                continue;
            for (int px = left; px <= right; ++px) {
                if (!qualifies(px, ny))
                    continue;
                stack.emplace_back(px, ny);
                while (px + 1 <= right && qualifies(px + 1, ny))
                    ++px;
            }
        }
    }
    return filled;
}

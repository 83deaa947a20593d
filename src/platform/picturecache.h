// Pictures held as bytes (PNG, JPEG, BMP, GIF, SVG, whatever Qt reads),
// decoded once and kept by their content. A picture whose header asks for
// more pixels than a decoded picture may have is never decoded. SVG
// pictures are rendered at the size they are shown, within the limits of
// svgpicture.h, and kept by their content and that size.
#pragma once

#include "platform/types.h"

#include <QImage>
#include <QSize>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <unordered_map>

class CMetaPlayBudget;

// Two independent 64-bit hashes of bytes, naming them in the cache.
struct PictureKey {
    std::uint64_t a = 0;
    std::uint64_t b = 0;
    std::size_t size = 0;
    friend bool operator==(const PictureKey&, const PictureKey&) = default;
};
PictureKey KeyOfBytes(std::span<const BYTE> bytes);

// The largest image an SVG picture is rendered at.
inline constexpr int kMaxRenderSide = 4096;
inline constexpr std::int64_t kMaxRenderPixels = std::int64_t(1) << 21;

// The pixels a picture shown over width x height device pixels is rendered
// at, when it renders at any size: about the shown proportions, within
// kMaxRenderSide and kMaxRenderPixels, at least one pixel a side.
QSize RenderSize(std::int64_t width, std::int64_t height);

// Decodes bytes whose header fits the picture limits (kMaxDibSide,
// kMaxDibPixels), or renders an SVG over size pixels (a RenderSize) within
// its limits; false with the reason otherwise. cost, when given, becomes
// what the work took in the units of CMetaPlayBudget, counted from the
// picture's pixels and bytes, not timed.
bool DecodePicture(std::span<const BYTE> bytes, QSize size, QImage& image, std::string& error,
                   std::int64_t* cost = nullptr);

// Decoded pictures by key, at most limit bytes of them, the least recently
// used leaving first. Failures are kept too, so bytes that do not decode
// are not tried again.
class PictureCache {
public:
    explicit PictureCache(std::size_t limit) : m_limit(limit) {}
    // The picture of bytes (named by key), an SVG rendered over size pixels
    // (a RenderSize); null when it cannot be decoded or is larger than the
    // whole cache. With a budget, a picture not kept yet is decoded only
    // while the budget has anything left, and charged to it; past that it
    // is null, and counted as left out, until a budget with work left asks.
    std::shared_ptr<const QImage> Get(const PictureKey& key, std::span<const BYTE> bytes, QSize size,
                                      CMetaPlayBudget* budget = nullptr);
    std::size_t Bytes() const { return m_bytes; }
    // Times a picture was decoded or rendered, and the pixels it gave.
    std::uint64_t Decodes() const { return m_decodes; }
    std::uint64_t Pixels() const { return m_pixels; }

private:
    // A picture, or for an SVG one rendering of it.
    struct Slot {
        PictureKey key;
        QSize size;  // the rendering's; empty for the picture itself
        friend bool operator==(const Slot&, const Slot&) = default;
    };
    struct Hash {
        std::size_t operator()(const Slot& s) const
        {
            return std::size_t(s.key.a ^ (s.key.b << 1) ^ (std::uint64_t(s.size.width()) << 32) ^
                               std::uint64_t(s.size.height()));
        }
    };
    struct Entry {
        std::shared_ptr<const QImage> picture;
        bool svg = false;  // rendered at each size it is asked for
        std::uint64_t used = 0;
    };
    // The slot's entry, made when missing, as the newest; null when it is
    // missing and budget has nothing left to make it.
    const Entry* Find(const Slot& slot, std::span<const BYTE> bytes, CMetaPlayBudget* budget);
    void DropOldest();

    std::size_t m_limit;
    std::size_t m_bytes = 0;
    std::uint64_t m_clock = 0;
    std::uint64_t m_decodes = 0;
    std::uint64_t m_pixels = 0;
    std::unordered_map<Slot, Entry, Hash> m_entries;
};

// The one cache the items draw through.
PictureCache& ItemPictureCache();

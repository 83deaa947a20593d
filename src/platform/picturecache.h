// Pictures held as bytes (PNG, JPEG, BMP, GIF, SVG, whatever Qt reads),
// decoded once and kept by their content. A picture whose header asks for
// more pixels than a decoded picture may have is never decoded.
#pragma once

#include "platform/types.h"

#include <QImage>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <unordered_map>

// Two independent 64-bit hashes of bytes, naming them in the cache.
struct PictureKey {
    std::uint64_t a = 0;
    std::uint64_t b = 0;
    std::size_t size = 0;
    friend bool operator==(const PictureKey&, const PictureKey&) = default;
};
PictureKey KeyOfBytes(std::span<const BYTE> bytes);

// Decodes bytes whose header fits the picture limits (kMaxDibSide,
// kMaxDibPixels); false with the reason otherwise.
bool DecodePicture(std::span<const BYTE> bytes, QImage& image, std::string& error);

// Decoded pictures by key, at most limit bytes of them, the least recently
// used leaving first. Failures are kept too, so bytes that do not decode
// are not tried again.
class PictureCache {
public:
    explicit PictureCache(std::size_t limit) : m_limit(limit) {}
    // The picture of bytes (named by key), or null when it cannot be decoded
    // or is larger than the whole cache.
    std::shared_ptr<const QImage> Get(const PictureKey& key, std::span<const BYTE> bytes);
    std::size_t Bytes() const { return m_bytes; }
    // Times a picture was decoded.
    std::uint64_t Decodes() const { return m_decodes; }

private:
    struct Hash {
        std::size_t operator()(const PictureKey& k) const { return std::size_t(k.a ^ (k.b << 1)); }
    };
    struct Entry {
        std::shared_ptr<const QImage> picture;
        std::uint64_t used = 0;
    };
    void DropOldest();

    std::size_t m_limit;
    std::size_t m_bytes = 0;
    std::uint64_t m_clock = 0;
    std::uint64_t m_decodes = 0;
    std::unordered_map<PictureKey, Entry, Hash> m_entries;
};

// The one cache the items draw through.
PictureCache& ItemPictureCache();

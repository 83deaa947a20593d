// Windows BMP files decoded into RGB32 images. Nothing in the file is
// trusted: the signature, the offsets, the header sizes (12, 40, 108, 124),
// the colour table and the size of the pixel data are checked against the
// file before any memory is reserved for the picture.
#pragma once

#include "platform/types.h"

#include <QImage>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

// Limits of a picture that is decoded at all.
inline constexpr int kMaxDibSide = 32767;
inline constexpr std::int64_t kMaxDibPixels = std::int64_t(1) << 26;

// Decodes a whole BMP file held in data. False, with image untouched and
// error saying at which byte what is wrong, when the bytes are not a BMP
// that can be shown: depths 1, 4, 8, 16, 24 and 32; uncompressed, bit
// fields, or run-length encoded at 4 and 8 bits.
bool DecodeDIB(const BYTE* data, std::size_t size, QImage& image, std::string& error);

// Reads and decodes the file at path; the error names the file.
bool ReadDIBFile(const std::string& path, QImage& image, std::string& error);

// Decoded pictures kept per path, modification time and size, so that a file
// is read again only when it changed. The pictures held total at most limit
// bytes, the least recently used leaving first; a picture larger than the
// limit is refused as unreadable.
class DibCache {
public:
    explicit DibCache(std::size_t limit);
    // Null when the file is missing or is not a BMP that can be shown (error,
    // when given, says why).
    std::shared_ptr<const QImage> Get(const std::string& path, std::string* error = nullptr);
    // The bytes of the pictures held.
    std::size_t Bytes() const { return m_bytes; }

private:
    struct Entry {
        std::filesystem::file_time_type time;
        std::uintmax_t size = 0;
        std::shared_ptr<const QImage> picture;
        std::string error;
        std::uint64_t used = 0;
    };
    static constexpr std::size_t kKept = 32;

    std::string Oldest() const;
    void Drop(const std::string& path);

    std::size_t m_limit;
    std::size_t m_bytes = 0;
    std::uint64_t m_clock = 0;
    std::map<std::string, Entry> m_entries;
};

inline constexpr std::size_t kDibCacheBytes = std::size_t(512) << 20;

// The picture of the file at path through one cache of kDibCacheBytes.
std::shared_ptr<const QImage> CachedDIB(const std::string& path, std::string* error = nullptr);

#include "platform/bmpread.h"

#include "platform/fileio.h"

#include <algorithm>
#include <bit>
#include <filesystem>
#include <vector>

namespace {

constexpr std::size_t kFileHeader = 14;
constexpr std::uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3;
// The largest file a picture within the limits can come in.
constexpr std::size_t kMaxDibFile = std::size_t(kMaxDibPixels) * 4 + 4096;

std::uint16_t U16(const BYTE* p)
{
    return std::uint16_t(p[0] | p[1] << 8);
}

std::uint32_t U32(const BYTE* p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

std::string At(std::size_t offset, const std::string& what)
{
    return "byte " + std::to_string(offset) + ": " + what;
}

// One channel of a bit-field pixel, scaled to 8 bits.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint32_t max = 0;

    explicit Channel(std::uint32_t m = 0) : mask(m)
    {
        if (m) {
            shift = std::countr_zero(m);
            max = m >> shift;
        }
    }
    std::uint32_t Of(std::uint32_t px) const
    {
        return max ? std::uint32_t((std::uint64_t((px & mask) >> shift) * 255u + max / 2) / max) : 0u;
    }
};

// Everything the headers say, checked.
struct Layout {
    int width = 0, height = 0;
    bool topDown = false;
    int bpp = 0;
    std::uint32_t compression = kRgb;
    std::vector<QRgb> palette;
    Channel red, green, blue;
    std::size_t bits = 0;  // offset of the pixel data
};

bool ReadLayout(const BYTE* data, std::size_t size, Layout& l, std::string& error)
{
    if (size < kFileHeader + 4) {
        error = At(size, "the file ends before its headers");
        return false;
    }
    if (data[0] != 'B' || data[1] != 'M') {
        error = At(0, "no \"BM\" signature");
        return false;
    }
    const std::uint32_t offBits = U32(data + 10);
    const std::uint32_t headerSize = U32(data + kFileHeader);
    if (headerSize != 12 && headerSize != 40 && headerSize != 108 && headerSize != 124) {
        error = At(kFileHeader, "header size " + std::to_string(headerSize) + " is not 12, 40, 108 or 124");
        return false;
    }
    if (size < kFileHeader + headerSize) {
        error = At(size, "the file ends inside the " + std::to_string(headerSize) + "-byte header");
        return false;
    }
    const BYTE* h = data + kFileHeader;
    std::int64_t width, height;
    int planes;
    std::uint32_t colours = 0;
    std::size_t entry = 4;
    std::size_t tableStart = kFileHeader + headerSize;
    if (headerSize == 12) {
        width = U16(h + 4);
        height = U16(h + 6);
        planes = U16(h + 8);
        l.bpp = U16(h + 10);
        entry = 3;
    } else {
        width = std::int32_t(U32(h + 4));
        height = std::int32_t(U32(h + 8));
        planes = U16(h + 12);
        l.bpp = U16(h + 14);
        l.compression = U32(h + 16);
        colours = U32(h + 32);
    }
    l.topDown = height < 0;
    height = height < 0 ? -height : height;
    if (width <= 0 || height == 0 || width > kMaxDibSide || height > kMaxDibSide) {
        error = At(kFileHeader + 4, "size " + std::to_string(width) + " x " + std::to_string(height) +
                                        " is not between 1 and " + std::to_string(kMaxDibSide));
        return false;
    }
    if (width * height > kMaxDibPixels) {
        error = At(kFileHeader + 4, "size " + std::to_string(width) + " x " + std::to_string(height) +
                                        " holds more than 2^26 pixels");
        return false;
    }
    l.width = int(width);
    l.height = int(height);
    if (planes != 1) {
        error = At(kFileHeader + (headerSize == 12 ? 8 : 12), std::to_string(planes) + " planes, not 1");
        return false;
    }
    if (l.bpp != 1 && l.bpp != 4 && l.bpp != 8 && l.bpp != 16 && l.bpp != 24 && l.bpp != 32) {
        error = At(kFileHeader + (headerSize == 12 ? 10 : 14), std::to_string(l.bpp) + " bits per pixel");
        return false;
    }
    const bool compressionFits = l.compression == kRgb || (l.compression == kRle8 && l.bpp == 8) ||
                                 (l.compression == kRle4 && l.bpp == 4) ||
                                 (l.compression == kBitFields && (l.bpp == 16 || l.bpp == 32));
    if (!compressionFits) {
        error = At(kFileHeader + 16, "compression " + std::to_string(l.compression) + " at " +
                                         std::to_string(l.bpp) + " bits per pixel");
        return false;
    }
    if ((l.compression == kRle8 || l.compression == kRle4) && l.topDown) {
        error = At(kFileHeader + 8, "a run-length encoded picture stored top down");
        return false;
    }

    if (l.compression == kBitFields) {
        const BYTE* masks = h + 40;
        if (headerSize == 40) {
            if (size < tableStart + 12) {
                error = At(size, "the file ends inside the colour masks");
                return false;
            }
            masks = data + tableStart;
            tableStart += 12;
        }
        l.red = Channel(U32(masks));
        l.green = Channel(U32(masks + 4));
        l.blue = Channel(U32(masks + 8));
    } else if (l.bpp == 16) {
        l.red = Channel(0x7C00);
        l.green = Channel(0x03E0);
        l.blue = Channel(0x001F);
    } else {
        l.red = Channel(0xFF0000);
        l.green = Channel(0xFF00);
        l.blue = Channel(0xFF);
    }

    const std::uint32_t maxColours = l.bpp <= 8 ? 1u << l.bpp : 256u;
    if (colours == 0 && l.bpp <= 8)
        colours = maxColours;
    if (colours > maxColours) {
        error = At(kFileHeader + 32, std::to_string(colours) + " colours for " + std::to_string(l.bpp) +
                                         " bits per pixel");
        return false;
    }
    const std::size_t tableEnd = tableStart + std::size_t(colours) * entry;
    if (offBits < tableEnd || offBits > size) {
        error = At(10, "pixel data offset " + std::to_string(offBits) + " is not between the colour table's end (" +
                           std::to_string(tableEnd) + ") and the file's end (" + std::to_string(size) + ")");
        return false;
    }
    l.bits = offBits;
    if (l.compression == kRgb || l.compression == kBitFields) {
        const std::uint64_t row = (std::uint64_t(l.width) * std::uint64_t(l.bpp) + 31) / 32 * 4;
        const std::uint64_t need = row * std::uint64_t(l.height);
        if (need > size - offBits) {
            error = At(offBits, "pixel data of " + std::to_string(need) + " bytes, but only " +
                                    std::to_string(size - offBits) + " follow");
            return false;
        }
    }
    if (l.bpp <= 8) {
        for (std::uint32_t i = 0; i < colours; ++i) {
            const BYTE* c = data + tableStart + i * entry;
            l.palette.push_back(qRgb(c[2], c[1], c[0]));
        }
    }
    return true;
}

// The colour of palette index i; black beyond the table.
QRgb Indexed(const Layout& l, unsigned i)
{
    return i < l.palette.size() ? l.palette[i] : qRgb(0, 0, 0);
}

void DecodeRows(const BYTE* data, const Layout& l, QImage& image)
{
    const std::size_t row = (std::size_t(l.width) * std::size_t(l.bpp) + 31) / 32 * 4;
    for (int r = 0; r < l.height; ++r) {
        const BYTE* src = data + l.bits + std::size_t(r) * row;
        auto* dst = reinterpret_cast<QRgb*>(image.scanLine(l.topDown ? r : l.height - 1 - r));
        for (int x = 0; x < l.width; ++x) {
            switch (l.bpp) {
            case 1: dst[x] = Indexed(l, (src[x >> 3] >> (7 - (x & 7))) & 1u); break;
            case 4: dst[x] = Indexed(l, (src[x >> 1] >> ((x & 1) ? 0 : 4)) & 15u); break;
            case 8: dst[x] = Indexed(l, src[x]); break;
            case 24: dst[x] = qRgb(src[3 * x + 2], src[3 * x + 1], src[3 * x]); break;
            default: {
                const std::uint32_t px = l.bpp == 16 ? U16(src + 2 * x) : U32(src + 4 * x);
                dst[x] = qRgb(int(l.red.Of(px)), int(l.green.Of(px)), int(l.blue.Of(px)));
                break;
            }
            }
        }
    }
}

// Run-length encoded pixels. The column stays within 0 to the width: what a
// run or a delta would put past the right edge is dropped until the end of
// the line, and the picture ends at the end mark, the top row, a delta past
// the top or the end of the data.
void DecodeRle(const BYTE* data, std::size_t size, const Layout& l, QImage& image)
{
    const bool four = l.compression == kRle4;
    const unsigned width = unsigned(l.width), height = unsigned(l.height);
    std::size_t i = l.bits;
    unsigned x = 0, y = 0;
    auto put = [&](unsigned index) {
        if (x < width)
            reinterpret_cast<QRgb*>(image.scanLine(int(height - 1 - y)))[x++] = Indexed(l, index);
    };
    while (i + 2 <= size && y < height) {
        const unsigned count = data[i], value = data[i + 1];
        i += 2;
        if (count > 0) {
            for (unsigned k = 0; k < count && x < width; ++k)
                put(four ? (k & 1 ? value & 15u : value >> 4) : value);
            continue;
        }
        if (value == 0) {  // end of line
            x = 0;
            ++y;
        } else if (value == 1) {  // end of picture
            break;
        } else if (value == 2) {  // delta
            if (i + 2 > size)
                break;
            x = std::min(x + data[i], width);
            y += data[i + 1];
            i += 2;
        } else {  // a literal run, padded to a whole word
            const std::size_t bytes = four ? (value + 1) / 2 : value;
            if (i + bytes > size)
                break;
            for (unsigned k = 0; k < value; ++k)
                put(four ? (k & 1 ? data[i + k / 2] & 15u : data[i + k / 2] >> 4) : data[i + k]);
            i += (bytes + 1) & ~std::size_t(1);
        }
    }
}

}  // namespace

bool DecodeDIB(const BYTE* data, std::size_t size, QImage& image, std::string& error)
{
    Layout l;
    if (!ReadLayout(data, size, l, error))
        return false;
    QImage picture(l.width, l.height, QImage::Format_RGB32);
    if (picture.isNull()) {
        error = "no memory for a picture of " + std::to_string(l.width) + " x " + std::to_string(l.height);
        return false;
    }
    if (l.compression == kRle8 || l.compression == kRle4) {
        picture.fill(qRgb(0, 0, 0));
        DecodeRle(data, size, l, picture);
    } else {
        DecodeRows(data, l, picture);
    }
    image = std::move(picture);
    return true;
}

bool ReadDIBFile(const std::string& path, QImage& image, std::string& error)
{
    std::vector<BYTE> bytes;
    if (!ReadRegularFile(path, kMaxDibFile, bytes, error) || !DecodeDIB(bytes.data(), bytes.size(), image, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

namespace {

std::size_t DIBBytes(const QImage& image)
{
    return std::size_t(image.sizeInBytes());
}

}  // namespace

DibCache::DibCache(std::size_t limit) : m_limit(limit) {}

std::shared_ptr<const QImage> DibCache::Get(const std::string& path, std::string* error)
{
    std::error_code ec;
    const auto time = std::filesystem::last_write_time(path, ec);
    const std::uintmax_t size = ec ? 0 : std::filesystem::file_size(path, ec);
    if (ec) {
        Drop(path);
        if (error)
            *error = path + ": " + ec.message();
        return nullptr;
    }
    auto it = m_entries.find(path);
    if (it == m_entries.end() || it->second.time != time || it->second.size != size) {
        Drop(path);
        Entry entry{time, size, nullptr, {}, 0};
        QImage image;
        if (ReadDIBFile(path, image, entry.error)) {
            const std::size_t bytes = DIBBytes(image);
            if (bytes > m_limit)
                entry.error = path + ": the picture needs " + std::to_string(bytes >> 20) +
                              " MB, more than the " + std::to_string(m_limit >> 20) + " MB kept for pictures";
            else
                entry.picture = std::make_shared<const QImage>(std::move(image));
        }
        const std::size_t bytes = entry.picture ? DIBBytes(*entry.picture) : 0;
        while (!m_entries.empty() && (m_entries.size() >= kKept || m_bytes + bytes > m_limit))
            Drop(Oldest());
        m_bytes += bytes;
        it = m_entries.emplace(path, std::move(entry)).first;
    }
    it->second.used = ++m_clock;
    if (error)
        *error = it->second.error;
    return it->second.picture;
}

std::string DibCache::Oldest() const
{
    auto oldest = m_entries.begin();
    for (auto e = m_entries.begin(); e != m_entries.end(); ++e)
        if (e->second.used < oldest->second.used)
            oldest = e;
    return oldest->first;
}

void DibCache::Drop(const std::string& path)
{
    const auto it = m_entries.find(path);
    if (it == m_entries.end())
        return;
    if (it->second.picture)
        m_bytes -= DIBBytes(*it->second.picture);
    m_entries.erase(it);
}

std::shared_ptr<const QImage> CachedDIB(const std::string& path, std::string* error)
{
    static DibCache cache(kDibCacheBytes);
    return cache.Get(path, error);
}

#include "platform/picturecache.h"

#include "platform/bmpread.h"
#include "platform/metafile.h"
#include "platform/svgpicture.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

// Entries kept at most, pictures and failures together.
constexpr std::size_t kMaxEntries = 4096;

// What decoding costs in the units of CMetaPlayBudget (about a nanosecond):
// reading the file, and each pixel a raster picture decodes to; parsing an
// SVG's text, and each unit of rasterizer work it is counted to take.
constexpr std::int64_t kDecodeWorkPerByte = 1;
constexpr std::int64_t kDecodeWorkPerPixel = 12;
constexpr std::int64_t kSvgWorkPerByte = 64;
constexpr double kBudgetPerSvgRasterWork = 10;

// Decodes a raster picture whose header fits the picture limits; pixels
// becomes those it asks for, once they are within them.
std::optional<std::string> DecodeRaster(std::span<const BYTE> bytes, QImage& image, std::int64_t& pixels)
{
    const QByteArray data =
        QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize declared = reader.size();
    if (!declared.isValid() || declared.isEmpty())
        return std::string("the picture gives no size");
    if (declared.width() > kMaxDibSide || declared.height() > kMaxDibSide ||
        std::int64_t(declared.width()) * declared.height() > kMaxDibPixels)
        return "the picture asks for " + std::to_string(declared.width()) + " x " +
               std::to_string(declared.height()) + " pixels, more than a picture may have";
    pixels = std::int64_t(declared.width()) * declared.height();
    QImage read;
    if (!reader.read(&read) || read.isNull())
        return "the picture does not decode (" + reader.errorString().toStdString() + ")";
    image = read.convertToFormat(read.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                        : QImage::Format_RGB32);
    return std::nullopt;
}

}  // namespace

PictureKey KeyOfBytes(std::span<const BYTE> bytes)
{
    // FNV-1a, and a multiply-rotate hash with another seed.
    std::uint64_t a = 0xcbf29ce484222325ull, b = 0x9e3779b97f4a7c15ull;
    for (BYTE c : bytes) {
        a = (a ^ c) * 0x100000001b3ull;
        b = (b + c) * 0xff51afd7ed558ccdull;
        b = (b << 31) | (b >> 33);
    }
    return {a, b, bytes.size()};
}

QSize RenderSize(std::int64_t width, std::int64_t height)
{
    const double w = double(std::max<std::int64_t>(width, 1)), h = double(std::max<std::int64_t>(height, 1));
    const double shrink = std::min({1.0, kMaxRenderSide / w, kMaxRenderSide / h,
                                    std::sqrt(double(kMaxRenderPixels) / (w * h))});
    return {std::max(1, int(w * shrink)), std::max(1, int(h * shrink))};
}

bool DecodePicture(std::span<const BYTE> bytes, QSize size, QImage& image, std::string& error,
                   std::int64_t* cost)
{
    std::int64_t spent = 0;
    std::optional<std::string> why;
    if (IsSvgPicture(bytes)) {
        double work = 0;
        why = RenderSvgPicture(bytes, RenderSize(size.width(), size.height()), image, &work);
        // The count stops past the limit, or is infinite for an outline through a point that is no number.
        const double counted = std::min(kMaxSvgRasterWork * (kMaxSvgHalvings + 2), work);
        spent = std::int64_t(bytes.size()) * kSvgWorkPerByte + std::int64_t(counted * kBudgetPerSvgRasterWork);
    } else {
        std::int64_t pixels = 0;
        why = DecodeRaster(bytes, image, pixels);
        spent = std::int64_t(bytes.size()) * kDecodeWorkPerByte + pixels * kDecodeWorkPerPixel;
    }
    if (cost)
        *cost = spent;
    if (why)
        error = *why;
    return !why;
}

std::shared_ptr<const QImage> PictureCache::Get(const PictureKey& key, std::span<const BYTE> bytes, QSize size,
                                                CMetaPlayBudget* budget)
{
    const Entry* picture = Find({key, QSize()}, bytes, budget);
    if (picture && picture->svg)
        picture = Find({key, RenderSize(size.width(), size.height())}, bytes, budget);
    return picture ? picture->picture : nullptr;
}

const PictureCache::Entry* PictureCache::Find(const Slot& slot, std::span<const BYTE> bytes, CMetaPlayBudget* budget)
{
    auto it = m_entries.find(slot);
    if (it == m_entries.end()) {
        Entry entry;
        entry.svg = slot.size.isEmpty() && IsSvgPicture(bytes);
        if (!entry.svg) {
            if (budget && budget->Left() <= 0) {
                budget->LeaveOut(1);
                return nullptr;
            }
            QImage image;
            std::string error;
            std::int64_t cost = 0;
            ++m_decodes;
            if (DecodePicture(bytes, slot.size, image, error, &cost)) {
                m_pixels += std::uint64_t(image.width()) * std::uint64_t(image.height());
                if (std::size_t(image.sizeInBytes()) <= m_limit)
                    entry.picture = std::make_shared<const QImage>(std::move(image));
            }
            if (budget)
                budget->Charge(cost);
        }
        const std::size_t size = entry.picture ? std::size_t(entry.picture->sizeInBytes()) : 0;
        while (!m_entries.empty() && (m_entries.size() >= kMaxEntries || m_bytes + size > m_limit))
            DropOldest();
        m_bytes += size;
        it = m_entries.emplace(slot, std::move(entry)).first;
    }
    it->second.used = ++m_clock;
    return &it->second;
}

void PictureCache::DropOldest()
{
    auto oldest = m_entries.begin();
    for (auto e = m_entries.begin(); e != m_entries.end(); ++e)
        if (e->second.used < oldest->second.used)
            oldest = e;
    if (oldest->second.picture)
        m_bytes -= std::size_t(oldest->second.picture->sizeInBytes());
    m_entries.erase(oldest);
}

PictureCache& ItemPictureCache()
{
    static PictureCache cache(kDibCacheBytes);
    return cache;
}

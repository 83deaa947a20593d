#include "platform/picturecache.h"

#include "platform/bmpread.h"
#include "platform/svgpicture.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>

#include <algorithm>
#include <cmath>

namespace {

// Entries kept at most, pictures and failures together.
constexpr std::size_t kMaxEntries = 4096;

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

bool DecodePicture(std::span<const BYTE> bytes, QSize size, QImage& image, std::string& error)
{
    if (IsSvgPicture(bytes)) {
        const std::optional<std::string> why =
            RenderSvgPicture(bytes, RenderSize(size.width(), size.height()), image);
        if (why)
            error = *why;
        return !why;
    }
    const QByteArray data =
        QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize declared = reader.size();
    if (!declared.isValid() || declared.isEmpty()) {
        error = "the picture gives no size";
        return false;
    }
    if (declared.width() > kMaxDibSide || declared.height() > kMaxDibSide ||
        std::int64_t(declared.width()) * declared.height() > kMaxDibPixels) {
        error = "the picture asks for " + std::to_string(declared.width()) + " x " +
                std::to_string(declared.height()) + " pixels, more than a picture may have";
        return false;
    }
    QImage read;
    if (!reader.read(&read) || read.isNull()) {
        error = "the picture does not decode (" + reader.errorString().toStdString() + ")";
        return false;
    }
    image = read.convertToFormat(read.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                        : QImage::Format_RGB32);
    return true;
}

std::shared_ptr<const QImage> PictureCache::Get(const PictureKey& key, std::span<const BYTE> bytes, QSize size)
{
    const Entry& picture = Find({key, QSize()}, bytes);
    if (!picture.svg)
        return picture.picture;
    return Find({key, RenderSize(size.width(), size.height())}, bytes).picture;
}

const PictureCache::Entry& PictureCache::Find(const Slot& slot, std::span<const BYTE> bytes)
{
    auto it = m_entries.find(slot);
    if (it == m_entries.end()) {
        Entry entry;
        entry.svg = slot.size.isEmpty() && IsSvgPicture(bytes);
        if (!entry.svg) {
            QImage image;
            std::string error;
            ++m_decodes;
            if (DecodePicture(bytes, slot.size, image, error)) {
                m_pixels += std::uint64_t(image.width()) * std::uint64_t(image.height());
                if (std::size_t(image.sizeInBytes()) <= m_limit)
                    entry.picture = std::make_shared<const QImage>(std::move(image));
            }
        }
        const std::size_t size = entry.picture ? std::size_t(entry.picture->sizeInBytes()) : 0;
        while (!m_entries.empty() && (m_entries.size() >= kMaxEntries || m_bytes + size > m_limit))
            DropOldest();
        m_bytes += size;
        it = m_entries.emplace(slot, std::move(entry)).first;
    }
    it->second.used = ++m_clock;
    return it->second;
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

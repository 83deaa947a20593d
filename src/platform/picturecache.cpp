#include "platform/picturecache.h"

#include "platform/bmpread.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>

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

bool DecodePicture(std::span<const BYTE> bytes, QImage& image, std::string& error)
{
    const QByteArray data =
        QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty()) {
        error = "the picture gives no size";
        return false;
    }
    if (size.width() > kMaxDibSide || size.height() > kMaxDibSide ||
        std::int64_t(size.width()) * size.height() > kMaxDibPixels) {
        error = "the picture asks for " + std::to_string(size.width()) + " x " + std::to_string(size.height()) +
                " pixels, more than a picture may have";
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

std::shared_ptr<const QImage> PictureCache::Get(const PictureKey& key, std::span<const BYTE> bytes)
{
    auto it = m_entries.find(key);
    if (it == m_entries.end()) {
        Entry entry;
        QImage image;
        std::string error;
        ++m_decodes;
        if (DecodePicture(bytes, image, error) && std::size_t(image.sizeInBytes()) <= m_limit)
            entry.picture = std::make_shared<const QImage>(std::move(image));
        const std::size_t size = entry.picture ? std::size_t(entry.picture->sizeInBytes()) : 0;
        while (!m_entries.empty() && (m_entries.size() >= kMaxEntries || m_bytes + size > m_limit))
            DropOldest();
        m_bytes += size;
        it = m_entries.emplace(key, std::move(entry)).first;
    }
    it->second.used = ++m_clock;
    return it->second.picture;
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

#include "platform/oleitem.h"

#include "platform/archive.h"
#include "platform/document.h"
#include "platform/fileio.h"
#include "platform/imagedc.h"
#include "platform/painterdc.h"
#include "platform/picturecache.h"
#include "platform/svgpicture.h"
#include "platform/utf8.h"

#include <QBuffer>
#include <QByteArray>
#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QMimeData>
#include <QPainter>
#include <QSvgGenerator>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <string_view>
#include <unordered_map>

namespace {

constexpr char kMagic[8] = {'Z', 'P', 'O', 'B', 'J', 'E', 'C', 'T'};
constexpr WORD kVersion = 1;
constexpr BYTE kLinkedFlag = 0x01;
// The clipboard's image of an item keeps to this side.
constexpr int kMaxClipboardSide = 4096;

void WriteBlob(CArchive& ar, const std::vector<BYTE>& bytes)
{
    if (bytes.size() > 0xFFFFFFFFu)
        ar.Fail(CArchiveException::writeFailed, "object data too long to store");
    ar << DWORD(bytes.size());
    ar.Write(bytes.data(), bytes.size());
}

std::vector<BYTE> ReadBlob(CArchive& ar, const char* what)
{
    DWORD n;
    ar >> n;
    ar.Require(n, what);
    const std::span<const BYTE> rest = ar.Rest();
    std::vector<BYTE> bytes(rest.begin(), rest.begin() + n);
    ar.Skip(n);
    return bytes;
}

// Working out a picture's key costs a repaint about a unit of its budget a byte.
constexpr std::int64_t kKeyWorkPerByte = 1;

// The bytes items hold, by their size and a hash of a few samples of them;
// an entry leaves with the last item that holds its bytes. Bytes whose
// samples match are compared whole, and hashed whole (once) only after such
// a comparison found them different, so that no bytes are gone through
// more than a few times however many entries look alike.
class SharedBytes {
public:
    ItemBytes Share(std::vector<BYTE> bytes)
    {
        const Key key{bytes.size(), SampleHash(bytes)};
        std::optional<std::size_t> whole;
        const auto [first, last] = m_held.equal_range(key);
        for (auto it = first; it != last; ++it) {
            Held& held = it->second;
            if (held.whole || whole) {
                if (!held.whole)
                    held.whole = WholeHash(*held.bytes);
                if (!whole)
                    whole = WholeHash(bytes);
                if (*held.whole != *whole)
                    continue;
            }
            if (*held.bytes == bytes) {
                if (ItemBytes owner = held.owner.lock())
                    return owner;
            } else if (!held.whole) {
                held.whole = WholeHash(*held.bytes);
                whole = WholeHash(bytes);
            }
        }
        ItemBytes shared(new std::vector<BYTE>(std::move(bytes)), [this, key](const std::vector<BYTE>* gone) {
            const auto [from, to] = m_held.equal_range(key);
            for (auto it = from; it != to; ++it)
                if (it->second.bytes == gone) {
                    m_held.erase(it);
                    break;
                }
            delete gone;
        });
        m_held.emplace(key, Held{shared.get(), shared, whole, std::nullopt});
        return shared;
    }

    // The picture cache's key of bytes the pool holds, worked out once for
    // all the items that share them. Working it out goes through all the
    // bytes: it is done only while budget has work left, and cost becomes
    // what it took; none past that.
    std::optional<PictureKey> PictureKeyOf(const std::vector<BYTE>& bytes, const CMetaPlayBudget& budget,
                                           std::int64_t& cost)
    {
        cost = 0;
        const auto [first, last] = m_held.equal_range(Key{bytes.size(), SampleHash(bytes)});
        const auto it = std::find_if(first, last, [&](const auto& held) { return held.second.bytes == &bytes; });
        if (it != last && it->second.pictureKey)
            return it->second.pictureKey;
        if (budget.Left() <= 0)
            return std::nullopt;
        const PictureKey key = KeyOfBytes(bytes);
        cost = std::int64_t(bytes.size()) * kKeyWorkPerByte;
        if (it != last)
            it->second.pictureKey = key;
        return key;
    }

private:
    struct Key {
        std::size_t size;
        std::size_t samples;
        friend bool operator==(const Key&, const Key&) = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& k) const { return k.samples ^ (k.size * 0x9e3779b97f4a7c15ull); }
    };
    struct Held {
        const std::vector<BYTE>* bytes;
        std::weak_ptr<const std::vector<BYTE>> owner;
        std::optional<std::size_t> whole;  // the hash of all the bytes, once worked out
        std::optional<PictureKey> pictureKey;
    };
    static std::size_t Hash(const BYTE* p, std::size_t n)
    {
        return std::hash<std::string_view>()(std::string_view(reinterpret_cast<const char*>(p), n));
    }
    static std::size_t WholeHash(const std::vector<BYTE>& bytes) { return Hash(bytes.data(), bytes.size()); }
    // 64 pieces of 16 bytes spread over the bytes, or all of them when fewer.
    static std::size_t SampleHash(const std::vector<BYTE>& bytes)
    {
        constexpr std::size_t kPieces = 64, kPiece = 16;
        if (bytes.size() <= kPieces * kPiece)
            return WholeHash(bytes);
        std::size_t h = 0;
        const std::size_t step = (bytes.size() - kPiece) / (kPieces - 1);
        for (std::size_t i = 0; i < kPieces; ++i)
            h = h * 31 + Hash(bytes.data() + i * step, kPiece);
        return h;
    }
    std::unordered_multimap<Key, Held, KeyHash> m_held;
};

SharedBytes& ItemBytesPool()
{
    // Items may outlive every static object: the pool is never destroyed.
    static SharedBytes* pool = new SharedBytes;
    return *pool;
}

// The copy of bytes that every item holding the same shares.
ItemBytes ShareItemBytes(std::vector<BYTE> bytes)
{
    return ItemBytesPool().Share(std::move(bytes));
}


// Reads a linked picture's file; null, with the reason, when it cannot be read.
ItemBytes ReadLinkedFile(const std::string& path, std::string& error)
{
    std::vector<BYTE> bytes;
    if (!ReadRegularFile(path, kMaxPictureFileBytes, bytes, error))
        return nullptr;
    return ShareItemBytes(std::move(bytes));
}

// A size in whole megabytes, rounded up.
std::string Megabytes(std::size_t bytes)
{
    return std::to_string((bytes + (std::size_t(1) << 20) - 1) >> 20) + " MB";
}

std::string FileNameOf(const std::string& path)
{
    return QFileInfo(QString::fromStdString(path)).fileName().toStdString();
}

// The name kept to kMaxItemNameBytes, cut between UTF-8 characters.
std::string ItemName(std::string name)
{
    if (name.size() <= kMaxItemNameBytes)
        return name;
    name.resize(Utf8CharacterStart(name, kMaxItemNameBytes - 3));
    return name + "...";
}

QByteArray AsByteArray(std::span<const BYTE> bytes)
{
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

// Pixels a picture of size (w, h) keeps on the clipboard.
void ClipboardSize(std::int64_t& w, std::int64_t& h)
{
    const double shrink = std::min(1.0, double(kMaxClipboardSide) / double(std::max<std::int64_t>({w, h, 1})));
    w = std::max<std::int64_t>(1, std::int64_t(double(w) * shrink));
    h = std::max<std::int64_t>(1, std::int64_t(double(h) * shrink));
}

// A picture's size in hundredths of a millimetre from its pixels, kept to the largest extent.
LSize PictureExtent(std::int64_t w, std::int64_t h)
{
    return {std::min<std::int64_t>(PixelsToHimetric(w), kMaxItemExtent),
            std::min<std::int64_t>(PixelsToHimetric(h), kMaxItemExtent)};
}

}  // namespace

bool ItemBytesFit(std::size_t total, std::string& why)
{
    if (total <= kMaxItemBytes)
        return true;
    why = "the objects would hold " + Megabytes(total) + " together, more than the " + Megabytes(kMaxItemBytes) +
          " one drawing's objects may hold";
    return false;
}

const char* OleObjectKindName(OleObjectKind kind)
{
    return kind == OleObjectKind::drawing ? "Zepa Drawing" : "Picture";
}

std::int64_t HimetricToPixels(std::int64_t himetric, int dpi)
{
    return std::llround(double(himetric) * dpi / 2540.0);
}

std::int64_t PixelsToHimetric(std::int64_t pixels, int dpi)
{
    return std::llround(double(pixels) * 2540.0 / dpi);
}

std::optional<std::string> ProbePicture(std::span<const BYTE> bytes, std::int64_t& width, std::int64_t& height)
{
    // Read in place: the header is all that is needed, and of an SVG its checked text.
    QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    if (!reader.canRead())
        return std::string("not a picture this program reads (PNG, JPEG, BMP, GIF, SVG)");
    QSize size;
    if (!IsSvgPicture(bytes))
        size = reader.size();
    else if (auto why = SvgPictureSize(bytes, size))
        return why;
    if (!size.isValid() || size.isEmpty())
        return std::string("the picture gives no size");
    width = size.width();
    height = size.height();
    return std::nullopt;
}

// ---------------------------------------------------------------- the item

const CRuntimeClass COleClientItem::classCOleClientItem = {"COleClientItem", 0xFFFF, nullptr,
                                                          RUNTIME_CLASS(CObject)};

COleClientItem::COleClientItem(CDocument* container) : m_pDocument(container) {}

const CRuntimeClass* COleClientItem::GetRuntimeClass() const
{
    return &classCOleClientItem;
}

COleClientItem::~COleClientItem() = default;

void COleClientItem::Reset()
{
    m_kind = OleObjectKind::picture;
    m_linked = false;
    m_extent = {};
    m_name.clear();
    m_linkPath.clear();
    m_native.reset();
    m_presentation.clear();
    m_metafile = CMetaFile();
    m_metafileRead = false;
    m_pictureKey.reset();
}

bool COleClientItem::SetDrawing(std::vector<BYTE> native, const CMetaFile& picture, LSize extent,
                                std::string name, std::string& error)
{
    if (native.empty()) {
        error = "the drawing has no data";
        return false;
    }
    if (extent.cx < 0 || extent.cy < 0 || extent.cx > kMaxItemExtent || extent.cy > kMaxItemExtent) {
        error = "the drawing's size is out of range";
        return false;
    }
    Reset();
    m_kind = OleObjectKind::drawing;
    m_native = ShareItemBytes(std::move(native));
    m_metafile = picture;
    m_metafileRead = true;
    if (!picture.IsEmpty())
        m_presentation = picture.ToBytes();
    m_extent = extent;
    m_name = ItemName(std::move(name));
    return true;
}

bool COleClientItem::CreatePictureFromBytes(std::vector<BYTE> bytes, std::string name, std::string& error)
{
    std::int64_t w = 0, h = 0;
    if (auto why = ProbePicture(bytes, w, h)) {
        error = *why;
        return false;
    }
    const LSize extent = PictureExtent(w, h);
    Reset();
    m_kind = OleObjectKind::picture;
    m_native = ShareItemBytes(std::move(bytes));
    m_extent = extent;
    m_name = ItemName(std::move(name));
    return true;
}

bool COleClientItem::CreatePictureFromFile(const std::string& path, bool link, std::string& error)
{
    const std::string linkPath = link ? QFileInfo(QString::fromStdString(path)).absoluteFilePath().toStdString() : "";
    if (linkPath.size() > kMaxLinkPath) {
        error = path + ": the path is too long to link";
        return false;
    }
    std::vector<BYTE> bytes;
    if (!ReadRegularFile(path, kMaxPictureFileBytes, bytes, error)) {
        error = path + ": " + error;
        return false;
    }
    if (!CreatePictureFromBytes(std::move(bytes), FileNameOf(path), error)) {
        error = path + ": " + error;
        return false;
    }
    m_linked = link;
    m_linkPath = linkPath;
    return true;
}

bool COleClientItem::UpdateLink(const ItemBytes& file, std::string& error)
{
    std::int64_t w = 0, h = 0;
    if (auto why = ProbePicture(*file, w, h)) {
        error = *why;
        return false;
    }
    if (file != m_native) {
        m_native = file;
        m_extent = PictureExtent(w, h);
        m_pictureKey.reset();
    }
    return true;
}

const std::vector<BYTE>& COleClientItem::GetNativeData() const
{
    static const std::vector<BYTE> none;
    return m_native ? *m_native : none;
}

std::size_t COleClientItem::StoredBytes() const
{
    return GetNativeData().size() + m_presentation.size();
}

COleClientItem::ItemState COleClientItem::GetItemState() const
{
    if (IsEmpty())
        return emptyState;
    switch (RunState()) {
    case 1: return openState;
    case 2: return activeUIState;
    default: return loadedState;
    }
}

bool COleClientItem::GetExtent(LSize& himetric) const
{
    if (IsEmpty() || m_extent.cx <= 0 || m_extent.cy <= 0)
        return false;
    himetric = m_extent;
    return true;
}

const CMetaFile& COleClientItem::GetDrawingPicture() const
{
    if (!m_metafileRead) {
        m_metafileRead = true;
        if (m_kind == OleObjectKind::drawing && !m_presentation.empty() &&
            CMetaFile::FromBytes(m_presentation, m_metafile))
            m_metafile = CMetaFile();
    }
    return m_metafile;
}

std::shared_ptr<const QImage> COleClientItem::Picture(QSize size, CMetaPlayBudget& budget) const
{
    if (m_kind != OleObjectKind::picture || IsEmpty())
        return nullptr;
    // A picture begun while work is left is decoded on it too, and charged for both.
    std::int64_t keyCost = 0;
    if (!m_pictureKey && !(m_pictureKey = ItemBytesPool().PictureKeyOf(*m_native, budget, keyCost))) {
        budget.LeaveOut(1);
        return nullptr;
    }
    auto picture = ItemPictureCache().Get(*m_pictureKey, *m_native, size, &budget);
    budget.Charge(keyCost);
    return picture;
}

bool COleClientItem::Draw(CDC& dc, const CRect& rect) const
{
    CMetaPlayBudget budget;
    return Draw(dc, rect, budget);
}

bool COleClientItem::Draw(CDC& dc, const CRect& rect, CMetaPlayBudget& budget) const
{
    // A page's mapping may turn the rectangle upside down; only a rectangle without area is nothing.
    if (IsEmpty() || rect.Width() == 0 || rect.Height() == 0)
        return false;
    // The box of the device's pixels the item covers: a recording fits it, an SVG is rendered at its size.
    const LPoint a = dc.LPtoDP({rect.left, rect.top}), b = dc.LPtoDP({rect.right, rect.bottom});
    const LRect target{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
    if (m_kind == OleObjectKind::drawing && !GetDrawingPicture().IsEmpty()) {
        const std::uint64_t leftOut = budget.CallsLeftOut();
        if (m_metafile.Play(dc, target, budget)) {
            if (budget.CallsLeftOut() != leftOut || m_metafile.IsCut())
                DrawFrameAndName(dc, rect);  // the picture is not whole
            return true;
        }
    }
    if (const auto picture = Picture(RenderSize(target.Width(), target.Height()), budget)) {
        dc.StretchImage(rect.left, rect.top, rect.Width(), rect.Height(), *picture);
        return true;
    }
    DrawFrameAndName(dc, rect);
    return true;
}

void COleClientItem::DrawFrameAndName(CDC& dc, const CRect& rect) const
{
    CBrush black(RGB(0, 0, 0));
    dc.FrameRect(rect.left, rect.top, rect.right, rect.bottom, black);
    CGdiObject* oldFont = dc.SelectStockObject(SYSTEM_FONT);
    const unsigned oldAlign = dc.SetTextAlign(TA_LEFT | TA_TOP);
    const int oldMode = dc.SetBkMode(TRANSPARENT);
    const COLORREF oldColour = dc.SetTextColor(RGB(0, 0, 0));
    // The name, cut to the frame's width.
    std::string_view name = m_name.empty() ? std::string_view(OleObjectKindName(m_kind)) : std::string_view(m_name);
    const std::int64_t width = std::abs(rect.Width()), down = rect.Height() > 0 ? 3 : -3;
    name = name.substr(0, dc.TextFit(name, width - 6));
    if (!name.empty() && std::abs(rect.Height()) > 6)
        dc.TextOut(rect.left + (rect.Width() > 0 ? 3 : -3), rect.top + down, name);
    dc.SetTextColor(oldColour);
    dc.SetBkMode(oldMode);
    dc.SetTextAlign(oldAlign);
    dc.SelectObject(oldFont);
}

QImage COleClientItem::RenderImage(int width, int height) const
{
    CImageDC dc(std::max(width, 1), std::max(height, 1));
    Draw(dc, CRect(0, 0, std::max(width, 1), std::max(height, 1)));
    return dc.Image();
}

// ---------------------------------------------------------------- running

bool COleClientItem::DoVerb(int verb, CView* view)
{
    if (IsEmpty() || m_kind != OleObjectKind::drawing || verb == OLEIVERB_HIDE || !view)
        return false;
    const bool open = verb == OLEIVERB_OPEN || !CanActivate();
    if (!RunDrawing(*view, open))
        return false;
    OnChange(OLE_CHANGED_STATE, DWORD(GetItemState()));
    return true;
}

bool COleClientItem::RunDrawing(CView&, bool)
{
    return false;
}

void COleClientItem::Close()
{
    if (!IsRunning())
        return;
    CloseDrawing();
    OnChange(OLE_CHANGED_STATE, DWORD(GetItemState()));
}

void COleClientItem::Delete()
{
    Close();
    if (m_pList)
        m_pList->Delete(this);
}

// ---------------------------------------------------------------- notifications

void COleClientItem::OnChange(int, DWORD) {}

void COleClientItem::OnGetItemPosition(CRect& rect) const
{
    rect = CRect();
}

void COleClientItem::OnDeactivateUI(bool) {}

bool COleClientItem::CanActivate()
{
    return !IsEmpty() && m_kind == OleObjectKind::drawing;
}

bool COleClientItem::OnChangeItemPosition(const CRect& rect)
{
    return rect.right >= rect.left && rect.bottom >= rect.top && rect.Width() <= kMaxItemExtent &&
           rect.Height() <= kMaxItemExtent;
}

// ---------------------------------------------------------------- stored form

void COleClientItem::Serialize(CArchive& ar)
{
    SerializeItemData(ar);
}

void COleClientItem::SerializeItemData(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.Write(kMagic, sizeof kMagic);
        ar << kVersion << BYTE(m_kind) << BYTE(m_linked ? kLinkedFlag : 0) << LONG(m_extent.cx)
           << LONG(m_extent.cy) << m_name << m_linkPath;
        WriteBlob(ar, GetNativeData());
        WriteBlob(ar, m_presentation);
        return;
    }
    char magic[sizeof kMagic];
    ar.Read(magic, sizeof magic);
    if (std::memcmp(magic, kMagic, sizeof kMagic) != 0)
        ar.Fail(CArchiveException::badValue, "an embedded object is not in this program's form");
    WORD version;
    BYTE kind, flags;
    LONG cx, cy;
    ar >> version;
    if (version != kVersion)
        ar.Fail(CArchiveException::badValue, "an embedded object has version " + std::to_string(version));
    ar >> kind >> flags;
    if (kind != BYTE(OleObjectKind::drawing) && kind != BYTE(OleObjectKind::picture))
        ar.Fail(CArchiveException::badValue, "an embedded object is of unknown kind " + std::to_string(kind));
    if ((flags & ~kLinkedFlag) != 0 || ((flags & kLinkedFlag) && kind != BYTE(OleObjectKind::picture)))
        ar.Fail(CArchiveException::badValue, "an embedded object has flags " + std::to_string(flags));
    ar >> cx >> cy;
    if (cx < 0 || cy < 0 || cx > kMaxItemExtent || cy > kMaxItemExtent)
        ar.Fail(CArchiveException::badValue, "an embedded object's size is out of range");
    Reset();
    m_kind = OleObjectKind(kind);
    m_linked = (flags & kLinkedFlag) != 0;
    m_extent = {cx, cy};
    const std::size_t nameAt = ar.GetPosition();
    ar >> m_name;
    if (m_name.size() > kMaxItemNameBytes)
        throw CArchiveException(CArchiveException::badValue, nameAt,
                                "an embedded object's name is " + std::to_string(m_name.size()) +
                                    " bytes long, more than " + std::to_string(kMaxItemNameBytes));
    ar >> m_linkPath;
    if (m_linked == m_linkPath.empty())
        ar.Fail(CArchiveException::badValue, m_linked ? "a linked object names no file"
                                                      : "an embedded object names a file");
    if (m_linkPath.size() > kMaxLinkPath)
        ar.Fail(CArchiveException::badValue, "a linked object's path is " + std::to_string(m_linkPath.size()) +
                                                 " bytes long, longer than a path can be");
    std::vector<BYTE> native = ReadBlob(ar, "an embedded object's data");
    if (native.empty())
        ar.Fail(CArchiveException::badValue, "an embedded object holds no data");
    m_native = ShareItemBytes(std::move(native));
    m_presentation = ReadBlob(ar, "an embedded object's picture");
    if (m_kind == OleObjectKind::picture && !m_presentation.empty())
        ar.Fail(CArchiveException::badValue, "an embedded picture holds a second picture");
}

std::vector<BYTE> COleClientItem::ItemDataBytes() const
{
    CArchive ar;
    const_cast<COleClientItem*>(this)->SerializeItemData(ar);
    return ar.TakeData();
}

std::optional<std::string> COleClientItem::ReadItemDataBytes(std::span<const BYTE> bytes)
{
    COleClientItem probe;
    try {
        CArchive ar(bytes);
        probe.SerializeItemData(ar);
        if (ar.Remaining() != 0)
            ar.Fail(CArchiveException::badValue, std::to_string(ar.Remaining()) + " bytes follow the object");
    } catch (const CArchiveException& e) {
        return e.what();
    }
    Reset();
    m_kind = probe.m_kind;
    m_linked = probe.m_linked;
    m_extent = probe.m_extent;
    m_name = std::move(probe.m_name);
    m_linkPath = std::move(probe.m_linkPath);
    m_native = std::move(probe.m_native);
    m_presentation = std::move(probe.m_presentation);
    return std::nullopt;
}

bool COleClientItem::MayBeItemData(std::span<const BYTE> bytes)
{
    const std::size_t n = std::min(bytes.size(), sizeof kMagic);
    return std::equal(bytes.begin(), bytes.begin() + long(n), kMagic);
}

// ---------------------------------------------------------------- clipboard

void COleClientItem::CopyToClipboard() const
{
    if (IsEmpty())
        return;
    auto* data = new QMimeData;
    data->setData(kItemMime, AsByteArray(ItemDataBytes()));
    std::int64_t w = HimetricToPixels(m_extent.cx), h = HimetricToPixels(m_extent.cy);
    ClipboardSize(w, h);
    data->setImageData(RenderImage(int(w), int(h)));
    if (m_kind == OleObjectKind::drawing && !GetDrawingPicture().IsEmpty()) {
        // A drawing's strokes and texts as vector shapes, which other programs scale.
        QByteArray svg;
        QBuffer buffer(&svg);
        buffer.open(QIODevice::WriteOnly);
        QSvgGenerator generator;
        generator.setOutputDevice(&buffer);
        generator.setSize(QSize(int(w), int(h)));
        generator.setViewBox(QRect(0, 0, int(w), int(h)));
        generator.setResolution(96);
        generator.setTitle(QString::fromStdString(m_name));
        QPainter painter(&generator);
        {
            CPainterDC dc(painter);
            Draw(dc, CRect(0, 0, LONG(w), LONG(h)));
        }
        painter.end();
        data->setData("image/svg+xml", svg);
    }
    QGuiApplication::clipboard()->setMimeData(data);
}

bool COleClientItem::CanPaste()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && (data->hasFormat(kItemMime) || data->hasFormat("image/svg+xml") || data->hasImage());
}

bool COleClientItem::CreateFromClipboard(std::string& error)
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data) {
        error = "the clipboard is empty";
        return false;
    }
    if (data->hasFormat(kItemMime)) {
        const QByteArray bytes = data->data(kItemMime);
        if (auto why = ReadItemDataBytes(
                std::span(reinterpret_cast<const BYTE*>(bytes.constData()), std::size_t(bytes.size())))) {
            error = *why;
            return false;
        }
        return true;
    }
    QByteArray bytes;
    if (data->hasFormat("image/svg+xml")) {
        bytes = data->data("image/svg+xml");
    } else if (data->hasImage()) {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!qvariant_cast<QImage>(data->imageData()).save(&buffer, "PNG")) {
            error = "the clipboard's picture could not be kept";
            return false;
        }
    } else {
        error = "the clipboard holds no object or picture";
        return false;
    }
    return CreatePictureFromBytes(std::vector<BYTE>(bytes.begin(), bytes.end()), "Pasted picture", error);
}

// ---------------------------------------------------------------- the list

COleItemList::~COleItemList()
{
    DeleteAll();
}

COleClientItem* COleItemList::Add(std::unique_ptr<COleClientItem> item)
{
    item->m_pDocument = m_owner;
    item->m_pList = this;
    m_items.push_back(std::move(item));
    return m_items.back().get();
}

bool COleItemList::Delete(const COleClientItem* item)
{
    const auto it = std::find_if(m_items.begin(), m_items.end(), [item](const auto& p) { return p.get() == item; });
    if (it == m_items.end())
        return false;
    (*it)->Close();
    // Out of the list before it goes, so nothing reached from its destruction finds it.
    std::unique_ptr<COleClientItem> gone = std::move(*it);
    m_items.erase(it);
    gone->m_pList = nullptr;
    return true;
}

void COleItemList::DeleteAll()
{
    while (!m_items.empty())
        Delete(m_items.back().get());
}

void COleItemList::Swap(COleItemList& other) noexcept
{
    m_items.swap(other.m_items);
    for (auto& item : m_items) {
        item->m_pDocument = m_owner;
        item->m_pList = this;
    }
    for (auto& item : other.m_items) {
        item->m_pDocument = other.m_owner;
        item->m_pList = &other;
    }
}

bool COleItemList::Contains(const COleClientItem* item) const
{
    return std::any_of(m_items.begin(), m_items.end(), [item](const auto& p) { return p.get() == item; });
}

std::size_t COleItemList::StoredBytes() const
{
    std::size_t total = 0;
    for (const auto& item : m_items)
        total += item->StoredBytes();
    return total;
}

COleItemList::LinksLeft COleItemList::UpdateLinks()
{
    LinksLeft left;
    // What items took of each file: read again only when none did. The size
    // of a file too large to take: read again only when it would fit.
    std::unordered_map<std::string, std::weak_ptr<const std::vector<BYTE>>> taken;
    std::unordered_map<std::string, std::size_t> refused;
    std::size_t total = StoredBytes();
    for (const auto& item : m_items) {
        if (!item->IsLinked())
            continue;
        const std::string& path = item->GetLinkPath();
        const std::size_t before = item->StoredBytes();
        const auto fits = [&](std::size_t size) {
            const std::size_t after = before - item->GetNativeData().size() + size;
            return after <= before || total - before + after <= kMaxItemBytes;
        };
        if (const auto it = refused.find(path); it != refused.end() && !fits(it->second)) {
            left.tooLarge.push_back(path);
            continue;
        }
        std::string error;
        ItemBytes file = taken[path].lock();
        if (!file && !(file = ReadLinkedFile(path, error))) {
            left.unread.push_back(path);
            continue;
        }
        const std::size_t after = before - item->GetNativeData().size() + file->size();
        if (!fits(file->size())) {
            refused[path] = file->size();
            left.tooLarge.push_back(path);
        } else if (!item->UpdateLink(file, error)) {
            left.unread.push_back(path);
        } else {
            total = total - before + after;
            taken[path] = file;
        }
    }
    return left;
}

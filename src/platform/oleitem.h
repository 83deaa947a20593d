// Objects held in a container document. A client item keeps its object's
// data and a picture of it, so the container shows the object without
// running it: a picture is decoded once and drawn from there, a drawing is
// played from the picture it last recorded and runs (in place, or in a
// window of its own) only while it is edited.
#pragma once

#include "platform/dc.h"
#include "platform/metafile.h"
#include "platform/object.h"
#include "platform/picturecache.h"
#include "platform/rect.h"
#include "platform/types.h"

#include <climits>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

class CArchive;
class CDocument;
class CView;
class COleItemList;
class QImage;

// Verbs an item is asked to carry out.
constexpr int OLEIVERB_PRIMARY = 0;
constexpr int OLEIVERB_SHOW = -1;
constexpr int OLEIVERB_OPEN = -2;
constexpr int OLEIVERB_HIDE = -3;

// What changed, for COleClientItem::OnChange.
enum OLE_NOTIFICATION : int {
    OLE_CHANGED = 0,
    OLE_SAVED = 1,
    OLE_CLOSED = 2,
    OLE_RENAMED = 3,
    OLE_CHANGED_STATE = 4,
    OLE_CHANGED_ASPECT = 5,
};

// The kinds of object, as the item data store them.
enum class OleObjectKind : BYTE { drawing = 1, picture = 2 };

// The name the insert-object dialog lists a kind under.
const char* OleObjectKindName(OleObjectKind kind);

// Hundredths of a millimetre and pixels of a screen of dpi pixels an inch, rounded.
std::int64_t HimetricToPixels(std::int64_t himetric, int dpi = 96);
std::int64_t PixelsToHimetric(std::int64_t pixels, int dpi = 96);

// The largest extent an item holds: 100 metres a side.
inline constexpr LONG kMaxItemExtent = 10'000'000;
// The largest picture file an item reads.
inline constexpr std::size_t kMaxPictureFileBytes = std::size_t(256) << 20;
// The most bytes of data and pictures the items of one document hold
// together, each item counted as its file stores it: 1 GB, half of what a
// drawing file may take (kMaxFileBytes), so that the drawing's own records
// have the other half. Four of the largest pictures fit.
inline constexpr std::size_t kMaxItemBytes = std::size_t(1) << 30;
// The longest path a linked picture names: the system's limit, less the end mark.
inline constexpr std::size_t kMaxLinkPath = PATH_MAX - 1;
// The longest name an item holds; a longer one given is cut, ending in "...".
inline constexpr std::size_t kMaxItemNameBytes = 1024;

// The clipboard type of an item copied here.
inline constexpr char kItemMime[] = "application/x-zepa-object";

// Bytes an item holds; items that hold the same bytes share one copy of them.
using ItemBytes = std::shared_ptr<const std::vector<BYTE>>;

// False, with the reason, when the items of a document would hold total
// stored bytes together, more than kMaxItemBytes.
bool ItemBytesFit(std::size_t total, std::string& why);

// A picture's size in pixels as its header gives it, without decoding it;
// the reason when Qt reads no picture from bytes.
std::optional<std::string> ProbePicture(std::span<const BYTE> bytes, std::int64_t& width, std::int64_t& height);

class COleClientItem : public CObject {
public:
    enum ItemState { emptyState, loadedState, openState, activeState, activeUIState };

    explicit COleClientItem(CDocument* container = nullptr);
    ~COleClientItem() override;
    static const CRuntimeClass classCOleClientItem;
    const CRuntimeClass* GetRuntimeClass() const override;
    COleClientItem(const COleClientItem&) = delete;
    COleClientItem& operator=(const COleClientItem&) = delete;

    CDocument* GetDocument() const { return m_pDocument; }

    // ---- content
    // A drawing: its file's bytes, the picture it recorded and its size in
    // hundredths of a millimetre. False, with the reason, when it has no
    // data or the size is out of range.
    bool SetDrawing(std::vector<BYTE> native, const CMetaFile& picture, LSize extent, std::string name,
                    std::string& error);
    // A picture read from the file at path: its bytes are kept, and with link
    // the path too (the file is read again whenever the drawing opens).
    bool CreatePictureFromFile(const std::string& path, bool link, std::string& error);
    // An embedded picture of these bytes, shown under name.
    bool CreatePictureFromBytes(std::vector<BYTE> bytes, std::string name, std::string& error);
    bool IsEmpty() const { return GetNativeData().empty(); }
    OleObjectKind GetKind() const { return m_kind; }
    bool IsLinked() const { return m_linked; }
    const std::string& GetLinkPath() const { return m_linkPath; }
    const std::string& GetName() const { return m_name; }
    // A drawing's file bytes, or a picture's bytes.
    const std::vector<BYTE>& GetNativeData() const;
    // The bytes of data and picture the item's file stores.
    std::size_t StoredBytes() const;
    // A drawing's picture in its stored form; empty for a picture.
    const std::vector<BYTE>& GetPresentationData() const { return m_presentation; }
    // A drawing's picture, read from its stored form on first use; empty for
    // a picture, and for a stored form that does not read.
    const CMetaFile& GetDrawingPicture() const;

    ItemState GetItemState() const;
    bool IsRunning() const { return RunState() != 0; }
    // The object's size in hundredths of a millimetre; false when it has none.
    bool GetExtent(LSize& himetric) const;

    // Draws the object's picture over rect of dc (logical units); a picture
    // too large to decode, or that does not read, shows its frame and name.
    // The work is spent from budget, one for a whole repaint: a drawing's
    // picture shows its frame and name over what it drew when calls were
    // left out, there or by its recorder; a picture not decoded yet is
    // decoded only while work is left, and shows its frame and name until it is.
    bool Draw(CDC& dc, const CRect& rect, CMetaPlayBudget& budget) const;
    // The same on a repaint's budget of its own.
    bool Draw(CDC& dc, const CRect& rect) const;
    // The picture at pixels (width x height), white behind it.
    QImage RenderImage(int width, int height) const;

    // ---- running
    // Primary, show and open run a drawing (open in a window of its own);
    // an item that may not run in place opens instead. Pictures have nothing
    // to run. False when the object could not run.
    bool DoVerb(int verb, CView* view);
    // Ends a drawing's run; its data and picture come back first.
    void Close();
    void Deactivate() { Close(); }
    // Closes the item and frees it through its list.
    void Delete();

    // ---- clipboard
    // The item in its own clipboard type, with its picture as an image.
    void CopyToClipboard() const;
    // True when the clipboard holds an item copied here or a picture.
    static bool CanPaste();
    // The clipboard's item, or an embedded picture of its picture. False,
    // with the reason, when there is nothing to take or it does not read.
    bool CreateFromClipboard(std::string& error);

    // ---- stored form
    // The item data: own magic and version, then the kind, link, size,
    // name, link path, data and picture. Loading checks every length against
    // what remains and fails with where and what; the data and the picture
    // are read as what they hold only when used, as pictures are.
    void Serialize(CArchive& ar) override;
    void SerializeItemData(CArchive& ar);
    std::vector<BYTE> ItemDataBytes() const;
    // Reads item data from bytes that hold nothing else; the reason when they do not read.
    std::optional<std::string> ReadItemDataBytes(std::span<const BYTE> bytes);
    // True when bytes begin as item data does, as far as they go.
    static bool MayBeItemData(std::span<const BYTE> bytes);

    // ---- notifications the container's item answers
    virtual void OnChange(int notification, DWORD param);
    virtual void OnGetItemPosition(CRect& rect) const;
    virtual void OnDeactivateUI(bool undoable);
    // True when the object may run in place: a drawing.
    virtual bool CanActivate();
    // False for a rectangle that is inverted or beyond the largest extent.
    virtual bool OnChangeItemPosition(const CRect& rect);

protected:
    // A drawing's run, carried out by what serves drawings: in place or open.
    virtual bool RunDrawing(CView& view, bool open);
    virtual void CloseDrawing() {}
    // 0 not running, 1 open in a window of its own, 2 active in place.
    virtual int RunState() const { return 0; }

private:
    friend class COleItemList;
    // The decoded picture (an SVG rendered over size pixels, a RenderSize),
    // or null when it is too large, does not decode, takes more work than
    // a picture may, or is not decoded yet and budget has nothing left.
    std::shared_ptr<const QImage> Picture(QSize size, CMetaPlayBudget& budget) const;
    // A linked picture takes the bytes read again from its file; false,
    // keeping what it holds, when they are not a picture.
    bool UpdateLink(const ItemBytes& file, std::string& error);
    void DrawFrameAndName(CDC& dc, const CRect& rect) const;
    void Reset();

    CDocument* m_pDocument = nullptr;
    COleItemList* m_pList = nullptr;
    OleObjectKind m_kind = OleObjectKind::picture;
    bool m_linked = false;
    LSize m_extent;
    std::string m_name;
    std::string m_linkPath;
    ItemBytes m_native;
    std::vector<BYTE> m_presentation;
    mutable CMetaFile m_metafile;  // m_presentation read once
    mutable bool m_metafileRead = false;
    mutable std::optional<PictureKey> m_pictureKey;  // m_native's, once a picture is drawn
};

// The items of a container document, in order (later items lie over earlier
// ones). The list owns its items and frees them here only.
class COleItemList {
public:
    explicit COleItemList(CDocument* owner) : m_owner(owner) {}
    ~COleItemList();
    COleItemList(const COleItemList&) = delete;
    COleItemList& operator=(const COleItemList&) = delete;

    // Takes item over at the end; it belongs to the owner's document from here.
    COleClientItem* Add(std::unique_ptr<COleClientItem> item);
    // Closes item and frees it; false when it is not in the list.
    bool Delete(const COleClientItem* item);
    // Closes and frees every item.
    void DeleteAll();
    // The lists trade items; each item takes its new list's document.
    void Swap(COleItemList& other) noexcept;
    bool Contains(const COleClientItem* item) const;

    // The bytes of data and pictures the items hold, as their file stores them.
    std::size_t StoredBytes() const;
    // Linked pictures read their files again; items of one file share what
    // they take of it. What could not be read as a picture, and what would
    // take the items past kMaxItemBytes, keeps what it holds; their paths, in
    // the items' order.
    struct LinksLeft {
        std::vector<std::string> unread;
        std::vector<std::string> tooLarge;
    };
    LinksLeft UpdateLinks();

    std::size_t size() const { return m_items.size(); }
    bool empty() const { return m_items.empty(); }
    COleClientItem* at(std::size_t i) const { return m_items.at(i).get(); }

    class const_iterator {
    public:
        explicit const_iterator(std::vector<std::unique_ptr<COleClientItem>>::const_iterator it) : m_it(it) {}
        COleClientItem* operator*() const { return m_it->get(); }
        const_iterator& operator++()
        {
            ++m_it;
            return *this;
        }
        bool operator!=(const const_iterator& o) const { return m_it != o.m_it; }

    private:
        std::vector<std::unique_ptr<COleClientItem>>::const_iterator m_it;
    };
    const_iterator begin() const { return const_iterator(m_items.begin()); }
    const_iterator end() const { return const_iterator(m_items.end()); }

private:
    CDocument* m_owner;
    std::vector<std::unique_ptr<COleClientItem>> m_items;
};

// An object embedded in a drawing: placed by two drawing points, so that it
// moves and scales with the drawing as the view zooms and pans, and shown
// in the rectangle of device pixels those points give in the view.
#pragma once

#include "model/pointd.h"
#include "platform/oleitem.h"

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

class CRectaDoc;

// A plan view's mapping between its device pixels and drawing points, a
// pixel made a drawing point and back that pixel again; the plan view gives it.
class CPlanMapping {
public:
    virtual ~CPlanMapping() = default;
    virtual CPointd DeviceToDrawing(int x, int y) const = 0;
    virtual void DrawingToDevice(const CPointd& p, int& x, int& y) const = 0;
    // False for a view that shows no embedded objects (the aerial view).
    virtual bool ShowsItems() const = 0;
};

// The size in hundredths of a millimetre an embedded drawing asks for: its
// window at a centimetre a drawing unit; false when it is too large.
bool DrawingExtent(CRectaDoc& drawing, LSize& himetric);
// The same for the drawing file in bytes, read as far as its window; false
// when they do not read so far.
bool DrawingFileExtent(std::span<const BYTE> bytes, LSize& himetric);

// Embedded drawings hold at most this many drawings around them.
inline constexpr int kMaxNesting = 16;

class CRectaCntrItem : public COleClientItem {
    DECLARE_SERIAL(CRectaCntrItem)
public:
    explicit CRectaCntrItem(CRectaDoc* container = nullptr);

    CRectaDoc* GetDocument() const;

    // Every view of the drawing repaints the item's area.
    void InvalidateItem();
    // The working rectangle into the two corners, and back, through the view
    // that places the item (see Mapping); without one nothing changes.
    void RectToWorldPoints();
    void WorldPointsToRect();
    // The same through the given view's mapping.
    void RectToWorldPoints(const CPlanMapping& map);
    void WorldPointsToRect(const CPlanMapping& map);
    // The item's rectangle in map's device pixels, from the corners: each view
    // shows, hits and frames the item through its own mapping.
    CRect RectIn(const CPlanMapping& map) const;
    // The item moved or resized to rect, device pixels of map: the corners
    // from it; the item repaints and the drawing is modified.
    void Place(const CRect& rect, const CPlanMapping& map);
    // The item runs in place in view's window: its working rectangle is
    // view's from now on, and onItemRects is told of each new one there.
    // A null view: the run ended.
    void SetInPlaceSite(const CPlanMapping* view, std::function<void(const CRect&)> onItemRects);
    // map's mapping changed: when it is the view the item runs in place in,
    // the rectangle again from the corners, and the run follows it.
    void SetItemRects(const CPlanMapping& map);
    // The rectangle in the view that places the item (or in map) takes the
    // object's own size at the screen's 96 pixels an inch, its top-left
    // corner staying where it is in the drawing; the drawing is marked
    // modified only when the size changed.
    void UpdateExtent();
    void UpdateExtent(const CPlanMapping& map);

    void OnGetItemPosition(CRect& rect) const override;
    bool OnChangeItemPosition(const CRect& rect) override;
    void OnChange(int notification, DWORD param) override;
    // False while the item's own drawing is itself edited in place.
    bool CanActivate() override;
    void OnDeactivateUI(bool undoable) override;
    // The item data, the rectangle as four 32-bit values, then the corners.
    void Serialize(CArchive& ar) override;

    // ---- what the drawing server uses
    // The embedded drawing's file bytes.
    const std::vector<BYTE>& NativeData() const { return GetNativeData(); }
    // The drawing's bytes and picture come back from its run: the item keeps
    // both, repaints, takes the drawing's size, and the container is marked
    // modified when the bytes changed.
    void TakeBackDrawing(std::vector<BYTE> native, CMetaFile picture);
    // How many embedded drawings hold the item's drawing: 0 for a drawing opened from a file.
    int NestingDepth() const;
    // Reads the embedded drawing into fresh, a drawing of its own, which
    // then knows it runs for this item; the reason when it is nested too
    // deep or does not read.
    std::optional<std::string> LoadDrawing(CRectaDoc& fresh);

    // The working rectangle, which the file keeps: device pixels of the view
    // that placed the item last (while it runs in place, of the view holding
    // it). Views draw and hit the item through RectIn.
    CRect m_rect{0, 0, 80, 80};
    CPointd m_corner1;  // drawing point of the top-left corner
    CPointd m_corner2;  // drawing point of the bottom-right corner

protected:
    bool RunDrawing(CView& view, bool open) override;
    void CloseDrawing() override;
    int RunState() const override;

private:
    // The view that places the item: the one it runs in place in, else the
    // active plan view of its drawing, else that drawing's first view that
    // shows items.
    const CPlanMapping* Mapping() const;
    // The view the item runs in place in, while it is still one of its drawing's views.
    const CPlanMapping* InPlaceView() const;
    void UpdateExtent(const CPlanMapping* map);
    // The item now lies at rect, device pixels of map (null: the corners
    // stay): while it runs in place its working rectangle is that view's, and
    // the run follows it; the item repaints and the drawing is modified.
    void MoveTo(const CRect& rect, const CPlanMapping* map);

    const CPlanMapping* m_inPlaceView = nullptr;
    std::function<void(const CRect&)> m_onItemRects;
};

#include "doc/cntritem.h"

#include "doc/apphost.h"
#include "doc/embedserver.h"
#include "doc/rectadoc.h"
#include "doc/srvritem.h"
#include "platform/archive.h"
#include "platform/msgbox.h"

#include <cmath>

IMPLEMENT_SERIAL(CRectaCntrItem, COleClientItem, 0)

namespace {

bool FinitePoint(const CPointd& p)
{
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

}  // namespace

bool DrawingExtent(CRectaDoc& drawing, LSize& himetric)
{
    // The server asks for at most 100,000 pixels a side, well within an item's size.
    return CRectaSrvrItem(&drawing).OnGetExtent(DVASPECT_CONTENT, himetric);
}

bool DrawingFileExtent(std::span<const BYTE> bytes, LSize& himetric)
{
    CRectaDoc head;
    try {
        CArchive ar(bytes);
        head.SerializeHeader(ar);
        head.SerializeSettings(ar);
        head.m_windowMin.Serialize(ar);
        head.m_windowMax.Serialize(ar);
    } catch (const CArchiveException&) {
        return false;
    }
    return DrawingExtent(head, himetric);
}

CRectaCntrItem::CRectaCntrItem(CRectaDoc* container) : COleClientItem(container)
{
    RectToWorldPoints();
}

CRectaDoc* CRectaCntrItem::GetDocument() const
{
    return static_cast<CRectaDoc*>(COleClientItem::GetDocument());
}

void CRectaCntrItem::InvalidateItem()
{
    if (CRectaDoc* doc = GetDocument())
        doc->UpdateAllViews(nullptr, 1, this);
}

const CPlanMapping* CRectaCntrItem::InPlaceView() const
{
    // A view that left the drawing maps nothing any more.
    if (const CRectaDoc* doc = GetDocument())
        for (CView* view : doc->GetViews())
            if (dynamic_cast<const CPlanMapping*>(view) == m_inPlaceView)
                return m_inPlaceView;
    return nullptr;
}

const CPlanMapping* CRectaCntrItem::Mapping() const
{
    if (const CPlanMapping* map = InPlaceView())
        return map;
    const CRectaDoc* doc = GetDocument();
    if (!doc)
        return nullptr;
    // Another drawing's view maps another window: only this drawing's views count.
    CView* active = AppHost().ActiveView();
    if (const auto* map = dynamic_cast<const CPlanMapping*>(active);
        map && active->GetDocument() == doc && map->ShowsItems())
        return map;
    for (CView* view : doc->GetViews())
        if (const auto* map = dynamic_cast<const CPlanMapping*>(view); map && map->ShowsItems())
            return map;
    return nullptr;
}

void CRectaCntrItem::RectToWorldPoints()
{
    if (const CPlanMapping* map = Mapping())
        RectToWorldPoints(*map);
}

void CRectaCntrItem::WorldPointsToRect()
{
    if (const CPlanMapping* map = Mapping())
        WorldPointsToRect(*map);
}

void CRectaCntrItem::RectToWorldPoints(const CPlanMapping& map)
{
    m_corner1 = map.DeviceToDrawing(m_rect.left, m_rect.top);
    m_corner2 = map.DeviceToDrawing(m_rect.right, m_rect.bottom);
}

void CRectaCntrItem::WorldPointsToRect(const CPlanMapping& map)
{
    m_rect = RectIn(map);
}

CRect CRectaCntrItem::RectIn(const CPlanMapping& map) const
{
    int l = 0, t = 0, r = 0, b = 0;
    map.DrawingToDevice(m_corner1, l, t);
    map.DrawingToDevice(m_corner2, r, b);
    return CRect(l, t, r, b);
}

void CRectaCntrItem::Place(const CRect& rect, const CPlanMapping& map)
{
    MoveTo(rect, &map);
}

void CRectaCntrItem::MoveTo(const CRect& rect, const CPlanMapping* map)
{
    InvalidateItem();
    if (map) {
        // A corner whose pixel stayed stays where it is in the drawing.
        const CRect was = RectIn(*map);
        if (rect.left != was.left || rect.top != was.top)
            m_corner1 = map->DeviceToDrawing(rect.left, rect.top);
        if (rect.right != was.right || rect.bottom != was.bottom)
            m_corner2 = map->DeviceToDrawing(rect.right, rect.bottom);
    }
    m_rect = rect;
    if (const CPlanMapping* inPlace = InPlaceView()) {
        if (map != inPlace)
            WorldPointsToRect(*inPlace);
        if (m_onItemRects)
            m_onItemRects(m_rect);
    }
    InvalidateItem();
    if (CRectaDoc* doc = GetDocument())
        doc->SetModifiedFlag();
}

void CRectaCntrItem::SetInPlaceSite(const CPlanMapping* view, std::function<void(const CRect&)> onItemRects)
{
    m_inPlaceView = view;
    m_onItemRects = view ? std::move(onItemRects) : nullptr;
    if (view)
        SetItemRects(*view);
}

void CRectaCntrItem::SetItemRects(const CPlanMapping& map)
{
    // Only the view the item runs in place in places it.
    if (&map != m_inPlaceView)
        return;
    WorldPointsToRect(map);
    if (m_onItemRects)
        m_onItemRects(m_rect);
}

void CRectaCntrItem::UpdateExtent()
{
    UpdateExtent(Mapping());
}

void CRectaCntrItem::UpdateExtent(const CPlanMapping& map)
{
    UpdateExtent(&map);
}

void CRectaCntrItem::UpdateExtent(const CPlanMapping* map)
{
    LSize extent;
    if (!GetExtent(extent))
        return;
    const std::int64_t w = HimetricToPixels(extent.cx), h = HimetricToPixels(extent.cy);
    const CRect rect = map ? RectIn(*map) : m_rect;
    if (w == rect.Width() && h == rect.Height())
        return;
    MoveTo(CRect(rect.left, rect.top, LONG(rect.left + w), LONG(rect.top + h)), map);
}

void CRectaCntrItem::OnGetItemPosition(CRect& rect) const
{
    rect = m_rect;
}

bool CRectaCntrItem::OnChangeItemPosition(const CRect& rect)
{
    if (!COleClientItem::OnChangeItemPosition(rect))
        return false;
    MoveTo(rect, Mapping());
    return true;
}

void CRectaCntrItem::OnChange(int notification, DWORD param)
{
    COleClientItem::OnChange(notification, param);
    switch (notification) {
    case OLE_CHANGED:
        InvalidateItem();
        UpdateExtent();
        break;
    case OLE_CHANGED_STATE:
    case OLE_CHANGED_ASPECT: InvalidateItem(); break;
    default: break;
    }
}

bool CRectaCntrItem::CanActivate()
{
    if (const CRectaDoc* doc = GetDocument(); doc && doc->IsInPlaceActive())
        return false;
    return COleClientItem::CanActivate();
}

void CRectaCntrItem::OnDeactivateUI(bool undoable)
{
    COleClientItem::OnDeactivateUI(undoable);
    // No object stays active without its user interface.
    Deactivate();
}

void CRectaCntrItem::Serialize(CArchive& ar)
{
    COleClientItem::Serialize(ar);
    LONG* sides[4] = {&m_rect.left, &m_rect.top, &m_rect.right, &m_rect.bottom};
    for (LONG* side : sides)
        ar.Exchange(*side);
    m_corner1.Serialize(ar);
    m_corner2.Serialize(ar);
    if (ar.IsLoading() && (!FinitePoint(m_corner1) || !FinitePoint(m_corner2)))
        ar.Fail(CArchiveException::badValue, "an embedded object's corners are not finite");
}

int CRectaCntrItem::NestingDepth() const
{
    int depth = 0;
    for (const CRectaDoc* doc = GetDocument(); doc && doc->m_pEmbeddingItem && depth <= kMaxNesting;
         doc = doc->m_pEmbeddingItem->GetDocument())
        ++depth;
    return depth;
}

std::optional<std::string> CRectaCntrItem::LoadDrawing(CRectaDoc& fresh)
{
    if (GetKind() != OleObjectKind::drawing)
        return std::string("the object is not a drawing");
    if (NestingDepth() >= kMaxNesting)
        return "the drawing lies inside " + std::to_string(kMaxNesting) +
               " other drawings already, more than can be opened";
    if (auto damage = ReadDrawingBytes(NativeData(), fresh))
        return "the embedded drawing is damaged (" + *damage + ")";
    fresh.m_pEmbeddingItem = this;
    return std::nullopt;
}

void CRectaCntrItem::TakeBackDrawing(std::vector<BYTE> native, CMetaFile picture)
{
    const bool changed = native != NativeData() || picture.ToBytes() != GetPresentationData();
    LSize extent;
    if (!DrawingFileExtent(native, extent) && !GetExtent(extent))
        extent = {};
    std::string error;
    if (!SetDrawing(std::move(native), picture, extent, GetName(), error))
        return;
    OnChange(OLE_CHANGED, 0);
    if (CRectaDoc* doc = GetDocument(); doc && changed)
        doc->SetModifiedFlag();
}

bool CRectaCntrItem::RunDrawing(CView& view, bool open)
{
    CEmbeddedDrawingServer* server = EmbeddedDrawingServer();
    if (!server) {
        AfxMessageBox("The embedded drawing cannot be edited: no drawing server is running in this program.",
                      MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    return server->Run(*this, view, open);
}

void CRectaCntrItem::CloseDrawing()
{
    if (CEmbeddedDrawingServer* server = EmbeddedDrawingServer())
        server->Close(*this);
}

int CRectaCntrItem::RunState() const
{
    const CEmbeddedDrawingServer* server = EmbeddedDrawingServer();
    return server ? server->RunState(*this) : 0;
}

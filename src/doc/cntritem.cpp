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

const CPlanMapping* CRectaCntrItem::Mapping() const
{
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
    int l = 0, t = 0, r = 0, b = 0;
    map.DrawingToDevice(m_corner1, l, t);
    map.DrawingToDevice(m_corner2, r, b);
    m_rect = CRect(l, t, r, b);
}

void CRectaCntrItem::SetItemRects(const CPlanMapping& map)
{
    WorldPointsToRect(map);
    if (m_onItemRects)
        m_onItemRects(m_rect);
}

void CRectaCntrItem::UpdateExtent()
{
    LSize extent;
    if (!GetExtent(extent))
        return;
    const std::int64_t w = HimetricToPixels(extent.cx), h = HimetricToPixels(extent.cy);
    if (w == m_rect.Width() && h == m_rect.Height())
        return;
    InvalidateItem();
    m_rect.right = LONG(m_rect.left + w);
    m_rect.bottom = LONG(m_rect.top + h);
    RectToWorldPoints();
    InvalidateItem();
    if (CRectaDoc* doc = GetDocument())
        doc->SetModifiedFlag();
}

void CRectaCntrItem::OnGetItemPosition(CRect& rect) const
{
    rect = m_rect;
}

bool CRectaCntrItem::OnChangeItemPosition(const CRect& rect)
{
    if (!COleClientItem::OnChangeItemPosition(rect))
        return false;
    InvalidateItem();
    m_rect = rect;
    RectToWorldPoints();
    InvalidateItem();
    if (CRectaDoc* doc = GetDocument())
        doc->SetModifiedFlag();
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

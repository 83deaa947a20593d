// Embedded objects in the plan view: drawing them, selecting, moving and
// resizing them with their frame, and the commands on them.
#include "view2d/rectaview.h"

#include "dialogs/insertobjdlg.h"
#include "doc/cntritem.h"
#include "doc/embedserver.h"
#include "doc/rectadoc.h"
#include "doc/srvritem.h"
#include "platform/imagedc.h"
#include "platform/msgbox.h"
#include "platform/tracker.h"
#include "platform/waitcursor.h"
#include "res/commands.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace {

// What Create New offers, in the dialog's order.
const std::vector<std::string>& NewKinds()
{
    static const std::vector<std::string> kinds = {OleObjectKindName(OleObjectKind::drawing),
                                                   OleObjectKindName(OleObjectKind::picture)};
    return kinds;
}
constexpr int kNewDrawing = 0;
constexpr char kKindNotes[] = "A picture is made from its file: tick Create from File and name the file.";

bool IsDrawingFile(const std::string& path)
{
    return QFileInfo(QString::fromStdString(path)).suffix().compare("zpd", Qt::CaseInsensitive) == 0;
}

ViewCursor CursorOf(TrackerCursor cursor)
{
    switch (cursor) {
    case TrackerCursor::sizeNWSE: return ViewCursor::sizeNWSE;
    case TrackerCursor::sizeNESW: return ViewCursor::sizeNESW;
    case TrackerCursor::sizeNS: return ViewCursor::sizeNS;
    case TrackerCursor::sizeWE: return ViewCursor::sizeWE;
    default: return ViewCursor::sizeAll;
    }
}

// Logical units are the image's pixels.
void UseDevicePixels(CDC& dc)
{
    dc.SetMapMode(MM_TEXT);
    dc.SetWindowOrg(0, 0);
    dc.SetViewportOrg(0, 0);
}

// The outline of r inverted, so that drawing it again takes it away.
void InvertOutline(CDC& dc, const CRect& r)
{
    CPen pen(PS_SOLID, 0, RGB(0, 0, 0));
    CPen* old = dc.SelectObject(&pen);
    const int rop = dc.SetROP2(R2_NOT);
    const LPoint outline[5] = {{r.left, r.top}, {r.right - 1, r.top}, {r.right - 1, r.bottom - 1},
                               {r.left, r.bottom - 1}, {r.left, r.top}};
    dc.Polyline(outline, 5);
    dc.SetROP2(rop);
    dc.SelectObject(old);
}

}  // namespace

bool MakeDrawingItem(CRectaCntrItem& item, std::vector<BYTE> bytes, std::string name, std::string& error)
{
    CRectaDoc drawing;
    if (auto damage = ReadDrawingBytes(bytes, drawing)) {
        error = "the drawing does not read (" + *damage + ")";
        return false;
    }
    LSize extent, pixels;
    if (!DrawingExtent(drawing, extent) ||
        !CWindowPicture(drawing, drawing.m_windowMin, drawing.m_windowMax).ExtentPixels(pixels)) {
        error = "the drawing's window is too large to show";
        return false;
    }
    // The picture as a plan view of the drawing's size shows it: its origin is the window's corner.
    CRectaView view;
    drawing.AddView(&view);
    view.OnSize(int(std::max<std::int64_t>(pixels.cx, 1)), int(std::max<std::int64_t>(pixels.cy, 1)));
    view.OnInitialUpdate();
    const CMetaFile picture = CRectaSrvrItem(&drawing).RecordPicture();
    drawing.RemoveView(&view);
    return item.SetDrawing(std::move(bytes), picture, extent, std::move(name), error);
}

// ---------------------------------------------------------------- mapping and selection

CPointd CRectaView::DeviceToDrawing(int x, int y) const
{
    return DeviceToWorld(CPoint{x, y});
}

void CRectaView::DrawingToDevice(const CPointd& p, int& x, int& y) const
{
    // To the nearest pixel where entities truncate: a pixel made a drawing point
    // and back is that pixel again, so an object shows where it was placed.
    const auto nearest = [](double v) {
        return int(std::clamp<std::int64_t>(SaturateToLogical(std::round(v)), -(1 << 30), 1 << 30));
    };
    x = nearest((p.x - m_originX) * m_scale);
    y = nearest(m_clientHeight - 1 - (p.y - m_originY) * m_scale);
}

bool CRectaView::HoldsItem(const CRectaCntrItem* item) const
{
    const CRectaDoc* doc = GetDocument();
    return item && doc && doc->GetItems().Contains(item);
}

CRectaCntrItem* CRectaView::SelectedItem() const
{
    return HoldsItem(m_pSelection) ? m_pSelection : nullptr;
}

bool CRectaView::IsSelected(const CObject* obj) const
{
    return obj && obj == SelectedItem();
}

CRectaCntrItem* CRectaView::InPlaceActiveItem() const
{
    const CRectaDoc* doc = GetDocument();
    if (!doc)
        return nullptr;
    for (COleClientItem* item : doc->GetItems())
        if (item->GetItemState() == COleClientItem::activeUIState || item->GetItemState() == COleClientItem::activeState)
            return static_cast<CRectaCntrItem*>(item);
    return nullptr;
}

void CRectaView::SetSelection(CRectaCntrItem* item)
{
    if (CRectaCntrItem* active = InPlaceActiveItem(); active && active != item)
        active->Close();
    CRectaCntrItem* old = SelectedItem();
    if (item == old)
        return;
    if (old)
        OnUpdate(nullptr, 1, old);
    m_pSelection = item;
    if (item)
        OnUpdate(nullptr, 1, item);
}

CRectaCntrItem* CRectaView::HitTestItems(CPoint point) const
{
    const CRectaDoc* doc = GetDocument();
    if (!doc || m_aerial || !ScaleUsable())
        return nullptr;
    CRectaCntrItem* hit = nullptr;
    for (COleClientItem* obj : doc->GetItems()) {
        auto* item = static_cast<CRectaCntrItem*>(obj);
        CRect r = item->RectIn(*this);
        r.NormalizeRect();
        if (r.PtInRect(point.x, point.y))
            hit = item;
    }
    return hit;
}

void CRectaView::SetupTracker(const CRectaCntrItem& item, CRectTracker& tracker) const
{
    tracker.m_rect = item.RectIn(*this);
    tracker.m_nStyle = item.IsLinked() ? CRectTracker::dottedLine : CRectTracker::solidLine;
    if (IsSelected(&item))
        tracker.m_nStyle |= CRectTracker::resizeInside;
    const COleClientItem::ItemState state = item.GetItemState();
    if (state == COleClientItem::openState || state == COleClientItem::activeState ||
        state == COleClientItem::activeUIState)
        tracker.m_nStyle |= CRectTracker::hatchInside;
}

// ---------------------------------------------------------------- drawing and mouse

void CRectaView::DrawItems(CDC& dc)
{
    const CRectaDoc* doc = GetDocument();
    if (!doc || doc->GetItems().empty())
        return;
    // The items' pictures share what one repaint may play.
    CMetaPlayBudget budget;
    if (m_zoomState == 4) {
        // Printing: the corners through the page's own mapping, and no frames.
        const WorldMap map = Map();
        for (COleClientItem* obj : doc->GetItems()) {
            auto* item = static_cast<CRectaCntrItem*>(obj);
            const LPoint a = map(item->m_corner1), b = map(item->m_corner2);
            item->Draw(dc, CRect(LONG(a.x), LONG(a.y), LONG(b.x), LONG(b.y)), budget);
        }
        return;
    }
    UseDevicePixels(dc);
    for (COleClientItem* obj : doc->GetItems()) {
        auto* item = static_cast<CRectaCntrItem*>(obj);
        item->Draw(dc, item->RectIn(*this), budget);
        CRectTracker tracker;
        SetupTracker(*item, tracker);
        tracker.Draw(dc);
    }
    PrepareMapping(dc);
}

bool CRectaView::ClickOnItem(CPoint point)
{
    // A press while an object follows the mouse: the release went unseen, and that drag ends here.
    EndItemDrag(true);
    CRectaCntrItem* hit = HitTestItems(point);
    SetSelection(hit);
    if (!hit)
        return false;
    // The frame follows the drag as an inverted outline on the view's image:
    // along a test's script at once, else with the host's mouse events until
    // the button goes up.
    RepaintIfDue();
    const LPoint pressedAt{point.x, point.y};
    const std::optional<std::vector<LPoint>> script = ScriptedDragPath(pressedAt);
    if (!script && !(m_host && m_host->ReportsDrags()))
        return true;
    ItemDrag drag;
    drag.item = hit;
    SetupTracker(*hit, drag.tracker);
    if (!drag.tracker.BeginDrag(pressedAt))
        return true;
    m_itemDrag = std::move(drag);
    if (script) {
        for (const LPoint& p : *script)
            DragItemTo(p);
        EndItemDrag(true);
    }
    return true;
}

void CRectaView::DragItemTo(LPoint p)
{
    if (!m_itemDrag)
        return;
    if (!HoldsItem(m_itemDrag->item)) {
        EndItemDrag(false);
        return;
    }
    ShowDragOutline(m_itemDrag->tracker.DragTo(p));
}

void CRectaView::OnLButtonUp(unsigned, CPoint point)
{
    DragItemTo(LPoint{point.x, point.y});
    EndItemDrag(true);
}

void CRectaView::CancelItemDrag()
{
    EndItemDrag(false);
}

void CRectaView::EndItemDrag(bool keep)
{
    if (!m_itemDrag)
        return;
    ShowDragOutline(std::nullopt);
    ItemDrag drag = std::move(*m_itemDrag);
    m_itemDrag.reset();
    CRectaCntrItem* item = drag.item;
    if (!keep || !HoldsItem(item) || !drag.tracker.EndDrag())
        return;
    item->Place(drag.tracker.m_rect, *this);
}

void CRectaView::ShowDragOutline(const std::optional<CRect>& r)
{
    ItemDrag& drag = *m_itemDrag;
    // A repaint since the outline was drawn took it away; one that is due will.
    if (drag.shown && drag.shownAt != m_repaints)
        drag.shown.reset();
    if (RepaintDue() || (!drag.shown && !r))
        return;
    CImageDC dc(&m_image);
    if (drag.shown)
        InvertOutline(dc, *drag.shown);
    if (r)
        InvertOutline(dc, *r);
    drag.shown = r;
    drag.shownAt = m_repaints;
    if (m_host)
        m_host->UpdateWindow();
}

void CRectaView::OnLButtonDblClk(unsigned flags, CPoint point)
{
    OnLButtonDown(flags, point);
    // The object pressed twice runs its verb; it does not follow the mouse.
    CancelItemDrag();
    if (CRectaCntrItem* item = SelectedItem())
        item->DoVerb((flags & MK_CONTROL) ? OLEIVERB_OPEN : OLEIVERB_PRIMARY, this);
}

bool CRectaView::OnSetCursor(CPoint point)
{
    CRectaCntrItem* item = SelectedItem();
    if (!item || m_aerial || !ScaleUsable())
        return false;
    CRectTracker tracker;
    SetupTracker(*item, tracker);
    const TrackerCursor cursor = tracker.CursorAt(LPoint{point.x, point.y});
    if (cursor == TrackerCursor::none)
        return false;
    if (m_host)
        m_host->SetCursorShape(CursorOf(cursor));
    return true;
}

bool CRectaView::OnSetFocus()
{
    const CRectaCntrItem* active = InPlaceActiveItem();
    return active && active->GetItemState() == COleClientItem::activeUIState;
}

// ---------------------------------------------------------------- commands

bool CRectaView::IsCommandEnabled(int id) const
{
    switch (id) {
    case ID_EDIT_CLEAR:
    case ID_EDIT_COPY: return SelectedItem() != nullptr;
    case ID_EDIT_PASTE: return COleClientItem::CanPaste();
    case ID_CANCEL_EDIT_CNTR: return InPlaceActiveItem() != nullptr;
    default: return true;
    }
}

std::unique_ptr<CRectaCntrItem> CRectaView::CreateItemFromChoice(bool fromFile, int kind, const std::string& file,
                                                                  bool link, std::string& error)
{
    auto item = std::make_unique<CRectaCntrItem>(GetDocument());
    std::vector<BYTE> bytes;
    std::string name;
    if (!fromFile) {
        if (kind != kNewDrawing) {
            error = kKindNotes;
            return nullptr;
        }
        bytes = EmptyDrawingBytes();
        name = OleObjectKindName(OleObjectKind::drawing);
    } else if (IsDrawingFile(file)) {
        if (link) {
            error = "A drawing is embedded, not linked: untick Link to embed " + file + ".";
            return nullptr;
        }
        if (auto why = ReadDrawingFileBytes(file, bytes)) {
            error = *why;
            return nullptr;
        }
        name = QFileInfo(QString::fromStdString(file)).fileName().toStdString();
    } else {
        if (!item->CreatePictureFromFile(file, link, error))
            return nullptr;
        return item;
    }
    if (!MakeDrawingItem(*item, std::move(bytes), std::move(name), error))
        return nullptr;
    return item;
}

void CRectaView::AddNewItem(std::unique_ptr<CRectaCntrItem> created, bool show)
{
    CRectaDoc* doc = GetDocument();
    if (std::string why; !doc->CanTakeItem(*created, why)) {
        AfxMessageBox(std::string(kCreateObjectFailed) + "\n" + why, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    CRectaCntrItem* item = doc->AddItem(std::move(created));
    item->RectToWorldPoints(*this);
    item->UpdateExtent(*this);
    doc->SetModifiedFlag();
    if (show)
        item->DoVerb(OLEIVERB_SHOW, this);
    SetSelection(item);
    doc->UpdateAllViews(nullptr);
}

void CRectaView::OnInsertObject()
{
    CRectaDoc* doc = GetDocument();
    std::string why;
    if (!doc->CanTakeItems(why)) {
        AfxMessageBox(why, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    InsertObjectChoice choice;
    if (RunInsertObjectDlg(NewKinds(), kKindNotes, choice) != 1)
        return;
    // A new drawing runs as soon as it is made, which a drawing edited in place refuses.
    if (!choice.fromFile && choice.kind == kNewDrawing && doc->IsInPlaceActive()) {
        AfxMessageBox(kInPlaceDrawingRunsNoObjects, MB_OK | MB_ICONINFORMATION);
        return;
    }
    std::unique_ptr<CRectaCntrItem> item;
    {
        CWaitCursor wait;
        item = CreateItemFromChoice(choice.fromFile, choice.kind, choice.file, choice.link, why);
    }
    if (!item) {
        AfxMessageBox(std::string(kCreateObjectFailed) + "\n" + why, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    AddNewItem(std::move(item), !choice.fromFile);
}

void CRectaView::OnCancelEditCntr()
{
    if (CRectaCntrItem* active = InPlaceActiveItem())
        active->Close();
}

void CRectaView::OnEditClear()
{
    CRectaCntrItem* item = SelectedItem();
    if (!item)
        return;
    CRectaDoc* doc = GetDocument();
    m_pSelection = nullptr;
    doc->DeleteItem(item);
    doc->SetModifiedFlag();
    doc->UpdateAllViews(nullptr);
}

void CRectaView::OnEditCopy()
{
    if (const CRectaCntrItem* item = SelectedItem())
        item->CopyToClipboard();
}

void CRectaView::OnEditPaste()
{
    CRectaDoc* doc = GetDocument();
    std::string why;
    if (!doc->CanTakeItems(why)) {
        AfxMessageBox(why, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    auto item = std::make_unique<CRectaCntrItem>(doc);
    if (!item->CreateFromClipboard(why)) {
        AfxMessageBox(std::string(kCreateObjectFailed) + "\n" + why, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    AddNewItem(std::move(item), false);
}

// The plan view: construction, painting and the framework steps.
#include "view2d/rectaview.h"

#include "doc/apphost.h"
#include "doc/rectadoc.h"
#include "doc/renderer.h"
#include "model/blockindex.h"
#include "model/dib.h"
#include "model/entitykind.h"
#include "platform/imagedc.h"
#include "view2d/undo.h"
#include "view2d/viewtools.h"

CRectaView::CRectaView() = default;

CRectaView::~CRectaView()
{
    ClearSelection();
    FreeUndoHistory(*this);
}

CRectaDoc* CRectaView::GetDocument() const
{
    return static_cast<CRectaDoc*>(CView::GetDocument());
}

void CRectaView::OnInitialUpdate()
{
    CRectaDoc* doc = GetDocument();
    m_viewMin = doc->m_windowMin;
    m_viewMax = doc->m_windowMax;
    if (m_aerial) {
        m_reqMin = doc->m_extMin;
        m_reqMax = doc->m_extMax;
    }
    ComputeScale();
    Invalidate();
    m_pSelection = nullptr;
}

void CRectaView::OnUpdate(CView*, long hint, CObject*)
{
    // Hint 1 names an embedded object whose area changed: the image is made whole again.
    if (hint == 0 || hint == 1)
        Invalidate();
    // A zoom or pan moves the object active in place with the drawing.
    if (hint == 0 && !m_aerial && ScaleUsable())
        if (CRectaCntrItem* active = InPlaceActiveItem())
            active->SetItemRects(*this);
}

void CRectaView::DrawAddedEntity(int type, CObject* entity)
{
    // The aerial view shows the extents: once they grew, it needs a new mapping.
    if (const CRectaDoc* doc = GetDocument();
        m_aerial && doc && (m_viewMin != doc->m_extMin || m_viewMax != doc->m_extMax)) {
        Invalidate();
        return;
    }
    DrawEntity(type, entity);
}

bool CRectaView::GetOriginAndZoom(double& ox, double& oy, int& zoomState) const
{
    ox = m_originX;
    oy = m_originY;
    zoomState = m_zoomState;
    return true;
}

void CRectaView::OnSize(int width, int height)
{
    m_clientWidth = std::max(width, 0);
    m_clientHeight = std::max(height, 0);
    ComputeScale();
    Invalidate();
    UpdateOtherViews(0);
    // An object active in place follows its rectangle in the resized view.
    if (CRectaCntrItem* active = InPlaceActiveItem())
        active->SetItemRects(*this);
}

void CRectaView::OnActivateView(bool activate)
{
    if (!activate)
        return;
    if (m_host)
        m_host->SetMouseCapture(true);
    AppHost().SetPaneText(3, std::string(20, ' '));
    AppHost().SetPaneText(3, GetDocument()->m_layerName);
    GetDocument()->ShowOrtho();  // the panes follow the active drawing
    AppHost().SetPaneText(0, m_prompt);
    AppHost().SetPaneText(2, m_readout);
    ComputeScale();
}

void CRectaView::Invalidate()
{
    m_dirty = true;
    if (m_host)
        m_host->UpdateWindow();
}

const QImage& CRectaView::Image()
{
    RepaintIfDue();
    return m_image;
}

void ShowOnScreen::operator()(CImageDC* dc) const
{
    delete dc;
    if (host)
        host->UpdateWindow();
}

ViewDC CRectaView::GetClientDC()
{
    RepaintIfDue();
    ViewDC dc(new CImageDC(&m_image), ShowOnScreen{m_host});
    PrepareMapping(*dc);
    return dc;
}

bool CRectaView::RepaintDue() const
{
    return m_dirty || m_image.width() != std::max(m_clientWidth, 1) ||
           m_image.height() != std::max(m_clientHeight, 1);
}

ViewDC CRectaView::CurrentImageDC()
{
    if (RepaintDue() || !ScaleUsable())
        return nullptr;
    ViewDC dc(new CImageDC(&m_image), ShowOnScreen{m_host});
    PrepareMapping(*dc);
    return dc;
}

void CRectaView::RepaintIfDue()
{
    if (!RepaintDue())
        return;
    const int w = std::max(m_clientWidth, 1), h = std::max(m_clientHeight, 1);
    if (m_image.width() != w || m_image.height() != h)
        m_image = QImage(w, h, QImage::Format_RGB32);
    m_dirty = false;
    ++m_repaints;
    // The aerial view's window is the extents as they are now.
    if (m_aerial)
        ComputeScale();
    m_image.fill(Qt::white);
    CImageDC dc(&m_image);
    PrepareMapping(dc);
    OnDraw(dc);
    // Highlighted records and the overlays shown before the repaint go back on,
    // so the next inversion removes them. Records selected but shown plain (a
    // line chain's new lines, cutting edges once picked) stay plain.
    const CRectaDoc* doc = GetDocument();
    for (POSITION node = m_selection.GetHeadPosition(); doc && node;) {
        const CSelEntry* entry = GetNextSelected(node);
        const POSITION pos = entry->m_highlighted ? doc->FindEntityBySerial(entry->m_serial) : nullptr;
        if (pos) {
            const CDib* dib = doc->GetEntityRecord(pos);
            DrawEntity(dc, dib->m_type, dib->m_entity, DrawKind::dotted);
        }
    }
    if (m_zoomState == 2)
        InvertRect(dc, m_reqMin, m_zoomDrag);
    else if (m_bandState == 1 && !m_aerial) {
        DrawBandOutline(dc, m_bandStart, m_bandEnd);
        if (m_mode == MODE_ARC_CSE_3)
            DrawBandOutline(dc, m_bandStart, m_winCorner);
    }
}

void CRectaView::UpdateOtherViews(long hint)
{
    if (CRectaDoc* doc = GetDocument())
        doc->UpdateAllViews(this, hint);
}

bool CRectaView::DrawEntity(CDC& dc, int type, CObject* entity, DrawKind kind)
{
    DrawScope scope;
    CPointd lo, hi;
    VisibleWindow(lo, hi);
    scope.window = PlanBox();
    scope.window.Add(lo.x, lo.y);
    scope.window.Add(hi.x, hi.y);
    WorldMap map = Map();
    map.scope = &scope;
    const bool drawn = ::DrawEntity(dc, type, entity, map, kind, *GetDocument()) != 0;
    if (scope.work.cut)
        ShowPrompt(2, kNestedWorkMessage);
    return drawn;
}

void CRectaView::VisibleWindow(CPointd& lo, CPointd& hi) const
{
    if (m_zoomState == 4) {
        lo = CPointd(std::min(m_firstPoint.x, m_secondPoint.x), std::min(m_firstPoint.y, m_secondPoint.y));
        hi = CPointd(std::max(m_firstPoint.x, m_secondPoint.x), std::max(m_firstPoint.y, m_secondPoint.y));
    } else {
        // A pixel's width beyond each edge: coordinates truncate toward zero onto the edge pixels.
        lo = DeviceToWorld(CPoint{-1, m_clientHeight});
        hi = DeviceToWorld(CPoint{m_clientWidth, -1});
    }
}

bool CRectaView::EntityInWindow(int type, const CObject* entity, const CPointd& lo, const CPointd& hi) const
{
    return EntityKind(type).InWindow(entity, lo, hi, *GetDocument());
}

void CRectaView::OnDraw(CDC& dc)
{
    CRectaDoc* doc = GetDocument();
    if (!doc || !ScaleUsable())
        return;
    CPointd lo, hi;
    VisibleWindow(lo, hi);
    // Embedded objects lie under the drawing.
    if (!m_aerial)
        DrawItems(dc);
    if (doc->m_ucsActive && !m_aerial)
        ViewTools().DrawEjesIcon(dc);
    // Hatches go over everything else: their fill stops at what is drawn.
    if (!DrawDrawingWindow(*doc, dc, Map(), lo, hi, m_zoomState == 3))
        ShowPrompt(2, kNestedWorkMessage);
    if (m_zoomState == 3 || m_zoomState == 4)
        m_zoomState = 0;
    if (m_aerial)
        DrawLimitRects(dc, false, doc->m_windowMin, doc->m_windowMax, doc->m_prevWindowMin, doc->m_prevWindowMax,
                       true);
}

CDib* CRectaView::RecordAt(POSITION pos) const
{
    return GetDocument()->GetEntityRecord(pos);
}

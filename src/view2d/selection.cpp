// Picking, the selection list, window selection and drawing of single records.
#include "view2d/rectaview.h"

#include "doc/rectadoc.h"
#include "model/blockindex.h"
#include "model/bloq.h"
#include "model/dib.h"
#include "model/entitykind.h"
#include "platform/imagedc.h"
#include "view2d/pickdist.h"
#include "view2d/pickkind.h"

#include <vector>

namespace {

bool Pickable(const CDib* dib)
{
    return dib->m_visible == 1 && dib->m_flag == 1;
}

}  // namespace

POSITION CRectaView::PickNearestEntity(const CPointd& p, CObject*& entity, int& type)
{
    if (!ScaleUsable())
        return nullptr;
    const CRectaDoc* doc = GetDocument();
    const double t = m_aperture / m_scale;
    NestedWork work;
    const PickBox box{t, p.x - t, p.y - t, p.x + t, p.y + t, &work};
    double best = kNoPickDist;
    POSITION bestPos = nullptr;
    for (POSITION pos = doc->GetFirstEntityPosition(); pos;) {
        const POSITION here = pos;
        int code = 0;
        CObject* e = doc->GetNextEntity(pos, code);
        if (!Pickable(doc->GetEntityRecord(here)))
            continue;
        const PickHit hit = PickKind(code).pick(e, p, &box, *doc);
        if (!hit.hit)
            continue;
        const double d = hit.dist;
        if (hit.decisive) {
            best = d;
            bestPos = here;
            break;
        }
        if (d < best) {
            best = d;
            bestPos = here;
        }
    }
    if (work.cut)
        ShowPrompt(2, kNestedWorkMessage);
    if (!bestPos || !(best <= t))
        return nullptr;
    entity = doc->GetEntityAt(bestPos, type);
    return bestPos;
}

void CRectaView::ToggleSelection(int kind, POSITION pos)
{
    if (FindSelected(pos)) {
        RemoveFromSelection(m_foundSelected);
        RedrawEntityAt(pos);
    } else if (CSelEntry* entry = AddToSelection(kind, pos)) {
        entry->m_highlighted = true;
        DrawEntityHighlighted(pos);
    }
}

void CRectaView::SelectEntity(int kind, POSITION pos)
{
    AddToSelection(kind, pos);
}

// A record is selected once: selecting it again returns its entry.
CSelEntry* CRectaView::AddToSelection(int kind, POSITION pos)
{
    if (!pos)
        return nullptr;
    const std::uint64_t serial = RecordAt(pos)->m_serial;
    if (auto it = m_selIndex.find(serial); it != m_selIndex.end())
        return static_cast<CSelEntry*>(m_selection.GetAt(it->second));
    auto* entry = new CSelEntry(serial, kind);
    m_selIndex[serial] = m_selection.AddTail(entry);
    return entry;
}

int CRectaView::FindSelected(POSITION pos)
{
    if (!pos)
        return 0;
    const auto it = m_selIndex.find(RecordAt(pos)->m_serial);
    if (it == m_selIndex.end())
        return 0;
    m_foundSelected = it->second;
    return 1;
}

void CRectaView::RemoveFromSelection(POSITION node)
{
    if (!node)
        return;
    if (node == m_foundSelected)
        m_foundSelected = nullptr;
    m_selIndex.erase(static_cast<CSelEntry*>(m_selection.GetAt(node))->m_serial);
    m_selection.DeleteAt(node);
}

CSelEntry* CRectaView::GetNextSelected(POSITION& node) const
{
    return static_cast<CSelEntry*>(m_selection.GetNext(node));
}

void CRectaView::ClearSelection()
{
    m_selection.DeleteAll();
    m_selIndex.clear();
    m_foundSelected = nullptr;
}

void CRectaView::MoveHatchesToEnd()
{
    const CRectaDoc* doc = GetDocument();
    std::vector<POSITION> hatches;
    for (POSITION node = m_selection.GetHeadPosition(); node;) {
        const POSITION here = node;
        const POSITION pos = doc->FindEntityBySerial(GetNextSelected(node)->m_serial);
        if (pos && doc->GetEntityRecord(pos)->m_type == ENT_HATCH)
            hatches.push_back(here);
    }
    for (POSITION node : hatches) {
        CObject* entry = m_selection.GetAt(node);
        m_selection.RemoveAt(node);
        const POSITION moved = m_selection.AddTail(entry);
        m_selIndex[static_cast<CSelEntry*>(entry)->m_serial] = moved;
        if (node == m_foundSelected)
            m_foundSelected = moved;
    }
}

void CRectaView::SelectByWindow(int mode, const CPointd& c1, const CPointd& c2)
{
    const Pt2 q[4] = {{c1.x, c1.y}, {c2.x, c1.y}, {c2.x, c2.y}, {c1.x, c2.y}};
    const CRectaDoc* doc = GetDocument();
    for (POSITION pos = doc->GetFirstEntityPosition(); pos;) {
        const POSITION here = pos;
        int type = 0;
        const CObject* entity = doc->GetNextEntity(pos, type);
        if (Pickable(doc->GetEntityRecord(here)) && PickKind(type).inSelWindow(entity, q, mode, *doc))
            ToggleSelection(type, here);
    }
}

void CRectaView::DrawEntityHighlighted(POSITION pos)
{
    auto dc = pos ? CurrentImageDC() : nullptr;
    if (!dc)
        return;
    const CDib* dib = RecordAt(pos);
    DrawEntity(*dc, dib->m_type, dib->m_entity, DrawKind::dotted);
}

void CRectaView::UnhighlightSelection()
{
    MoveHatchesToEnd();
    const CRectaDoc* doc = GetDocument();
    ViewDC dc;
    if (ScaleUsable())
        dc = GetClientDC();
    int count = 0;
    for (POSITION node = m_selection.GetHeadPosition(); node;) {
        CSelEntry* entry = GetNextSelected(node);
        entry->m_highlighted = false;
        const POSITION pos = doc->FindEntityBySerial(entry->m_serial);
        if (!pos)
            continue;
        ++count;
        if (dc) {
            const CDib* dib = doc->GetEntityRecord(pos);
            DrawEntity(*dc, dib->m_type, dib->m_entity, DrawKind::normal);
        }
    }
    m_selCount = count;
}

void CRectaView::RedrawEntityAt(POSITION pos)
{
    if (!pos)
        return;
    const CDib* dib = RecordAt(pos);
    const CEntity* pen = EntityKind(dib->m_type).Pen(dib->m_entity);
    if (pen && GetDocument()->GetLayerVisibility(pen->m_layer) == 1)
        DrawEntity(dib->m_type, dib->m_entity);
}

void CRectaView::DrawEntity(int type, CObject* entity)
{
    auto dc = CurrentImageDC();
    if (!dc)
        return;
    DrawEntity(*dc, type, entity, DrawKind::normal);
}

// What the entity covered may show others beneath: the repaint restores them.
// However many entities go, the image is painted once.
void CRectaView::EraseEntity(int, CObject*)
{
    Invalidate();
}

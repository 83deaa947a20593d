// Move, copy and block definition of the selection, and the copy family.
#include "view2d/rectaview.h"

#include "dialogs/rundlg.h"
#include "dialogs/stepdlg.h"
#include "doc/rectadoc.h"
#include "model/acot.h"
#include "model/bloq.h"
#include "model/elevation.h"
#include "model/circ.h"
#include "model/dib.h"
#include "model/entitykind.h"
#include "model/insbl.h"
#include "model/pline.h"
#include "model/punt.h"
#include "model/recta.h"
#include "model/tdface.h"
#include "model/text.h"
#include "model/transform.h"
#include "platform/msgbox.h"
#include "view2d/undo.h"

#include <cmath>
#include <numbers>
#include <vector>

std::vector<CDib*> CRectaView::SelectedRecords() const
{
    const CRectaDoc* doc = GetDocument();
    std::vector<CDib*> records;
    for (POSITION node = GetFirstSelectedPosition(); node;) {
        const POSITION pos = doc->FindEntityBySerial(GetNextSelected(node)->m_serial);
        if (pos)
            records.push_back(doc->GetEntityRecord(pos));
    }
    return records;
}

void CRectaView::MoveSelection()
{
    CRectaDoc* doc = GetDocument();
    RecordSelectionUndo(UNDO_CHANGED);
    for (CDib* record : SelectedRecords()) {
        doc->DrawInAllViews(0, record);
        MoveEntity(record->m_type, record->m_entity, m_firstPoint, m_secondPoint);
        doc->DrawInAllViews(1, record);
    }
    doc->SetModifiedFlag();
    SaveUndoState();
    ClearPendingSteps();
    ClearSelection();
}

CDib* CRectaView::CopyEntityMoved(int type, const CObject* entity, const CPointd& from, const CPointd& to, int mode)
{
    CObject* copy = DuplicateEntity(type, entity);
    if (!copy)
        return nullptr;  // kinds without a copy operation
    MoveEntity(type, copy, from, to);
    CRectaDoc* doc = GetDocument();
    if (mode != 1) {
        auto* record = new CDib(type, copy, doc->GetLayerVisibility(static_cast<CEntity*>(copy)->m_layer));
        m_blockList.AddTail(record);
        return record;
    }
    const POSITION pos = doc->AppendEntityRecord(new CDib(type, copy, 1));
    doc->SetModifiedFlag();
    AddUndoStep(UNDO_ADDED, type, doc->GetEntityRecord(pos), pos);
    return doc->GetEntityRecord(pos);
}

namespace {

template <class T>
T* EntityOf(CDib* record)
{
    return record ? static_cast<T*>(record->m_entity) : nullptr;
}

}  // namespace

CRecta* CRectaView::CopyRectaMoved(const CRecta* e, const CPointd& from, const CPointd& to)
{
    return EntityOf<CRecta>(CopyEntityMoved(ENT_LINE, e, from, to));
}

CCirc* CRectaView::CopyCircMoved(const CCirc* e, const CPointd& from, const CPointd& to)
{
    return EntityOf<CCirc>(CopyEntityMoved(ENT_CIRCLE, e, from, to));
}

CArc* CRectaView::CopyArcMoved(const CArc* e, const CPointd& from, const CPointd& to)
{
    return EntityOf<CArc>(CopyEntityMoved(ENT_ARC, e, from, to));
}

CPunt* CRectaView::CopyPuntMoved(const CPunt* e, const CPointd& from, const CPointd& to)
{
    return EntityOf<CPunt>(CopyEntityMoved(ENT_POINT, e, from, to));
}

CText* CRectaView::CopyTextMoved(const CText* e, const CPointd& from, const CPointd& to)
{
    return EntityOf<CText>(CopyEntityMoved(ENT_TEXT, e, from, to));
}

CPLine* CRectaView::CopyPLineMoved(const CPLine* e, const CPointd& from, const CPointd& to, int mode)
{
    return EntityOf<CPLine>(CopyEntityMoved(ENT_PLINE, e, from, to, mode));
}

CInsBl* CRectaView::CopyInsBlMoved(const CInsBl* e, const CPointd& from, const CPointd& to)
{
    return EntityOf<CInsBl>(CopyEntityMoved(ENT_INSERT, e, from, to));
}

CAcot* CRectaView::CopyAcotMoved(const CAcot* e, const CPointd& from, const CPointd& to, int mode)
{
    return EntityOf<CAcot>(CopyEntityMoved(ENT_DIMENSION, e, from, to, mode));
}

CTdface* CRectaView::CopyTdfaceMoved(const CTdface* e, const CPointd& from, const CPointd& to)
{
    return EntityOf<CTdface>(CopyEntityMoved(ENT_3DFACE, e, from, to));
}

void CRectaView::CopySelection()
{
    // Hatches fill up to what is drawn: theirs go after the other copies.
    std::vector<const CDib*> hatches;
    for (const CDib* record : SelectedRecords())
        if (const CDib* copy = CopyEntityMoved(record->m_type, record->m_entity, m_firstPoint, m_secondPoint)) {
            if (copy->m_type == ENT_HATCH)
                hatches.push_back(copy);
            else
                ShowNew(copy->m_type, copy->m_entity);
        }
    for (const CDib* copy : hatches)
        ShowNew(copy->m_type, copy->m_entity);
    SaveUndoState();
    ClearPendingSteps();
    ClearSelection();
}

void CRectaView::DuplicateSelection()
{
    const CPointd origin(0.0, 0.0, 0.0);
    for (const CDib* record : SelectedRecords())
        CopyEntityMoved(record->m_type, record->m_entity, origin, origin);
}

template <class Change>
void CRectaView::ChangeSelection(bool copy, Change change)
{
    CRectaDoc* doc = GetDocument();
    MoveHatchesToEnd();
    const std::vector<CDib*> records = SelectedRecords();
    if (copy)
        DuplicateSelection();
    RecordSelectionUndo(UNDO_CHANGED);
    for (CDib* record : records) {
        if (!copy)
            doc->DrawInAllViews(0, record);
        change(record);
        doc->DrawInAllViews(1, record);
    }
    doc->SetModifiedFlag();
    SaveUndoState();
    ClearPendingSteps();
}

void CRectaView::RotateSelection(const CPointd& centre, bool copy)
{
    if (!GetFirstSelectedPosition())
        return;
    // The dialog asks for "+ in clockwise"; the per-kind rotations turn positive angles counter-clockwise.
    const double angle = -RunAGIRODlgEx();
    if (angle != 0.0) {
        ChangeSelection(copy, [&](CDib* record) { RotateEntity(record->m_type, record->m_entity, centre, angle); });
    }
    ClearSelection();
}

void CRectaView::MirrorSelection(const CRecta& mirror, bool copy)
{
    m_command = CMD_NONE;
    if (!GetFirstSelectedPosition())
        return;
    // The line may itself be in the selection; reflect across a fixed copy.
    CRecta axis;
    axis.m_p1 = mirror.m_p1;
    axis.m_p2 = mirror.m_p2;
    // Exact normal: Angle2D nudges vertical and horizontal lines off true.
    const double dir = std::atan2(axis.m_p2.y - axis.m_p1.y, axis.m_p2.x - axis.m_p1.x) + std::numbers::pi / 2;
    ChangeSelection(copy, [&](CDib* record) { MirrorEntity(record->m_type, record->m_entity, axis, dir); });
    ClearSelection();
}

void CRectaView::BlockFromSelection(const CPointd& base)
{
    CRectaDoc* doc = GetDocument();
    std::string name;
    int erase = 0;
    if (RunListarDlgEx(name, erase) != 1) {
        ClearSelection();
        return;
    }
    if (name.empty() || FindBlock(name)) {
        AfxMessageBox(name.empty() ? "A block needs a name." : "A block named " + name + " exists already.",
                      MB_ICONEXCLAMATION);
        ClearSelection();
        return;
    }
    const CPointd origin(0.0, 0.0, 0.0);
    const std::vector<CDib*> records = SelectedRecords();
    for (const CDib* record : records)
        CopyEntityMoved(record->m_type, record->m_entity, base, origin, 0);
    m_selCount = int(records.size());
    CBloq* block = doc->AddBlock(origin, m_blockList, name);
    CollectReferencedBlocks(*doc, block->GetEntityList(), *block);
    if (erase == 1) {
        EraseSelection();
        SaveUndoState();
        ClearPendingSteps();
    }
    ClearSelection();
    // Blocks that insert the new name measure it now.
    doc->CalcBlockExtents();
}

void CRectaView::ApplyElevation()
{
    const double z = GetDocument()->m_dialogValue;
    ChangeSelection(false, [z](CDib* record) { SetEntityElevation(record->m_type, record->m_entity, z); });
    ClearSelection();
}

void CRectaView::ApplyThickness()
{
    const double t = GetDocument()->m_dialogValue;
    ChangeSelection(false, [t](CDib* record) { SetEntityThickness(record->m_type, record->m_entity, t); });
    ClearSelection();
}

CDib* CRectaView::LiveRecord(std::uint64_t serial, const CObject* entity) const
{
    const CRectaDoc* doc = GetDocument();
    const POSITION pos = entity ? doc->FindEntityBySerial(serial) : nullptr;
    CDib* record = pos ? doc->GetEntityRecord(pos) : nullptr;
    return record && record->m_entity == entity ? record : nullptr;
}

void CRectaView::FilterSelection(const CSelectionFilter& filter)
{
    const CRectaDoc* doc = GetDocument();
    for (POSITION node = GetFirstSelectedPosition(); node;) {
        const POSITION entry = node;
        const POSITION pos = doc->FindEntityBySerial(GetNextSelected(node)->m_serial);
        const CDib* record = pos ? doc->GetEntityRecord(pos) : nullptr;
        const CEntity* pen = record ? EntityKind(record->m_type).Pen(record->m_entity) : nullptr;
        if (pen && filter.Passes(record->m_type, pen->m_layer))
            continue;
        RemoveFromSelection(entry);
        RedrawEntityAt(pos);
    }
}

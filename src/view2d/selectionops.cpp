// Move, copy and block definition of the selection.
#include "view2d/rectaview.h"

#include "dialogs/rundlg.h"
#include "doc/rectadoc.h"
#include "model/bloq.h"
#include "model/elevation.h"
#include "model/dib.h"
#include "model/entitykind.h"
#include "model/recta.h"
#include "model/transform.h"
#include "platform/msgbox.h"
#include "view2d/undo.h"

#include <cmath>
#include <numbers>
#include <vector>

std::vector<CDib*> SelectedRecords(const CRectaView& view, const CRectaDoc& doc)
{
    std::vector<CDib*> records;
    for (POSITION node = view.GetFirstSelectedPosition(); node;) {
        const POSITION pos = doc.FindEntityBySerial(view.GetNextSelected(node)->m_serial);
        if (pos)
            records.push_back(doc.GetEntityRecord(pos));
    }
    return records;
}

void CRectaView::MoveSelection()
{
    CRectaDoc* doc = GetDocument();
    RecordSelectionUndo(UNDO_CHANGED);
    for (CDib* record : SelectedRecords(*this, *doc)) {
        doc->DrawInAllViews(0, record);
        MoveEntity(record->m_type, record->m_entity, m_firstPoint, m_secondPoint);
        doc->DrawInAllViews(1, record);
    }
    doc->SetModifiedFlag();
    SaveUndoState();
    ClearPendingSteps();
    ClearSelection();
}

void CRectaView::CopySelection()
{
    CRectaDoc* doc = GetDocument();
    for (CDib* record : SelectedRecords(*this, *doc)) {
        CObject* copy = DuplicateEntity(record->m_type, record->m_entity);
        if (!copy)
            continue;  // kinds without a copy operation
        MoveEntity(record->m_type, copy, m_firstPoint, m_secondPoint);
        const POSITION pos = doc->AppendEntityRecord(new CDib(record->m_type, copy, 1));
        AddUndoStep(UNDO_ADDED, record->m_type, doc->GetEntityRecord(pos), pos);
        ShowNew(record->m_type, copy);
    }
    doc->SetModifiedFlag();
    SaveUndoState();
    ClearPendingSteps();
    ClearSelection();
}

template <class Change>
void CRectaView::ChangeSelection(bool copy, Change change)
{
    CRectaDoc* doc = GetDocument();
    MoveHatchesToEnd();
    const std::vector<CDib*> records = SelectedRecords(*this, *doc);
    if (copy) {
        for (CDib* record : records) {
            CObject* dup = DuplicateEntity(record->m_type, record->m_entity);
            if (!dup)
                continue;
            const POSITION pos = doc->AppendEntityRecord(new CDib(record->m_type, dup, 1));
            AddUndoStep(UNDO_ADDED, record->m_type, doc->GetEntityRecord(pos), pos);
        }
    }
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
    const std::vector<CDib*> records = SelectedRecords(*this, *doc);
    for (CDib* record : records) {
        CObject* copy = DuplicateEntity(record->m_type, record->m_entity);
        if (!copy)
            continue;
        MoveEntity(record->m_type, copy, base, origin);
        const auto* entity = static_cast<const CEntity*>(copy);
        m_blockList.AddTail(new CDib(record->m_type, copy, doc->GetLayerVisibility(entity->m_layer)));
    }
    CBloq* block = doc->AddBlock(origin, m_blockList);
    block->m_name = name;
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

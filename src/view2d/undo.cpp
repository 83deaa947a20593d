// Undo and redo of the plan view, and the block-construction builders.
#include "view2d/undo.h"

#include "doc/rectadoc.h"
#include "model/bloq.h"
#include "model/circ.h"
#include "model/dib.h"
#include "model/entitykind.h"
#include "model/fontrecord.h"
#include "model/insbl.h"
#include "model/punt.h"
#include "model/recta.h"
#include "model/tdface.h"
#include "model/text.h"
#include "view2d/rectaview.h"

#include <unordered_set>
#include <utility>
#include <vector>

namespace {

// Before steps go: each gives up ownership of a record that is back in the
// list by other means.
void ReleaseListedRecords(const CObList& steps, const CRectaDoc* doc)
{
    for (CObject* obj : steps) {
        auto* step = static_cast<CUndoStep*>(obj);
        if (step->m_ownsRecord && StepRecordInList(doc, *step))
            step->m_ownsRecord = false;
    }
}

// Frees the state at pos of the view's history with its steps.
void DropState(CObList& states, POSITION pos, const CRectaDoc* doc)
{
    ReleaseListedRecords(static_cast<CUndoState*>(states.GetAt(pos))->m_steps, doc);
    states.DeleteAt(pos);
}

// After an operation: each erase step whose record the operation took out of
// the list takes it over; the last such step when one record was named twice.
// Without a document nothing is claimed: its records may already be freed.
void ClaimErasedRecords(CObList& steps, const CRectaDoc* doc)
{
    if (!doc)
        return;
    std::unordered_set<std::uint64_t> claimed;
    for (POSITION p = steps.GetTailPosition(); p;) {
        auto* step = static_cast<CUndoStep*>(steps.GetPrev(p));
        if (step->m_operation != UNDO_ERASED || !step->m_wasInList || step->m_ownsRecord)
            continue;
        if (!StepRecordInList(doc, *step) && claimed.insert(step->m_serial).second)
            step->m_ownsRecord = true;
    }
}

// Takes the step's record out of the list; the step then owns it. False
// when the record is not in the list.
bool TakeOut(CRectaDoc* doc, CUndoStep& step)
{
    if (!StepRecordInList(doc, step))
        return false;
    doc->DrawInAllViews(0, step.m_record);
    doc->RemoveEntityRecord(doc->FindEntityBySerial(step.m_serial));
    step.m_ownsRecord = true;
    return true;
}

// Swaps the entities and colour of the step's block with those the step
// keeps; a block that is gone or holds other kinds now is left alone.
void SwapBlockEntities(const CRectaDoc* doc, CUndoStep& step)
{
    CBloq* block = doc->FindBlock(step.m_blockName);
    CObList& kept = step.m_blockCopy;
    if (!block || block->GetEntityList().GetCount() != kept.GetCount())
        return;
    POSITION mine = kept.GetHeadPosition();
    for (const CObject* obj : block->GetEntityList()) {
        const auto* live = static_cast<const CDib*>(obj);
        const auto* copy = static_cast<const CDib*>(kept.GetNext(mine));
        if (live->m_type != copy->m_type || !live->m_entity || !copy->m_entity)
            return;
    }
    mine = kept.GetHeadPosition();
    for (CObject* obj : block->GetEntityList())
        std::swap(static_cast<CDib*>(obj)->m_entity, static_cast<CDib*>(kept.GetNext(mine))->m_entity);
    std::swap(block->m_color, step.m_blockColor);
}

bool Shown(const CDib* dib)
{
    return dib->m_visible == 1 && dib->m_flag == 1;
}

}  // namespace

// ---------------------------------------------------------------- steps and states

CUndoStep::CUndoStep(int operation, int type, CDib* record, POSITION pos)
    : m_type(type), m_record(record), m_copy(record), m_operation(operation), m_position(pos),
      m_serial(record ? record->m_serial : 0), m_ownsRecord(operation == UNDO_OWNED)
{
}

CUndoStep::~CUndoStep()
{
    if (m_copy != m_record)
        delete m_copy;
    if (m_ownsRecord)
        delete m_record;
}

CUndoStep* MakeUndoStep(const CRectaDoc* doc, int operation, int type, CDib* record, POSITION pos)
{
    auto* step = new CUndoStep(operation, type, record, pos);
    step->m_wasInList = StepRecordInList(doc, *step);
    if (operation == UNDO_CHANGED) {
        // The record's own code picks the class, so a wrong type argument cannot miscast.
        CObject* dup = DuplicateEntity(record->m_type, record->m_entity);
        step->m_copy = dup ? new CDib(record->m_type, dup, record->m_visible) : nullptr;
    }
    return step;
}

void KeepBlockEntities(CUndoStep& step, const CBloq& block)
{
    step.m_keepsBlock = true;
    step.m_blockName = block.m_name;
    step.m_blockColor = block.m_color;
    step.m_blockCopy.DeleteAll();
    for (const CObject* obj : block.GetEntityList()) {
        const auto* element = static_cast<const CDib*>(obj);
        step.m_blockCopy.AddTail(
            new CDib(element->m_type, DuplicateEntity(element->m_type, element->m_entity), element->m_visible));
    }
}

bool StepRecordInList(const CRectaDoc* doc, const CUndoStep& step)
{
    if (!doc || !step.m_record)
        return false;
    const POSITION pos = doc->FindEntityBySerial(step.m_serial);
    return pos && doc->GetEntityRecord(pos) == step.m_record;
}

void FreeUndoHistory(CRectaView& view)
{
    view.ClearPendingSteps();
    const CRectaDoc* doc = view.GetDocument();
    for (CObject* state : view.m_undoStates)
        ReleaseListedRecords(static_cast<CUndoState*>(state)->m_steps, doc);
    view.m_undoStates.DeleteAll();
    view.m_undone = 0;
}

void ForEachHeldRecord(const CRectaView& view, const std::function<void(const CDib&)>& f)
{
    auto steps = [&](const CObList& list) {
        for (CObject* obj : list) {
            const auto* step = static_cast<const CUndoStep*>(obj);
            if (step->m_operation == UNDO_CHANGED && step->m_copy)
                f(*step->m_copy);
            if (step->m_ownsRecord && step->m_record)
                f(*step->m_record);
        }
    };
    steps(view.m_pendingSteps);
    for (CObject* state : view.m_undoStates)
        steps(static_cast<const CUndoState*>(state)->m_steps);
}

// ---------------------------------------------------------------- recording

void CRectaView::AddUndoStep(int operation, int type, CDib* record, POSITION pos)
{
    if (record)
        m_pendingSteps.AddTail(MakeUndoStep(GetDocument(), operation, type, record, pos));
}

void CRectaView::RecordSelectionUndo(int operation)
{
    const CRectaDoc* doc = GetDocument();
    MoveHatchesToEnd();
    for (POSITION node = GetFirstSelectedPosition(); node;) {
        const POSITION pos = doc->FindEntityBySerial(GetNextSelected(node)->m_serial);
        if (!pos)
            continue;  // the record left the drawing
        CDib* record = doc->GetEntityRecord(pos);
        AddUndoStep(operation, record->m_type, record, pos);
    }
}

void CRectaView::SaveUndoState()
{
    // An operation that changed nothing keeps the history, and the state waiting for redo.
    if (m_pendingSteps.IsEmpty())
        return;
    const CRectaDoc* doc = GetDocument();
    ClaimErasedRecords(m_pendingSteps, doc);
    auto* state = new CUndoState;
    state->m_steps.AddTail(m_pendingSteps);
    for (; m_undone > 0; --m_undone)
        DropState(m_undoStates, m_undoStates.GetTailPosition(), doc);
    m_undoStates.AddTail(state);
    if (m_undoStates.GetCount() > kMaxUndoStates)
        DropOldestUndoState();
}

void CRectaView::ClearPendingSteps()
{
    const CRectaDoc* doc = GetDocument();
    ClaimErasedRecords(m_pendingSteps, doc);
    ReleaseListedRecords(m_pendingSteps, doc);
    m_pendingSteps.DeleteAll();
}

void CRectaView::DropOldestUndoState()
{
    if (!m_undoStates.IsEmpty())
        DropState(m_undoStates, m_undoStates.GetHeadPosition(), GetDocument());
}

// ---------------------------------------------------------------- undo and redo

void CRectaView::DoUndo()
{
    CRectaDoc* doc = GetDocument();
    const int n = m_undoStates.GetCount();
    if (m_undone >= n || !doc) {
        ShowPrompt(0, "Can not undo");
        return;
    }
    ++m_undone;
    const auto* state = static_cast<CUndoState*>(m_undoStates.GetAt(m_undoStates.FindIndex(n - m_undone)));
    bool changed = false;
    // Newest step first, so a record touched twice ends in its first form.
    // Erased records go back to the end in step order, each before the one
    // put back after it, and are drawn in that order once all are back.
    std::vector<CDib*> back;
    for (POSITION p = state->m_steps.GetTailPosition(); p;) {
        auto* step = static_cast<CUndoStep*>(state->m_steps.GetPrev(p));
        if (step->m_reversed)
            continue;  // its last redo was skipped: what it did is not in the drawing
        bool done = false;
        switch (step->m_operation) {
        case UNDO_ADDED: done = TakeOut(doc, *step); break;
        case UNDO_CHANGED: done = RestoreChangedRecord(step); break;
        case UNDO_ERASED:
            if ((done = ReinsertRecord(step, back.empty() ? nullptr : doc->FindEntityRecord(back.back()), false)))
                back.push_back(step->m_record);
            break;
        default: break;
        }
        step->m_reversed = done;
        changed |= done;
    }
    for (auto it = back.rbegin(); it != back.rend(); ++it)
        if (Shown(*it) && doc->FindEntityRecord(*it))
            doc->DrawInAllViews(1, *it);
    if (changed)
        doc->SetModifiedFlag();
}

void CRectaView::DoRedo()
{
    CRectaDoc* doc = GetDocument();
    if (m_undone == 0 || !doc) {
        std::string text = "Can not redo";
        text.resize(26, ' ');
        ShowPrompt(0, text);
        return;
    }
    // Only the state undone last comes back; those undone before it are dropped.
    for (--m_undone; m_undone > 0; --m_undone)
        DropState(m_undoStates, m_undoStates.GetTailPosition(), doc);
    const auto* state = static_cast<CUndoState*>(m_undoStates.GetTail());
    bool changed = false;
    for (POSITION p = state->m_steps.GetHeadPosition(); p;) {
        auto* step = static_cast<CUndoStep*>(state->m_steps.GetNext(p));
        if (!step->m_reversed)
            continue;  // its undo was skipped
        bool done = false;
        switch (step->m_operation) {
        case UNDO_ERASED: done = TakeOut(doc, *step); break;
        case UNDO_CHANGED: done = RestoreChangedRecord(step); break;
        case UNDO_ADDED: done = ReinsertRecord(step); break;
        default: break;
        }
        step->m_reversed = !done;
        changed |= done;
    }
    if (changed)
        doc->SetModifiedFlag();
}

bool CRectaView::RestoreChangedRecord(CUndoStep* step)
{
    CRectaDoc* doc = GetDocument();
    if (!step->m_copy || step->m_copy == step->m_record || !StepRecordInList(doc, *step))
        return false;
    std::swap(step->m_record->m_entity, step->m_copy->m_entity);
    // A record back on its other layer shows again as it did there.
    const CEntityKind& kind = EntityKind(step->m_record->m_type);
    if (kind.Pen(step->m_record->m_entity)->m_layer != kind.Pen(step->m_copy->m_entity)->m_layer)
        std::swap(step->m_record->m_visible, step->m_copy->m_visible);
    if (step->m_keepsBlock)
        SwapBlockEntities(doc, *step);
    doc->DrawInAllViews(0, step->m_copy);
    if (Shown(step->m_record))
        doc->DrawInAllViews(1, step->m_record);
    return true;
}

bool CRectaView::ReinsertRecord(CUndoStep* step, POSITION before, bool draw)
{
    // Only the step that took the record out may put it back.
    CRectaDoc* doc = GetDocument();
    if (!doc || !step->m_ownsRecord || StepRecordInList(doc, *step))
        return false;
    step->m_position =
        before ? doc->InsertEntityRecordBefore(before, step->m_record) : doc->AppendEntityRecord(step->m_record);
    step->m_ownsRecord = false;
    if (draw && Shown(step->m_record))
        doc->DrawInAllViews(1, step->m_record);
    return true;
}

// ---------------------------------------------------------------- block-construction list

namespace {

template <class T>
T* AppendToBlockList(const CRectaDoc* doc, CObList& list, int type, T* entity)
{
    list.AddTail(new CDib(type, entity, doc->GetLayerVisibility(entity->m_layer)));
    return entity;
}

}  // namespace

CRecta* CRectaView::NewBlockRecta(int width, COLORREF color, std::string_view layer, const CPointd& p1,
                                  const CPointd& p2)
{
    const CRectaDoc* doc = GetDocument();
    return AppendToBlockList(doc, m_blockList, ENT_LINE, doc->NewRecta(width, color, layer, p1, p2));
}

CArc* CRectaView::NewBlockArc(int width, COLORREF color, std::string_view layer, const CPointd& centre,
                              double radius, double start, double end)
{
    const CRectaDoc* doc = GetDocument();
    return AppendToBlockList(doc, m_blockList, ENT_ARC, doc->NewArc(width, color, layer, centre, radius, start, end));
}

CCirc* CRectaView::NewBlockCirc(int width, COLORREF color, std::string_view layer, const CPointd& centre,
                                double radius)
{
    const CRectaDoc* doc = GetDocument();
    return AppendToBlockList(doc, m_blockList, ENT_CIRCLE, doc->NewCirc(width, color, layer, centre, radius));
}

CPunt* CRectaView::NewBlockPunt(int width, COLORREF color, std::string_view layer, const CPointd& p)
{
    const CRectaDoc* doc = GetDocument();
    return AppendToBlockList(doc, m_blockList, ENT_POINT, doc->NewPunt(width, color, layer, p));
}

CText* CRectaView::NewBlockText(int width, COLORREF color, std::string_view layer, const CPointd& insert,
                                int justify, std::string_view text, const LOGFONT& font)
{
    const CRectaDoc* doc = GetDocument();
    return AppendToBlockList(doc, m_blockList, ENT_TEXT,
                             doc->NewText(width, color, layer, insert, justify, text, font));
}

CInsBl* CRectaView::NewBlockInsBl(int width, COLORREF color, std::string_view layer, std::string_view block,
                                  const CPointd& insert, double rotation, double sx, double sy)
{
    const CRectaDoc* doc = GetDocument();
    return AppendToBlockList(doc, m_blockList, ENT_INSERT,
                             doc->NewInsBl(width, color, layer, block, insert, rotation, sx, sy));
}

CTdface* CRectaView::NewBlockTdface(int width, COLORREF color, std::string_view layer, const CPointd (&c)[4])
{
    const CRectaDoc* doc = GetDocument();
    return AppendToBlockList(doc, m_blockList, ENT_3DFACE, doc->NewTdface(width, color, layer, c));
}

CBloq* CRectaView::FindBlock(std::string_view name) const
{
    const CRectaDoc* doc = GetDocument();
    return doc ? doc->FindBlock(name) : nullptr;
}

int CRectaView::IsLayerDrawable(const CObject* entity, int type) const
{
    const auto* e = IsEntityType(type) ? dynamic_cast<const CEntity*>(entity) : nullptr;
    return e ? GetDocument()->GetLayerVisibility(e->m_layer) : 0;
}

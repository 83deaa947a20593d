// The plan view's undo history: steps, states and who frees what.
//
// Ownership:
// - The document owns every record in its entity list; no step frees one.
// - A change step always owns its copy element (which holds the entity as it
//   was, or after an undo the changed one).
// - A record out of the entity list that the history took out is owned by
//   exactly one step: the step that took it out last (an erase step when its
//   state is saved, an add step that was undone, an erase step that was
//   redone). Putting it back needs that ownership and gives it up, so a record
//   is never in the list twice and never freed twice, whichever views' steps
//   name it.
// - Operation 10 steps own their record from the start.
// Steps name their record by its serial too: membership is checked without
// reading the record, which may have been freed by the document.
#pragma once

#include "platform/oblist.h"
#include "platform/types.h"

#include <cstdint>
#include <string>
#include <functional>

class CBloq;
class CDib;
class CRectaDoc;
class CRectaView;

enum UndoOperation : int {
    UNDO_ERASED = -1,
    UNDO_CHANGED = 0,
    UNDO_ADDED = 1,
    UNDO_OWNED = 10,
};

class CUndoStep : public CObject {
public:
    CUndoStep(int operation, int type, CDib* record, POSITION pos);
    CUndoStep(const CUndoStep&) = delete;
    CUndoStep& operator=(const CUndoStep&) = delete;
    // Frees the copy element of a change step and the record when owned.
    ~CUndoStep() override;

    int m_type;
    CDib* m_record;
    CDib* m_copy;  // change steps: the duplicate element; otherwise the record
    int m_operation;
    POSITION m_position;  // where the record was when the step was made; may be stale
    std::uint64_t m_serial;
    bool m_ownsRecord = false;
    bool m_wasInList = false;  // the record was in the entity list when the step was made
    // An undo reversed the step and no redo has applied it again; a step that
    // undo skipped is skipped by its redo, and one that redo skipped by the next undo.
    bool m_reversed = false;
    // A change step of an insert whose block the operation changed as well
    // keeps the block's entities as they were (KeepBlockEntities).
    bool m_keepsBlock = false;
    std::string m_blockName;
    COLORREF m_blockColor = 0;
    CObList m_blockCopy{ListOwnership::owns};  // CDib
};

class CUndoState : public CObject {
public:
    CUndoState() = default;
    CUndoState(const CUndoState&) = delete;
    CUndoState& operator=(const CUndoState&) = delete;

    CObList m_steps{ListOwnership::owns};  // in recording order
};

// A new step; a change step gets a duplicate of the record's entity in a new
// element that is in no list (null copy for kinds that cannot be duplicated yet).
CUndoStep* MakeUndoStep(const CRectaDoc* doc, int operation, int type, CDib* record, POSITION pos);

// The step keeps a copy of the block's entities and colour; its undo and
// redo swap them with the block's own.
void KeepBlockEntities(CUndoStep& step, const CBloq& block);

// True when the step's record is in the document's entity list now.
bool StepRecordInList(const CRectaDoc* doc, const CUndoStep& step);

// Frees the view's pending steps and all its states.
void FreeUndoHistory(CRectaView& view);

// Calls f with every record out of the drawing that the view's history keeps
// to bring back: the copies of change steps and the records steps own.
void ForEachHeldRecord(const CRectaView& view, const std::function<void(const CDib&)>& f);

inline constexpr int kMaxUndoStates = 99;

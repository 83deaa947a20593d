// Explode, and the polyline edits: convert a line or an arc, add to a
// polyline's ends, close a polyline. Each replaces records of the drawing
// with new ones and records both, so one undo gives the old records back.
#include "doc/rectadoc.h"
#include "model/acot.h"
#include "model/circ.h"
#include "model/dib.h"
#include "model/geometry.h"
#include "model/insbl.h"
#include "model/pline.h"
#include "model/recta.h"
#include "platform/waitcursor.h"
#include "view2d/rectaview.h"
#include "view2d/undo.h"

#include <optional>
#include <type_traits>
#include <utility>
#include <vector>

namespace {

// Ends closer than this join a polyline.
constexpr double kJoinGap = 0.001;
// A polyline whose ends are closer than this is closed.
constexpr double kClosedGap = 0.00001;

bool Touch(const CPointd& a, const CPointd& b)
{
    return Distance2D(a.x, b.x, a.y, b.y) < kJoinGap;
}

// The record at pos when it holds entity, else null.
CDib* RecordOf(const CRectaDoc& doc, const CObject* entity, POSITION pos)
{
    CDib* record = pos && entity ? doc.GetEntityRecord(pos) : nullptr;
    return record && record->m_entity == entity ? record : nullptr;
}

// A point of a chain and the chain's thickness there.
struct RunEnd {
    CPointd p;
    double thickness;
};

// Where a line or arc segment's run starts, or ends when last; none for
// segments of other kinds.
std::optional<RunEnd> EndOfRun(const CDib& segment, bool last)
{
    if (segment.m_type == ENT_LINE) {
        const auto& l = *static_cast<const CRecta*>(segment.m_entity);
        return last ? RunEnd{l.m_p2, l.m_thick2} : RunEnd{l.m_p1, l.m_thick1};
    }
    if (segment.m_type == ENT_ARC) {
        const auto& a = *static_cast<const CArc*>(segment.m_entity);
        const bool atEndAngle = (a.m_arcWord == 1) == last;
        return atEndAngle ? RunEnd{a.EndPoint(), a.m_thick2} : RunEnd{a.StartPoint(), a.m_thick1};
    }
    return std::nullopt;
}

// A polyline of the drawing with its record and its chain's start and end.
struct ChainAt {
    CDib* record;
    const CPLine& pline;
    RunEnd start, end;
};

// The polyline at pos when it is pline; none when it is not there, or its
// chain is empty or starts or ends in a part of another kind.
std::optional<ChainAt> PLineChainAt(const CRectaDoc& doc, const CObject* pline, POSITION pos)
{
    CDib* record = RecordOf(doc, pline, pos);
    if (!record || record->m_type != ENT_PLINE)
        return std::nullopt;
    const auto* pl = static_cast<const CPLine*>(pline);
    if (pl->m_segments.IsEmpty())
        return std::nullopt;
    auto start = EndOfRun(*static_cast<const CDib*>(pl->m_segments.GetHead()), false);
    auto end = EndOfRun(*static_cast<const CDib*>(pl->m_segments.GetTail()), true);
    if (!start || !end)
        return std::nullopt;
    return ChainAt{record, *pl, *start, *end};
}

// A copy of a line or arc record that meets an end of the chain (s, e),
// turned to run on from that end, put at the head or the tail of segments;
// the end moves to its far end. False, nothing changed, when it meets
// neither end, and for a line of no length.
bool JoinAtEnd(const CDib& record, CPointd& s, CPointd& e, CObList& segments)
{
    bool reversed = false;
    bool atHead = false;
    if (record.m_type == ENT_LINE) {
        const auto& l = *static_cast<const CRecta*>(record.m_entity);
        if (Touch(l.m_p1, l.m_p2))
            return false;
        if (Touch(l.m_p1, e)) {
            e = l.m_p2;
        } else if (Touch(l.m_p2, e)) {
            reversed = true;
            e = l.m_p1;
        } else if (Touch(l.m_p1, s)) {
            reversed = atHead = true;
            s = l.m_p2;
        } else if (Touch(l.m_p2, s)) {
            atHead = true;
            s = l.m_p1;
        } else {
            return false;
        }
    } else if (record.m_type == ENT_ARC) {
        const auto& a = *static_cast<const CArc*>(record.m_entity);
        const CPointd a0 = a.StartPoint(), a1 = a.EndPoint();
        if (Touch(a0, e)) {
            e = a1;
        } else if (Touch(a1, e)) {
            reversed = true;
            e = a0;
        } else if (Touch(a0, s)) {
            reversed = atHead = true;
            s = a1;
        } else if (Touch(a1, s)) {
            atHead = true;
            s = a0;
        } else {
            return false;
        }
    } else {
        return false;
    }
    CDib* copy = CopyPartRecord(record);
    if (record.m_type == ENT_LINE && reversed) {
        auto* l = static_cast<CRecta*>(copy->m_entity);
        std::swap(l->m_p1, l->m_p2);
        std::swap(l->m_thick1, l->m_thick2);
    } else if (record.m_type == ENT_ARC) {
        static_cast<CArc*>(copy->m_entity)->m_arcWord = reversed ? -1 : 1;
    }
    if (atHead)
        segments.AddHead(copy);
    else
        segments.AddTail(copy);
    return true;
}

// Adds the parts of an exploding record to the drawing; false for records
// that do not explode (other kinds, an insert of a block the drawing lacks).
bool ExplodeParts(CRectaDoc& doc, const CDib& record, const CRectaDoc::AddedRecordFn& added)
{
    switch (record.m_type) {
    case ENT_PLINE: doc.ExplodePLine(*static_cast<const CPLine*>(record.m_entity), added); return true;
    case ENT_DIMENSION: doc.ExplodeAcot(*static_cast<const CAcot*>(record.m_entity), added); return true;
    case ENT_INSERT: {
        const auto& insert = *static_cast<const CInsBl*>(record.m_entity);
        const CBloq* block = doc.FindBlock(insert.m_block);
        if (!block)
            return false;
        doc.ExplodeInsBl(insert, *block, added);
        return true;
    }
    default: return false;
    }
}

// Records the record as erased, erases it in every view and takes it out
// of the list; the history owns it from then on.
void TakeOutRecorded(CRectaView& view, CRectaDoc& doc, CDib* record)
{
    const POSITION pos = doc.FindEntityRecord(record);
    view.AddUndoStep(UNDO_ERASED, record->m_type, record, pos);
    doc.DrawInAllViews(0, record);
    doc.RemoveEntityRecord(pos);
}

// Records a record just appended as added and draws it in every view when it shows.
void ShowRecorded(CRectaView& view, CRectaDoc& doc, CDib* record, POSITION pos)
{
    view.AddUndoStep(UNDO_ADDED, record->m_type, record, pos);
    if (record->m_visible == 1)
        doc.DrawInAllViews(1, record);
}

// Puts a polyline of segments (taken over) in place of the record: the new
// one with the pen width, colour, layer and extrusion of source (a line, an
// arc or a polyline, whose fill it keeps too) and the drawing's pen style,
// visible as its layer is.
template <class Source>
void ReplaceWithPLine(CRectaView& view, CRectaDoc& doc, CDib* record, const Source& source, CObList& segments)
{
    CPLine* pl = doc.AddPLineOnLayer(source.m_width, source.m_color, source.m_layer, segments);
    const int style = pl->m_style;
    pl->m_extrusionMode = source.m_extrusionMode;
    pl->m_dir = source.m_dir;
    if constexpr (std::is_same_v<Source, CPLine>) {
        pl->CopyAttributes(source);
        pl->m_style = style;
    }
    CDib* made = doc.GetLastEntityRecord();
    const POSITION madeAt = doc.GetLastEntityPosition();
    TakeOutRecorded(view, doc, record);
    ShowRecorded(view, doc, made, madeAt);
}

}  // namespace

void CRectaView::ExplodeSelection()
{
    CWaitCursor wait;
    CRectaDoc* doc = GetDocument();
    const auto added = [&](int, CDib* part, POSITION pos) { ShowRecorded(*this, *doc, part, pos); };
    for (CDib* record : SelectedRecords())
        if (ExplodeParts(*doc, *record, added))
            TakeOutRecorded(*this, *doc, record);
}

void CRectaView::ConvertToPLine(CObject* entity, int, POSITION pos)
{
    CRectaDoc* doc = GetDocument();
    CDib* record = RecordOf(*doc, entity, pos);
    if (!record || (record->m_type != ENT_LINE && record->m_type != ENT_ARC))
        return;
    CObList segments(ListOwnership::owns);
    segments.AddTail(CopyPartRecord(*record));
    if (record->m_type == ENT_LINE)
        ReplaceWithPLine(*this, *doc, record, *static_cast<const CRecta*>(entity), segments);
    else
        ReplaceWithPLine(*this, *doc, record, *static_cast<const CArc*>(entity), segments);
    CloseState();
}

void CRectaView::AddToPLine(CObject* pline, int, POSITION pos)
{
    CRectaDoc* doc = GetDocument();
    const auto chain = PLineChainAt(*doc, pline, pos);
    if (!chain)
        return;
    const auto& [record, old, start, end] = *chain;
    CPointd s = start.p, e = end.p;
    CObList segments(ListOwnership::owns);
    CopyParts(segments, old.m_segments);
    std::vector<CDib*> joined;
    for (CDib* selected : SelectedRecords())
        if (selected != record && JoinAtEnd(*selected, s, e, segments))
            joined.push_back(selected);
    if (joined.empty())
        return;  // the polyline stays as it is
    for (CDib* r : joined)
        TakeOutRecorded(*this, *doc, r);
    ReplaceWithPLine(*this, *doc, record, old, segments);
}

void CRectaView::ClosePLine(CObject* pline, int, POSITION pos)
{
    CRectaDoc* doc = GetDocument();
    const auto chain = PLineChainAt(*doc, pline, pos);
    if (!chain)
        return;
    const auto& [record, old, start, end] = *chain;
    if (Distance2D(start.p.x, end.p.x, start.p.y, end.p.y) < kClosedGap)
        return;  // closed already
    CObList segments(ListOwnership::owns);
    CopyParts(segments, old.m_segments);
    // The closing line runs from the end back to the start, as thick at
    // each end as the chain is there.
    auto* closing = new CRecta(old.m_width, old.m_color, old.m_layer, 0.0, old.m_extrusionMode, old.m_dir.x,
                               old.m_dir.y, old.m_dir.z);
    closing->m_style = old.m_style;
    closing->m_p1 = end.p;
    closing->m_p2 = start.p;
    closing->m_thick1 = end.thickness;
    closing->m_thick2 = start.thickness;
    segments.AddTail(new CDib(ENT_LINE, closing, doc->GetLayerVisibility(old.m_layer)));
    ReplaceWithPLine(*this, *doc, record, old, segments);
    CloseState();
}

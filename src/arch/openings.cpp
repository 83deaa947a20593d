// Doors and windows: a block of the opening's lines and its insert in a wall,
// whose two face lines open across it.
#include "arch/archgen.h"

#include "arch/archutil.h"
#include "doc/rectadoc.h"
#include "model/bloq.h"
#include "model/circ.h"
#include "model/dib.h"
#include "model/insbl.h"
#include "model/recta.h"
#include "model/tdface.h"
#include "model/transform.h"
#include "view2d/archedit.h"
#include "view2d/archgeom.h"
#include "view2d/lineedit.h"
#include "view2d/rectaview.h"
#include "view2d/undo.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

constexpr char kDoor[] = "DOOR";
constexpr char kWindow[] = "WINDOW";
constexpr double kHalfPi = std::numbers::pi / 2;
// How far apart in the plan two points may lie and still count as one.
constexpr double kSamePoint = 1e-6;

// What an opening holds. Doors: one or two leaves; windows: a frame of leaves.
struct Opening {
    const char* type = kDoor;
    double width = 0.0;
    double leaf1 = 0.0, leaf2 = 0.0;  // doors; leaf2 0 for one leaf
    double frame = 0.0;               // windows
    int leaves = 1;                   // windows
};

// Where an opening sits: from o on the near face, width along d, the wall
// thickness t across n to the far face.
struct Seat {
    LineAt nearFace, farFace;
    CPointd o;
    Pt2 d, n;
    double t = 0.0;
};

// p lies on the segment of the line (p being on its carrier).
bool WithinFace(const CPointd& p, const CRecta& face)
{
    return SegmentDistance(p, face) <= kSamePoint;
}

// The wall faces through onNear and onFar and where the opening of width goes in them.
std::optional<Seat> FindSeat(CRectaDoc& doc, CRectaView& view, const CPointd& reference, const CPointd& onNear,
                             const CPointd& onFar, double width)
{
    const double tolerance = PickTolerance(view);
    Seat seat;
    const std::optional<LineAt> nearFace = NearestLine(doc, onNear, tolerance);
    const std::optional<LineAt> farFace = nearFace ? NearestLine(doc, onFar, tolerance, nearFace->line) : std::nullopt;
    if (!nearFace || !farFace) {
        Refuse(view, "No wall line at the insertion points");
        return std::nullopt;
    }
    seat.nearFace = *nearFace;
    seat.farFace = *farFace;
    Pt2 dNear, dFar;
    if (!UnitDirection(nearFace->line->m_p1, nearFace->line->m_p2, dNear) ||
        !UnitDirection(farFace->line->m_p1, farFace->line->m_p2, dFar) || std::abs(Cross(dNear, dFar)) > 1e-9) {
        Refuse(view, "The wall's lines are not parallel");
        return std::nullopt;
    }
    CPointd start, across;
    PerpendicularFoot(onNear, *nearFace->line, start);
    seat.t = PerpendicularFoot(start, *farFace->line, across);
    if (!UnitDirection(start, across, seat.n)) {
        Refuse(view, "The wall has no thickness");
        return std::nullopt;
    }
    // From the insertion point away from the reference point, or centred on it.
    seat.d = dNear;
    if (DistancePoints(reference, onNear) > tolerance) {
        if (Dot(dNear, {onNear.x - reference.x, onNear.y - reference.y}) < 0.0)
            seat.d = {-dNear.x, -dNear.y};
        seat.o = start;
    } else {
        seat.o = Offset(start, seat.d, -width / 2);
    }
    const CPointd end = Offset(seat.o, seat.d, width);
    if (!WithinFace(seat.o, *nearFace->line) || !WithinFace(end, *nearFace->line) ||
        !WithinFace(Offset(seat.o, seat.n, seat.t), *farFace->line) ||
        !WithinFace(Offset(end, seat.n, seat.t), *farFace->line)) {
        Refuse(view, "The opening does not fit in the wall");
        return std::nullopt;
    }
    return seat;
}

// Builders of the block's entities in the opening's own coordinates: x along
// the wall from the opening's start, y across it from the near face.
class BlockParts {
public:
    BlockParts(CRectaDoc& doc, CObList& list) : m_doc(doc), m_list(list), m_colour(LayerColour(doc, kWallsLayer)) {}

    void Line(double x1, double y1, double x2, double y2)
    {
        auto* l = new CRecta(m_doc.m_penWidth, m_colour, kWallsLayer, 0.0, EXTRUSION_FLAT, 0.0, 0.0, 1.0);
        l->m_p1 = CPointd(x1, y1);
        l->m_p2 = CPointd(x2, y2);
        m_list.AddTail(new CDib(ENT_LINE, l));
    }
    void Arc(double cx, double cy, double r, double start, double end)
    {
        auto* a = new CArc(m_doc.m_penWidth, m_colour, kWallsLayer, 0.0, EXTRUSION_FLAT, 0.0, 0.0, 1.0);
        a->m_centre = CPointd(cx, cy);
        a->m_rx = a->m_ry = r;
        a->m_start = start;
        a->m_end = end;
        m_list.AddTail(new CDib(ENT_ARC, a));
    }
    // A vertical face over x1,y1 - x2,y2 from z0 to z1, for the 3D views only.
    void Face(double x1, double y1, double x2, double y2, double z0, double z1)
    {
        auto* f = new CTdface(m_doc.m_penWidth, m_colour, kWallsLayer, EXTRUSION_FLAT, 0.0, 0.0, 1.0);
        f->m_c[0] = CPointd(x1, y1, z0);
        f->m_c[1] = CPointd(x2, y2, z0);
        f->m_c[2] = CPointd(x2, y2, z1);
        f->m_c[3] = CPointd(x1, y1, z1);
        f->m_display = 0;
        m_list.AddTail(new CDib(ENT_3DFACE, f));
    }
    COLORREF Colour() const { return m_colour; }

private:
    CRectaDoc& m_doc;
    CObList& m_list;
    COLORREF m_colour;
};

// The plan lines of the opening in a wall t thick.
void PlanParts(BlockParts& parts, const Opening& op, double t)
{
    const double w = op.width;
    parts.Line(0, 0, 0, t);
    parts.Line(w, 0, w, t);
    if (op.type == kDoor) {
        parts.Line(0, t, 0, t + op.leaf1);
        parts.Arc(0, t, op.leaf1, 0.0, kHalfPi);
        if (op.leaf2 > 0.0) {
            parts.Line(w, t, w, t + op.leaf2);
            parts.Arc(w, t, op.leaf2, kHalfPi, 2 * kHalfPi);
        }
        return;
    }
    const double half = std::min(op.frame, t) / 2, mid = t / 2;
    parts.Line(0, mid - half, w, mid - half);
    parts.Line(0, mid + half, w, mid + half);
    parts.Line(0, mid, w, mid);
    for (int k = 1; k < op.leaves; ++k)
        parts.Line(w * k / op.leaves, mid - half, w * k / op.leaves, mid + half);
}

// The 3D faces of the opening: jambs and leaves from the floor to the door's
// height, or jambs and glass from the sill to the window's top.
void SolidParts(BlockParts& parts, const Opening& op, double t, const CRectaDoc& doc)
{
    const double w = op.width;
    const bool door = op.type == kDoor;
    const double z0 = door ? 0.0 : doc.m_toolReals[9];
    const double z1 = z0 + (door ? doc.m_toolReals[8] : doc.m_toolReals[10]);
    parts.Face(0, 0, 0, t, z0, z1);
    parts.Face(w, 0, w, t, z0, z1);
    if (!door) {
        parts.Face(0, t / 2, w, t / 2, z0, z1);
        return;
    }
    parts.Face(0, t, 0, t + op.leaf1, z0, z1);
    if (op.leaf2 > 0.0)
        parts.Face(w, t, w, t + op.leaf2, z0, z1);
}

// The block name's prefix and its counter among the tool words.
std::pair<const char*, int*> BlockCounter(CRectaDoc& doc, const Opening& op)
{
    if (op.type == kWindow)
        return {"WINDOW", &doc.m_toolWords[10]};
    if (op.leaf2 > 0.0)
        return {"DOORD", &doc.m_toolWords[9]};
    return {"DOORS", &doc.m_toolWords[8]};
}

void Tag(CRectaDoc& doc, CBloq& block, COLORREF colour, const char* tag, const std::string& value)
{
    block.AddAttrib(doc.m_penWidth, colour, kWallsLayer, tag, tag, value, 0, 0, CPointd(), doc.m_textFont);
}

std::string Attribute(const CBloq& block, const char* tag)
{
    std::string value;
    block.FindAttribByTag(tag, value);
    return value;
}

// The opening of a door or window insert, with its wall thickness; nothing for anything else.
std::optional<std::pair<Opening, double>> OpeningOf(const CRectaDoc& doc, int type, const CObject* e,
                                                    const char* kind)
{
    const CBloq* block = type == ENT_INSERT ? doc.FindBlock(static_cast<const CInsBl*>(e)->m_block) : nullptr;
    if (!block || Attribute(*block, "TYPE") != kind)
        return std::nullopt;
    Opening op;
    op.type = kind == std::string_view(kDoor) ? kDoor : kWindow;
    op.width = TextNumber(Attribute(*block, "WIDTH"));
    op.leaf1 = TextNumber(Attribute(*block, "LEAF1"));
    op.leaf2 = TextNumber(Attribute(*block, "LEAF2"));
    op.frame = TextNumber(Attribute(*block, "FRAME"));
    op.leaves = std::max(1, int(TextNumber(Attribute(*block, "LEAVES"))));
    return std::pair{op, TextNumber(Attribute(*block, "WALL"))};
}

void BuildOpening(CRectaDoc& doc, CRectaView& view, const CPointd& reference, const CPointd& onNear,
                  const CPointd& onFar, const Opening& op)
{
    if (!(op.width > 0.0)) {
        Refuse(view, "The opening's width must be above 0");
        return;
    }
    // The door's swing is an arc of the width as radius.
    if (view.RadiusRefused(op.width))
        return;
    const std::optional<Seat> seat = FindSeat(doc, view, reference, onNear, onFar, op.width);
    if (!seat)
        return;
    const CPointd end = Offset(seat->o, seat->d, op.width);
    const LineAt& nearFace = seat->nearFace;
    const LineAt& farFace = seat->farFace;
    CutGapInLine(doc, view, *nearFace.line, *nearFace.record, nearFace.pos, seat->o, end);
    CutGapInLine(doc, view, *farFace.line, *farFace.record, farFace.pos, Offset(seat->o, seat->n, seat->t),
                 Offset(end, seat->n, seat->t));

    CObList entities{ListOwnership::owns};
    BlockParts parts(doc, entities);
    PlanParts(parts, op, seat->t);
    auto [prefix, counter] = BlockCounter(doc, op);
    CBloq* block = AddNamedBlock(doc, entities, NewBlockName(doc, prefix, *counter));
    const COLORREF colour = parts.Colour();
    Tag(doc, *block, colour, "TYPE", op.type);
    Tag(doc, *block, colour, "WIDTH", NumberText(op.width));
    Tag(doc, *block, colour, "WALL", NumberText(seat->t));
    if (op.type == kDoor) {
        Tag(doc, *block, colour, "LEAF1", NumberText(op.leaf1));
        Tag(doc, *block, colour, "LEAF2", NumberText(op.leaf2));
    } else {
        Tag(doc, *block, colour, "FRAME", NumberText(op.frame));
        Tag(doc, *block, colour, "LEAVES", std::to_string(op.leaves));
    }
    // The block's y axis runs across the wall: mirrored when that is clockwise from the wall's direction.
    const double sy = Cross(seat->d, seat->n) > 0.0 ? 1.0 : -1.0;
    doc.AddInsBlOnLayer(doc.m_penWidth, colour, kWallsLayer, seat->o, sy, std::atan2(seat->d.y, seat->d.x), 1.0,
                        block->m_name);
    RecordLastAdded(doc, view);
    CloseUndoState(view);
}

Opening Door(double leaf1, double leaf2)
{
    Opening op;
    op.width = leaf1 + leaf2;
    op.leaf1 = leaf1;
    op.leaf2 = leaf2;
    return op;
}

// The selected records of the kind, with their openings.
struct Picked {
    CDib* record;
    POSITION pos;
    Opening op;
    double wall;
};

std::vector<Picked> SelectedOpenings(const CRectaDoc& doc, const CRectaView& view, const char* kind)
{
    std::vector<Picked> picked;
    for (POSITION node = view.GetFirstSelectedPosition(); node;) {
        const POSITION pos = doc.FindEntityBySerial(view.GetNextSelected(node)->m_serial);
        if (!pos)
            continue;
        CDib* dib = doc.GetEntityRecord(pos);
        if (const auto op = OpeningOf(doc, dib->m_type, dib->m_entity, kind))
            picked.push_back({dib, pos, op->first, op->second});
    }
    return picked;
}

// The wall face that ends at a and the one that ends at b, in line, become
// one line again (the first keeps its record).
void CloseFace(CRectaDoc& doc, CRectaView& view, const CPointd& a, const CPointd& b)
{
    auto endingAt = [&](const CPointd& p, const CRecta* skip) -> std::optional<LineAt> {
        for (const LineAt& l : ShownLines(doc, {}))
            if (l.line != skip &&
                (DistancePoints(l.line->m_p1, p) <= kSamePoint || DistancePoints(l.line->m_p2, p) <= kSamePoint))
                return l;
        return std::nullopt;
    };
    const auto first = endingAt(a, nullptr);
    const auto second = first ? endingAt(b, first->line) : std::nullopt;
    if (first && second)
        JoinLinesInLine(doc, view, *first->record, first->pos, *second->record, second->pos);
}

// The selected openings of the kind; none is refused with a message.
std::vector<Picked> SelectedOrRefused(const CRectaDoc& doc, CRectaView& view, const char* kind, const char* command)
{
    std::vector<Picked> picked = SelectedOpenings(doc, view, kind);
    if (picked.empty())
        Refuse(view, std::string(command) + (kind == std::string_view(kDoor) ? ": select doors" : ": select windows"));
    return picked;
}

void EraseOpenings(CRectaDoc& doc, CRectaView& view, const char* kind, const char* command)
{
    for (const Picked& p : SelectedOrRefused(doc, view, kind, command)) {
        const CPlacement pl = static_cast<const CInsBl*>(p.record->m_entity)->Placement();
        for (double y : {0.0, p.wall})
            CloseFace(doc, view, PlacePoint(CPointd(0, y), pl), PlacePoint(CPointd(p.op.width, y), pl));
        EraseEntityWithUndo(doc, view, *p.record, p.pos);
    }
    CloseUndoState(view);
}

void ApplyHeights(CRectaDoc& doc, CRectaView& view, const char* kind, const char* command)
{
    for (const Picked& p : SelectedOrRefused(doc, view, kind, command)) {
        auto* insert = static_cast<CInsBl*>(p.record->m_entity);
        CBloq* block = doc.FindBlock(insert->m_block)->Clone();
        CObList& entities = block->GetEntityList();
        for (POSITION pos = entities.GetHeadPosition(); pos;) {
            const POSITION here = pos;
            if (static_cast<CDib*>(entities.GetNext(pos))->m_type == ENT_3DFACE)
                entities.DeleteAt(here);
        }
        CObList faces{ListOwnership::owns};
        BlockParts parts(doc, faces);
        SolidParts(parts, p.op, p.wall, doc);
        entities.AddTail(faces);
        auto [prefix, counter] = BlockCounter(doc, p.op);
        block->m_name = NewBlockName(doc, prefix, *counter);
        doc.AdoptBlock(block, false);
        block->CalcExtents(doc);
        view.AddUndoStep(UNDO_CHANGED, ENT_INSERT, p.record, p.pos);
        doc.DrawInAllViews(0, p.record);
        insert->m_block = block->m_name;
        doc.DrawInAllViews(1, p.record);
        doc.SetModifiedFlag();
    }
    CloseUndoState(view);
}

void PlaceCopy(CRectaDoc& doc, CRectaView& view, const CPointd& reference, const CPointd& onNear,
               const CPointd& onFar, const CObject* insert, const char* kind)
{
    const auto op = insert ? OpeningOf(doc, ENT_INSERT, insert, kind) : std::nullopt;
    if (!op) {
        Refuse(view, kind == std::string_view(kDoor) ? "Pick a door to copy" : "Pick a window to copy");
        return;
    }
    BuildOpening(doc, view, reference, onNear, onFar, op->first);
}

}  // namespace

std::vector<std::pair<CPointd, CPointd>> OpeningClosures(const CRectaDoc& doc)
{
    std::vector<std::pair<CPointd, CPointd>> lines;
    for (POSITION pos = doc.GetFirstEntityPosition(); pos; doc.GetEntityList().GetNext(pos)) {
        const CDib* dib = doc.GetEntityRecord(pos);
        if (dib->m_visible != 1 || dib->m_flag != 1)
            continue;
        auto op = OpeningOf(doc, dib->m_type, dib->m_entity, kDoor);
        if (!op)
            op = OpeningOf(doc, dib->m_type, dib->m_entity, kWindow);
        if (!op)
            continue;
        const CPlacement pl = static_cast<const CInsBl*>(dib->m_entity)->Placement();
        for (double y : {0.0, op->second})
            lines.emplace_back(PlacePoint(CPointd(0, y), pl), PlacePoint(CPointd(op->first.width, y), pl));
    }
    return lines;
}

void BuildDoor(CRectaDoc& doc, CRectaView& view, const CPointd& reference, const CPointd& outer,
               const CPointd& inner)
{
    BuildOpening(doc, view, reference, outer, inner, Door(doc.m_toolReals[4], 0.0));
}

void BuildDoorD(CRectaDoc& doc, CRectaView& view, const CPointd& reference, const CPointd& outer,
                const CPointd& inner)
{
    BuildOpening(doc, view, reference, outer, inner, Door(doc.m_toolReals[4], doc.m_toolReals[4]));
}

void BuildDoorUnequal(CRectaDoc& doc, CRectaView& view, const CPointd& reference, const CPointd& outer,
                      const CPointd& inner, double leaf1, double leaf2)
{
    if (!(leaf1 > 0.0) || !(leaf2 > 0.0)) {
        Refuse(view, "Both leaves must be wider than 0");
        return;
    }
    BuildOpening(doc, view, reference, outer, inner, Door(leaf1, leaf2));
}

void BuildWindow(CRectaDoc& doc, CRectaView& view, const CPointd& first, const CPointd& second,
                 const CPointd& side)
{
    Opening op;
    op.type = kWindow;
    op.width = doc.m_toolReals[6];
    op.frame = doc.m_toolReals[5];
    op.leaves = std::max(1, doc.m_toolWords[6]);
    BuildOpening(doc, view, first, second, side, op);
}

void PlaceDoorCopy(CRectaDoc& doc, CRectaView& view, const CPointd& ref1, const CPointd& ref2, const CPointd& side,
                   CObject* insert)
{
    PlaceCopy(doc, view, ref1, ref2, side, insert, kDoor);
}

void PlaceWindowCopy(CRectaDoc& doc, CRectaView& view, const CPointd& ref1, const CPointd& ref2,
                     const CPointd& side, CObject* insert)
{
    PlaceCopy(doc, view, ref1, ref2, side, insert, kWindow);
}

void EraseDoors(CRectaDoc& doc, CRectaView& view)
{
    EraseOpenings(doc, view, kDoor, "Door Erase");
}

void EraseWindows(CRectaDoc& doc, CRectaView& view)
{
    EraseOpenings(doc, view, kWindow, "Win. Erase");
}

void ApplyDoorHeights3D(CRectaDoc& doc, CRectaView& view)
{
    ApplyHeights(doc, view, kDoor, "Doors 3D");
}

void ApplyWindowHeights3D(CRectaDoc& doc, CRectaView& view)
{
    ApplyHeights(doc, view, kWindow, "Win. 3D");
}

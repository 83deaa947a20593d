// Extend to a boundary and cut along cutting edges: lines, circles and arcs.
#include "view2d/rectaview.h"

#include "doc/rectadoc.h"
#include "model/circ.h"
#include "model/dib.h"
#include "model/geometry.h"
#include "model/recta.h"
#include "view2d/archedit.h"
#include "view2d/lineedit.h"
#include "view2d/undo.h"

#include <cmath>
#include <memory>
#include <numbers>
#include <optional>
#include <vector>

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kTol = 0.0001;

// A line segment, or a circle as an arc all the way round.
struct Curve {
    bool line = false;
    Pt2 a, b;  // line
    Pt2 centre;
    double r = 0.0, start = 0.0, end = kTwoPi;
};

std::optional<Curve> CurveOf(int type, const CObject* e)
{
    Curve c;
    switch (type) {
    case ENT_LINE: {
        const auto* l = static_cast<const CRecta*>(e);
        c.line = true;
        c.a = Plan(l->m_p1);
        c.b = Plan(l->m_p2);
        return c;
    }
    case ENT_CIRCLE: {
        const auto* circle = static_cast<const CCirc*>(e);
        c.centre = Plan(circle->m_centre);
        c.r = circle->m_rx;
        return c;
    }
    case ENT_ARC: {
        const auto* arc = static_cast<const CArc*>(e);
        c.centre = Plan(arc->m_centre);
        c.r = arc->m_rx;
        c.start = arc->m_start;
        c.end = arc->m_end;
        return c;
    }
    default: return std::nullopt;
    }
}

// Where two curves cross, within both.
void Crossings(const Curve& x, const Curve& y, std::vector<Pt2>& out)
{
    Pt2 p1, p2;
    bool f1 = false, f2 = false, g1 = false, g2 = false;
    if (x.line && y.line) {
        if (IntersectCarriers(x.a, x.b, y.a, y.b, p1) && OnSegment(p1, x.a, x.b) && OnSegment(p1, y.a, y.b))
            out.push_back(p1);
        return;
    }
    if (x.line || y.line) {
        const Curve& l = x.line ? x : y;
        const Curve& c = x.line ? y : x;
        if (!(Distance2D(l.a, l.b) > 0.0))
            return;
        IntersectSegmentCircle(l.a, l.b, 3, c.start, c.end, c.centre, c.r, p1, p2, f1, f2, g1, g2);
        f1 = f1 && g1;
        f2 = f2 && g2;
    } else {
        IntersectCircles(3, x.start, x.end, x.centre, x.r, y.start, y.end, y.centre, y.r, p1, p2, f1, f2);
    }
    if (f1)
        out.push_back(p1);
    if (f2)
        out.push_back(p2);
}

// An angle brought into [0, 2pi).
double Turn(double a)
{
    a = std::fmod(a, kTwoPi);
    if (a < 0.0)
        a += kTwoPi;
    return a < kTwoPi ? a : 0.0;
}

// The new ends of a line extended to the boundary, the end nearer the target
// moving (P2 on a tie). With a pick the target is the qualifying point nearer
// to it (the second on a tie), otherwise the one nearer to either end.
bool ExtendedLine(const CRecta& line, const CDib& boundary, const Pt2* pick, CPointd& p1, CPointd& p2)
{
    const Pt2 a = Plan(line.m_p1), b = Plan(line.m_p2);
    if (!(Distance2D(a, b) > 0.0))
        return false;
    Pt2 target;
    if (boundary.m_type == ENT_LINE) {
        if (!IntersectRectas(*static_cast<const CRecta*>(boundary.m_entity), line, 0, target))
            return false;
    } else {
        const std::optional<Curve> c = CurveOf(boundary.m_type, boundary.m_entity);
        if (!c)
            return false;
        Pt2 q[2];
        bool seg[2], arc[2];
        IntersectSegmentCircle(a, b, 3, c->start, c->end, c->centre, c->r, q[0], q[1], seg[0], seg[1], arc[0],
                               arc[1]);
        // A point qualifies beyond the line and within the boundary's angles.
        auto score = [&](const Pt2& p) {
            return pick ? Distance2D(p, *pick) : std::min(Distance2D(p, a), Distance2D(p, b));
        };
        int chosen = -1;
        for (int i = 0; i < 2; ++i)
            if (!seg[i] && arc[i] && (chosen < 0 || score(q[i]) <= score(q[chosen])))
                chosen = i;
        if (chosen < 0)
            return false;
        target = q[chosen];
    }
    const CPointd at = OnCarrier(line, target);
    const bool moveP2 = Distance2D(target, b) <= Distance2D(target, a);
    p1 = moveP2 ? line.m_p1 : at;
    p2 = moveP2 ? at : line.m_p2;
    return !(p1 == line.m_p1 && p2 == line.m_p2);
}

// The new angles of an arc extended to the boundary: the end nearer the pick moves.
bool ExtendedArc(const CArc& arc, const CDib& boundary, const Pt2& pick, double& start, double& end)
{
    const std::optional<Curve> b = CurveOf(boundary.m_type, boundary.m_entity);
    if (!b || !(arc.m_rx > 0.0))
        return false;
    const Pt2 centre = Plan(arc.m_centre);
    const double a = Bearing(centre, pick);
    const bool moveEnd = AngleBetween(a, arc.m_end) <= AngleBetween(a, arc.m_start);
    const double moving = moveEnd ? arc.m_end : arc.m_start;
    Pt2 q[2];
    bool ok[2] = {false, false};
    if (b->line) {
        bool seg[2], in[2];
        IntersectSegmentCircle(b->a, b->b, 3, arc.m_start, arc.m_end, centre, arc.m_rx, q[0], q[1], seg[0], seg[1],
                               in[0], in[1]);
        // On the boundary segment, beyond the arc.
        for (int i = 0; i < 2; ++i)
            ok[i] = seg[i] && !in[i];
    } else {
        IntersectCircles(2, arc.m_start, arc.m_end, centre, arc.m_rx, b->start, b->end, b->centre, b->r, q[0], q[1],
                         ok[0], ok[1]);
    }
    int chosen = -1;
    for (int i = 0; i < 2; ++i)
        if (ok[i] && (chosen < 0 || AngleBetween(Bearing(centre, q[i]), moving) <
                                        AngleBetween(Bearing(centre, q[chosen]), moving)))
            chosen = i;
    if (chosen < 0)
        return false;
    start = arc.m_start;
    end = arc.m_end;
    (moveEnd ? end : start) = Bearing(centre, q[chosen]);
    return start != arc.m_start || end != arc.m_end;
}

}  // namespace

// ---------------------------------------------------------------- extend

void CRectaView::ExtendToBoundary(const CPointd& p, CObject*, int type, POSITION pos)
{
    CRectaDoc* doc = GetDocument();
    const CDib* boundary = LiveRecord(m_pickedSerial, m_pickedEntity);
    if (!boundary) {
        // The boundary left the drawing: the next pick is a boundary again.
        m_pickedEntity = nullptr;
        ShowPrompt(0, "Select Boundary object:");
        return;
    }
    CDib* record = RecordAt(pos);
    const Pt2 pick = Plan(p);
    if (type == ENT_LINE) {
        CPointd p1, p2;
        if (ExtendedLine(*static_cast<const CRecta*>(record->m_entity), *boundary, &pick, p1, p2))
            SetLineEnds(*doc, *this, *record, pos, p1, p2);
    } else if (type == ENT_ARC) {
        auto* arc = static_cast<CArc*>(record->m_entity);
        double start = 0.0, end = 0.0;
        if (ExtendedArc(*arc, *boundary, pick, start, end)) {
            AddUndoStep(UNDO_CHANGED, ENT_ARC, record, pos);
            doc->DrawInAllViews(0, record);
            arc->m_start = start;
            arc->m_end = end;
            doc->DrawInAllViews(1, record);
            doc->SetModifiedFlag();
        }
    }
    CloseState();
}

void CRectaView::ExtendAllToBoundary()
{
    CRectaDoc* doc = GetDocument();
    const CDib* boundary = LiveRecord(m_pickedSerial, m_pickedEntity);
    if (!boundary)
        return;
    for (CDib* record : SelectedRecords()) {
        CPointd p1, p2;
        if (record->m_type == ENT_LINE && record != boundary &&
            ExtendedLine(*static_cast<const CRecta*>(record->m_entity), *boundary, nullptr, p1, p2))
            SetLineEnds(*doc, *this, *record, doc->FindEntityRecord(record), p1, p2);
    }
}

// ---------------------------------------------------------------- cut

void CRectaView::CutEntity(const CPointd& p, CObject* entity, int type, POSITION pos)
{
    const std::optional<Curve> cut = CurveOf(type, entity);
    const std::vector<CDib*> edges = SelectedRecords();
    if (!cut || edges.empty())
        return;
    CDib* record = RecordAt(pos);
    std::vector<Pt2> points;
    for (const CDib* edge : edges)
        if (const std::optional<Curve> e = CurveOf(edge->m_type, edge->m_entity); e && edge != record)
            Crossings(*cut, *e, points);
    const bool selected = FindSelected(pos) != 0;
    const Pt2 pick = Plan(p);
    if (type == ENT_LINE)
        CutRecta(pick, *record, pos, points, selected);
    else if (type == ENT_CIRCLE)
        CutCirc(pick, *record, pos, points, selected);
    else
        CutArc(pick, *record, pos, points, selected);
    CloseState();
}

void CRectaView::AddPieceLike(int type, CObject* piece, const CDib& source, bool selected)
{
    CRectaDoc* doc = GetDocument();
    const POSITION pos = doc->AppendEntityRecord(new CDib(type, piece, source.m_visible));
    doc->SetModifiedFlag();
    CDib* record = doc->GetEntityRecord(pos);
    AddUndoStep(UNDO_ADDED, type, record, pos);
    doc->DrawInAllViews(1, record);
    if (selected)
        AddToSelection(type, pos);
}

void CRectaView::CutRecta(const Pt2& pick, CDib& record, POSITION pos, const std::vector<Pt2>& points, bool selected)
{
    auto& line = *static_cast<CRecta*>(record.m_entity);
    const Pt2 a = Plan(line.m_p1), b = Plan(line.m_p2);
    // Side 2 lies from the pick towards P2; cuts at the line's own ends cut nothing off.
    std::optional<Pt2> side[2];
    for (const Pt2& x : points) {
        if (Distance2D(x, a) <= kTol || Distance2D(x, b) <= kTol)
            continue;
        std::optional<Pt2>& best = side[(x.x - pick.x) * (b.x - a.x) + (x.y - pick.y) * (b.y - a.y) >= 0.0 ? 1 : 0];
        if (!best || Distance2D(x, pick) < Distance2D(*best, pick))
            best = x;
    }
    if (!side[0] && !side[1])
        return;
    CRectaDoc* doc = GetDocument();
    AddUndoStep(UNDO_CHANGED, ENT_LINE, &record, pos);
    doc->DrawInAllViews(0, &record);
    const CPointd end = line.m_p2;
    CRecta* piece = nullptr;
    if (side[0] && side[1]) {
        piece = new CRecta;
        piece->Copy(line);
        piece->m_p1 = OnCarrier(line, *side[1]);
        piece->m_p2 = end;
    }
    if (side[0])
        line.m_p2 = OnCarrier(line, *side[0]);
    else
        line.m_p1 = OnCarrier(line, *side[1]);
    doc->DrawInAllViews(1, &record);
    doc->SetModifiedFlag();
    if (piece)
        AddPieceLike(ENT_LINE, piece, record, selected);
}

void CRectaView::CutCirc(const Pt2& pick, CDib& record, POSITION pos, const std::vector<Pt2>& points, bool selected)
{
    const auto& circle = *static_cast<const CCirc*>(record.m_entity);
    const Pt2 centre = Plan(circle.m_centre);
    const double a = Bearing(centre, pick);
    // The nearest cuts clockwise and counter-clockwise of the pick; one cut, or
    // a cut at the pick itself, leaves the circle whole.
    double cw = kNoArcAngle, ccw = kNoArcAngle;
    for (const Pt2& x : points)
        UpdateArcAngleLimits(centre, x, a, cw, ccw);
    if (!(cw + ccw < kTwoPi - kTol) || cw <= kTol || ccw <= kTol)
        return;
    auto* arc = new CArc(circle.m_width, circle.m_color, circle.m_layer, circle.m_thickness, circle.m_extrusionMode,
                         circle.m_dir.x, circle.m_dir.y, circle.m_dir.z);
    arc->m_style = circle.m_style;
    arc->m_centre = circle.m_centre;
    arc->m_rx = circle.m_rx;
    arc->m_ry = circle.m_ry;
    arc->m_refPoint = circle.m_refPoint;
    arc->m_start = Turn(a + ccw);
    arc->m_end = Turn(a - cw);
    if (selected)
        RemoveFromSelection(m_foundSelected);
    EraseEntityWithUndo(*GetDocument(), *this, record, pos);
    AddPieceLike(ENT_ARC, arc, record, selected);
}

void CRectaView::CutArc(const Pt2& pick, CDib& record, POSITION pos, const std::vector<Pt2>& points, bool selected)
{
    auto& arc = *static_cast<CArc*>(record.m_entity);
    const Pt2 centre = Plan(arc.m_centre);
    double a = Bearing(centre, pick);
    NormalizeAngleToArc(arc.m_start, arc.m_end, a);
    // The nearest cuts before and after the pick along the arc; cuts at its own ends cut nothing off.
    double before = kNoArcAngle, after = kNoArcAngle;
    for (const Pt2& x : points)
        if (Distance2D(x, Plan(arc.StartPoint())) > kTol && Distance2D(x, Plan(arc.EndPoint())) > kTol)
            KeepNearestOnArc(centre, x, a, arc.m_start, arc.m_end, before, after);
    const bool cutBefore = before != kNoArcAngle, cutAfter = after != kNoArcAngle;
    if (!cutBefore && !cutAfter)
        return;
    CRectaDoc* doc = GetDocument();
    AddUndoStep(UNDO_CHANGED, ENT_ARC, &record, pos);
    doc->DrawInAllViews(0, &record);
    CArc* piece = nullptr;
    if (cutBefore && cutAfter) {
        piece = new CArc;
        piece->Copy(arc);
        piece->m_start = Turn(after);
    }
    if (cutBefore)
        arc.m_end = Turn(before);
    else
        arc.m_start = Turn(after);
    doc->DrawInAllViews(1, &record);
    doc->SetModifiedFlag();
    if (piece)
        AddPieceLike(ENT_ARC, piece, record, selected);
}

// Walls, their chains, pillars and solid walls.
#include "arch/archgen.h"

#include "arch/archutil.h"
#include "doc/rectadoc.h"
#include "model/dib.h"
#include "model/recta.h"
#include "model/tdface.h"
#include "view2d/archedit.h"
#include "view2d/archgeom.h"
#include "view2d/lineedit.h"
#include "view2d/rectaview.h"

#include <cmath>

namespace {

// The document's wall-chain points.
enum ChainPoint : int { FIRST_LEFT = 1, FIRST_RIGHT = 2, LAST_LEFT = 3, LAST_RIGHT = 4 };

// The last wall line that starts (or ends) exactly at p in the plan.
std::optional<LineAt> WallFace(const CRectaDoc& doc, const CPointd& p, bool atStart)
{
    std::optional<LineAt> found;
    for (const LineAt& l : ShownLines(doc, kWallsLayer)) {
        const CPointd& end = atStart ? l.line->m_p1 : l.line->m_p2;
        if (end.x == p.x && end.y == p.y)
            found = l;
    }
    return found;
}

// The face ending at the corner and the face starting there now meet where their carriers cross.
void JoinAtCorner(CRectaDoc& doc, CRectaView& view, const std::optional<LineAt>& ending,
                  const std::optional<LineAt>& starting)
{
    if (!ending || !starting || ending->line == starting->line)
        return;
    const CRecta& a = *ending->line;
    const CRecta& b = *starting->line;
    Pt2 c;
    if (!IntersectRectas(a, b, 0, c))
        return;
    // The ending face keeps its start, the starting one its end.
    EndLineAtCorner(doc, view, *ending->record, ending->pos, c, Plan(a.m_p1));
    EndLineAtCorner(doc, view, *starting->record, starting->pos, c, Plan(b.m_p2));
}

}  // namespace

bool MakeWall(CRectaDoc& doc, CRectaView& view, const CPointd& start, const CPointd& end, const CPointd& side,
              int wallCounter, int, double thickness)
{
    Pt2 d;
    if (!(thickness > 0.0) || !std::isfinite(thickness)) {
        Refuse(view, "Walls: the wall thickness must be above 0");
        return false;
    }
    if (!UnitDirection(start, end, d)) {
        Refuse(view, "Walls: the end point lies on the start point");
        return false;
    }
    // The second face lies on the side point's side; on the line itself, to the left.
    const Pt2 left = LeftOf(d);
    const bool offsetLeft = Cross(d, {side.x - start.x, side.y - start.y}) >= 0.0;
    const double s = offsetLeft ? thickness : -thickness;
    const CPointd a = Offset(start, left, s), b = Offset(end, left, s);
    const CPointd& leftStart = offsetLeft ? a : start;
    const CPointd& leftEnd = offsetLeft ? b : end;
    const CPointd& rightStart = offsetLeft ? start : a;
    const CPointd& rightEnd = offsetLeft ? end : b;

    CPointd* chain = doc.m_toolPoints;
    const std::optional<LineAt> previousLeft = WallFace(doc, chain[LAST_LEFT], false);
    const std::optional<LineAt> previousRight = WallFace(doc, chain[LAST_RIGHT], false);
    const COLORREF colour = LayerColour(doc, kWallsLayer);
    AddLineByLayer(doc, view, leftStart, leftEnd, kWallsLayer, colour, 0, doc.m_penWidth);
    const LineAt newLeft{doc.GetLastEntityRecord(), doc.GetLastEntityPosition(),
                         static_cast<CRecta*>(doc.GetLastEntityRecord()->m_entity)};
    AddLineByLayer(doc, view, rightStart, rightEnd, kWallsLayer, colour, 0, doc.m_penWidth);
    const LineAt newRight{doc.GetLastEntityRecord(), doc.GetLastEntityPosition(),
                          static_cast<CRecta*>(doc.GetLastEntityRecord()->m_entity)};
    if (wallCounter <= 1) {
        chain[FIRST_LEFT] = leftStart;
        chain[FIRST_RIGHT] = rightStart;
    } else {
        JoinAtCorner(doc, view, previousLeft, newLeft);
        JoinAtCorner(doc, view, previousRight, newRight);
    }
    chain[LAST_LEFT] = leftEnd;
    chain[LAST_RIGHT] = rightEnd;
    CloseUndoState(view);
    return true;
}

void JoinWalls(CRectaDoc& doc, CRectaView& view, CPointd& a, CPointd& b, CPointd& c, CPointd& d,
               double closeDistance)
{
    if (DistancePoints(c, a) <= closeDistance || DistancePoints(d, b) <= closeDistance) {
        JoinAtCorner(doc, view, WallFace(doc, c, false), WallFace(doc, a, true));
        JoinAtCorner(doc, view, WallFace(doc, d, false), WallFace(doc, b, true));
    }
    CloseUndoState(view);
}

int IntersectSelectedLines(CRectaDoc& doc, CRectaView& view, CPointd& out)
{
    const CRecta* lines[2] = {};
    int found = 0;
    for (POSITION node = view.GetFirstSelectedPosition(); node && found < 2;) {
        const POSITION pos = doc.FindEntityBySerial(view.GetNextSelected(node)->m_serial);
        if (pos && doc.GetEntityRecord(pos)->m_type == ENT_LINE)
            lines[found++] = static_cast<const CRecta*>(doc.GetEntityRecord(pos)->m_entity);
    }
    Pt2 c;
    if (found < 2 || !IntersectRectas(*lines[0], *lines[1], 0, c))
        return 0;
    out = CPointd(c.x, c.y, lines[0]->m_p1.z);
    return 1;
}

void MakePillar(CRectaDoc& doc, CRectaView& view, const CPointd& reference, const CPointd& side)
{
    // The sides' directions: the two reference lines, or x and y.
    Pt2 e[2] = {{1.0, 0.0}, {0.0, 1.0}};
    int found = 0;
    for (POSITION node = view.GetFirstSelectedPosition(); node && found < 2;) {
        const POSITION pos = doc.FindEntityBySerial(view.GetNextSelected(node)->m_serial);
        if (!pos || doc.GetEntityRecord(pos)->m_type != ENT_LINE)
            continue;
        const auto* l = static_cast<const CRecta*>(doc.GetEntityRecord(pos)->m_entity);
        if (UnitDirection(l->m_p1, l->m_p2, e[found]))
            ++found;
    }
    if (found == 1)
        e[1] = LeftOf(e[0]);
    // side - reference = s0·e0 + s1·e1.
    const Pt2 v{side.x - reference.x, side.y - reference.y};
    const double det = Cross(e[0], e[1]);
    const double s0 = Cross(v, e[1]) / det, s1 = Cross(e[0], v) / det;
    if (!(std::abs(s0) > 0.0 && std::abs(s1) > 0.0) || !std::isfinite(s0) || !std::isfinite(s1)) {
        Refuse(view, "Pillar: the side point lies on a reference line");
        return;
    }
    const CPointd p1 = Offset(reference, e[0], s0);
    AddPolylineByLayer(doc, view, {reference, p1, Offset(p1, e[1], s1), Offset(reference, e[1], s1)}, true,
                       kWallsLayer);
    CloseUndoState(view);
}

void MakeSolidWalls(CRectaDoc& doc, CRectaView& view)
{
    const double height = doc.m_thickness;
    if (!(height > 0.0) || !std::isfinite(height)) {
        Refuse(view, "Solids: the thickness must be above 0");
        return;
    }
    const COLORREF colour = LayerColour(doc, kWallsLayer);
    for (const LineAt& l : ShownLines(doc, kWallsLayer)) {
        const CPointd& a = l.line->m_p1;
        const CPointd& b = l.line->m_p2;
        const CPointd corners[4] = {a, b, CPointd(b.x, b.y, b.z + height), CPointd(a.x, a.y, a.z + height)};
        doc.AddTdfaceOnLayer(doc.m_penWidth, colour, kWallsLayer, corners);
        RecordLastAdded(doc, view);
    }
    CloseUndoState(view);
}

// Line services shared by the editing commands and the wall tools: a line cut
// back or drawn out to a corner, and two lines in line made one. Each records
// its undo steps in the view's pending list; the caller closes the state.
#pragma once

#include "model/geometry.h"
#include "model/pointd.h"
#include "platform/oblist.h"

class CArc;
class CDib;
class CRecta;
class CRectaDoc;
class CRectaView;

// The point of the line's carrier at the foot of p, its height taken along the
// line; p itself at the line's first height when the line has no length.
CPointd OnCarrier(const CRecta& line, const Pt2& p);

// The ends of line once it runs to corner (a point of its carrier) on the
// side of toward: the end lying farthest on that side stays (the end farther
// from corner when neither does) and the other becomes corner, its height
// taken along the line. Returns which end is the corner now, 1 or 2.
int CornerEnds(const CRecta& line, const Pt2& corner, const Pt2& toward, CPointd& p1, CPointd& p2);

// The line of the record at pos runs to corner as CornerEnds says, keeping its
// direction: one changed step when it moves. False when the record is not in
// the drawing or holds no line.
bool EndLineAtCorner(CRectaDoc& doc, CRectaView& view, CDib& record, POSITION pos, const Pt2& corner,
                     const Pt2& toward);

// When the lines of keep and gone lie in line (every end within 0.0001 of the
// other's carrier, both of some length): keep spans the outermost two of the
// four ends, in its own direction, with one changed step, and gone leaves the
// drawing with one erased step. False, and nothing changed, otherwise.
bool JoinLinesInLine(CRectaDoc& doc, CRectaView& view, CDib& keep, POSITION keepPos, CDib& gone, POSITION gonePos);

// Rounds the corner where line1 and line2 meet (an end of each within 0.001 of
// corner in x and y, else its other end) with an arc of the radius: each end at
// the corner moves to its tangent point and a new arc of the drawing (not drawn,
// no undo step) runs the short way between them. Null, and the lines as they
// were, when the tangent points would lie beyond either line.
CArc* FilletArc(CRectaDoc& doc, CRecta& line1, CRecta& line2, const Pt2& corner, double radius);

// Picking, window selection and object snap of polylines and dimensions,
// part by part with the rules of lines, arcs and texts.
#pragma once

#include "model/geometry.h"
#include "model/pointd.h"

class CObject;
class CPLine;
class CAcot;
class CTdface;
class CDib;
class CRecta;

// Nearest qualifying line or arc segment; kNoPickDist when none qualifies.
double PickDistPLine(const CPLine& pl, const CPointd& p);
// Nearest qualifying line part, 0 inside a text part; kNoPickDist when none qualifies.
double PickDistAcot(const CAcot& dim, const CPointd& p);
// Nearest qualifying edge of the four, by the line rule; kNoPickDist when none qualifies.
double PickDistTdface(const CTdface& face, const CPointd& p);

// Crossing (mode 1) passes on any part, window (0) needs every part; no parts never pass.
bool PLineInSelWindow(const CPLine& pl, const Pt2 (&q)[4], int mode);
bool AcotInSelWindow(const CAcot& dim, const Pt2 (&q)[4], int mode);
// The four edges as lines.
bool TdfaceInSelWindow(const CTdface& face, const Pt2 (&q)[4], int mode);

// The first segment (line or arc) or line part that touches the pick box
// becomes the candidate: its type, entity, distance and, for a line, the
// foot of the perpendicular from p. The outs are untouched on a miss.
bool SnapPLine(const CPLine& pl, const Pt2 (&box)[4], Pt2 p, int& type, const CObject*& part, Pt2& foot,
               double& dist);
bool SnapAcot(const CAcot& dim, const Pt2 (&box)[4], Pt2 p, int& type, const CObject*& part, Pt2& foot,
              double& dist);

// The face's edge i (0-3, corner i+1 to the next) as a line with its pen and layer.
CRecta TdfaceEdge(const CTdface& face, int i);
// The first edge that touches the pick box becomes the candidate: a new line
// element the caller owns, with the foot and distance. Null on a miss.
CDib* SnapTdface(const CTdface& face, const Pt2 (&box)[4], Pt2 p, Pt2& foot, double& dist);

// Picking, window selection and object snap of polylines and dimensions,
// part by part with the rules of lines, arcs and texts.
#pragma once

#include "model/geometry.h"
#include "model/pointd.h"

class CObject;
class CPLine;
class CAcot;

// Nearest qualifying line or arc segment; kNoPickDist when none qualifies.
double PickDistPLine(const CPLine& pl, const CPointd& p);
// Nearest qualifying line part, 0 inside a text part; kNoPickDist when none qualifies.
double PickDistAcot(const CAcot& dim, const CPointd& p);

// Crossing (mode 1) passes on any part, window (0) needs every part; no parts never pass.
bool PLineInSelWindow(const CPLine& pl, const Pt2 (&q)[4], int mode);
bool AcotInSelWindow(const CAcot& dim, const Pt2 (&q)[4], int mode);

// The first segment (line or arc) or line part that touches the pick box
// becomes the candidate: its type, entity, distance and, for a line, the
// foot of the perpendicular from p. The outs are untouched on a miss.
bool SnapPLine(const CPLine& pl, const Pt2 (&box)[4], Pt2 p, int& type, const CObject*& part, Pt2& foot,
               double& dist);
bool SnapAcot(const CAcot& dim, const Pt2 (&box)[4], Pt2 p, int& type, const CObject*& part, Pt2& foot,
              double& dist);

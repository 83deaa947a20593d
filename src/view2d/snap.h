// Grid snap and the per-type candidate tests of object snap.
#pragma once

#include "model/geometry.h"
#include "model/pointd.h"

class CRecta;
class CCirc;
class CArc;

// x and y to the nearest multiple of step, halves upwards; no change when step is not
// positive or a coordinate would not stay finite. z is kept.
void SnapToGrid(CPointd& p, double step);

// Pick-box tests; box holds the four corners in order. Each gives true with the
// distance from p when the entity touches the box, and leaves the outs otherwise.
// A line also gives the foot of the perpendicular from p.
bool SnapRecta(const CRecta& line, const Pt2 (&box)[4], Pt2 p, Pt2& foot, double& dist);
bool SnapCirc(const CCirc& circ, const Pt2 (&box)[4], Pt2 p, double& dist);
bool SnapArc(const CArc& arc, const Pt2 (&box)[4], Pt2 p, double& dist);

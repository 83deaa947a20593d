// Point helpers of the architectural tools. Out points may alias inputs.
#pragma once

#include "model/pointd.h"

class CRecta;

// out := (x + distance cos angle, y + distance sin angle, z); angle in radians.
void PolarPoint(const CPointd& p, double distance, double angle, CPointd& out);
// Distance in the plan (x, y).
double DistancePoints(const CPointd& a, const CPointd& b);
// Plan direction from a to b in [0, 2pi); 0 when they coincide in the plan.
double AnglePoints(const CPointd& a, const CPointd& b);
// out := midpoint of x, y and z.
void MidPoint(const CPointd& a, const CPointd& b, CPointd& out);
// Foot of the plan perpendicular from p on the line's carrier (z taken along
// the line) and p's plan distance to it; 0.0 with foot untouched when the
// line has no length in the plan.
double PerpendicularFoot(const CPointd& p, const CRecta& line, CPointd& foot);

// Working-plane geometry: a plane's axes and the product that takes points
// between the world and the plane's coordinates.
#pragma once

#include "model/pointd.h"

// Working-plane kinds.
enum PlaneMode : int {
    PLANE_VERTICAL = 1,      // a vertical section through two points
    PLANE_THREE_POINTS = 2,  // the plane through three points
};

// out := m · (p.x, p.y, p.z), m given by its rows; out may alias p.
void MulMatrixPoint(const double (&m)[3][3], const CPointd& p, CPointd& out);

// 1 when each component of a differs from the same component of b by less
// than 0.0001, else 0.
int SameDirection(const CPointd& a, const CPointd& b);

// The axes of the plane through o with its X axis towards p, as the rows u,
// v, w of axes (world to plane). Vertical: u runs from o to p, v is the part
// of straight up square to u. Three points: v is the part of o-q square to
// u. In both w = u x v, so the three are orthonormal and the plane's
// transpose takes points back exactly. False, axes untouched, when the
// points leave the plane undefined: a vertical plane through one point of
// the plan, or three points on one line.
bool PlaneAxes(int mode, const CPointd& o, const CPointd& p, const CPointd& q, double (&axes)[3][3]);

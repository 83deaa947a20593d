// The plan view's tests of block inserts: picking, window selection and the
// entities that object snap searches. Each finds the insert's block by name
// in the drawing; a missing block never passes.
#pragma once

#include "model/bloq.h"
#include "model/geometry.h"

class CEntityContext;
struct NestedWork;

// The smallest pick distance of the placed block entities within t of p
// (farther ones cannot be picked): lines and arcs where they qualify, texts
// (0) when p is inside; kNoPickDist when none. Nested blocks spend from
// work, which one click's search shares.
double PickDistInsBl(const CEntityContext& drawing, const CInsBl& insert, const CPointd& p, double t,
                     NestedWork& work);
// Window (mode 0): every side of the placed extents box inside the window
// and no window side across the box. Crossing (1): a box side crossing the
// window, else a window side across the box.
bool InsBlInSelWindow(const CEntityContext& drawing, const CInsBl& insert, const Pt2 (&q)[4], int mode);
// Hands the placed pieces of the block's entities that may meet the pick
// box to leaf for object snap, nested inserts likewise. Nested blocks spend
// from work, which one click's search shares.
void WalkSnapPieces(const CEntityContext& drawing, const CInsBl& insert, const Pt2 (&box)[4], NestedWork& work,
                    const PlacedPartFn& leaf);

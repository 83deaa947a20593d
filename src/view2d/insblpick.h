// The plan view's tests of block inserts: picking, window selection and the
// entities that object snap searches. Each finds the insert's block by name
// in the drawing; a missing block never passes.
#pragma once

#include "model/bloq.h"
#include "model/geometry.h"

#include <cstddef>

class CEntityContext;

// p inside the placed extents box or within margin of its sides.
bool InsBlContainsPoint(const CEntityContext& drawing, const CInsBl& insert, const CPointd& p, double margin);
// The smallest pick distance of the placed block entities: lines and arcs
// where they qualify, texts (0) when p is inside; kNoPickDist when none.
// Spends from budget, which one click's search shares.
double PickDistInsBl(const CEntityContext& drawing, const CInsBl& insert, const CPointd& p, std::size_t& budget);
// Window (mode 0): every side of the placed extents box inside the window
// and no window side across the box. Crossing (1): a box side crossing the
// window, else a window side across the box.
bool InsBlInSelWindow(const CEntityContext& drawing, const CInsBl& insert, const Pt2 (&q)[4], int mode);
// Hands the placed pieces of the block's entities to leaf for object snap,
// when the insert's placed extents box meets the pick box; nested inserts
// likewise. Spends from budget, which one click's search shares.
void WalkSnapPieces(const CEntityContext& drawing, const CInsBl& insert, const Pt2 (&box)[4], std::size_t& budget,
                    const PlacedPartFn& leaf);

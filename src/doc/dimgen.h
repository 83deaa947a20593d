// Re-measuring a dimension whose definition line was stretched.
#pragma once

#include "model/geometry.h"
#include "model/pointd.h"

class CAcot;
class CRectaDoc;

// Line-part ends inside the window move by to - from; every text part is
// moved the same way, then gets the stretched definition line's length (with
// decimals) and sits at its middle, doc's text distance to its left.
void StretchAcot(CAcot& dim, const CRectaDoc& doc, const CPointd& from, const CPointd& to,
                 const Pt2 (&window)[4], int decimals);

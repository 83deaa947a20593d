// Per-entity pick geometry: how far a click lies from an entity, and whether
// an entity passes a selection window. Only x and y of the points are used.
#pragma once

#include "model/geometry.h"
#include "model/pointd.h"

class CRecta;
class CCirc;
class CArc;
class CPunt;
class CText;

// Distance that stands for no hit.
inline constexpr double kNoPickDist = 10000.0;

inline Pt2 ToPt2(const CPointd& p)
{
    return {p.x, p.y};
}

// True with the distance to the perpendicular foot when the foot lies on the segment; else dist is untouched.
bool PickDistRecta(const CRecta& line, const CPointd& p, double& dist);
// |distance to the centre - radius|.
double PickDistCirc(const CCirc& circ, const CPointd& p);
// True with |distance to the centre - radius| when p's direction from the centre lies
// within the arc; else dist is untouched.
bool PickDistArc(const CArc& arc, const CPointd& p, double& dist);
// Plan distance to the point.
double PickDistPunt(const CPunt& punt, const CPointd& p);
// True with distance 0 when p lies inside the text's box; else dist is untouched.
bool PickDistText(const CText& text, const CPointd& p, double& dist);

// Window tests against quad q (corners in order); mode 0 wholly inside, 1 crossing or inside.
bool RectaInSelWindow(const CRecta& line, const Pt2 (&q)[4], int mode);
bool CircInSelWindow(const CCirc& circ, const Pt2 (&q)[4], int mode);
bool ArcInSelWindow(const CArc& arc, const Pt2 (&q)[4], int mode);
// Inside the window whatever the mode.
bool PuntInSelWindow(const CPunt& punt, const Pt2 (&q)[4], int mode);
// The box's four sides as segments: crossing passes on any side, window needs all four.
bool TextInSelWindow(const CText& text, const Pt2 (&q)[4], int mode);

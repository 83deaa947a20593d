// Per-entity pick geometry: how far a click lies from an entity, and whether
// an entity passes a selection window. Only x and y of the points are used.
#pragma once

#include "model/geometry.h"
#include "model/pointd.h"

#include <algorithm>

class CRecta;
class CCirc;
class CArc;
class CPunt;
class CText;

// Distance that stands for no hit.
inline constexpr double kNoPickDist = 10000.0;

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

// Window test of a four-sided outline by its sides; sideIn(i) answers for the
// side from corner i to the next. Mode 0 needs all four, crossing any one.
template <class SideIn>
bool SidesInSelWindow(int mode, SideIn&& sideIn)
{
    for (int i = 0; i < 4; ++i) {
        const bool in = sideIn(i);
        if (mode == 0 && !in)
            return false;
        if (mode != 0 && in)
            return true;
    }
    return mode == 0;
}

// The window's bounding box holds the entity and the window holds its point p.
template <class Entity>
bool HeldInSelWindow(const Entity& e, const CPointd& p, const Pt2 (&q)[4])
{
    const double x1 = std::min(q[0].x, q[2].x), x2 = std::max(q[0].x, q[2].x);
    const double y1 = std::min(q[0].y, q[2].y), y2 = std::max(q[0].y, q[2].y);
    return e.IsInRect(x1, y1, x2, y2) && PointInQuad(q[0], q[1], q[2], q[3], Plan(p));
}

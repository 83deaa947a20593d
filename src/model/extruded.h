// Entities of extrusion mode 1: the faces they sweep along their extrusion
// direction, in space, and their outline in the plan view.
#pragma once

#include "model/pointd.h"

#include <vector>

class CDC;
class CRecta;
class CCirc;
class CArc;

// The extruded face of a line: P1, P2, P2 raised by its thickness at P2, P1
// raised by its thickness at P1, along its unit direction.
void ExtrudedFace(const CRecta& line, CPointd (&corners)[4]);

// The points along a circle's or an arc's path and the same points raised.
struct ExtrudedBand {
    std::vector<CPointd> base, top;
    bool closed = false;  // a circle: the last point joins the first
};
ExtrudedBand ExtrudedBandOf(const CCirc& circle);
ExtrudedBand ExtrudedBandOf(const CArc& arc);

// The plane a circle or an arc of extrusion mode 1 lies in, angles counted
// from x towards y: x along the reference direction, y = direction × x; the
// ground's axes when the reference direction gives none.
void CurveAxes(const CPointd& refPoint, const CPointd& dir, CPointd& x, CPointd& y);

// In the plan view, mapped by scale and origin: with the entity's pen, the
// dotted pen, or inverting the pixels (Xor), so that drawing twice restores the screen.
void DrawRectaPersp(CDC& dc, const CRecta& line, double scale, double ox, double oy);
void DrawRectaPerspDotted(CDC& dc, const CRecta& line, double scale, double ox, double oy);
void DrawRectaPerspXor(CDC& dc, const CRecta& line, double scale, double ox, double oy);
void DrawCircPersp(CDC& dc, const CCirc& circle, double scale, double ox, double oy);
void DrawCircPerspDotted(CDC& dc, const CCirc& circle, double scale, double ox, double oy);
void DrawCircPerspXor(CDC& dc, const CCirc& circle, double scale, double ox, double oy);
void DrawArcPersp(CDC& dc, const CArc& arc, double scale, double ox, double oy);
void DrawArcPerspDotted(CDC& dc, const CArc& arc, double scale, double ox, double oy);
void DrawArcPerspXor(CDC& dc, const CArc& arc, double scale, double ox, double oy);


// Entities of extrusion mode 1 in the plan view: the outline of the extruded
// faces, projected onto the plan along the entity's extrusion direction.
#pragma once

class CDC;
class CRecta;
class CCirc;
class CArc;
enum class DrawKind;

// kind erase inverts the pixels, so drawing twice restores the screen.
void DrawExtrudedRecta(CDC& dc, const CRecta& line, double scale, double ox, double oy, DrawKind kind);
void DrawExtrudedCirc(CDC& dc, const CCirc& circle, double scale, double ox, double oy, DrawKind kind);
void DrawExtrudedArc(CDC& dc, const CArc& arc, double scale, double ox, double oy, DrawKind kind);

void DrawRectaPersp(CDC& dc, const CRecta& line, double scale, double ox, double oy);
void DrawRectaPerspDotted(CDC& dc, const CRecta& line, double scale, double ox, double oy);
void DrawRectaPerspXor(CDC& dc, const CRecta& line, double scale, double ox, double oy);
void DrawCircPersp(CDC& dc, const CCirc& circle, double scale, double ox, double oy);
void DrawCircPerspDotted(CDC& dc, const CCirc& circle, double scale, double ox, double oy);
void DrawCircPerspXor(CDC& dc, const CCirc& circle, double scale, double ox, double oy);
void DrawArcPersp(CDC& dc, const CArc& arc, double scale, double ox, double oy);
void DrawArcPerspDotted(CDC& dc, const CArc& arc, double scale, double ox, double oy);
void DrawArcPerspXor(CDC& dc, const CArc& arc, double scale, double ox, double oy);

// The drawing's cameras as the plan view shows them, and the axes icon of
// a user coordinate system.
#pragma once

class CDC;
class CRectaDoc;
class CPointd;
struct WorldMap;

// Every camera and its target, each joined to the other by a dotted line.
void ShowCamaras(CDC& dc, const WorldMap& map, const CRectaDoc& doc);
// A camera symbol (a small square) or a target symbol (a small cross) at p.
void DrawCamara(CDC& dc, const WorldMap& map, const CRectaDoc& doc, int index, const CPointd& p);
void DrawObjetivo(CDC& dc, const WorldMap& map, const CRectaDoc& doc, int index, const CPointd& p);
// The plane's X and Y axes as two labelled arrows in the lower left corner of
// a plan view's logical mapping (one unit a pixel, y up, the origin at the corner).
void DrawEjesIcon(CDC& dc);

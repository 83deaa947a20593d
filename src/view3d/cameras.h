// The drawing's six cameras and six lights as the plan view shows them.
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

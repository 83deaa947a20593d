// Entities of extrusion mode 1 in the plan view: the outline of the extruded
// faces, projected onto the plan along the entity's extrusion direction.
#pragma once

class CDC;
class CRecta;
class CCirc;
class CArc;
struct WorldMap;
enum class DrawKind;

// kind erase inverts the pixels, so drawing twice restores the screen.
void DrawExtrudedRecta(CDC& dc, const CRecta& line, const WorldMap& map, DrawKind kind);
void DrawExtrudedCirc(CDC& dc, const CCirc& circle, const WorldMap& map, DrawKind kind);
void DrawExtrudedArc(CDC& dc, const CArc& arc, const WorldMap& map, DrawKind kind);

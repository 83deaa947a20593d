// The islands of a line hatch, taken from the drawing's entities.
#pragma once

#include "model/hatchlines.h"

class CObject;
class CEntityContext;

// Adds to island what the entity of this type leaves out of a hatch: a
// circle, a text's box, a polyline's lines and arcs, or the contents of an
// insert's block as the insert places them (lines, circles, arcs, texts'
// boxes, polylines and the drawn parts of dimensions, nested inserts
// followed). False, and nothing added, for other kinds and for an insert
// whose block the drawing lacks.
bool AddHatchIsland(int type, const CObject* entity, const CEntityContext& drawing, HatchIsland& island);

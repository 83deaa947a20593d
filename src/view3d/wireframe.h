// What a 3D view draws of each kind of entity: its edges in space.
#pragma once

#include "model/pointd.h"

#include <vector>

class CEntityContext;
class CObject;

struct Edge3 {
    CPointd a, b;
};

// Appends the entity's edges: lines, circles and arcs with their extruded
// faces when they have them, points as a cross, texts as their box,
// polylines and dimensions by their parts, 3D faces without the edges their
// mask hides. Block inserts and kinds without edges append nothing.
void AppendEdges3D(int type, const CObject* entity, const CEntityContext& drawing, std::vector<Edge3>& edges);

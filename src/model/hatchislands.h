// The islands of a line hatch, taken from the drawing's entities.
#pragma once

#include "model/hatchlines.h"

#include <cstddef>

class CObject;
class CEntityContext;

// Adds to island what the entity of this type leaves out of a hatch: a
// circle, a text's box, a polyline's lines and arcs, or the contents of an
// insert's block as the insert places them (lines, circles, arcs, texts'
// boxes, polylines and the drawn parts of dimensions, nested inserts
// followed). False, and nothing added, for other kinds and for an insert
// whose block the drawing lacks.
// An insert's block is walked whole on budget (its own kIslandWalkBudget when
// null); when the budget runs out first the island is marked not whole.
bool AddHatchIsland(int type, const CObject* entity, const CEntityContext& drawing, HatchIsland& island,
                    std::size_t* budget = nullptr);

// Entities and parts that the islands of one hatch may take from blocks.
inline constexpr std::size_t kIslandWalkBudget = 2'000'000;

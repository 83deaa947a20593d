// Measures of a closed polygon held as a list of CPointd, in order.
#pragma once

#include "model/pointd.h"
#include "platform/oblist.h"

// Appends a new copy of p (x, y and z).
void AppendPointCopy(const CPointd& p, CObList& points);
// The signed area in the plan: positive counter-clockwise; 0 for fewer than three points.
double PolygonArea(const CObList& points);
// The length round the polygon, the closing side included.
double PolygonPerimeter(const CObList& points);

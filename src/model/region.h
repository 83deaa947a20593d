// Regions: closed outlines made into device regions and filled, and the
// region blocks, whose first polyline is filled but for the polylines after it.
#pragma once

#include "model/entitydraw.h"
#include "platform/oblist.h"
#include "platform/region.h"

class CBloq;
struct CPlacement;

// The polygon of the CPointd of points, mapped to device pixels through map
// and dc; points is emptied (its points freed). False, and region left empty,
// for fewer than three points. Any number of points makes a region.
bool PolygonRegionFromPoints(CObList& points, const CDC& dc, CRgn& region, const WorldMap& map);
// Fills the region with a solid brush of the colour.
void FillRegion(CDC& dc, COLORREF colour, const CRgn& region);
// Every block may become a region.
inline bool CanBlockBeRegion(const CBloq&)
{
    return true;
}
// The fill of a region block placed by p, drawn before its entities: in its
// colour attributes' colour (normal) or the background colour (erase); dotted
// drawing has none. Nothing for a block without colour attributes or whose
// first entity is not a polyline.
void FillBlockRegion(CDC& dc, const WorldMap& map, DrawKind kind, const CBloq& block, const CPlacement& p);

// The points that stand for one entity in the drawing extents, one function
// per entity class.
#pragma once

#include "model/pointd.h"

#include <functional>

class CRecta;
class CCirc;
class CArc;
class CPunt;
class CText;
class CPLine;
class CAcot;
class CInsBl;
class CTdface;
class CObject;

using PointFn = std::function<void(const CPointd&)>;

// Both ends of a line; (cx ± r, cy ± r) of a circle; seven samples and the
// end of an arc (end < start gains 2π); a point; the corners of a text's box;
// the line and arc segments of a polyline; a face's four corners. Dimensions
// and inserts add none (an insert's placed block box widens the drawing's
// extents on its own).
void AddExtentsPoints(const CRecta& line, const PointFn& add);
void AddExtentsPoints(const CCirc& circle, const PointFn& add);
void AddExtentsPoints(const CArc& arc, const PointFn& add);
void AddExtentsPoints(const CPunt& point, const PointFn& add);
void AddExtentsPoints(const CText& text, const PointFn& add);
void AddExtentsPoints(const CPLine& pline, const PointFn& add);
void AddExtentsPoints(const CAcot& dim, const PointFn& add);
void AddExtentsPoints(const CInsBl& insert, const PointFn& add);
void AddExtentsPoints(const CTdface& face, const PointFn& add);

// The points that bound an arc whole: both ends and the quadrant points
// (centre ± r on either axis) its sweep passes; for a polyline, those of its
// arcs and its lines' ends. Every other entity gives its extents points.
void AddBoundsPoints(int type, const CObject* entity, const PointFn& add);

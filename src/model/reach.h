// Where an entity of a block can show once an insert places it, one function
// per entity class, for the block index.
#pragma once

#include "model/geometry.h"

class CRecta;
class CCirc;
class CArc;
class CPunt;
class CText;
class CPLine;
class CAcot;
class CTdface;
class CHatch;
class CBmp;

// The placed copy shows within box (block coordinates) as the insert places
// it, grown by pad drawing units for what keeps its size when placed: circle
// and arc radii (an arc under a scale of 0 or below takes the scale on, at
// most the larger one), text boxes and bitmaps. A marker also draws a mark
// whose size the drawing sets (a point's cross, a hatch's marker).
struct PlacedReach {
    PlanBox box;
    double pad = 0.0;
    bool marker = false;

    // Holds a point, and every bound and the pad are finite.
    bool Bounded() const;
};

// Each widens reach by the entity: a line's ends; the centre and radius of a
// circle or arc, whole; a point; a text's insertion point and the farthest
// corner of its box; the segments of a polyline and the line and text parts
// of a dimension; a face's corners in plan; a hatch's seed; a bitmap's
// corner and diagonal.
void AddPlacedReach(const CRecta& line, PlacedReach& reach);
void AddPlacedReach(const CCirc& circle, PlacedReach& reach);
void AddPlacedReach(const CArc& arc, PlacedReach& reach);
void AddPlacedReach(const CPunt& point, PlacedReach& reach);
void AddPlacedReach(const CText& text, PlacedReach& reach);
void AddPlacedReach(const CPLine& pline, PlacedReach& reach);
void AddPlacedReach(const CAcot& dim, PlacedReach& reach);
void AddPlacedReach(const CTdface& face, PlacedReach& reach);
void AddPlacedReach(const CHatch& hatch, PlacedReach& reach);
void AddPlacedReach(const CBmp& bmp, PlacedReach& reach);

// Placement by a block insert, rotation about a point and reflection across
// a line, one function per entity class; each changes the entity in place.
// Angles are radians, counter-clockwise.
#pragma once

#include "model/geometry.h"
#include "model/insbl.h"
#include "model/pointd.h"

class CObject;
class CObList;
class CRecta;
class CCirc;
class CArc;
class CPunt;
class CText;
class CPLine;
class CAcot;
class CTdface;
class CBloq;
class CRectaDoc;

// x' = sx·x + X, y' = sy·y + Y, z' = z + Z; the rotation is not applied.
void TransformPoint(CPointd& p, const CPlacement& pl);
// The whole placement: scaled, moved, then turned about the insertion point.
CPointd PlacePoint(const CPointd& p, const CPlacement& pl);

// Placement: the defining points are placed, then turned by the rotation.
// A circle keeps its radius, a text its height; an arc placed with a scale
// of 0 or below is rebuilt from its placed ends (ends exchanged, and its
// direction word flipped, when the placement mirrors).
void TransformRecta(CRecta& e, const CPlacement& pl);
void TransformCirc(CCirc& e, const CPlacement& pl);
void TransformArc(CArc& e, const CPlacement& pl);
void TransformPunt(CPunt& e, const CPlacement& pl);
void TransformText(CText& e, const CPlacement& pl);
void TransformPLine(CPLine& e, const CPlacement& pl);
void TransformAcot(CAcot& e, const CPlacement& pl);
void TransformTdface(CTdface& e, const CPlacement& pl);
// A nested insert inside a block placed by pl: its insertion point is placed
// (z kept), its rotation turned by pl's (and reversed first when pl mirrors)
// and its scales multiplied by pl's.
void PlaceNestedInsBl(CInsBl& e, const CPlacement& pl);

// Rotation about centre by angle: points turn, arc angles and insert
// rotations grow by angle, a text's escapement drops by angle in tenths of a
// degree (truncated).
void RotatePoint(CPointd& p, const CPointd& centre, double angle);
void RotateRecta(CRecta& e, const CPointd& centre, double angle);
void RotateCirc(CCirc& e, const CPointd& centre, double angle);
void RotateArc(CArc& e, const CPointd& centre, double angle);
void RotatePunt(CPunt& e, const CPointd& centre, double angle);
void RotateText(CText& e, const CPointd& centre, double angle);
void RotatePLine(CPLine& e, const CPointd& centre, double angle);
void RotateAcot(CAcot& e, const CPointd& centre, double angle);
void RotateTdface(CTdface& e, const CPointd& centre, double angle);
void RotateInsBl(CInsBl& e, const CPointd& centre, double angle);

// Reflection across the line through mirror's end points, along direction
// dir (the perpendicular, as a rule). A point is left alone when dir runs
// parallel to the line.
void MirrorPoint(CPointd& p, const CRecta& mirror, double dir);
void MirrorRecta(CRecta& e, const CRecta& mirror, double dir);
void MirrorCirc(CCirc& e, const CRecta& mirror, double dir);
// Ends exchanged and the direction word flipped; the radius is kept.
void MirrorArc(CArc& e, const CRecta& mirror, double dir);
void MirrorPunt(CPunt& e, const CRecta& mirror, double dir);
// The insertion point moves; unless the text runs along the line, left and
// right justification swap and any other becomes centred.
void MirrorText(CText& e, const CRecta& mirror, double dir);
void MirrorPLine(CPLine& e, const CRecta& mirror, double dir);
void MirrorAcot(CAcot& e, const CRecta& mirror, double dir);
void MirrorTdface(CTdface& e, const CRecta& mirror, double dir);
// The insert then places every block point at the mirror image of where it
// placed it before: scale x changes sign.
void MirrorInsBl(CInsBl& e, const CRecta& mirror, double dir);

// By type code; false, and nothing changed, for kinds without the operation.
// Placing an insert is PlaceNestedInsBl.
bool PlaceEntity(int type, CObject* entity, const CPlacement& pl);
bool RotateEntity(int type, CObject* entity, const CPointd& centre, double angle);
bool MirrorEntity(int type, CObject* entity, const CRecta& mirror, double dir);
// Translation by to - from (x, y and z); every part of a polyline or dimension.
bool MoveEntity(int type, CObject* entity, const CPointd& from, const CPointd& to);

// Appends every item of source to target; the items are shared, not copied.
void AppendObList(CObList& target, const CObList& source);
void AppendObListItems(CObList& target, const CObList& source);
// Appends to target a new copy of every line, arc and text element of
// source, in new elements; other types are not copied.
void CopyPartList(CObList& target, const CObList& source);
void CopyPLineSegments(CPLine& target, const CPLine& source);
void CopyAcotParts(CAcot& target, const CAcot& source);

// The corners of the block's measured box placed by pl: bottom side
// box[0]-box[1], top side box[2]-box[3]; false when the box is empty or not finite.
bool PlacedBlockBox(const CBloq& block, const CPlacement& pl, Pt2 (&box)[4]);
// 1 when a side of quad q (q0-q1, q1-q2, q2-q3, q3-q0) overlaps the placed
// extents box of the insert's block; 0 otherwise, and for a missing block.
int InsBlBoxCrossesQuad(const CInsBl& insert, const CRectaDoc& doc, const Pt2 (&q)[4]);

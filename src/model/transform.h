// Placement by a block insert, rotation about a point and reflection across
// a line, one function per entity class; each changes the entity in place.
// Angles are radians, counter-clockwise.
#pragma once

#include "model/geometry.h"
#include "model/insbl.h"
#include "model/pointd.h"

class CObject;
class CRecta;
class CCirc;
class CArc;
class CPunt;
class CText;
class CPLine;
class CAcot;
class CTdface;
class CBloq;
class CEntityContext;

// x' = sx·x + X, y' = sy·y + Y, z' = z + Z; the rotation is not applied.
void TransformPoint(CPointd& p, const CPlacement& pl);
// The whole placement: scaled, moved, then turned about the insertion point.
CPointd PlacePoint(const CPointd& p, const CPlacement& pl);

// Placement: the defining points are placed, then turned by the rotation.
// A circle keeps its radius, a text its height; an arc placed with a scale
// of 0 or below is rebuilt from its placed ends (ends exchanged, and its
// direction word flipped, when the placement mirrors).
void PlaceEntity(CRecta& e, const CPlacement& pl);
void PlaceEntity(CCirc& e, const CPlacement& pl);
void PlaceEntity(CArc& e, const CPlacement& pl);
void PlaceEntity(CPunt& e, const CPlacement& pl);
void PlaceEntity(CText& e, const CPlacement& pl);
void PlaceEntity(CPLine& e, const CPlacement& pl);
void PlaceEntity(CAcot& e, const CPlacement& pl);
void PlaceEntity(CTdface& e, const CPlacement& pl);
// A nested insert inside a block placed by pl: its insertion point is placed
// (z kept), its rotation turned by pl's (and reversed first when pl mirrors)
// and its scales multiplied by pl's.
void PlaceEntity(CInsBl& e, const CPlacement& pl);

// Rotation about centre by angle: points turn, arc angles and insert
// rotations grow by angle, a text's escapement drops by angle in tenths of a
// degree (truncated).
void RotatePoint(CPointd& p, const CPointd& centre, double angle);
void RotateEntity(CRecta& e, const CPointd& centre, double angle);
void RotateEntity(CCirc& e, const CPointd& centre, double angle);
void RotateEntity(CArc& e, const CPointd& centre, double angle);
void RotateEntity(CPunt& e, const CPointd& centre, double angle);
void RotateEntity(CText& e, const CPointd& centre, double angle);
void RotateEntity(CPLine& e, const CPointd& centre, double angle);
void RotateEntity(CAcot& e, const CPointd& centre, double angle);
void RotateEntity(CTdface& e, const CPointd& centre, double angle);
void RotateEntity(CInsBl& e, const CPointd& centre, double angle);

// Reflection across the line through mirror's end points, along direction
// dir (the perpendicular, as a rule). A point is left alone when dir runs
// parallel to the line.
void MirrorPoint(CPointd& p, const CRecta& mirror, double dir);
void MirrorEntity(CRecta& e, const CRecta& mirror, double dir);
void MirrorEntity(CCirc& e, const CRecta& mirror, double dir);
// Ends exchanged and the direction word flipped; the radius is kept.
void MirrorEntity(CArc& e, const CRecta& mirror, double dir);
void MirrorEntity(CPunt& e, const CRecta& mirror, double dir);
// The insertion point moves; unless the text runs along the line, left and
// right justification swap and any other becomes centred.
void MirrorEntity(CText& e, const CRecta& mirror, double dir);
void MirrorEntity(CPLine& e, const CRecta& mirror, double dir);
void MirrorEntity(CAcot& e, const CRecta& mirror, double dir);
void MirrorEntity(CTdface& e, const CRecta& mirror, double dir);
// The insert then places every block point at the mirror image of where it
// placed it before: scale x changes sign.
void MirrorEntity(CInsBl& e, const CRecta& mirror, double dir);

// Translation by to - from (x, y and z): every defining point; a polyline or
// dimension moves every line, arc and text part; an insert its insertion
// point only (the block is untouched).
void MoveRecta(CRecta& e, const CPointd& from, const CPointd& to);
void MoveCirc(CCirc& e, const CPointd& from, const CPointd& to);
void MoveArc(CArc& e, const CPointd& from, const CPointd& to);
void MovePunt(CPunt& e, const CPointd& from, const CPointd& to);
void MoveText(CText& e, const CPointd& from, const CPointd& to);
void MovePLine(CPLine& e, const CPointd& from, const CPointd& to);
void MoveAcot(CAcot& e, const CPointd& from, const CPointd& to);
void MoveInsBl(CInsBl& e, const CPointd& from, const CPointd& to);
void MoveTdface(CTdface& e, const CPointd& from, const CPointd& to);

// The window of a stretch: a quadrilateral (corners in order; a point is
// inside by its x and y), and what a dimension needs to write its new measure.
struct StretchWindow {
    Pt2 q[4];
    double textDistance = 0.2;  // of a dimension's text from its measured line
    int decimals = 2;           // of a dimension's new measure
};
bool InStretchWindow(const StretchWindow& w, const CPointd& p);

// Stretch by to - from: each end point of the line inside the window moves (x, y and z).
void StretchRecta(CRecta& e, const CPointd& from, const CPointd& to, const StretchWindow& w);
// Line segments as StretchRecta. An arc segment moves whole when both its
// ends lie inside; with one end inside it keeps its sweep and passes through
// its other end and the moved one, so the chain stays joined; otherwise it stays.
void StretchPLine(CPLine& e, const CPointd& from, const CPointd& to, const StretchWindow& w);
// Each corner inside the window moves.
void StretchTdface(CTdface& e, const CPointd& from, const CPointd& to, const StretchWindow& w);
// Line parts as StretchRecta; every text part moves by to - from, then takes
// the definition line's new length (w.decimals) at its middle, w.textDistance
// to the left of its direction.
void StretchAcot(CAcot& e, const CPointd& from, const CPointd& to, const StretchWindow& w);

// By type code (see EntityKind); false, and nothing changed, for kinds
// without the operation. Placing an insert is PlaceEntity(CInsBl&, pl).
bool PlaceEntity(int type, CObject* entity, const CPlacement& pl);
bool RotateEntity(int type, CObject* entity, const CPointd& centre, double angle);
bool MirrorEntity(int type, CObject* entity, const CRecta& mirror, double dir);
// Translation by to - from; false for a null entity.
bool MoveEntity(int type, CObject* entity, const CPointd& from, const CPointd& to);
// The kind's stretch; false for a null entity and for kinds without one
// (circles, arcs, points, texts, inserts: the stretch command moves those whole).
bool StretchEntity(int type, CObject* entity, const CPointd& from, const CPointd& to, const StretchWindow& w);

// The corners of the block's measured box placed by pl: bottom side
// box[0]-box[1], top side box[2]-box[3]; false when the box is empty or not finite.
bool PlacedBlockBox(const CBloq& block, const CPlacement& pl, Pt2 (&box)[4]);
// 1 when a side of quad q (q0-q1, q1-q2, q2-q3, q3-q0) overlaps the placed
// extents box of the insert's block; 0 otherwise, and for a missing block.
int InsBlBoxCrossesQuad(const CInsBl& insert, const CEntityContext& drawing, const Pt2 (&q)[4]);
// False when nothing of the insert's block, placed, can show in the window
// lo-hi (as its block index finds), or the block is missing.
bool InsBlInWindow(const CEntityContext& drawing, const CInsBl& insert, const CPointd& lo, const CPointd& hi);

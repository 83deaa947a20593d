// Generators of the architectural tools. Each adds what it makes through the
// document on the layer of its kind ("WALLS" for walls, pillars, doors and
// windows, "ESCAL2D" for stairs, "COTAS" for automatic dimensions), draws it,
// widens the extents and closes the view's pending steps into one undo
// state. A generator that cannot do its work says why on the prompt line and
// changes nothing.
#pragma once

#include "model/pointd.h"

class CObject;
class CRecta;
class CRectaDoc;
class CRectaView;

// One wall from start to end: its face on the picked line and the face the
// thickness away on the side point's side. From the second wall of a chain
// (wallCounter 2 and up) the faces join the previous wall's at the corner.
// The document's tool points 1 to 4 keep the chain's first left and right
// face starts and its last left and right face ends (left as seen along the
// walls). flag is not used. False, with a message, when it makes no wall.
bool MakeWall(CRectaDoc& doc, CRectaView& view, const CPointd& start, const CPointd& end, const CPointd& side,
              int wallCounter, int flag, double thickness);
// a to d are the document's wall-chain points. A chain whose last left or
// right face ends within closeDistance of the first one's start is closed:
// its last and first walls join at the corner.
void JoinWalls(CRectaDoc& doc, CRectaView& view, CPointd& a, CPointd& b, CPointd& c, CPointd& d, double closeDistance);
// 1 and the crossing of the view's first two selected lines; 0 and out untouched otherwise.
int IntersectSelectedLines(CRectaDoc& doc, CRectaView& view, CPointd& out);
// A closed outline from the reference point to the side point, its sides along
// the view's two selected reference lines (along x and y without them).
void MakePillar(CRectaDoc& doc, CRectaView& view, const CPointd& reference, const CPointd& side);

// Doors and windows are block inserts on "WALLS" whose blocks carry the
// attributes TYPE ("DOOR" or "WINDOW"), WIDTH, WALL (the wall thickness),
// LEAF1 and LEAF2 (doors), FRAME and LEAVES (windows). The opening starts at
// the insertion point and runs away from the reference point, or is centred
// on the insertion point when the two coincide; both face lines of the wall
// open across it. A door swings into the side of the inner wall line.
void BuildDoor(CRectaDoc& doc, CRectaView& view, const CPointd& reference, const CPointd& outer,
               const CPointd& inner);
void BuildDoorD(CRectaDoc& doc, CRectaView& view, const CPointd& reference, const CPointd& outer,
                const CPointd& inner);
void BuildDoorUnequal(CRectaDoc& doc, CRectaView& view, const CPointd& reference, const CPointd& outer,
                      const CPointd& inner, double leaf1, double leaf2);
// first: the reference point, second: the insertion point, both on the inner
// wall line; side: a point of the outer wall line.
void BuildWindow(CRectaDoc& doc, CRectaView& view, const CPointd& first, const CPointd& second,
                 const CPointd& side);
// The picked door or window insert's opening again, in the wall of ref2 and side.
void PlaceDoorCopy(CRectaDoc& doc, CRectaView& view, const CPointd& ref1, const CPointd& ref2, const CPointd& side,
                   CObject* insert);
void PlaceWindowCopy(CRectaDoc& doc, CRectaView& view, const CPointd& ref1, const CPointd& ref2,
                     const CPointd& side, CObject* insert);
// The selected doors or windows go, and the wall faces close across them.
void EraseDoors(CRectaDoc& doc, CRectaView& view);
void EraseWindows(CRectaDoc& doc, CRectaView& view);
// Each selected door or window takes a block of its own with the 3D faces of
// its jambs and leaves (windows: jambs and glass) at the document's heights.
void ApplyDoorHeights3D(CRectaDoc& doc, CRectaView& view);
void ApplyWindowHeights3D(CRectaDoc& doc, CRectaView& view);

// A linear dimension on "COTAS" between each two neighbouring crossings of the
// segment first-second with the wall lines, its line through position; only
// those whose length lies within the document's automatic-dimension limits.
void MakeAutoDims(CRectaDoc& doc, CRectaView& view, const CPointd& first, const CPointd& second,
                  const CPointd& position);
// The area of the enclosure bounded by wall lines (doors and windows closing
// their openings) on the click's side of the picked wall line, in the area
// dialog. Makes nothing.
void MakeEnclosure(CRectaDoc& doc, CRectaView& view, CRecta* wallLine, const CPointd& click);
// A vertical 3D face, the document's thickness high, over every wall line.
void MakeSolidWalls(CRectaDoc& doc, CRectaView& view);

// Stairs in plan on "ESCAL2D", treads about 0.28 apart. One flight from start
// towards the length point, as wide as the width point lies from its line.
void GenEscaleraRecta(CRectaDoc& doc, CRectaView& view, const CPointd& start, const CPointd& length,
                      const CPointd& width);
// Two flights side by side, up and back, with a landing at the length point's end.
void GenEscaleraDosTramos(CRectaDoc& doc, CRectaView& view, const CPointd& start, const CPointd& length,
                          const CPointd& width);
// One turn of 16 treads round a core a fifth of the radius, from the start point.
void GenEscaleraEspiral(CRectaDoc& doc, CRectaView& view, const CPointd& centre, const CPointd& start);

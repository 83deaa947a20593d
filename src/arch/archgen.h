// Generators of the architectural tools. Not built yet: each only says so
// in status pane 0 and changes nothing.
#pragma once

#include "model/pointd.h"

class CObject;
class CRecta;
class CRectaDoc;
class CRectaView;

void MakeWall(CRectaDoc& doc, CRectaView& view, const CPointd& start, const CPointd& end, const CPointd& side,
              int wallCounter, int flag, double thickness);
// a to d are the document's wall-chain points.
void JoinWalls(CRectaDoc& doc, CRectaView& view, CPointd& a, CPointd& b, CPointd& c, CPointd& d, double value);
// 1 and the crossing of the view's first two selected lines; 0 and out untouched otherwise.
int IntersectSelectedLines(CRectaDoc& doc, CRectaView& view, CPointd& out);
void MakePillar(CRectaDoc& doc, CRectaView& view, const CPointd& reference, const CPointd& side);

void BuildDoor(CRectaDoc& doc, CRectaView& view, const CPointd& reference, const CPointd& outer,
               const CPointd& inner);
void BuildDoorD(CRectaDoc& doc, CRectaView& view, const CPointd& reference, const CPointd& outer,
                const CPointd& inner);
void BuildDoorUnequal(CRectaDoc& doc, CRectaView& view, const CPointd& reference, const CPointd& outer,
                      const CPointd& inner, double leaf1, double leaf2);
void BuildWindow(CRectaDoc& doc, CRectaView& view, const CPointd& first, const CPointd& second,
                 const CPointd& side);
// insert: the picked door or window block insert.
void PlaceDoorCopy(CRectaDoc& doc, CRectaView& view, const CPointd& ref1, const CPointd& ref2, const CPointd& side,
                   CObject* insert);
void PlaceWindowCopy(CRectaDoc& doc, CRectaView& view, const CPointd& ref1, const CPointd& ref2,
                     const CPointd& side, CObject* insert);
void EraseDoors(CRectaDoc& doc, CRectaView& view);
void EraseWindows(CRectaDoc& doc, CRectaView& view);
void ApplyDoorHeights3D(CRectaDoc& doc, CRectaView& view);
void ApplyWindowHeights3D(CRectaDoc& doc, CRectaView& view);

void MakeAutoDims(CRectaDoc& doc, CRectaView& view, const CPointd& first, const CPointd& second,
                  const CPointd& position);
void MakeEnclosure(CRectaDoc& doc, CRectaView& view, CRecta* wallLine, const CPointd& click);
void MakeSolidWalls();

void GenEscaleraRecta(CRectaDoc& doc, CRectaView& view, const CPointd& start, const CPointd& length,
                      const CPointd& width);
void GenEscaleraDosTramos(CRectaDoc& doc, CRectaView& view, const CPointd& start, const CPointd& length,
                          const CPointd& width);
void GenEscaleraEspiral(CRectaDoc& doc, CRectaView& view, const CPointd& centre, const CPointd& start);

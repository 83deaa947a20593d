// Surfaces of 3D faces. Each surface's faces go into a new block, named
// "ZP_S" and the surface counter (tool word 11), inserted at the origin on
// the current layer with one undo state. Bad input is refused on the prompt line.
#pragma once

class CPLine;
class CRecta;
class CRectaDoc;
class CRectaView;

// The profile polyline turned a whole turn about the axis line in 12 steps:
// a face between each two neighbouring vertices and steps.
void GenSupRev(CRectaDoc& doc, CRectaView& view, CRecta* axis, CPLine* profile);
// The edge polyline raised straight up by the document's thickness: a face over each span.
void GenSupTab(CRectaDoc& doc, CRectaView& view, CPLine* edge);

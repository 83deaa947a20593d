// Line services of the wall tools: adding, opening, changing and erasing
// wall lines. Each records its undo steps in the view's pending list; the
// operation that calls them closes the state.
#pragma once

#include "model/pointd.h"
#include "platform/oblist.h"
#include "platform/types.h"

#include <string_view>

class CDib;
class CLayer;
class CRecta;
class CRectaDoc;
class CRectaView;

// The layer named exactly name, made (on, in colour) with the whole name when missing.
CLayer* FindOrAddLayer(CRectaDoc& doc, std::string_view name, COLORREF colour);
// A flat line from a to b on the layer (made with colour when missing), in the
// layer's colour; drawn, extents widened, one added step.
CRecta* AddLineByLayer(CRectaDoc& doc, CRectaView& view, const CPointd& a, const CPointd& b, std::string_view layer,
                       COLORREF colour, int style, int width);
// Opens a gap between a and b on the line at pos: the line keeps its part up to
// the point nearer its start, the part from the farther point becomes a new
// line with the same pen and layer. False when the record is not in the drawing.
bool CutGapInLine(CRectaDoc& doc, CRectaView& view, CRecta& line, CDib& record, POSITION pos, const CPointd& a,
                  const CPointd& b);
// The line of the record at pos runs from p1 to p2 now: one changed step,
// erased and drawn again in every view. False when the record is not in the
// drawing or holds no line.
bool SetLineEnds(CRectaDoc& doc, CRectaView& view, CDib& record, POSITION pos, const CPointd& p1,
                 const CPointd& p2);
// One erased step, the entity erased in every view and the record taken out of
// the drawing (the step keeps it). False when the record is not in the drawing.
bool EraseEntityWithUndo(CRectaDoc& doc, CRectaView& view, CDib& record, POSITION pos);

// A whole drawing, a window of it, or one block, drawn fitted into any
// device context: block previews, the clipboard's pictures, the picture a
// drawing shows as an embedded object. Needs no view.
#pragma once

#include "platform/types.h"

#include <functional>
#include <string_view>

class CBloq;
class CDC;
class CDib;
class CObject;
class CPointd;
class CRectaDoc;
struct LOGFONT;
struct LPoint;
struct WorldMap;

// One logical unit a pixel, y up, logical (0, 0) on the bottom-left pixel of
// a width x height target.
void SetupIsotropicMapping(CDC& dc, int width, int height);

// The scale that shows a box ex x ey whole in a target w x h, by the sides
// that have a length (a box of no height fits by its width); 0 when neither
// has one or the target is empty, negative or not finite.
double ComputeFitScale(double ex, double ey, double w, double h);

// The scale that shows the block's box whole in a target of width x height
// pixels, as ComputeFitScale; 0 for a block without a box.
double ComputeBlockFitScale(const CBloq& block, int width, int height);

// The first block of the drawing named exactly name, or null.
CBloq* FindDocBlock(const CRectaDoc& doc, std::string_view name);

// The target's width x height pixels filled with a solid brush of the
// DC's background colour; 0 when the brush cannot be made, else 1.
int FillClientBackground(CDC& dc, int width, int height);
// The target's width x height pixels framed with a one-pixel solid brush of
// colour; 0 when the brush cannot be made, else 1.
int FrameClientRect(CDC& dc, int width, int height, COLORREF colour);

// Text in a font made from font, in colour, on a transparent background.
// Mode 1: aligned at the point by alignment (1 left, 2 right, 3 centre),
// which the current position moves to. Other modes: centred on one line in
// the box lo-hi (logical units). 0 when the pen or font cannot be made, else 1.
int DrawToolTipText(CDC& dc, std::string_view text, const LPoint& at, int alignment, const LOGFONT& font,
                    COLORREF colour, const LPoint& lo, const LPoint& hi, int mode);

// The on/off word of the entity's layer; 0 when no layer has its name.
int GetEntityLayerVisibility(const CRectaDoc& doc, const CObject* entity, int type);

// Draws every record that shows passes in list order, then, over them, the
// hatches that shows passes (their fill stops at what is drawn).
void DrawRecords(const CRectaDoc& doc, CDC& dc, const WorldMap& map, const std::function<bool(const CDib&)>& shows);

// The records on layers that are on (whatever their own visible and flag
// words), fitted into the target with the extents widened by a twentieth of
// their size on each side, their lower-left corner on the target's. The
// document is not changed. False, with nothing drawn, for an empty drawing,
// a target without pixels or extents that give no scale.
bool RenderDrawingToDC(const CRectaDoc& doc, int width, int height, CDC& dc);

// The block placed at the origin with the rotation and scales, fitted with
// its insertion point and half a unit to spare, and a red circle at the
// insertion point. False, with nothing drawn, for a block without extents or
// a target without pixels.
bool RenderBlockToDC(const CRectaDoc& doc, const CBloq& block, double rotation, double sx, double sy, int width,
                     int height, CDC& dc);

// The window lo-hi of the drawing as the plan view shows it, drawn with map:
// records whose visible and flag words are 1, hatches whose layer is on,
// nested blocks culled to the window. With all, the window test is skipped.
// False when nested blocks went past their limit (kNestedWork) and were left out.
bool DrawDrawingWindow(const CRectaDoc& doc, CDC& dc, const WorldMap& map, const CPointd& lo, const CPointd& hi,
                       bool all = false);

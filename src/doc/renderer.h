// A whole drawing, a window of it, or one block, drawn fitted into any
// device context: block previews, the clipboard's pictures, the picture a
// drawing shows as an embedded object. Needs no view.
#pragma once

#include <functional>

class CBloq;
class CDC;
class CDib;
class CObject;
class CPointd;
class CRectaDoc;
struct WorldMap;

// One logical unit a pixel, y up, logical (0, 0) on the bottom-left pixel of
// a width x height target.
void SetupIsotropicMapping(CDC& dc, int width, int height);

// The scale that shows a box ex x ey whole in a target w x h, by the sides
// that have a length (a box of no height fits by its width); 0 when neither
// has one or the target is empty, negative or not finite.
double ComputeFitScale(double ex, double ey, double w, double h);

// The on/off word of the entity's layer; 0 when no layer has its name.
int GetEntityLayerVisibility(const CRectaDoc& doc, const CObject* entity, int type);

// Draws every record that shows passes in list order, then, over them, the
// hatches that shows passes (their fill stops at what is drawn).
void DrawRecords(const CRectaDoc& doc, CDC& dc, const WorldMap& map, const std::function<bool(const CDib&)>& shows);

// The records shown (visible and flag words 1) on layers that are on, fitted
// into the target with a twentieth of the extents' size to spare on each side
// and centred. The document is not changed. False, with nothing drawn, for an
// empty drawing, a target without pixels or extents that give no scale.
bool RenderDrawingToDC(const CRectaDoc& doc, int width, int height, CDC& dc);

// The block placed at the origin with the rotation and scales, fitted with
// its insertion point and half a unit to spare, and a red circle at the
// insertion point. False, with nothing drawn, for a block without extents or
// a target without pixels.
bool RenderBlockToDC(const CRectaDoc& doc, const CBloq& block, double rotation, double sx, double sy, int width,
                     int height, CDC& dc);

// The window lo-hi of the drawing as the plan view shows it, drawn with map:
// records whose visible and flag words are 1, hatches whose layer is on.
// With all, the window test is skipped.
void DrawDrawingWindow(const CRectaDoc& doc, CDC& dc, const WorldMap& map, const CPointd& lo, const CPointd& hi,
                       bool all = false);

// What the architectural generators share: their layers, finding wall lines,
// adding entities with their undo steps, and naming blocks.
#pragma once

#include "model/geometry.h"
#include "model/pointd.h"
#include "platform/oblist.h"
#include "platform/types.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class CBloq;
class CDib;
class CLayer;
class CPLine;
class CRecta;
class CRectaDoc;
class CRectaView;

inline constexpr char kWallsLayer[] = "WALLS";
inline constexpr char kStairsLayer[] = "ESCAL2D";
inline constexpr char kDimsLayer[] = "COTAS";

// A line of the drawing with its record and position.
struct LineAt {
    CDib* record = nullptr;
    POSITION pos = nullptr;
    CRecta* line = nullptr;
};

// a + s·d in the plan, z kept from a.
CPointd Offset(const CPointd& a, const Pt2& d, double s);
// The unit plan direction from a to b; false when they coincide in the plan.
bool UnitDirection(const CPointd& a, const CPointd& b, Pt2& d);
// z x d: d turned a quarter counter-clockwise.
Pt2 LeftOf(const Pt2& d);
double Cross(const Pt2& a, const Pt2& b);
double Dot(const Pt2& a, const Pt2& b);

// Plan distance from p to the segment of the line.
double SegmentDistance(const CPointd& p, const CRecta& line);
// The shown line nearest to p within tolerance, passing over skip; nothing when none is.
std::optional<LineAt> NearestLine(const CRectaDoc& doc, const CPointd& p, double tolerance,
                                  const CRecta* skip = nullptr);
// The shown lines, on layer when it is not empty.
std::vector<LineAt> ShownLines(const CRectaDoc& doc, std::string_view layer);
// How near a picked point must lie to the line it stands for: the pick aperture.
double PickTolerance(const CRectaView& view);

// The layer's colour (the layer made in the current colour when missing).
COLORREF LayerColour(CRectaDoc& doc, std::string_view layer);
// An added step for the record appended last.
void RecordLastAdded(CRectaDoc& doc, CRectaView& view);
// A polyline of straight segments through points (back to the first when
// closed) on the layer, in its colour: drawn, extents widened, one added step.
CPLine* AddPolylineByLayer(CRectaDoc& doc, CRectaView& view, const std::vector<CPointd>& points, bool closed,
                           std::string_view layer);
// The view's pending steps become one undo state.
void CloseUndoState(CRectaView& view);
// Says on the prompt line why a generator made nothing.
void Refuse(CRectaView& view, std::string_view why);

// Both face lines across every shown door's and window's opening, as the
// drawing places them (openings.cpp).
std::vector<std::pair<CPointd, CPointd>> OpeningClosures(const CRectaDoc& doc);

// prefix + counter, the counter raised first until no block has the name.
std::string NewBlockName(const CRectaDoc& doc, std::string_view prefix, int& counter);
// A block of every element of entities (taken over), based at the origin, named name.
CBloq* AddNamedBlock(CRectaDoc& doc, CObList& entities, const std::string& name);
// Shortest text that reads back the same number, and its reading; 0 for text that is no number.
std::string NumberText(double value);
double TextNumber(std::string_view text);

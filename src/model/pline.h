// The polyline entity (type 6): a chain of line (type 1) and arc (type 3)
// segments held as drawing-list elements. Elements of other types are kept
// but passed over by every member.
#pragma once

#include "model/entity.h"
#include "model/pointd.h"
#include "platform/oblist.h"

#include <cstddef>

class CDC;
class CDib;
struct WorldMap;
enum class DrawKind;

class CPLine : public CEntity {
    DECLARE_SERIAL(CPLine)
public:
    CPLine() = default;
    // Full constructor: moves every element of segments (left empty) into the polyline.
    CPLine(int width, COLORREF color, std::string_view layer, CObList& segments, int mode, double dx, double dy,
           double dz);
    CPLine(const CPLine&) = delete;
    CPLine& operator=(const CPLine&) = delete;

    // Pen, layer, colour and fill; not the segments, not the extrusion.
    void CopyAttributes(const CPLine& other);
    // Everything, with new copies of other's segments in place of this one's.
    void Copy(const CPLine& other);

    // The segment elements a copy duplicates.
    std::size_t PartCount() const { return std::size_t(m_segments.GetCount()); }
    POSITION GetFirstSegmentPosition() const { return m_segments.GetHeadPosition(); }
    POSITION GetLastSegmentPosition() const { return m_segments.GetTailPosition(); }
    // The segment at pos and its type code; pos moves on.
    CObject* GetNextSegment(POSITION& pos, int& type) const;
    void DeleteSegments();

    // Colour of the polyline and every segment.
    void SetColor(COLORREF color);
    // Each gives every segment the polyline's own layer, pen style or pen width.
    void SetLayer();
    void SetLineType();
    void SetWidth();

    // Start of the chain (a line gives x, y and z, an arc x and y); false, p untouched, when empty.
    bool GetStartPoint(CPointd& p) const;
    // End of the chain, x and y only; false, p untouched, when empty.
    bool GetEndPoint(CPointd& p) const;
    // Appends the chain's vertices (arcs every 5 degrees) to points as new
    // CPointd. With perimeter 0 on entry the points are measured, area and
    // perimeter set, and points emptied (DeleteAll); otherwise they stay.
    void GetVertices(double& area, CObList& points, double& perimeter) const;
    int IsInRect(double x1, double y1, double x2, double y2) const;

    // Offsets the chain by distance to the side of towards (the side of the
    // segment nearest to it): lines move across, arcs change radius, and
    // line segments that met lines meet again where their moved carriers
    // cross, the last and the first too when the chain is closed; arcs keep
    // their angles, so a gap opens where an arc met a line off its tangent.
    // Nothing changes when towards lies on the chain or an arc's radius would
    // not stay above 0.
    enum class OffsetResult { done, onChain, noRadius };
    OffsetResult OffsetSegments(const CPointd& towards, double distance);

    // Fills first when the fill flag is 1; erasing clears the fill first.
    int Draw(CDC& dc, const WorldMap& map, DrawKind kind) const;
    // Mode 1 fills a closed chain with the fill colour, 0 with the DC's
    // background; 0 when open, empty or of more than 500 vertices.
    int DrawFill(CDC& dc, const WorldMap& map, int mode) const;

    // Pen, layer, extrusion mode (direction in mode 1), segment list. The fill is not stored.
    void Serialize(CArchive& ar) override;

    int m_fill = 0;  // 1: the closed outline is filled
    COLORREF m_fillColor = 0;
    int m_extrusionMode = EXTRUSION_FLAT;
    CPointd m_dir{0.0, 0.0, 1.0};
    CObList m_segments{ListOwnership::owns};  // CDib elements
};

// A new element holding a copy of a line, arc or text element's entity; null for other types.
CDib* CopyPartRecord(const CDib& record);
// Appends to target a copy (CopyPartRecord) of every element of source that has one.
void CopyParts(CObList& target, const CObList& source);
// Stores or loads an owned part list. A polyline or dimension may not sit
// inside another: loading one there fails, so a file cannot nest them deeply.
void SerializeParts(CArchive& ar, CObList& parts);

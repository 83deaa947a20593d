// The line entity (type 1).
#pragma once

#include "model/entity.h"
#include "model/pointd.h"

class CDC;
struct Pt2;
struct WorldMap;
enum class DrawKind;

class CRecta : public CEntity {
    DECLARE_SERIAL(CRecta)
public:
    CRecta() = default;
    // Full constructor: both thicknesses = thickness, edge mask 0, ends at the origin.
    CRecta(int width, COLORREF color, std::string_view layer, double thickness, int mode, double dx, double dy,
           double dz);

    void Copy(const CRecta& other) { *this = other; }
    // 1 when an end lies in the rectangle (bounds included) or the segment crosses it.
    int IsInRect(double x1, double y1, double x2, double y2) const;
    int Draw(CDC& dc, const WorldMap& map, DrawKind kind) const;
    void Serialize(CArchive& ar) override;

    double m_thick1 = 0.0;  // extrusion height at P1
    double m_thick2 = 0.0;  // extrusion height at P2
    int m_edgeMask = 0;     // a set bit hides an edge of the extruded face
    CPointd m_p1, m_p2;
    int m_extrusionMode = EXTRUSION_FLAT;
    CPointd m_dir{0.0, 0.0, 1.0};
};

// True when any part of segment p-q lies in the rectangle (x1 <= x2, y1 <= y2), bounds included.
bool SegmentInRect(const CPointd& p, const CPointd& q, double x1, double y1, double x2, double y2);

// Where the carriers of lines a and b meet (IntersectCarriers: false when
// they run parallel or either has no length). Mode 0 takes any meeting point;
// 1 only one on a, 2 only one on b, any other only one on both (OnSegment).
bool IntersectRectas(const CRecta& a, const CRecta& b, int mode, Pt2& out);
